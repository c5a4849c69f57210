#pragma once
// Work run off the window's thread: a thread of its own per work, whose end is posted back
// to a message-only window and so runs among the window's messages, in modal loops too.
#include <windows.h>

#include <functional>

namespace qm::win32 {

class BackgroundWork {
public:
    BackgroundWork();
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    void run(std::function<void()> work, std::function<void()> done);

private:
    HWND window_ = nullptr;
};

}  // namespace qm::win32
