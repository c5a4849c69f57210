// Response headers: any text gives a size or one of the two documented errors, and a
// Content-Length block after any earlier (redirect) blocks is the size announced.
#include <string>

#include "base/app_error.h"
#include "fuzz_check.h"
#include "update/download_checks.h"

namespace {

// The size or the error number: 5 (no line end after the field) or 6 (too big).
int32_t sizeOrError(const std::string& headers, int& error) {
    error = 0;
    try {
        return qm::announcedSize(headers);
    } catch (const qm::AppError& e) {
        error = e.number;
        return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int32_t length = in.ConsumeIntegralInRange<int32_t>(0, INT32_MAX);
    const std::string earlier = in.ConsumeRemainingBytesAsString();
    int error = 0;
    sizeOrError(earlier, error);
    qm::fuzz::require(error == 0 || error == qm::errInvalidCall || error == qm::errOverflow, "only errors 5 and 6");

    const std::string last = "HTTP/1.1 200 OK\r\ncontent-LENGTH:  " + std::to_string(length) + "\r\n\r\n";
    const std::string headers = earlier + "\r\n" + last;
    const int32_t announced = sizeOrError(headers, error);
    qm::fuzz::require(error == 0, "a complete last block raises nothing");
    const bool notFound = headers.find("404") != std::string::npos;
    qm::fuzz::require(announced == (notFound ? 0 : length), "the last Content-Length counts");
    return 0;
}
