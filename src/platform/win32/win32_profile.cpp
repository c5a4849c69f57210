#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

#include "platform/profile_text.h"

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
    if (!profileFileUsable(path)) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace qm
