#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

namespace qm {

std::string Win32Profile::getString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize,
                                    const std::string& path) {
    if (bufferSize == 0) return {};  // Windows writes nothing into an empty buffer
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                            buffer.data(), static_cast<DWORD>(bufferSize),
                                            path.c_str());
    return std::string(buffer.data(), length);
}

bool Win32Profile::writeString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace qm
