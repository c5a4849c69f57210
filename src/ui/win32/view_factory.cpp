#include "ui/win32/basic_views.h"
#include "ui/win32/list_views.h"
#include "ui/win32/picture_view.h"

namespace qm::win32 {

std::unique_ptr<ControlView> makeView(Control& control, FormWindow& window) {
    switch (control.kind()) {
        case ControlKind::Label: return std::make_unique<LabelView>(static_cast<Label&>(control), window);
        case ControlKind::CommandButton:
            return std::make_unique<ButtonView>(static_cast<CommandButton&>(control), window);
        case ControlKind::CheckBox: return std::make_unique<CheckView>(static_cast<CheckBox&>(control), window);
        case ControlKind::OptionButton:
            return std::make_unique<OptionView>(static_cast<OptionButton&>(control), window);
        case ControlKind::ListBox: return std::make_unique<ListBoxView>(static_cast<ListBox&>(control), window);
        case ControlKind::ComboBox: return std::make_unique<ComboView>(static_cast<ComboBox&>(control), window);
        case ControlKind::Frame: return std::make_unique<FrameView>(static_cast<Frame&>(control), window);
        case ControlKind::PictureBox: return std::make_unique<PictureView>(static_cast<PictureBox&>(control), window);
        case ControlKind::TabStrip: return std::make_unique<TabView>(static_cast<TabStrip&>(control), window);
        case ControlKind::Timer: return std::make_unique<TimerView>(static_cast<Timer&>(control), window);
        case ControlKind::ListView: return std::make_unique<ListViewView>(static_cast<ListView&>(control), window);
        case ControlKind::StatusBar: return makeStatusView(static_cast<StatusBar&>(control), window);
        case ControlKind::Image:
        case ControlKind::Line: return std::make_unique<DecorationView>(control, window);
        default: return nullptr;  // menus belong to the window's menu bar; image lists are data
    }
}

}  // namespace qm::win32
