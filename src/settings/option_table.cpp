#include "settings/option_table.h"

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

void applyStored(Form& frm, const LoadStep& step, const std::string& v) {
    switch (step.rule) {
        case LoadRule::CheckBoxIfNumeric: return checkBoxIfNumeric(frm.get<CheckBox>(step.control), v);
        case LoadRule::SelectOptionIfNumeric: return selectOptionIfNumeric(frm, step.control, v);
        case LoadRule::SelectOption: return selectOption(frm, step.control, v);
        default: return applyToList(frm.get<ListControl>(step.control), step.rule, v);
    }
}

void runLoadStep(Trap& t, Form& frm, SettingsFile& settings, const LoadStep& step) {
    if (step.rule == LoadRule::FillNumbers) {
        const NumberFill& n = step.numbers;
        t([&] { layout::fillNumbers(frm.get<ListControl>(step.control), n.first, n.last, n.step); });
        return;
    }
    // The three-way rule logs a text that is no number and still selects an option.
    if (step.rule == LoadRule::SelectOneOfThreeOptions) {
        selectOneOfThreeOptions(t, frm, step.control, settings.getData(step.section, step.key, step.missing));
        return;
    }
    t([&] { applyStored(frm, step, settings.getData(step.section, step.key, step.missing)); });
}

}  // namespace

void runLoadSteps(Trap& t, Form& frm, SettingsFile& settings, std::span<const LoadStep> steps) {
    for (const LoadStep& step : steps) runLoadStep(t, frm, settings, step);
}

}  // namespace qm
