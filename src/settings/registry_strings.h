#pragma once
// The registry's string routines, one for each thing the program does to one value: each
// opens its key, does that one thing and closes it again. Arguments come in one order:
// registry, root, subkey, value name, text. Without a trap every error is ignored (a failed
// step leaves the value as it was); with one, each step's error goes to its log.
#include <cstdint>
#include <string>

#include "base/trap.h"
#include "platform/registry.h"

namespace qm {

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
// Stores the text as REG_SZ in an existing key (a missing key is not created).
void setRegString(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                  const std::string& text, Trap* errors = nullptr);
// Deletes one value of an existing key.
void deleteRegValue(RegistryPort& registry, uint32_t root, const std::string& subkey, const std::string& name,
                    Trap* errors = nullptr);

}  // namespace qm
