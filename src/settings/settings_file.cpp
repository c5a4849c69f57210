#include "settings/settings_file.h"

#include "base/app_error.h"
#include "base/convert.h"
#include "base/text.h"

namespace qm {

std::string SettingsFile::getData(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) {
    // A failing port leaves the default, so a broken file never costs an option its value.
    std::string value = defaultValue;
    auto t = ctx_.trap(",getData");
    t([&] { value = StripNull(ctx_.platform.profile.getString(section, key, defaultValue, kBufferSize, path())); });
    return value;
}

std::string SettingsFile::StripNull(const std::string& text) {
    std::string before = text;
    auto t = ctx_.trap(",stripNull");
    t([&] { before = beforeNul(text); });
    return before;
}

void SettingsFile::writeKey(const std::string& section, const std::string& key, const std::string& value) {
    if (!loading_) writeKeyAlways(section, key, value);
}

void SettingsFile::writeKey(const std::string& section, const std::string& key, int value) {
    writeKey(section, key, std::to_string(value));
}

void SettingsFile::writeKeyAlways(const std::string& section, const std::string& key, const std::string& value) {
    // A file we may not change (read-only, no ordinary file, a full disk) is kept as it is and
    // the failure goes to the caller's trap, so it reaches the error log; the control keeps
    // its new value for this run.
    if (!ctx_.platform.profile.writeString(section, key, value, path())) raiseError(errPathFileAccess);
}

void SettingsFile::writeKeyAlways(const std::string& section, const std::string& key, int value) {
    writeKeyAlways(section, key, std::to_string(value));
}

void SettingsFile::writeNumber(const std::string& section, const std::string& key, double value) {
    writeKey(section, key, invariantNumberText(value));
}

void SettingsFile::writeNumberAlways(const std::string& section, const std::string& key, double value) {
    writeKeyAlways(section, key, invariantNumberText(value));
}

}  // namespace qm
