#include "ui/qt/end_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <utility>

namespace qm::qt {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_signalPipe = -1;

// Only async-signal-safe calls here.
void writeSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    if (g_signalPipe >= 0) (void)!::write(g_signalPipe, &number, 1);
    errno = savedErrno;
}

void setHandler(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

// A signal ignored from the start (nohup, a background job) stays ignored.
bool ignoredAtStart(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

EndSignals::EndSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_signalPipe = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { readSignal(); });
    for (int signal : kEndSignals) {
        if (ignoredAtStart(signal)) continue;
        setHandler(signal, writeSignal);
        handled_.push_back(signal);
    }
}

EndSignals::~EndSignals() {
    if (pipe_[0] < 0) return;
    for (int signal : handled_) setHandler(signal, SIG_DFL);
    g_signalPipe = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void EndSignals::readSignal() {
    unsigned char number = 0;
    while (::read(pipe_[0], &number, 1) == 1) {
        if (onSignal_) onSignal_(number);
    }
}

}  // namespace qm::qt
