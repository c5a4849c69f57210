#pragma once
// A page's stored options as a table: each step either fills a list with numbers or
// applies one stored key to the control that mirrors it, by one of the load rules. A page
// runs its table under its loader's trap, so every refusal is logged under that label and
// the next step still runs.
#include <span>

#include "base/trap.h"
#include "forms/form.h"
#include "settings/settings_file.h"

namespace qm {

enum class LoadRule {
    FillNumbers,            // no key: the list gets first, first+step ... last
    SelectEntryIfListed,
    SelectEntryIfNumeric,
    SelectEntry,
    SelectEntryOrFirst,
    CheckBoxIfNumeric,
    SelectOptionIfNumeric,  // `control` names the option group
    SelectOption,
    SelectOneOfThreeOptions,
};

struct NumberFill {
    int first = 0, last = 0, step = 1;
};

struct LoadStep {
    const char* control;
    LoadRule rule;
    const char* section = "";
    const char* key = "";
    const char* missing = "";  // the default when the key is not stored
    NumberFill numbers{};
};

constexpr LoadStep storedOption(const char* control, const char* section, const char* key, const char* missing,
                                LoadRule rule) {
    return {control, rule, section, key, missing, {}};
}

constexpr LoadStep numberList(const char* control, int first, int last, int step) {
    return {control, LoadRule::FillNumbers, "", "", "", {first, last, step}};
}

// Runs the steps in order, each as its own statement of `t`.
void runLoadSteps(Trap& t, Form& frm, SettingsFile& settings, std::span<const LoadStep> steps);

}  // namespace qm
