// The site's version file: any text gives a version, none, or error 6 (too big), and a
// number written in it, blanks and line end around it, reads back.
#include <string>

#include "base/app_error.h"
#include "fuzz_check.h"
#include "update/download_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int16_t number = in.ConsumeIntegralInRange<int16_t>(0, INT16_MAX);
    const std::string text = in.ConsumeRemainingBytesAsString();
    try {
        const std::optional<int16_t> version = qm::publishedVersion(text);
        qm::fuzz::require(!version || *version >= 0, "a version that begins with a digit is not negative");
    } catch (const qm::AppError& e) {
        qm::fuzz::require(e.number == qm::errOverflow, "only overflow is raised");
    }
    const std::optional<int16_t> written = qm::publishedVersion("  " + std::to_string(number) + "\r\n");
    qm::fuzz::require(written && *written == number, "a written version reads back");
    qm::fuzz::require(!qm::publishedVersion("v" + std::to_string(number)), "a version begins with a digit");
    return 0;
}
