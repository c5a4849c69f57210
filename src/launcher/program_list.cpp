#include "launcher/program_list.h"

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
    for (const std::string& line : splitLauncherLines(files.readAll(path))) lstLauncher.addItem(line);
}

}  // namespace qm
