#pragma once
// The core's window system on Qt 6 Widgets: a window per attached form, message boxes,
// the open dialog, modal forms, the event loop, the tray icon and the program's end.
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <map>
#include <memory>

#include "forms/form.h"
#include "forms/host.h"

namespace qm::qt {

class EndSignals;
class FormWindow;

class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;

    void attach(Form& form) override;
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) override;
    void showModal(Form& form, Form& owner) override;
    void doEvents() override;
    void setForeground(Form& form) override;
    void popupMenu(Form& form, Menu& menu) override;
    bool notifyIcon(int message, const NotifyIconData& data) override;
    double twipsPerPixelX() override;
    void endProgram() override;

    FormWindow* windowOf(const Form& form) const;
    QIcon programIcon(const std::string& resource) const;
    // True when hiding this form would strand the user: it owns the tray icon and the
    // desktop has no tray to show it in.
    bool minimisesInsteadOfHiding(const Form& form) const;
    // The end of the desktop session asks the form to unload (mode 2); so do SIGTERM,
    // SIGINT and SIGHUP, taken through the event loop.
    void watchSessionEnd(Form& form);
    QSystemTrayIcon* trayIcon() const { return tray_; }
    // The tray's clicks as the classic shell reports them: through the form's MouseMove
    // with the mouse message number as x in pixels (515 double click, 517 right button up).
    void trayActivated(QSystemTrayIcon::ActivationReason reason);

    // What ending does (tests keep their process); by default the process ends at once.
    std::function<void()> endAction;
    std::function<bool()> trayAvailable;
    // The popup position (tests place it; by default the mouse position).
    std::function<QPoint()> popupPosition;

private:
    void addTrayIcon(const NotifyIconData& data);
    void sendTrayMessage(int message);

    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    QPointer<QSystemTrayIcon> tray_;
    Form* trayForm_ = nullptr;
    bool sessionEnding_ = false;
    std::unique_ptr<EndSignals> endSignals_;
};

}  // namespace qm::qt
