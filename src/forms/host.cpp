#include "forms/host.h"

#include "forms/form_link.h"

namespace qm {

int trayMouseMessage(TrayActivation activation, bool singleActivationOnly) {
    switch (activation) {
        case TrayActivation::Double: return WM_LBUTTONDBLCLK_;
        case TrayActivation::Single: return singleActivationOnly ? WM_LBUTTONDBLCLK_ : 0;
        case TrayActivation::Context: return WM_RBUTTONUP_;
        default: return 0;
    }
}

void Host::showFromOutside(Form& form) {
    bringFormBack(form);
    setForeground(form);
}

}  // namespace qm
