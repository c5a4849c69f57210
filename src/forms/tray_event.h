#pragma once
// What happened to a tray icon, as the hosts report it to the form that owns the icon.

namespace qm {

// A click on the icon as a toolkit's tray reports it.
enum class TrayActivation { Single, Double, Context, Other };
// How a tray reports a left click. XEmbed trays and Windows report a single click and then,
// for a second one, the double click; a StatusNotifierItem tray (KDE Plasma, GNOME with
// AppIndicator support) reports a left click only as one activation, never a double click.
enum class TrayKind { ClickThenDoubleClick, SingleActivationOnly };
// What happened to the tray icon, as a host reports it to the icon's form.
struct TrayEvent {
    TrayActivation activation = TrayActivation::Other;
    TrayKind tray = TrayKind::ClickThenDoubleClick;
};

}  // namespace qm
