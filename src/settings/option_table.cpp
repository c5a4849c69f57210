#include "settings/option_table.h"

#include <stdexcept>

#include "context/layout_helpers.h"
#include "settings/load_rules.h"

namespace qm {

namespace {

void applyToList(ListControl& list, LoadRule rule, const std::string& v) {
    switch (rule) {
        case LoadRule::SelectEntryIfListed: return selectEntryIfListed(list, v);
        case LoadRule::SelectEntryIfNumeric: return selectEntryIfNumeric(list, v);
        case LoadRule::SelectEntry: return selectEntry(list, v);
        default: return selectEntryOrFirst(list, v);
    }
}

void applyStored(Form& frm, const OptionRow& step, const std::string& v) {
    switch (step.load) {
        case LoadRule::CheckBoxIfNumeric: return checkBoxIfNumeric(frm.get<CheckBox>(step.control), v);
        case LoadRule::SelectOptionIfNumeric: return selectOptionIfNumeric(frm, step.control, v);
        case LoadRule::SelectOption: return selectOption(frm, step.control, v);
        case LoadRule::CheckMenuIfNumeric: return checkMenuIfNumeric(frm.get<Menu>(step.control), v);
        default: return applyToList(frm.get<ListControl>(step.control), step.load, v);
    }
}

int storedState(const Form& frm, const OptionRow& row, int optionIndex) {
    switch (row.store) {
        case StoreRule::ListIndex: return frm.get<ListControl>(row.control).listIndex();
        case StoreRule::CheckState: return frm.get<CheckBox>(row.control).value();
        case StoreRule::OptionIndex: return optionIndex;
        case StoreRule::MenuChecked: return frm.get<Menu>(row.control).checked() ? 1 : 0;
        default: throw std::logic_error("option row " + std::string(row.control) + " has no store rule");
    }
}

}  // namespace

void runLoadStep(Trap& t, Form& frm, SettingsFile& settings, const OptionRow& step) {
    if (step.load == LoadRule::ByHandler) return;
    if (step.load == LoadRule::FillNumbers) {
        const NumberFill& n = step.numbers;
        t([&] { layout::fillNumbers(frm.get<ListControl>(step.control), n.first, n.last, n.step); });
        return;
    }
    // The three-way rule logs a text that is no number and still selects an option.
    if (step.load == LoadRule::SelectOneOfThreeOptions) {
        selectOneOfThreeOptions(t, frm, step.control, settings.getData(step.section, step.key, step.missing));
        return;
    }
    t([&] { applyStored(frm, step, settings.getData(step.section, step.key, step.missing)); });
}

void runLoadSteps(Trap& t, Form& frm, SettingsFile& settings, std::span<const OptionRow> rows) {
    for (const OptionRow& row : rows) runLoadStep(t, frm, settings, row);
}

const OptionRow& rowOf(std::span<const OptionRow> rows, std::string_view control) {
    for (const OptionRow& row : rows) {
        if (row.control == control && row.store != StoreRule::None) return row;
    }
    throw std::logic_error("no stored option for " + std::string(control));
}

void storeOption(Trap& t, const Form& frm, SettingsFile& settings, const OptionRow& row, int optionIndex) {
    if (row.whileLoading == WhileLoading::Skip && settings.isLoading()) return;
    t([&] { settings.writeKeyAlways(row.section, row.key, storedState(frm, row, optionIndex)); });
}

void storeOption(SubsystemContext& ctx, SettingsFile& settings, const char* label, const OptionRow& row,
                 int optionIndex) {
    auto t = ctx.trap(label);
    storeOption(t, ctx.frmMain, settings, row, optionIndex);
}

}  // namespace qm
