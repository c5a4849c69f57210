#pragma once
#include <map>
#include <string>

#include "platform/registry.h"

// Kept out of this header: <windows.h> stays in the implementation.
struct HKEY__;

namespace qm {

// The registry through the Reg*A functions. Open keys are kept in a table under small
// handle numbers, since a 64-bit HKEY does not fit the port's 32-bit handle.
class Win32Registry : public RegistryPort {
public:
    ~Win32Registry() override;

    long openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) override;
    long setValue(RegHandle key, const std::string& name, const RegValue& value) override;
    long deleteValue(RegHandle key, const std::string& name) override;
    long closeKey(RegHandle key) override;

private:
    RegHandle remember(HKEY__* key);
    HKEY__* lookup(RegHandle key) const;

    std::map<RegHandle, HKEY__*> open_;
    RegHandle next_ = 1;
};

}  // namespace qm
