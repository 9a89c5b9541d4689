#include "updatewindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace appcast {

namespace {

// Release notes as they came, with nothing fetched on their behalf: an image or style sheet they
// name, local or remote, is not loaded (the document, not the view, would read local files), and
// a link opens in the browser only when the user follows it and it is a web address.
class ReleaseNotesDocument : public QTextDocument {
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

class ReleaseNotesView : public QTextBrowser {
public:
    ReleaseNotesView() {
        setDocument(new ReleaseNotesDocument(this));
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
            if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
                QDesktopServices::openUrl(url);
        });
    }
};

// Pages of a line or two get this width, so that their text wraps into a few readable lines.
constexpr int kTextPageWidth = 420;

QLabel* makeHeading() {
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

QLabel* makeText() {
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString megabytes(qint64 bytes) {
    return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1);
}

} // namespace

UpdateWindow::UpdateWindow(const QString& appName, QWidget* parent)
    : QDialog(parent)
    , appName_(appName)
    , pages_(new QStackedWidget(this))
    , checkingHeading_(makeHeading())
    , upToDateText_(makeText())
    , offerHeading_(makeHeading())
    , offerText_(makeText())
    , releaseNotes_(new ReleaseNotesView)
    , downloadText_(makeText())
    , downloadProgress_(new QProgressBar)
    , errorText_(makeText()) {
    setObjectName(QStringLiteral("appcastUpdateWindow"));
    setWindowTitle(tr("Software Update"));

    QProgressBar* busy = new QProgressBar;
    busy->setRange(0, 0);
    checkingHeading_->setText(tr("Checking for updates…"));
    checkingPage_ =
        makePage(checkingHeading_, nullptr, busy, {makeButton(tr("Cancel"), "cancelButton")});

    QLabel* upToDateHeading = makeHeading();
    upToDateHeading->setText(tr("You're up to date!"));
    upToDatePage_ =
        makePage(upToDateHeading, upToDateText_, nullptr, {makeButton(tr("Close"), "closeButton")});

    offerHeading_->setObjectName(QStringLiteral("offerHeading"));
    offerText_->setObjectName(QStringLiteral("offerText"));
    releaseNotes_->setObjectName(QStringLiteral("releaseNotes"));
    releaseNotes_->setMinimumSize(480, 200);
    versionHistoryButton_ = makeButton(tr("Version History"), "versionHistoryButton");
    skipButton_ = makeButton(tr("Skip this version"), "skipButton");
    QPushButton* later = makeButton(tr("Remind me later"), "laterButton");
    installButton_ = makeButton(tr("Install update"), "installButton");
    moreInfoButton_ = makeButton(tr("Learn More…"), "moreInfoButton");
    connect(versionHistoryButton_, &QPushButton::clicked, this,
            &UpdateWindow::versionHistoryRequested);
    connect(skipButton_, &QPushButton::clicked, this, &UpdateWindow::skipRequested);
    connect(later, &QPushButton::clicked, this, &UpdateWindow::laterRequested);
    connect(installButton_, &QPushButton::clicked, this, &UpdateWindow::installRequested);
    connect(moreInfoButton_, &QPushButton::clicked, this, &UpdateWindow::installRequested);
    offerPage_ =
        makePage(offerHeading_, offerText_, releaseNotes_,
                 {versionHistoryButton_, skipButton_, later, installButton_, moreInfoButton_});

    QLabel* downloadHeading = makeHeading();
    downloadHeading->setText(tr("Downloading update…"));
    downloadProgress_->setObjectName(QStringLiteral("downloadProgress"));
    downloadPage_ = makePage(downloadHeading, downloadText_, downloadProgress_,
                             {makeButton(tr("Cancel"), "cancelButton")});

    QLabel* errorHeading = makeHeading();
    errorHeading->setText(tr("Update Error"));
    errorText_->setObjectName(QStringLiteral("errorText"));
    errorPage_ =
        makePage(errorHeading, errorText_, nullptr, {makeButton(tr("Close"), "closeButton")});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    // Long lines of text wrap at a readable width instead of stretching the window.
    for (QLabel* label : findChildren<QLabel*>())
        label->setMaximumWidth(560);
    // Escape and the desktop's close button reject the dialog as well.
    connect(this, &QDialog::rejected, this, &UpdateWindow::dismissed);
}

UpdateWindow::~UpdateWindow() = default;

QPushButton* UpdateWindow::makeButton(const QString& text, const char* objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    return button;
}

QWidget* UpdateWindow::makePage(QLabel* heading, QLabel* text, QWidget* extra,
                                std::initializer_list<QPushButton*> buttons) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    if (text)
        layout->addWidget(text);
    if (extra)
        layout->addWidget(extra, 1);
    layout->addStretch();
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
        const QString name = button->objectName();
        if (name == QLatin1String("cancelButton") || name == QLatin1String("closeButton"))
            connect(button, &QPushButton::clicked, this, &QDialog::reject);
    }
    layout->addLayout(row);
    pages_->addWidget(page);
    return page;
}

void UpdateWindow::fitContents() {
    // Only the page on show counts for the size: one line of text gets a small window, while
    // the release notes make it larger.
    for (int i = 0; i < pages_->count(); ++i) {
        QWidget* page = pages_->widget(i);
        const QSizePolicy::Policy policy =
            page == pages_->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        page->setSizePolicy(policy, policy);
    }
    layout()->activate();
    const int width = std::max(sizeHint().width(), kTextPageWidth);
    resize(width, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                : sizeHint().height());
}

void UpdateWindow::bringUp(QWidget* page) {
    pages_->setCurrentWidget(page);
    fitContents();
    showNormal();
    raise();
    activateWindow();
}

void UpdateWindow::showChecking() {
    bringUp(checkingPage_);
}

void UpdateWindow::showUpToDate(const QString& version) {
    upToDateText_->setText(
        tr("%1 %2 is currently the newest version available.").arg(appName_, version));
    bringUp(upToDatePage_);
}

void UpdateWindow::showOffer(const Offer& offer) {
    offerHeading_->setText(offer.critical
                               ? tr("A critical update of %1 is available!").arg(appName_)
                               : tr("A new version of %1 is available!").arg(appName_));
    QString text = offer.informational
                       ? tr("%1 %2 is now available (you have %3). Learn more about it on its "
                            "web page.")
                       : tr("%1 %2 is now available (you have %3). Would you like to install "
                            "it now?");
    text = text.arg(appName_, offer.newVersion, offer.currentVersion);
    if (offer.critical)
        text += QLatin1Char(' ') + tr("This update is critical: please install it.");
    offerText_->setText(text);
    skipButton_->setVisible(!offer.critical);
    installButton_->setVisible(!offer.informational);
    moreInfoButton_->setVisible(offer.informational);
    versionHistoryButton_->setVisible(offer.hasVersionHistory);
    (offer.informational ? moreInfoButton_ : installButton_)->setDefault(true);
    releaseNotes_->clear();
    releaseNotes_->hide();
    bringUp(offerPage_);
}

void UpdateWindow::setReleaseNotes(const QString& notes, bool plainText) {
    if (plainText)
        releaseNotes_->setPlainText(notes);
    else
        releaseNotes_->setHtml(notes);
    releaseNotes_->setVisible(!notes.isEmpty());
    fitContents();
}

void UpdateWindow::showDownloading() {
    downloadProgress_->setRange(0, 0);
    downloadText_->clear();
    bringUp(downloadPage_);
}

void UpdateWindow::setDownloadProgress(qint64 received, qint64 total) {
    if (total > 0) {
        downloadProgress_->setRange(0, 1000);
        downloadProgress_->setValue(static_cast<int>(std::min(received, total) * 1000 / total));
        downloadText_->setText(tr("%1 of %2 MB").arg(megabytes(received), megabytes(total)));
    } else {
        downloadText_->setText(tr("%1 MB").arg(megabytes(received)));
    }
}

void UpdateWindow::showError(const QString& message) {
    errorText_->setText(message);
    bringUp(errorPage_);
}

} // namespace appcast
