#include "update/auto_update_layout.h"

#include "update/auto_update_controls.h"

namespace qm {

namespace {

template <class T>
T& place(Form& frm, std::string_view name, const char* caption, int left, int top, int width, int height) {
    T& control = frm.add<T>(std::string(name));
    control.setCaption(caption);
    control.move(left, top, width, height);
    control.setFont("Tahoma", 8, false);
    return control;
}

}  // namespace

void declareAutoUpdateLayout(Form& frm) {
    frm.setCaption("AutoUpdate");
    frm.move(0, 0, 6255, 4740);  // client area
    frm.setIconResource("quillmere");
    frm.setVisible(false);
    place<Label>(frm, "Label1", kAutoUpdateText, 120, 120, 6015, 855);
    place<ListView>(frm, updateForm::ListView1, "", 120, 1080, 6015, 2415).setDescription("Update steps");
    frm.add<ImageList>("ImageList1").resources = {"updateok", "updatefailed"};
    place<CommandButton>(frm, updateForm::cmdProceed, "Proceed", 3240, 3660, 1335, 375);
    place<CommandButton>(frm, updateForm::cmdCancel, "Cancel", 4680, 3660, 1335, 375);
    place<StatusBar>(frm, updateForm::StatusBar1, "", 0, 4320, 6255, 420);
}

}  // namespace qm
