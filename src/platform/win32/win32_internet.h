#pragma once
// Transfers through WinINet over HTTPS only. A transfer runs in a worker thread while the
// caller's thread keeps the window alive through `whileWaiting`; cancel() stops it.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/internet.h"

namespace qm {

class Win32Internet : public InternetPort {
public:
    std::string openUrl(const std::string& url) override;
    std::string headers(const std::string& url) override;
    bool stillExecuting() override { return *running_ > 0; }
    void cancel() override;
    bool probe(const std::string& url) override;

    // Called over and over while a transfer runs (the program lets window events run).
    std::function<void()> whileWaiting;
    unsigned long timeoutMs = 120000;
    unsigned long connectTimeoutMs = 20000;
    size_t largestBody = 64u << 20;

    struct Result {
        bool opened = false;
        bool complete = false;
        unsigned long status = 0;
        std::string body, headers;
    };

private:
    enum class Want { Probe, Headers, Body };
    Result transfer(const std::string& url, Want want);

    struct Transfer;
    // Counts transfers the caller still waits for; shared with the workers, which may
    // outlive a cancelled wait.
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
    std::vector<std::shared_ptr<Transfer>> active_;
};

}  // namespace qm
