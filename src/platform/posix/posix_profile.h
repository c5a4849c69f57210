#pragma once
#include <string>

#include "platform/profile.h"

namespace qm {

// The profile file on Linux: the same text rules as Windows (platform/profile_text.h), and
// writes through replaceFile, so a crash leaves either the old file or the new one.
class PosixProfile : public ProfilePort {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize,
                          const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;

    // Larger files are taken for something other than a settings file.
    static constexpr long long kMaxFileSize = 16LL * 1024 * 1024;
};

}  // namespace qm
