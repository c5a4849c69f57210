#include "platform/win32/win32_program_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/text.h"
#include "platform/win32/ansi_text.h"

namespace qm {

std::string folderOfPath(const std::string& path) { return folderOf(path, "\\/"); }

std::string baseNameOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::optional<std::string> ansiPath(const std::wstring& path) {
    if (std::optional<std::string> plain = ansiOfWide(path)) return plain;
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring shortPath(size, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (n == 0 || n >= size) return std::nullopt;
    shortPath.resize(n);
    return ansiOfWide(shortPath);
}

namespace {

// The module's file name through GetModuleFileNameA or W; long paths grow the buffer until
// the name fits.
template <class Char, class Get>
std::basic_string<Char> modulePath(Get get) {
    std::vector<Char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = get(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::basic_string<Char>(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring wideModulePath() { return modulePath<wchar_t>(GetModuleFileNameW); }

// The ANSI module name, "?" and all, when the path has no ANSI name at all.
std::string ansiModulePath() { return modulePath<char>(GetModuleFileNameA); }

}  // namespace

std::string Win32ProgramFolder::exePath() { return ansiPath(wideModulePath()).value_or(ansiModulePath()); }

bool folderWritable(const std::string& folder) {
    const std::string probe = folder + "\\~quillmere-write-probe.tmp";
    const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::optional<std::string> applicationDataFolder() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return std::nullopt;
    const std::wstring folder = std::wstring(base) + L"\\Quillmere";
    CreateDirectoryW(folder.c_str(), nullptr);  // there already, or made now; named below either way
    return ansiPath(folder);
}

// Decided once: every file of a run goes to the same folder.
std::string Win32ProgramFolder::folder() {
    if (folder_) return *folder_;
    const std::optional<std::string> exe = ansiPath(wideModulePath());
    keepsFiles_ = true;
    if (exe && folderWritable(folderOfPath(*exe))) return *(folder_ = folderOfPath(*exe));
    const std::optional<std::string> data = applicationDataFolder();
    keepsFiles_ = data && folderWritable(*data);
    folder_ = keepsFiles_ ? *data : folderOfPath(exePath());
    return *folder_;
}

bool Win32ProgramFolder::keepsFiles() {
    folder();  // decided there, with the folder
    return keepsFiles_;
}

}  // namespace qm
