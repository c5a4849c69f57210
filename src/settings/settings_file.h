#pragma once
// settings.ini: the one reader the loaders use and the one writer every option handler
// uses; and the loading flag, set while the start-up applies stored values.
#include <string>

#include "context/subsystem_context.h"
#include "forms/control.h"

namespace qm {

class SettingsFile {
public:
    explicit SettingsFile(SubsystemContext& ctx) : ctx_(ctx) {}

    // Set while the loaders apply stored values: handlers then neither write nor start anything.
    bool isLoading() const { return loading_; }
    void setLoading(bool on) { loading_ = on; }

    // The stored value of section/key, or `defaultValue` when there is none; read through a
    // 255-character buffer, so a longer value comes back cut to 254 characters.
    std::string getData(const std::string& section, const std::string& key, const std::string& defaultValue);
    // The text before its first NUL (all of it when there is none).
    std::string StripNull(const std::string& text);

    // Writes one key unless the loaders are applying stored values (isLoading).
    void writeKey(const std::string& section, const std::string& key, const std::string& value);
    void writeKey(const std::string& section, const std::string& key, int value);
    // Writes also while loading, for the few handlers that store the value just loaded.
    // Both raise error 75 when the file could not be written; every caller runs them under
    // its handler's trap.
    void writeKeyAlways(const std::string& section, const std::string& key, const std::string& value);
    void writeKeyAlways(const std::string& section, const std::string& key, int value);
    // A number with a fraction is stored with "." whatever the user's decimal separator: the
    // reader compares the stored text with "1.5", so a "1,5" would be lost at every start.
    void writeNumber(const std::string& section, const std::string& key, double value);
    void writeNumberAlways(const std::string& section, const std::string& key, double value);

    // Rebuilt at every use: the program folder is the only source of the path.
    std::string path() const { return ctx_.programFile("settings.ini"); }

    static constexpr size_t kBufferSize = 255;

private:
    SubsystemContext& ctx_;
    bool loading_ = false;
};

}  // namespace qm
