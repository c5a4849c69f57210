#pragma once
#include <string>

#include "platform/profile.h"

namespace qm {

// The profile file through the Windows functions themselves, but only for a file they can
// take: something at the path that is no ordinary file, or one larger than kMaxFileSize, is
// neither read (the defaults hold) nor rewritten, as on Linux. Nor is a read-only file.
class Win32Profile : public ProfilePort {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize,
                          const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;

    static constexpr unsigned long long kMaxFileSize = 16ULL * 1024 * 1024;
};

}  // namespace qm
