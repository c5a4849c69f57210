#pragma once
// Work run off the window's thread: a thread of its own per work, whose end is posted back
// to a message-only window and so runs among the window's messages, in modal loops too.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace qm::win32 {

class BackgroundWork {
public:
    BackgroundWork();
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    void run(std::function<void()> work, std::function<void()> done);

    // The ends waiting to run; the message only says one came (a posted pointer would be
    // taken from any sender).
    struct Ends {
        std::mutex lock;
        std::deque<std::function<void()>> queue;
    };

private:
    HWND window_ = nullptr;
    std::shared_ptr<Ends> ends_ = std::make_shared<Ends>();
};

}  // namespace qm::win32
