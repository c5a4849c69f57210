#pragma once
// A page's stored options as a table. Each row names the control that mirrors one key of
// settings.ini, the key, how the stored text is applied at start-up and how a change of
// the control is stored, so a key is written in one place; a row without a key fills a
// list with numbers. A page runs its table under its loader's trap, so every refusal is
// logged under that label and the next row still runs; its handlers store a change
// through the control's row under their own labels.
#include <span>
#include <string_view>

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
    CheckMenuIfNumeric,     // a number checks the menu item (0 clears it); other text is ignored
    ByHandler,              // read by the page's own code through the row's key
};

enum class StoreRule {
    None,         // a list filling
    ListIndex,    // the list's index
    CheckState,   // the box's value
    OptionIndex,  // the index of the option button clicked
    MenuChecked,  // 1 for a checked menu item, 0 for a clear one
    ByHandler,    // written by the page's own code through the row's key
};

// Whether a change is stored also while the loaders apply stored values (a few handlers
// store the value just loaded).
enum class WhileLoading { Skip, Store };

struct NumberFill {
    int first = 0, last = 0, step = 1;
};

struct OptionRow {
    std::string_view control;
    LoadRule load;
    const char* section = "";
    const char* key = "";
    const char* missing = "";  // the default when the key is not stored
    StoreRule store = StoreRule::None;
    WhileLoading whileLoading = WhileLoading::Skip;
    NumberFill numbers{};
};

constexpr OptionRow storedOption(std::string_view control, const char* section, const char* key,
                                 const char* missing, LoadRule load, StoreRule store,
                                 WhileLoading whileLoading = WhileLoading::Skip) {
    return {control, load, section, key, missing, store, whileLoading, {}};
}

constexpr OptionRow numberList(std::string_view control, int first, int last, int step) {
    return {control, LoadRule::FillNumbers, "", "", "", StoreRule::None, WhileLoading::Skip, {first, last, step}};
}

// Runs the rows in order, each as its own statement of `t`.
void runLoadSteps(Trap& t, Form& frm, SettingsFile& settings, std::span<const OptionRow> rows);
// Runs one row's load as a statement of `t`.
void runLoadStep(Trap& t, Form& frm, SettingsFile& settings, const OptionRow& row);

// The row of `rows` that stores the key of `control`; a control without one is a program fault.
const OptionRow& rowOf(std::span<const OptionRow> rows, std::string_view control);

// Stores the state of the row's control as its store rule says, as one statement of `t`
// (skipped while loading unless the row stores then too). `optionIndex` is the option
// button clicked, for StoreRule::OptionIndex.
void storeOption(Trap& t, const Form& frm, SettingsFile& settings, const OptionRow& row, int optionIndex = -1);
// The same under a trap of its own, labelled as the handler that stores it.
void storeOption(SubsystemContext& ctx, SettingsFile& settings, const char* label, const OptionRow& row,
                 int optionIndex = -1);

}  // namespace qm
