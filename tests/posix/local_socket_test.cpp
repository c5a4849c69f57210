// The hand-over socket on the real machine: its rights, a stale file in its place, and a
// running copy that does not answer or a request it does not know.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/posix/local_socket.h"
#include "support/temp_folder.h"

namespace qm::test {
namespace {

// Serves one connection on `listener` with `reply` (none: keeps it open unanswered).
std::thread serveOnce(int listener, std::string reply, std::string* request) {
    return std::thread([listener, reply = std::move(reply), request] {
        int connection = -1;
        for (int i = 0; i < 200 && connection < 0; ++i) {
            connection = posix::acceptLocal(listener);
            if (connection < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_GE(connection, 0);
        for (int i = 0; i < 200 && posix::readLine(connection, *request) == posix::LineState::Partial; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!reply.empty()) posix::writeAll(connection, reply);
        else std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::close(connection);
    });
}

TEST(LocalSocket, AStaleFileIsReplacedAndTheSocketIsItsOwnersAlone) {
    TempFolder folder;
    const std::string path = folder.path() + "/quillmere.socket";
    std::ofstream(path) << "left by a crash";
    const int listener = posix::listenLocal(path);
    ASSERT_GE(listener, 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::string request;
    std::thread server = serveOnce(listener, "shown\n", &request);
    EXPECT_EQ(posix::askLocal(path, "show\n", 2000), "shown\n");
    server.join();
    EXPECT_EQ(request, "show\n");
    ::close(listener);
}

TEST(LocalSocket, NobodyListeningOrNoAnswerInTimeIsAnEmptyReply) {
    TempFolder folder;
    const std::string path = folder.path() + "/quillmere.socket";
    EXPECT_EQ(posix::askLocal(path, "show\n", 500), "");
    const int listener = posix::listenLocal(path);
    ASSERT_GE(listener, 0);
    std::string request;
    std::thread server = serveOnce(listener, "", &request);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(posix::askLocal(path, "show\n", 100), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(280)) << "the wait is bounded";
    server.join();
    ::close(listener);
    EXPECT_EQ(posix::listenLocal(std::string(200, 'x')), -1) << "a path too long for a socket";
}

}  // namespace
}  // namespace qm::test
