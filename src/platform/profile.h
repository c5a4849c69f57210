#pragma once
#include <string>
namespace qm {
// Reads and writes the program's INI files as the Windows profile functions do.
class ProfilePort {
public:
    virtual ~ProfilePort() = default;
    // The value as GetPrivateProfileStringA returns it into a buffer of bufferSize chars.
    virtual std::string getString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, size_t bufferSize,
                                  const std::string& path) = 0;
    // Writes one key; false when the file could not be written, which the settings file
    // (SettingsFile::writeKeyAlways) raises as error 75.
    virtual bool writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) = 0;
};
}
