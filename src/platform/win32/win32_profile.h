#pragma once
#include <string>

#include "platform/profile.h"

namespace qm {

// The profile file through the Windows functions themselves.
class Win32Profile : public ProfilePort {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize,
                          const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;
};

}  // namespace qm
