#pragma once
// How a loader applies the text read for a key to the control that mirrors it. Each rule
// raises the classic error when the control refuses the value (380 from a list or check
// box, 340 for a missing option button, 13 for a text that is no number, 6 for overflow);
// the loader's trap logs it under the loader's label and goes on with its next step.
#include <string>

#include "base/trap.h"
#include "forms/form.h"

namespace qm {

// The stored text as a 16-bit whole number, halves to even (13 not numeric, 6 overflow).
int storedNumber(const std::string& v);

// Numeric and below the entry count selects that entry (-1 none, below -1 refused);
// anything else leaves the list as it is, silently.
void selectEntryIfListed(ListControl& list, const std::string& v);
// Numeric selects the entry (outside -1..count-1 refused); non-numeric ignored silently.
void selectEntryIfNumeric(ListControl& list, const std::string& v);
// Selects the entry without testing the text; non-numeric or outside the list is refused.
void selectEntry(ListControl& list, const std::string& v);
// Numeric selects the entry (outside the list refused); non-numeric selects entry 0.
void selectEntryOrFirst(ListControl& list, const std::string& v);
// Numeric sets the check state (0, 1, 2; others refused); non-numeric ignored silently.
void checkBoxIfNumeric(CheckBox& box, const std::string& v);
// A number checks the menu item (0 clears it); a non-numeric text is ignored silently.
void checkMenuIfNumeric(Menu& item, const std::string& v);
// Selects option button N of the group; a non-numeric text is ignored silently. A missing
// button is refused (error 340).
void selectOptionIfNumeric(Form& frm, std::string_view group, const std::string& v);
// Selects option button N of the group; a non-numeric text is refused (13), a missing
// button too (340).
void selectOption(Form& frm, std::string_view group, const std::string& v);
// The number 0 selects option 0, 1 option 1, any other option 2; a non-numeric text is
// refused (logged through `trap`) and option 0 is selected.
void selectOneOfThreeOptions(Trap& trap, Form& frm, std::string_view group, const std::string& v);
// True when the text names minutes ("Minutes", exact case, anywhere), else hours.
bool namesMinutes(const std::string& v);

// The stored graph intervals, one per cmbUpdateGraph entry, as the file holds them.
inline constexpr const char* kGraphIntervalTexts[8] = {"1.5", "3", "6", "30", "60", "120", "300", "600"};
// The entry whose stored text equals `v` exactly; any other text selects entry 0.
void selectGraphInterval(ListControl& cmbUpdateGraph, const std::string& v);

}  // namespace qm
