#include "settings/load_rules.h"

#include "base/convert.h"

namespace qm {

namespace {

// An element of an option group; a negative index is as missing as a too large one.
OptionButton& option(Form& frm, std::string_view group, int index) {
    if (index < 0) raiseError(errNoControlArrayElement);
    return frm.element<OptionButton>(group, index);
}

}  // namespace

int storedNumber(const std::string& v) { return toInt16(toNumber(v)); }

void selectEntryIfListed(ListControl& list, const std::string& v) {
    if (!isNumeric(v)) return;
    const int n = storedNumber(v);
    if (n < list.listCount()) list.setListIndex(n);
}

void selectEntryIfNumeric(ListControl& list, const std::string& v) {
    if (isNumeric(v)) list.setListIndex(storedNumber(v));
}

void selectEntry(ListControl& list, const std::string& v) { list.setListIndex(storedNumber(v)); }

void selectEntryOrFirst(ListControl& list, const std::string& v) {
    list.setListIndex(isNumeric(v) ? storedNumber(v) : 0);
}

void checkBoxIfNumeric(CheckBox& box, const std::string& v) {
    if (isNumeric(v)) box.setValue(storedNumber(v));
}

void checkMenuIfNumeric(Menu& item, const std::string& v) {
    if (isNumeric(v)) item.setChecked(storedNumber(v) != 0);
}

void selectOptionIfNumeric(Form& frm, std::string_view group, const std::string& v) {
    if (isNumeric(v)) selectOption(frm, group, v);
}

void selectOption(Form& frm, std::string_view group, const std::string& v) {
    option(frm, group, storedNumber(v)).setValue(true);
}

void selectOneOfThreeOptions(Trap& trap, Form& frm, std::string_view group, const std::string& v) {
    int chosen = 0;
    trap([&] {
        const double n = toNumber(v);
        chosen = n == 0 ? 0 : n == 1 ? 1 : 2;
    });
    trap([&] { option(frm, group, chosen).setValue(true); });
}

bool namesMinutes(const std::string& v) { return v.find("Minutes") != std::string::npos; }

void selectGraphInterval(ListControl& cmbUpdateGraph, const std::string& v) {
    int entry = 0;
    for (int i = 0; i < 8; ++i) {
        if (v == kGraphIntervalTexts[i]) entry = i;
    }
    cmbUpdateGraph.setListIndex(entry);
}

}  // namespace qm
