#include "forms/form_link.h"

#include <utility>

#include <exception>

namespace qm {

std::vector<std::string> imageListPictures(const Form& form) {
    for (Control* c : form.controls()) {
        if (c->kind() == ControlKind::ImageList) return static_cast<ImageList*>(c)->resources;
    }
    return {};
}

void bringFormBack(Form& form) {
    form.show();
    if (form.windowState() == WindowState::Minimized) form.setWindowState(WindowState::Normal);
}

FormLink::FormLink(Form& form, TwipScale scale, StrayReport report)
    : form_(form), scale_(scale), report_(std::move(report)) {}

FormLink::~FormLink() { stopFollowing(); }

void FormLink::follow() {
    for (Control* control : form_.controls()) addView(*control);
    for (Prop p : kWindowProps) whileMirroring([&] { mirrorWindow(p); });
    subscription_ = form_.subscribe([this](Control& subject, Prop what) { formChanged(subject, what); });
}

void FormLink::stopFollowing() {
    if (subscription_) form_.unsubscribe(subscription_);
    subscription_ = 0;
}

bool FormLink::holdsCaption(const Control& control) {
    if (control.kind() == ControlKind::Menu || !windowHidden()) return false;
    heldCaptions_.insert(&control);
    return true;
}

std::set<const Control*> FormLink::takeHeldCaptions() {
    std::set<const Control*> held = std::exchange(heldCaptions_, {});
    if (held.erase(&form_)) whileMirroring([&] { mirrorWindow(Prop::Caption); });
    return held;
}

void FormLink::formChanged(Control& subject, Prop what) {
    if (&subject == &form_ && what == Prop::Caption && holdsCaption(form_)) return;
    if (&subject == &form_) whileMirroring([&] { mirrorWindow(what); });
    else if (what == Prop::ChildAdded) addView(subject);
    else if (what == Prop::ChildRemoved) {
        heldCaptions_.erase(&subject);
        removeView(subject);
    }
}

void FormLink::whileMirroring(const std::function<void()>& step) {
    ++mirroring_;
    try {
        step();
    } catch (...) {
        --mirroring_;
        throw;
    }
    --mirroring_;
}

void FormLink::guarded(const std::function<void()>& step) const {
    try {
        step();
    } catch (const std::exception& e) {
        if (report_) report_(form_.name(), e.what());
    }
}

void FormLink::formHidden() const {
    if (onHidden) onHidden();
}

void FormLink::closeBox() {
    guarded([this] {
        if (form_.queryUnload(0)) form_.hide();
    });
}

void FormLink::sessionEnds() {
    if (sessionEnding_) return;
    sessionEnding_ = true;
    guarded([this] {
        if (form_.queryUnload(2)) form_.hide();
    });
}

void FormLink::userChangedState(WindowState state, bool onScreen) {
    if (mirroring()) return;
    whileMirroring([&] {
        guarded([&] {
            form_.setWindowState(state);
            if (state != WindowState::Minimized && onScreen && !form_.visible()) form_.show();
        });
    });
}

void FormLink::showFormFromOutside() {
    guarded([this] { bringFormBack(form_); });
}

void FormLink::mouseMoved(int button, int shift, double xPx, double yPx) {
    if (!form_.onMouseMove) return;
    guarded([&] { form_.onMouseMove(button, shift, xPx * scale_.twipsPerPixelX(), yPx * scale_.twipsPerPixelY()); });
}

void FormLink::trayActivated(TrayEvent event) {
    if (form_.onTrayActivated) guarded([&] { form_.onTrayActivated(event); });
}

}  // namespace qm
