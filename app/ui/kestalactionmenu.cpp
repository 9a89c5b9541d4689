#include "kestalactionmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>

namespace {

constexpr int kMinimumWidthPx = 120;

const char* const kPauseSharing = QT_TRANSLATE_NOOP("TrayIconMenu", "Pause Sharing");
const char* const kResumeSharing = QT_TRANSLATE_NOOP("TrayIconMenu", "Resume Sharing");

QString translated(const char* sourceText) {
    return QCoreApplication::translate(kTrayTextContext, sourceText);
}

} // namespace

const char* stateSourceText(ApplicationState state) {
    switch (state) {
    case Initial:
    case NoDevice:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Device Not Detected");
    case NoHdmiSource:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "HDMI Source Not Detected");
    case DeviceInUse:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Device in Use by Another Application");
    case Paused:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Sharing Paused");
    case Pausing:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Pausing");
    case Starting:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Starting");
    case Sharing:
        return QT_TRANSLATE_NOOP("TrayIconMenu", "Sharing Screen");
    }
    return nullptr;
}

KestalActionMenu::KestalActionMenu(const QString& title, QWidget* parent)
    : QMenu(title, parent)
    , stateAction_(addAction(QString()))
    , pauseAction_(addAction(QString()))
    , resumeAction_(addAction(QString())) {
    setMinimumWidth(kMinimumWidthPx);
    stateAction_->setEnabled(false);
    retranslate();
    connect(pauseAction_, &QAction::triggered, this, &KestalActionMenu::pauseRequested);
    connect(resumeAction_, &QAction::triggered, this, &KestalActionMenu::resumeRequested);
}

KestalActionMenu::~KestalActionMenu() = default;

void KestalActionMenu::setState(ApplicationState state) {
    const char* text = stateSourceText(state);
    if (!text)
        return;
    stateText_ = text;
    // Pause and resume stand in for the state line where they apply: the entry says both what
    // is going on and what a click does.
    const bool offersPause = state == Sharing;
    const bool offersResume = state == DeviceInUse || state == Paused;
    stateAction_->setVisible(!offersPause && !offersResume);
    pauseAction_->setVisible(offersPause);
    resumeAction_->setVisible(offersResume);
    stateAction_->setText(translated(stateText_));
}

void KestalActionMenu::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMenu::changeEvent(event);
}

void KestalActionMenu::retranslate() {
    stateAction_->setText(translated(stateText_));
    pauseAction_->setText(translated(kPauseSharing));
    resumeAction_->setText(translated(kResumeSharing));
}
