#include "platform/posix/posix_profile.h"

#include "platform/posix/posix_atomic_file.h"
#include "platform/profile_text.h"

namespace qm {

std::string PosixProfile::getString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize,
                                    const std::string& path) {
    const SmallFile file = readSmallFile(path, kMaxFileSize);
    return profileGetString(file.bytes, section, key, defaultValue, bufferSize);
}

// A file that could not be read is never replaced with what we would make of nothing.
bool PosixProfile::writeString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    const SmallFile old = readSmallFile(path, kMaxFileSize);
    if (old.state == ReadState::Unreadable) return false;
    const std::string text = profileWriteString(old.bytes, section, key, value);
    if (old.state == ReadState::Read && text == old.bytes) return true;
    return replaceFile(path, text) == 0;
}

}  // namespace qm
