// One view per control kind.
#include "ui/qt/basic_views.h"
#include "ui/qt/list_views.h"
#include "ui/qt/menu_view.h"
#include "ui/qt/picture_view.h"

namespace qm::qt {

namespace {

template <class V, class C>
std::unique_ptr<ControlView> viewFor(Control& control, FormWindow& window) {
    return std::make_unique<V>(static_cast<C&>(control), window);
}

}  // namespace

std::unique_ptr<ControlView> makeView(Control& control, FormWindow& window) {
    switch (control.kind()) {
        case ControlKind::Label: return viewFor<LabelView, Label>(control, window);
        case ControlKind::CommandButton: return viewFor<ButtonView, CommandButton>(control, window);
        case ControlKind::CheckBox: return viewFor<CheckBoxView, CheckBox>(control, window);
        case ControlKind::OptionButton: return viewFor<OptionView, OptionButton>(control, window);
        case ControlKind::ListBox: return viewFor<ListBoxView, ListBox>(control, window);
        case ControlKind::ComboBox: return viewFor<ComboView, ComboBox>(control, window);
        case ControlKind::Frame: return viewFor<FrameView, Frame>(control, window);
        case ControlKind::PictureBox: return viewFor<PictureView, PictureBox>(control, window);
        case ControlKind::Image: return viewFor<ImageView, Image>(control, window);
        case ControlKind::TabStrip: return viewFor<TabStripView, TabStrip>(control, window);
        case ControlKind::Timer: return viewFor<TimerView, Timer>(control, window);
        case ControlKind::Menu: return viewFor<MenuView, Menu>(control, window);
        case ControlKind::Line: return viewFor<LineView, Line>(control, window);
        case ControlKind::ListView: return viewFor<ListViewView, ListView>(control, window);
        case ControlKind::StatusBar: return viewFor<StatusBarView, StatusBar>(control, window);
        case ControlKind::Form:
        case ControlKind::ImageList: return nullptr;  // the form is the window; an image list only holds pictures
    }
    return nullptr;
}

}  // namespace qm::qt
