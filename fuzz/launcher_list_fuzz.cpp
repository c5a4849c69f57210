// Launcher.mbl: any file splits into lines that write back to the same bytes once every
// line end is CR LF, and an entry built from any name and path gives that path back.
#include "fuzz_check.h"
#include "launcher/program_list.h"

namespace {

// The file as the program writes it: every lone CR becomes CR LF, as a save would leave it.
std::string savedForm(const std::vector<std::string>& lines) { return qm::programListText(lines); }

void checkLines(const std::string& bytes) {
    const std::vector<std::string> lines = qm::splitLauncherLines(bytes);
    for (const std::string& line : lines) qm::fuzz::require(line.find('\r') == std::string::npos, "no CR in a line");
    const std::string saved = savedForm(lines);
    qm::fuzz::require(qm::splitLauncherLines(saved) == lines, "a saved list reads back line for line");
    qm::fuzz::require(savedForm(qm::splitLauncherLines(saved)) == saved, "saving is stable");
}

void checkEntry(const std::string& name, const std::string& path) {
    const std::string entry = qm::programEntry(qm::entryName(name), path);
    qm::fuzz::require(qm::splitLauncherLines(qm::programListText({entry})).size() == 1, "an entry is one line");
    const std::optional<std::string> back = qm::entryPath(entry);
    qm::fuzz::require(back && *back == path, "an entry gives its path back");
    const std::string shown = qm::displayName(path);
    qm::fuzz::require(shown.size() <= path.size(), "a display name is no longer than its path");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string name = in.ConsumeRandomLengthString(64);
    std::string path = in.ConsumeRandomLengthString(260);
    const std::string file = in.ConsumeRemainingBytesAsString();
    // A program's path is one line of the file: it never holds a line end.
    std::erase_if(path, [](char c) { return c == '\r' || c == '\n'; });
    checkLines(file);
    checkEntry(name, path);
    return 0;
}
