#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace appcast {

// What the offer page tells of a release.
struct Offer {
    QString newVersion;
    QString currentVersion;
    // Cannot be skipped.
    bool critical = false;
    // Told of on its web page instead of installed.
    bool informational = false;
    bool hasVersionHistory = false;
};

// The framework's one window; it turns to the page each step of a check or an update needs, at
// the size that page needs. What a feed says is shown as text, never as markup.
// The user's answers leave it as signals.
class UpdateWindow : public QDialog {
    Q_OBJECT
public:
    explicit UpdateWindow(const QString& appName, QWidget* parent = nullptr);
    ~UpdateWindow() override;

    void showChecking();
    void showUpToDate(const QString& version);
    void showOffer(const Offer& offer);
    // HTML notes are shown without anything they would load: no images, no style sheets.
    void setReleaseNotes(const QString& notes, bool plainText);
    void showDownloading();
    void setDownloadProgress(qint64 received, qint64 total);
    void showError(const QString& message);

signals:
    void installRequested();
    void skipRequested();
    void laterRequested();
    void versionHistoryRequested();
    // Cancel, Close, or the window closed by the desktop.
    void dismissed();

private:
    QWidget* makePage(QLabel* heading, QLabel* text, QWidget* extra,
                      std::initializer_list<QPushButton*> buttons);
    QPushButton* makeButton(const QString& text, const char* objectName);
    void bringUp(QWidget* page);
    void fitContents();

    QString appName_;
    QStackedWidget* pages_;
    QLabel* checkingHeading_;
    QLabel* upToDateText_;
    QLabel* offerHeading_;
    QLabel* offerText_;
    QTextBrowser* releaseNotes_;
    QPushButton* skipButton_;
    QPushButton* installButton_;
    QPushButton* moreInfoButton_;
    QPushButton* versionHistoryButton_;
    QLabel* downloadText_;
    QProgressBar* downloadProgress_;
    QLabel* errorText_;
    QWidget* checkingPage_;
    QWidget* upToDatePage_;
    QWidget* offerPage_;
    QWidget* downloadPage_;
    QWidget* errorPage_;
};

} // namespace appcast
