#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C, a closed terminal) taken through
// the event loop: the signal handler only writes the signal's number into a pipe, whose
// reading end a socket notifier watches; the program then ends as at a session end.
#include <QObject>
#include <functional>
#include <vector>

class QSocketNotifier;

namespace qm::qt {

class EndSignals : public QObject {
public:
    explicit EndSignals(std::function<void(int signal)> onSignal);
    ~EndSignals() override;

private:
    void readSignal();

    std::function<void(int)> onSignal_;
    std::vector<int> handled_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qm::qt
