#include "forms/accessible_name.h"

#include "forms/form.h"

namespace qm {

namespace {

bool showsOwnCaption(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Frame:
        case ControlKind::StatusBar:
        case ControlKind::Menu: return true;
        default: return false;
    }
}

bool canLabel(const Control& c) {
    return (c.kind() == ControlKind::Label || c.kind() == ControlKind::CheckBox) && !c.caption().empty();
}

// A label's trailing colon is punctuation for the eye, not part of the name.
std::string withoutTrailingColon(std::string text) {
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    return text;
}

const Control* declaredBefore(const Control& control) {
    const Form* form = control.form();
    if (!form) return nullptr;
    const Control* previous = nullptr;
    for (const Control* c : form->childrenOf(control.parent())) {
        if (c == &control) return previous;
        previous = c;
    }
    return nullptr;
}

}  // namespace

std::string withoutAccessKeys(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') shown += caption[i];
        else if (i + 1 < caption.size() && caption[i + 1] == '&') shown += caption[++i];
    }
    return shown;
}

const Control* labelOf(const Control& control) {
    if (control.labelledBy()) return control.labelledBy();
    const Control* previous = declaredBefore(control);
    return previous && canLabel(*previous) ? previous : nullptr;
}

std::string borrowedName(const Control& control) {
    if (!control.description().empty()) return shown(control.description());
    // A check box without a caption of its own (its text is a label beside it) is named in
    // the layout; otherwise a captioned kind speaks for itself.
    if (showsOwnCaption(control.kind()) && !control.labelledBy()) return {};
    const Control* label = labelOf(control);
    return label ? withoutTrailingColon(withoutAccessKeys(label->shownCaption())) : std::string();
}

std::string accessibleName(const Control& control) {
    std::string name = borrowedName(control);
    if (name.empty() && showsOwnCaption(control.kind())) name = withoutAccessKeys(control.shownCaption());
    return name;
}

}  // namespace qm
