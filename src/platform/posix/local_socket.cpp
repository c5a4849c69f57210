#include "platform/posix/local_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

namespace qm::posix {

namespace {

constexpr size_t kLongestLine = 256;

std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

int closeAndFail(int fd) {
    ::close(fd);
    return -1;
}

// Waits for `events` on `fd` until `deadline`; false on a timeout or an error.
bool waitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) return false;
        pollfd one{fd, events, 0};
        const int ready = ::poll(&one, 1, static_cast<int>(left.count()));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

}  // namespace

int listenLocal(const std::string& path) {
    const auto address = addressOf(path);
    if (!address) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) return closeAndFail(fd);
    if (::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) return closeAndFail(fd);
    return fd;
}

int acceptLocal(int listener) { return ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC); }

LineState readLine(int connection, std::string& line) {
    char buffer[kLongestLine];
    for (;;) {
        const ssize_t got = ::read(connection, buffer, sizeof(buffer));
        if (got > 0) {
            line.append(buffer, static_cast<size_t>(got));
            if (line.find('\n') != std::string::npos || line.size() > kLongestLine) return LineState::Complete;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? LineState::Partial : LineState::Closed;
    }
}

bool peerIsSameUser(int connection) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
    return peer.uid == ::geteuid();
}

bool writeAll(int connection, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t put = ::send(connection, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd one{connection, POLLOUT, 0};
            if (::poll(&one, 1, 1000) <= 0) return false;
            continue;
        }
        if (put <= 0) return false;
        sent += static_cast<size_t>(put);
    }
    return true;
}

std::string askLocal(const std::string& path, const std::string& request, int waitMs) {
    const auto address = addressOf(path);
    if (!address) return {};
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::string line;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0 ||
                           (errno == EAGAIN && waitFor(fd, POLLOUT, deadline));
    if (connected && writeAll(fd, request)) {
        LineState state = LineState::Partial;
        while (state == LineState::Partial && waitFor(fd, POLLIN, deadline)) state = readLine(fd, line);
        if (state != LineState::Complete) line.clear();
    }
    ::close(fd);
    return line;
}

}  // namespace qm::posix
