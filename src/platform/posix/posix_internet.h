#pragma once
// Internet transfers on Linux with libcurl. Every request goes over HTTPS: a plain
// "http://" address is asked for as "https://", and redirects may not leave HTTPS.
#include <string>

#include "platform/internet.h"

namespace qm {

// The address as it is requested: "http://" becomes "https://"; other schemes are kept
// (and then refused by the transfer).
std::string httpsAddress(const std::string& url);

class PosixInternet : public InternetPort {
public:
    std::string openUrl(const std::string& url) override;
    std::string headers(const std::string& url) override;
    // Transfers are synchronous: none is running when the caller can ask.
    bool stillExecuting() override { return false; }
    void cancel() override {}
    bool probe(const std::string& url) override;

    long timeoutSeconds = 120;
    long connectTimeoutSeconds = 20;

private:
    struct Result {
        bool ok = false;
        long status = 0;
        std::string body, headers;
    };
    Result transfer(const std::string& url, bool headersOnly);
};

}  // namespace qm
