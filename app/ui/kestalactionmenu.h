#pragma once

#include "applicationstate.h"

#include <QMenu>

class QAction;

// The state texts and the tray's entries are translated in one context, whichever class shows
// them, so that each text has one translation.
inline constexpr char kTrayTextContext[] = "TrayIconMenu";

// The untranslated text that names `state`; nullptr for a value outside ApplicationState.
const char* stateSourceText(ApplicationState state);

// The state line and the pause/resume entries. The tray menu and the main window's context menu
// are both this menu, so the two always offer the same choice in the same state.
class KestalActionMenu : public QMenu {
    Q_OBJECT
public:
    explicit KestalActionMenu(const QString& title, QWidget* parent = nullptr);
    ~KestalActionMenu() override;

    // Untranslated text of the state line; empty until the first setState().
    const char* stateText() const { return stateText_; }

signals:
    void pauseRequested();
    void resumeRequested();

public slots:
    void setState(ApplicationState state);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QAction* stateAction_;
    QAction* pauseAction_;
    QAction* resumeAction_;
    const char* stateText_ = "";
};
