#pragma once
#include <optional>
#include <string>

#include "platform/profile.h"

namespace qm {

// The profile file on Linux: the same text rules as Windows, and a write that replaces the
// file in one rename, so a crash leaves either the old file or the new one, never half.
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
