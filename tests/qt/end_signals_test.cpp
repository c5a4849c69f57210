// SIGTERM, SIGINT and SIGHUP reach the program through its event loop, never in the
// signal handler; a signal ignored from the start (nohup) stays ignored.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

#include "ui/qt/end_signals.h"

namespace qm::test {
namespace {

void processEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(EndSignals, EachEndSignalArrivesThroughTheEventLoop) {
    std::vector<int> received;
    {
        qt::EndSignals listener([&](int signal) { received.push_back(signal); });
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::raise(signal);
        EXPECT_TRUE(received.empty());  // not in the handler
        processEventsFor(100);
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL);  // given back when the program no longer listens
}

TEST(EndSignals, ASignalIgnoredAtStartStaysIgnored) {
    std::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
    std::vector<int> received;
    {
        qt::EndSignals listener([&](int signal) { received.push_back(signal); });
        ::raise(SIGHUP);
        ::raise(SIGINT);
        processEventsFor(100);
    }
    std::signal(SIGHUP, SIG_DFL);
    EXPECT_EQ(received, std::vector<int>{SIGINT});
}

}  // namespace
}  // namespace qm::test
