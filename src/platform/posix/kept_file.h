#pragma once
// A kernel text file read again and again (/proc/meminfo, /proc/stat, cgroup files): the
// descriptor stays open and every read starts at offset 0, which makes the kernel write
// the text anew, so a sampler pays neither a path lookup nor an open per reading. Only for
// texts the kernel writes in one piece (and regular files): a short read is taken as the
// end, which a text handed out record by record (mountinfo) would not honour.
#include <optional>
#include <string>
#include <string_view>

namespace qm::posix {

class KeptFile {
public:
    explicit KeptFile(std::string path) : path_(std::move(path)) {}
    ~KeptFile();
    KeptFile(KeptFile&& other) noexcept;
    KeptFile& operator=(KeptFile&& other) noexcept;
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // The whole text as it is now, valid until the next read. A failed read (the file was
    // removed, or it was not there when last tried) opens the path again once; nullopt
    // when that fails too.
    std::optional<std::string_view> read();
    const std::string& path() const { return path_; }

private:
    bool open();
    void close();
    bool readWhole();

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
    size_t length_ = 0;
};

}  // namespace qm::posix
