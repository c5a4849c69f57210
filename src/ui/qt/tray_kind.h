#pragma once
// Which kind of tray Qt shows the icon in. On a StatusNotifierItem tray (KDE Plasma,
// GNOME with AppIndicator support) a left click arrives as a single activation and never
// as a double click; on an XEmbed tray the double click comes as such.
namespace qm::qt {

// True when the session bus has a StatusNotifierWatcher with a tray host: the test Qt
// makes when it creates a tray icon, so it tells the kind of the icons made from now on.
bool statusNotifierTrayPresent();

}  // namespace qm::qt
