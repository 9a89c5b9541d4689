#pragma once

namespace platform {

// Whether the desktop shows tray icons right now: a StatusNotifierItem host on the session bus
// (KDE, Xfce, GNOME with an AppIndicator extension) or an XEmbed tray on the X display. Asked
// afresh on every call; GUI thread only.
bool desktopHasTray();

} // namespace platform
