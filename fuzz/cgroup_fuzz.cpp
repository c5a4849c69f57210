// /proc/self/cgroup and the cgroup limit files: group paths are absolute, the folders of a
// group climb to the mount point, and a byte count reads back as written.
#include <string>

#include "fuzz_check.h"
#include "platform/posix/proc_memory_text.h"

using namespace qm::posix;

namespace {

void checkPaths(const std::string& text) {
    const CgroupPaths paths = parseCgroupPath(text);
    for (const auto& path : {paths.unified, paths.memoryV1}) {
        if (path) qm::fuzz::require(!path->empty() && path->front() == '/', "a group path is absolute");
    }
}

void checkDirs(const std::string& mount, const std::string& path) {
    const std::vector<std::string> dirs = cgroupDirs(mount, path);
    qm::fuzz::require(!dirs.empty() && dirs.back() == mount, "the climb ends at the mount point");
    for (size_t i = 0; i < dirs.size(); ++i) {
        qm::fuzz::require(dirs[i].compare(0, mount.size(), mount) == 0, "every folder is under the mount");
        if (i > 0) qm::fuzz::require(dirs[i].size() < dirs[i - 1].size(), "each folder is above the one before");
    }
}

void checkBytes(uint64_t count, const std::string& text) {
    const std::optional<uint64_t> read = parseBytes(std::to_string(count) + "\n");
    qm::fuzz::require(read && *read == count, "a byte count reads back");
    qm::fuzz::require(!parseBytes("max\n"), "no limit is no number");
    const std::optional<uint64_t> any = parseBytes(text);
    if (any) qm::fuzz::require(std::to_string(*any).size() <= text.size(), "a number comes from its digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint64_t count = in.ConsumeIntegral<uint64_t>();
    const std::string mount = "/sys/fs/cgroup", path = in.ConsumeRandomLengthString(128);
    const std::string text = in.ConsumeRemainingBytesAsString();
    checkPaths(text);
    checkDirs(mount, path.empty() || path.front() != '/' ? "/" + path : path);
    checkBytes(count, text);
    return 0;
}
