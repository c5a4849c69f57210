#include "platform/posix/kept_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace qm::posix {

namespace {

constexpr size_t kFirstCapacity = 4096;
constexpr size_t kLargestText = 1 << 20;  // no kernel text we read comes near it

}  // namespace

KeptFile::~KeptFile() { close(); }

KeptFile::KeptFile(KeptFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), buffer_(std::move(other.buffer_)),
      length_(other.length_) {}

KeptFile& KeptFile::operator=(KeptFile&& other) noexcept {
    if (this != &other) {
        close();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        buffer_ = std::move(other.buffer_);
        length_ = other.length_;
    }
    return *this;
}

bool KeptFile::open() {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    return fd_ >= 0;
}

void KeptFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

// From offset 0 to the end; the buffer grows (and stays grown) when the text outgrows it.
bool KeptFile::readWhole() {
    if (buffer_.empty()) buffer_.resize(kFirstCapacity);
    length_ = 0;
    for (;;) {
        if (length_ == buffer_.size()) {
            if (buffer_.size() >= kLargestText) return true;
            buffer_.resize(buffer_.size() * 2);
        }
        const size_t room = buffer_.size() - length_;
        const ssize_t got = ::pread(fd_, buffer_.data() + length_, room, static_cast<off_t>(length_));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        length_ += static_cast<size_t>(got);
        // These texts are written in one piece, so a short read is their end (as it is a
        // regular file's): no second call just to be told so.
        if (static_cast<size_t>(got) < room) return true;
    }
}

std::optional<std::string_view> KeptFile::read() {
    if (fd_ >= 0 && readWhole()) return std::string_view(buffer_.data(), length_);
    close();
    if (open() && readWhole()) return std::string_view(buffer_.data(), length_);
    close();
    return std::nullopt;
}

}  // namespace qm::posix
