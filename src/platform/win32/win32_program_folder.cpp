#include "platform/win32/win32_program_folder.h"

#include <windows.h>

#include <vector>

#include "base/text.h"

namespace qm {

std::string folderOfPath(const std::string& path) { return folderOf(path, "\\/"); }

std::string baseNameOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Long paths grow the buffer until the name fits.
std::string Win32ProgramFolder::exePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace qm
