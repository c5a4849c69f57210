#pragma once
// Small helpers that keep the design tables of the main window and the pages' list
// fillings readable.
#include <string>

#include "forms/form.h"
#include "forms/picture_box.h"

namespace qm {

inline constexpr const char* kAdviceText =
    "It is adviced that you do not release the amount of RAM greater than 50 % of Total Physical Memory";

namespace layout {

struct Box {
    int left, top, width, height;
};

template <class T>
T& place(Form& frm, Control& parent, const std::string& name, const std::string& caption, Box box,
         int index = -1) {
    T& control = frm.add<T>(name, &parent, index);
    control.setCaption(caption);
    control.move(box.left, box.top, box.width, box.height);
    return control;
}
template <class T>
T& place(Form& frm, Control& parent, ControlName<T> name, const std::string& caption, Box box, int index = -1) {
    return place<T>(frm, parent, std::string(name.name), caption, box, index);
}

inline Label& advice(Form& frm, Frame& page, const std::string& name) {
    return place<Label>(frm, page, name, kAdviceText, {240, 3900, 7800, 420});
}

// A list of the numbers first, first+step, ... last, as text.
inline void fillNumbers(ListControl& list, int first, int last, int step) {
    for (int n = first; n <= last; n += step) list.addItem(std::to_string(n));
}

}  // namespace layout
}  // namespace qm
