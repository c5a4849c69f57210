#pragma once
// The core's window system on Qt 6 Widgets: a window per attached form, message boxes,
// the open dialog, modal forms, the event loop, the tray icon and the program's end.
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>

#include "forms/windowed_host.h"
#include "ui/qt/form_window.h"

namespace qm::qt {

class EndSignals;

class QtHost : public WindowedHost<FormWindow> {
public:
    QtHost();
    ~QtHost() override;

    void setBusyPointer(Control& control, bool busy) override;
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) override;
    void showModal(Form& form, Form& owner) override;
    // Every pending event, timers included.
    void doEvents() override;
    void runInBackground(std::function<void()> work, std::function<void()> done) override;
    void waitForEvents() override;
    void setTrayPictures(Form& form, std::vector<Canvas> pictures) override;
    bool notifyIcon(int message, const NotifyIconData& data) override;
    double twipsPerPixelX() override;
    // Logging off or shutting down (the session manager's request, or the application
    // quitting) asks the form once.
    void watchSessionEnd(Form& form) override;

    QIcon programIcon(const std::string& resource) const;
    // True when hiding this form would strand the user: it owns the tray icon and the
    // desktop has no tray to show it in.
    bool minimisesInsteadOfHiding(const Form& form) const;
    QSystemTrayIcon* trayIcon() const { return tray_; }
    // The tray's clicks as the classic shell reports them: through the form's MouseMove
    // with the mouse message number as x in pixels (515 double click, 517 right button up);
    // on a StatusNotifierItem tray the single activation counts as the double click.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);

    std::function<bool()> trayAvailable;
    // Whether the icon will sit in a StatusNotifierItem tray (tests choose; by default the
    // session bus tells), asked when the icon is made.
    std::function<bool()> statusNotifierTray;
    // The popup position (tests place it; by default the mouse position).
    std::function<QPoint()> popupPosition;

private:
    std::unique_ptr<FormWindow> makeWindow(Form& form) override;
    void addTrayIcon(const NotifyIconData& data);
    void reportTray(TrayActivation activation);

    QPointer<QSystemTrayIcon> tray_;
    Form* trayForm_ = nullptr;
    std::unique_ptr<EndSignals> endSignals_;
    TrayKind trayKind_ = TrayKind::ClickThenDoubleClick;
    QIcon trayPictures_;         // the core's own pictures of the icon; null: the classic icon
    std::string trayIconName_;
};

}  // namespace qm::qt
