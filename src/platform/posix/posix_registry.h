#pragma once
// The registry on Linux. Values live in a small text store of ours in the program folder
// ("registry.ini", readable, replaced whole at each change), except the Run key's
// "Quillmere" value: that one is the XDG autostart entry
// <config home>/autostart/quillmere.desktop, so "Automatically launch" works as the
// desktop expects.
#include <map>
#include <optional>
#include <string>

#include "platform/posix/registry_store.h"
#include "platform/registry.h"

namespace qm {

class PosixRegistry : public RegistryPort {
public:
    // `programFolder` holds the store; `configHome` is $XDG_CONFIG_HOME (tests pass temp folders).
    PosixRegistry(std::string programFolder, std::string configHome);

    long openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) override;
    long setValue(RegHandle key, const std::string& name, const RegValue& value) override;
    long deleteValue(RegHandle key, const std::string& name) override;
    long closeKey(RegHandle key) override;

    std::string storePath() const { return programFolder_ + "/registry.ini"; }
    std::string autostartFolder() const { return configHome_ + "/autostart"; }
    std::string autostartPath() const { return autostartFolder() + "/quillmere.desktop"; }

private:
    struct OpenKey {
        std::string path;  // "HKLM\Software\..."
        uint32_t access;
    };

    long open(const std::string& path, uint32_t access, RegHandle& key);
    OpenKey* handle(RegHandle key);
    bool isAutostartValue(const OpenKey& key, const std::string& name) const;
    long queryAutostart(RegValue& value, uint32_t maxBytes);
    long setAutostart(const RegValue& value);
    long deleteAutostart();
    std::optional<RegistryStore> loadStore() const;
    std::optional<RegistryStore> loadStoreToChange() const;
    bool saveStore(const RegistryStore& store) const;

    std::string programFolder_;
    std::string configHome_;
    std::map<RegHandle, OpenKey> handles_;
    RegHandle next_ = 1;
};

}  // namespace qm
