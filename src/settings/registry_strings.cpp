#include "settings/registry_strings.h"

#include "base/text.h"

namespace qm {

namespace {

constexpr uint32_t kReadWrite = KEY_READ_ | KEY_SET_VALUE_ | KEY_CREATE_SUB_KEY_;
constexpr uint32_t kLargestText = 4096;
constexpr long kMoreData = 234;

RegValue stringValue(const std::string& text) { return RegValue{REG_SZ_, text + '\0'}; }

// One step, its error logged through `errors` or, without a trap, ignored.
template <class Statement>
void step(Trap* errors, Statement&& statement) {
    if (errors) (*errors)(statement);
    else ignoreErrors(statement);
}

// Runs `use` on the key when `open` succeeded, then closes it.
template <class Open, class Use>
void withKey(RegistryPort& registry, Open&& open, Use&& use, Trap* errors = nullptr) {
    RegHandle key = 0;
    long opened = -1;
    step(errors, [&] { opened = open(key); });
    if (opened == ERROR_SUCCESS_) step(errors, [&] { use(key); });
    step(errors, [&] { registry.closeKey(key); });
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
            text = std::string(beforeNul(value.data));
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
            text = std::string(beforeNul(value.data));
        }
    });
    return text;
}

void writeRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                    const std::string& text) {
    auto open = [&](RegHandle& key) { return registry.createKey(root, subkey, KEY_ALL_ACCESS_, key); };
    withKey(registry, open, [&](RegHandle key) { registry.setValue(key, name, stringValue(text)); });
}

void setRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                  const std::string& text, Trap* errors) {
    auto open = [&](RegHandle& key) { return registry.openKey(root, subkey, KEY_WRITE_, key); };
    withKey(registry, open, [&](RegHandle key) { registry.setValue(key, name, stringValue(text)); }, errors);
}

void deleteRegValue(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                    Trap* errors) {
    auto open = [&](RegHandle& key) { return registry.openKey(root, subkey, KEY_WRITE_, key); };
    withKey(registry, open, [&](RegHandle key) { registry.deleteValue(key, name); }, errors);
}

}  // namespace qm
