#pragma once
// The error log: a small scrambled file "error" in the program folder holding one entry
// per distinct error number, in the order the numbers first occurred.
#include <functional>
#include <string>

#include "base/trap.h"
#include "forms/host.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/internet.h"

namespace qm {

// The scrambling offset. 17 keeps every printable ASCII character clear of the
// double quote, the comma, CR and LF once shifted, so each field reads back as written.
inline constexpr int logShift = 17;

// One entry per error number keeps the log a few KB; a larger file is not ours to parse and
// is left alone.
inline constexpr uint64_t kMaxErrorLogBytes = 1024 * 1024;

// Each character's ANSI code plus logShift; characters that would pass 255 are left out.
std::string CryptData(const std::string& text);
// The inverse walk; characters that would fall below 0 are left out.
std::string DecryptData(const std::string& text);

// One stored entry, unscrambled.
struct ErrorEntry {
    std::string context;
    std::string number;
    std::string description;
};
// The entries of the file's text; lines that are not three quoted fields yield what they hold.
std::vector<ErrorEntry> readErrorEntries(const std::string& fileText);
// One line of the file: three quoted scrambled fields and CR LF.
std::string errorEntryLine(const std::string& context, int number, const std::string& description);

class ErrorLog : public ErrorSink {
public:
    // `path` names the "error" file; `transfer` is the main window's internet transfer control.
    ErrorLog(FilesPort& files, InternetPort& transfer, Host& host, ClockPort& clock, std::string path);

    void logError(const std::string& context, int number, const std::string& description) override;

private:
    void waitForTransfer();
    bool alreadyLogged(int number);

    FilesPort& files_;
    InternetPort& transfer_;
    Host& host_;
    ClockPort& clock_;
    std::string path_;
};

}  // namespace qm
