// The error log file: any text reads without fault, and entries written by the log read
// back field for field, however many stand in one file.
#include "app/error_log.h"
#include "fuzz_check.h"

namespace {

// Characters the scrambling keeps clear of the file's separators: from the blank up to
// the last code that still fits a byte once shifted.
bool survivesScrambling(unsigned char c) { return c >= 0x20 && c + qm::logShift <= 255; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int number = in.ConsumeIntegral<int>();
    const std::string context = qm::fuzz::filtered(in.ConsumeRandomLengthString(64), survivesScrambling);
    const std::string description = qm::fuzz::filtered(in.ConsumeRandomLengthString(128), survivesScrambling);
    const std::string file = in.ConsumeRemainingBytesAsString();

    const std::vector<qm::ErrorEntry> old = qm::readErrorEntries(file);
    qm::fuzz::require(qm::DecryptData(qm::CryptData(context)) == context, "scrambling is undone");

    // The log appends after whatever the file held; a complete last line keeps its entries.
    const bool lineEnded = file.empty() || file.back() == '\n';
    const std::string line = qm::errorEntryLine(context, number, description);
    const std::vector<qm::ErrorEntry> now = qm::readErrorEntries(lineEnded ? file + line : line + line);
    qm::fuzz::require(!now.empty(), "an appended entry is read");
    const qm::ErrorEntry& last = now.back();
    qm::fuzz::require(last.context == context && last.description == description &&
                          last.number == std::to_string(number),
                      "an entry reads back as written");
    if (lineEnded) qm::fuzz::require(now.size() == old.size() + 1, "appending adds one entry");
    return 0;
}
