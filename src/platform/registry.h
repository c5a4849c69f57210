#pragma once
// The registry, in the terms of the classic Reg*A functions (keys opened and closed
// within one routine). On Linux a small store of our own stands behind it.
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

using RegHandle = uint32_t;  // 0 is no key

constexpr uint32_t HKEY_CLASSES_ROOT_ = 0x80000000u;
constexpr uint32_t HKEY_CURRENT_USER_ = 0x80000001u;
constexpr uint32_t HKEY_LOCAL_MACHINE_ = 0x80000002u;
constexpr uint32_t HKEY_DYN_DATA_ = 0x80000006u;

constexpr uint32_t KEY_READ_ = 0x20019u;
constexpr uint32_t KEY_WRITE_ = 0x20006u;
constexpr uint32_t KEY_ALL_ACCESS_ = 0xF003Fu;
constexpr uint32_t KEY_SET_VALUE_ = 0x0002u;
constexpr uint32_t KEY_CREATE_SUB_KEY_ = 0x0004u;

constexpr uint32_t REG_SZ_ = 1u;
constexpr uint32_t REG_BINARY_ = 3u;
constexpr uint32_t REG_DWORD_ = 4u;

constexpr long ERROR_SUCCESS_ = 0;
constexpr long ERROR_FILE_NOT_FOUND_ = 2;
constexpr long ERROR_ACCESS_DENIED_ = 5;

struct RegValue {
    uint32_t type = 0;
    std::string data;  // raw bytes; REG_SZ data includes its terminating NUL
};

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // Opens an existing key (RegOpenKeyExA); sets `key` on success.
    virtual long openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) = 0;
    // Creates or opens a key (RegCreateKeyExA); sets `key` on success.
    virtual long createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) = 0;
    // Reads a value (RegQueryValueExA); at most `maxBytes` bytes of data are returned.
    virtual long queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) = 0;
    // Writes a value (RegSetValueExA).
    virtual long setValue(RegHandle key, const std::string& name, const RegValue& value) = 0;
    // Deletes a value (RegDeleteValueA).
    virtual long deleteValue(RegHandle key, const std::string& name) = 0;
    // Closes a key (RegCloseKey); closing 0 is harmless.
    virtual long closeKey(RegHandle key) = 0;
};

}  // namespace qm
