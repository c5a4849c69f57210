#pragma once
// The string routines of the upgrade's registry values, and two small helpers of the
// update code. Every routine opens its key, does one thing and closes it; every error
// is ignored (a failed step leaves the value as it was).
#include <cstdint>
#include <string>

#include "forms/host.h"
#include "platform/clock.h"
#include "platform/registry.h"

namespace qm {

// updateKey: HKEY_LOCAL_MACHINE and this subkey.
inline constexpr const char* kUpdateKey = "Software\\Microsoft\\Quillmere";
inline constexpr const char* kInstalledVersion = "5";

// Opens the subkey for reading and writing, creating it when missing. A value that cannot
// be queried is written with `defaultText` and "" is returned; otherwise its text up to the
// first NUL.
std::string ensureRegString(RegistryPort& registry, uint32_t root, const std::string& subkey,
                            const std::string& name, const std::string& defaultText);
// The text of an existing REG_SZ value up to its first NUL; `defaultText` otherwise. Creates nothing.
std::string readRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                          const std::string& defaultText = "");
// Creates or opens the subkey and stores the text as REG_SZ (the size counts the NUL).
void writeRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                    const std::string& text);
// Deletes one value of an existing key.
void deleteRegValue(RegistryPort& registry, uint32_t root, const std::string& name, const std::string& subkey);

// The path with `separator` appended unless it already ends with one.
std::string addBackslash(const std::string& path, char separator = '\\');

// Returns when the tick count has passed its value at entry plus n seconds, letting window
// events run meanwhile (the tick count wraps at 2^32).
void waitSeconds(Host& host, ClockPort& clock, int32_t n);

}  // namespace qm
