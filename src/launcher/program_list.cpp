#include "launcher/program_list.h"

#include "base/text.h"

namespace qm {

std::vector<std::string> splitLauncherLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t cr = bytes.find('\r', start);
        if (cr == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, cr - start));
        start = cr + 1;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

void loadProgramList(FilesPort& files, const std::string& path, ListControl& lstLauncher) {
    if (!files.fileExists(path)) return;
    if (files.fileLength(path) == 0) return;
    for (const std::string& line : splitLauncherLines(files.readAll(path, kMaxProgramListBytes))) lstLauncher.addItem(line);
}

std::string programListText(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += entry + "\r\n";
    return text;
}

// Both separators count, so a Windows path names its file on either system.
std::string displayName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return removeAllNoCase(slash == std::string::npos ? path : path.substr(slash + 1), ".exe");
}

std::string entryName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        if (c == '|' || c == '\r' || c == '\n') c = ' ';
    }
    return safe;
}

std::string programEntry(const std::string& name, const std::string& path) {
    return name + std::string(52, ' ') + "|" + path;
}

std::optional<std::string> entryPath(const std::string& entry) {
    if (entry.find('|') == std::string::npos) return std::nullopt;
    return afterFirst(entry, '|');
}

}  // namespace qm
