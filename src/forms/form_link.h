#pragma once
// What a host's window does for its form apart from drawing and forwarding: it follows the
// form's changes, keeps one view per control, and turns the user's window actions (close
// box, minimise and restore, a later start, the session's end, mouse moves) into the form's
// own calls. Each host's window derives from FormMirror<its view class>.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/twips.h"

namespace qm {

// Every property a new view takes, in this order: visibility last, so a control appears
// only once it is placed and filled.
inline constexpr std::array<Prop, 15> kViewProps = {
    Prop::Caption, Prop::Geometry, Prop::Enabled, Prop::ForeColor, Prop::BackColor,
    Prop::ToolTip, Prop::Font, Prop::Items, Prop::ListIndex, Prop::Value,
    Prop::Picture, Prop::Interval, Prop::Checked, Prop::ZOrder, Prop::Visible};
// The form's own properties, for a new window: its state before its visibility.
inline constexpr std::array<Prop, 6> kWindowProps = {Prop::Caption,  Prop::Geometry,    Prop::Enabled,
                                                     Prop::BackColor, Prop::WindowState, Prop::Visible};

// The pictures of the form's image list, numbered from 1 (none without an image list).
std::vector<std::string> imageListPictures(const Form& form);

// A later start asked for the form: it is shown, and restored when minimised.
void bringFormBack(Form& form);

// An exception that reached the window system's boundary, which it must not cross.
using StrayReport = std::function<void(const std::string& who, const char* what)>;

class FormLink {
public:
    FormLink(Form& form, TwipScale scale, StrayReport report);
    virtual ~FormLink();
    FormLink(const FormLink&) = delete;
    FormLink& operator=(const FormLink&) = delete;

    Form& form() const { return form_; }
    const TwipScale& scale() const { return scale_; }
    // The window moved to a screen of another DPI; its views are laid out again after.
    void setScale(const TwipScale& scale) { scale_ = scale; }

    // The close box: the form is asked (mode 0) and hidden when it lets itself be closed;
    // the main window's handler ends the program itself when it has to.
    void closeBox();
    // Logging off or shutting down: the form is asked once (mode 2).
    void sessionEnds();
    // The user minimised, maximised or restored the window (`onScreen`: it is visible). A
    // window brought back by hand is visible again, whatever the model thought.
    void userChangedState(WindowState state, bool onScreen);
    // A later start asked for the window: the form is shown and a minimised one restored.
    // The host's own showFromOutside then brings the real window forward.
    void showFormFromOutside();
    // A mouse move over the bare form, in pixels, reaches MouseMove in twips. The tray
    // icon's messages come this way too, the message number as x.
    void mouseMoved(int button, int shift, double xPx, double yPx);
    void trayActivated(TrayEvent event);

    // Shows, restores and raises the real window from outside (see showFormFromOutside).
    virtual void showFromOutside() = 0;
    virtual void bringToFront() = 0;
    // Called whenever the form hides (a modal loop waits for it).
    std::function<void()> onHidden;

    // Figures change every tick, also behind a window in the tray, where nobody reads them:
    // while the window is hidden a caption change waits, and the window shows the last one
    // as it is about to show (showHeldCaptions). True when this change of `control` waits.
    // Menus never wait, since the tray's menu opens while the window is hidden.
    bool holdsCaption(const Control& control);

protected:
    // The real window is hidden (see holdsCaption).
    virtual bool windowHidden() const = 0;
    // Builds the views of the controls, gives the window the form's own properties, then
    // follows the form's changes. The host's window calls it at the end of its constructor.
    void follow();
    void stopFollowing();
    virtual void addView(Control& control) = 0;
    virtual void removeView(Control& control) = 0;
    // One of the form's own properties changed.
    virtual void mirrorWindow(Prop what) = 0;
    // True while the window takes a change from the model: what the window system reports
    // meanwhile is the model's doing, not the user's.
    bool mirroring() const { return mirroring_ > 0; }
    void whileMirroring(const std::function<void()>& step);
    // Runs a model call from a window event; an exception is reported, not passed on.
    void guarded(const std::function<void()>& step) const;
    void formHidden() const;
    // Shows the window's own caption if it waited; returns the controls whose captions did.
    std::set<const Control*> takeHeldCaptions();

private:
    void formChanged(Control& subject, Prop what);

    Form& form_;
    TwipScale scale_;
    StrayReport report_;
    int subscription_ = 0;
    int mirroring_ = 0;
    bool sessionEnding_ = false;
    std::set<const Control*> heldCaptions_;  // the form itself for its title
};

template <class View>
class FormMirror : public FormLink {
public:
    using FormLink::FormLink;

    View* viewOf(const Control* control) const {
        auto it = views_.find(control);
        return it == views_.end() ? nullptr : it->second.get();
    }

protected:
    // Keeps the view of `control` and brings it up to date; null when the kind has none.
    View* adopt(Control& control, std::unique_ptr<View> view) {
        if (!view) return nullptr;
        View* kept = view.get();
        views_[&control] = std::move(view);
        kept->mirrorAll();
        return kept;
    }
    // The view of a control being unloaded, detached from it. The control dies right after,
    // perhaps in the middle of the view's own event, so the host deletes it afterwards.
    std::unique_ptr<View> release(const Control& control) {
        auto it = views_.find(&control);
        if (it == views_.end()) return nullptr;
        std::unique_ptr<View> view = std::move(it->second);
        views_.erase(it);
        view->detach();
        return view;
    }
    template <class Visit>
    void forEachView(Visit visit) {
        for (auto& [control, view] : views_) visit(*view);
    }
    void stopFollowing() {
        FormLink::stopFollowing();
        views_.clear();
    }
    // Called as the window is about to show, before its first frame.
    void showHeldCaptions() {
        for (const Control* control : takeHeldCaptions()) {
            if (View* view = viewOf(control)) view->showHeldCaption();
        }
    }

private:
    std::map<const Control*, std::unique_ptr<View>> views_;
};

}  // namespace qm
