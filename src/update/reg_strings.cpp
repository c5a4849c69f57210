#include "update/reg_strings.h"

#include "base/trap.h"

namespace qm {

namespace {

constexpr uint32_t kReadWrite = KEY_READ_ | KEY_SET_VALUE_ | KEY_CREATE_SUB_KEY_;
constexpr uint32_t kLargestText = 4096;
constexpr long kMoreData = 234;

std::string upToNul(const std::string& data) { return data.substr(0, data.find('\0')); }

RegValue stringValue(const std::string& text) { return RegValue{REG_SZ_, text + '\0'}; }

// Runs `use` on the key when `open` succeeded, then closes it; every error is ignored.
template <class Open, class Use>
void withKey(RegistryPort& registry, Open&& open, Use&& use) {
    RegHandle key = 0;
    long opened = -1;
    ignoreErrors([&] { opened = open(key); });
    if (opened == ERROR_SUCCESS_) ignoreErrors([&] { use(key); });
    ignoreErrors([&] { registry.closeKey(key); });
}

}  // namespace

std::string ensureRegString(RegistryPort& registry, uint32_t root, const std::string& subkey,
                            const std::string& name, const std::string& defaultText) {
    std::string text;
    auto open = [&](RegHandle& key) { return registry.createKey(root, subkey, kReadWrite, key); };
    withKey(registry, open, [&](RegHandle key) {
        RegValue value;
        const long queried = registry.queryValue(key, name, value, kLargestText);
        if (queried == ERROR_SUCCESS_ || queried == kMoreData) {
            text = upToNul(value.data);
        } else {
            registry.setValue(key, name, stringValue(defaultText));
        }
    });
    return text;
}

std::string readRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                          const std::string& defaultText) {
    std::string text = defaultText;
    auto open = [&](RegHandle& key) { return registry.openKey(root, subkey, KEY_READ_, key); };
    withKey(registry, open, [&](RegHandle key) {
        RegValue value;
        if (registry.queryValue(key, name, value, kLargestText) == ERROR_SUCCESS_ && value.type == REG_SZ_) {
            text = upToNul(value.data);
        }
    });
    return text;
}

void writeRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                    const std::string& text) {
    auto open = [&](RegHandle& key) { return registry.createKey(root, subkey, KEY_ALL_ACCESS_, key); };
    withKey(registry, open, [&](RegHandle key) { registry.setValue(key, name, stringValue(text)); });
}

void deleteRegValue(RegistryPort& registry, uint32_t root, const std::string& name, const std::string& subkey) {
    auto open = [&](RegHandle& key) { return registry.openKey(root, subkey, KEY_WRITE_, key); };
    withKey(registry, open, [&](RegHandle key) { registry.deleteValue(key, name); });
}

std::string addBackslash(const std::string& path, char separator) {
    if (!path.empty() && path.back() == separator) return path;
    return path + separator;
}

void waitSeconds(Host& host, ClockPort& clock, int32_t n) {
    const uint32_t until = clock.tickCount() + static_cast<uint32_t>(n) * 1000u;
    while (static_cast<int32_t>(until - clock.tickCount()) > 0) host.doEvents();
}

}  // namespace qm
