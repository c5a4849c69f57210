#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "base/trap.h"
#include "platform/profile_text.h"
#include "platform/win32/win32_files.h"

namespace qm {
namespace {

// Missing is fine (a write creates it); a folder, a device or a huge file is not. Windows
// would read a huge file whole, and rewrite it whole at every change.
bool profileFileUsable(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_ACCESS_DENIED;
    LARGE_INTEGER size{};
    const bool usable = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
                        static_cast<unsigned long long>(size.QuadPart) <= Win32Profile::kMaxFileSize;
    CloseHandle(file);
    return usable;
}

// Windows refuses to write a read-only file; Wine would write it anyway.
bool readOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The bytes of an ANSI file that holds a NUL: Wine's rewrite ends the file at it (Windows
// keeps the rest), so such a file is written by our own writer with the Windows rules.
std::optional<std::string> textWithNul(const std::string& path) {
    std::string bytes;
    if (!ignoreErrors([&] { bytes = Win32Files().readAll(path, Win32Profile::kMaxFileSize); })) return std::nullopt;
    if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.find('\0') == std::string::npos) return std::nullopt;
    return bytes;
}

}  // namespace

std::string Win32Profile::getString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize,
                                    const std::string& path) {
    if (bufferSize == 0) return {};  // Windows writes nothing into an empty buffer
    if (!profileFileUsable(path)) return profileGetString({}, section, key, defaultValue, bufferSize);
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                            buffer.data(), static_cast<DWORD>(bufferSize),
                                            path.c_str());
    return std::string(buffer.data(), length);
}

bool Win32Profile::writeString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    if (!profileFileUsable(path) || readOnlyFile(path)) return false;
    if (const auto bytes = textWithNul(path))
        return ignoreErrors([&] { Win32Files().writeAll(path, profileWriteString(*bytes, section, key, value)); });
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace qm
