#pragma once

#include <QString>

#include <memory>

class KestalMainWindow;

// How the main window comes to the user and goes again. Desktops differ in what a program may
// do with its own window: an X11 window manager keeps the focus from a program the user did not
// just click, but gives it to a window that comes back from minimized; a Wayland client cannot
// leave the minimized state by itself at all, so the same trick there hides the window for good.
// GUI thread only.
class WindowActivation {
public:
    virtual ~WindowActivation() = default;

    // Shows `window` as the user last had it, above the others, and asks for the focus. With
    // `insist`, also where the desktop would rather leave the focus where it is.
    virtual void bringToFront(KestalMainWindow& window, bool insist) = 0;
    // Hides `window` without leaving to chance which window gets the focus.
    virtual void hide(KestalMainWindow& window) = 0;

    // The behaviour for the Qt platform plugin `platformName` (QGuiApplication::platformName()).
    static std::unique_ptr<WindowActivation> forPlatform(const QString& platformName);
};
