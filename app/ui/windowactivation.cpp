#include "windowactivation.h"

#include "kestalmainwindow.h"

namespace {

// Brings the window back as the user last had it, and asks for the focus: where the desktop
// gives it is the desktop's choice.
void showAndActivate(KestalMainWindow& window) {
    if (window.isHidden() || window.isMinimized())
        window.restoreWindowState();
    window.raise();
    window.activateWindow();
}

// X11, and every other desktop where a window leaves the minimized state on request.
class RestoringWindowActivation : public WindowActivation {
public:
    RestoringWindowActivation()
        : helper_(nullptr, Qt::FramelessWindowHint) {
        helper_.move(0, 0);
        helper_.resize(1, 1);
        helper_.setStyleSheet(QStringLiteral("background-color: black;"));
    }

    void bringToFront(KestalMainWindow& window, bool insist) override {
        // Window managers that refuse the focus to a program give it to a window coming back.
        if (insist && !window.isActiveWindow()) {
            window.showMinimized();
            window.restoreWindowState();
        }
        showAndActivate(window);
    }

    void hide(KestalMainWindow& window) override {
        // A helper takes the focus first, so that the desktop does not hand it to a random
        // window when ours goes away.
        helper_.showNormal();
        helper_.activateWindow();
        window.hide();
        helper_.showMinimized();
        helper_.hide();
    }

private:
    QWidget helper_;
};

// Wayland: the compositor alone decides about stacking and focus; a client may only ask (through
// xdg-activation, where Qt and the compositor offer it), so there is nothing to insist with.
class WaylandWindowActivation : public WindowActivation {
public:
    void bringToFront(KestalMainWindow& window, bool /*insist*/) override {
        showAndActivate(window);
    }

    // No helper: it would only flash up as a window of its own, and the focus is not ours to give.
    void hide(KestalMainWindow& window) override { window.hide(); }
};

} // namespace

std::unique_ptr<WindowActivation> WindowActivation::forPlatform(const QString& platformName) {
    if (platformName.startsWith(QLatin1String("wayland")))
        return std::make_unique<WaylandWindowActivation>();
    return std::make_unique<RestoringWindowActivation>();
}
