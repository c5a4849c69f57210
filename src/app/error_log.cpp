#include "app/error_log.h"

#include "base/convert.h"

namespace qm {

namespace {

// A transfer that never stops must not hang the program in its error handler.
constexpr uint32_t kTransferWaitLimitMs = 10000;

std::string shifted(const std::string& text, int offset) {
    std::string result;
    for (unsigned char c : text) {
        const int code = c + offset;
        if (code >= 0 && code <= 255) result += static_cast<char>(code);
    }
    return result;
}

// Reads one field at `pos`: quoted up to the next quote, or bare up to the next comma.
std::string readField(const std::string& line, size_t& pos) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
        const size_t close = line.find('"', pos + 1);
        const size_t end = close == std::string::npos ? line.size() : close;
        field = line.substr(pos + 1, end - pos - 1);
        pos = end == line.size() ? end : end + 1;
    } else {
        const size_t comma = line.find(',', pos);
        const size_t end = comma == std::string::npos ? line.size() : comma;
        field = line.substr(pos, end - pos);
        pos = end;
    }
    while (pos < line.size() && line[pos] != ',') ++pos;
    if (pos < line.size()) ++pos;
    return field;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::string CryptData(const std::string& text) { return shifted(text, logShift); }

std::string DecryptData(const std::string& text) { return shifted(text, -logShift); }

std::vector<ErrorEntry> readErrorEntries(const std::string& fileText) {
    std::vector<ErrorEntry> entries;
    for (const std::string& line : splitLines(fileText)) {
        size_t pos = 0;
        ErrorEntry entry;
        entry.context = DecryptData(readField(line, pos));
        entry.number = DecryptData(readField(line, pos));
        entry.description = DecryptData(readField(line, pos));
        entries.push_back(entry);
    }
    return entries;
}

std::string errorEntryLine(const std::string& context, int number, const std::string& description) {
    return "\"" + CryptData(context) + "\",\"" + CryptData(std::to_string(number)) + "\",\"" +
           CryptData(description) + "\"\r\n";
}

ErrorLog::ErrorLog(FilesPort& files, InternetPort& transfer, Host& host, ClockPort& clock, std::string path)
    : files_(files), transfer_(transfer), host_(host), clock_(clock), path_(std::move(path)) {}

void ErrorLog::waitForTransfer() {
    transfer_.cancel();
    const uint32_t start = clock_.tickCount();
    while (transfer_.stillExecuting() && clock_.tickCount() - start < kTransferWaitLimitMs) {
        host_.doEvents();
        host_.doEvents();
    }
}

bool ErrorLog::alreadyLogged(int number) {
    for (const ErrorEntry& entry : readErrorEntries(files_.readAll(path_, kMaxErrorLogBytes))) {
        if (val(entry.number) == number) return true;
    }
    return false;
}

void ErrorLog::logError(const std::string& context, int number, const std::string& description) {
    if (number == 0) return;
    // Reporting must never fail its caller: every failure here is swallowed.
    ignoreErrors([&] { waitForTransfer(); });
    ignoreErrors([&] {
        // An existing file we cannot read is left alone rather than risk a second entry.
        if (files_.fileExists(path_) && alreadyLogged(number)) return;
        files_.append(path_, errorEntryLine(context, number, description));
    });
}

}  // namespace qm
