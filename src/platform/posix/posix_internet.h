#pragma once
// Internet transfers on Linux with libcurl. Every request goes over HTTPS with the
// certificate and host name checked: a plain "http://" address is asked for as
// "https://", and redirects may not leave HTTPS. A transfer runs in a worker thread while
// the caller's thread keeps the window alive through `whileWaiting`; cancel() stops it.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/internet.h"

namespace qm {

// The address as it is requested: "http://" becomes "https://"; other schemes are kept
// (and then refused by the transfer).
std::string httpsAddress(const std::string& url);

class PosixInternet : public InternetPort {
public:
    std::string openUrl(const std::string& url) override;
    std::string headers(const std::string& url) override;
    bool stillExecuting() override { return running_ > 0; }
    void cancel() override;
    bool probe(const std::string& url) override;

    // Called over and over while a transfer runs (the program lets window events run).
    std::function<void()> whileWaiting;
    long timeoutSeconds = 120;
    long connectTimeoutSeconds = 20;
    size_t largestBody = 64u << 20;

    struct Result {
        bool ok = false;
        long status = 0;
        std::string body, headers;
    };

private:
    Result transfer(const std::string& url, bool headersOnly);

    std::atomic<int> running_{0};
    std::vector<std::shared_ptr<std::atomic<bool>>> stops_;
};

}  // namespace qm
