#pragma once
// The internet transfer control and the connectivity probe: synchronous fetches,
// a busy flag and the response headers of the last request.
#include <string>

namespace qm {

class InternetPort {
public:
    virtual ~InternetPort() = default;
    // Fetches an address synchronously; the body as bytes (empty on failure).
    virtual std::string openUrl(const std::string& url) = 0;
    // Fetches only the headers of an address; the header text ("" on failure).
    virtual std::string headers(const std::string& url) = 0;
    // True while a request is still executing.
    virtual bool stillExecuting() = 0;
    // Stops the running request, if any.
    virtual void cancel() = 0;
    // True when the probe address can be opened (InternetOpenUrlA).
    virtual bool probe(const std::string& url) = 0;
};

}  // namespace qm
