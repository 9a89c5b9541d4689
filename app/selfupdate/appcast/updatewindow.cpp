#include "updatewindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace appcast {

namespace {

QLabel* makeHeading() {
    auto* label = new QLabel;
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

QLabel* makeText() {
    auto* label = new QLabel;
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
    , releaseNotes_(new QTextBrowser)
    , downloadText_(makeText())
    , downloadProgress_(new QProgressBar)
    , errorText_(makeText()) {
    setObjectName(QStringLiteral("appcastUpdateWindow"));
    setWindowTitle(tr("Software Update"));
    setMinimumWidth(520);

    QProgressBar* busy = new QProgressBar;
    busy->setRange(0, 0);
    checkingHeading_->setText(tr("Checking for updates…"));
    checkingPage_ =
        makePage(checkingHeading_, nullptr, busy, {makeButton(tr("Cancel"), "cancelButton")});

    QLabel* upToDateHeading = makeHeading();
    upToDateHeading->setText(tr("You're up to date!"));
    upToDatePage_ =
        makePage(upToDateHeading, upToDateText_, nullptr, {makeButton(tr("Close"), "closeButton")});

    releaseNotes_->setObjectName(QStringLiteral("releaseNotes"));
    releaseNotes_->setOpenExternalLinks(true);
    releaseNotes_->setMinimumHeight(200);
    QPushButton* skip = makeButton(tr("Skip this version"), "skipButton");
    QPushButton* later = makeButton(tr("Remind me later"), "laterButton");
    QPushButton* install = makeButton(tr("Install update"), "installButton");
    install->setDefault(true);
    connect(skip, &QPushButton::clicked, this, &UpdateWindow::skipRequested);
    connect(later, &QPushButton::clicked, this, &UpdateWindow::laterRequested);
    connect(install, &QPushButton::clicked, this, &UpdateWindow::installRequested);
    offerPage_ = makePage(offerHeading_, offerText_, releaseNotes_, {skip, later, install});

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
    // Pages and release notes come and go while the window shows; it grows to hold them.
    layout()->activate();
    resize(size().expandedTo(sizeHint()));
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

void UpdateWindow::showOffer(const QString& newVersion, const QString& currentVersion) {
    offerHeading_->setText(tr("A new version of %1 is available!").arg(appName_));
    offerText_->setText(tr("%1 %2 is now available (you have %3). Would you like to install "
                           "it now?")
                            .arg(appName_, newVersion, currentVersion));
    releaseNotes_->clear();
    releaseNotes_->hide();
    bringUp(offerPage_);
}

void UpdateWindow::setReleaseNotes(const QString& notes) {
    if (Qt::mightBeRichText(notes))
        releaseNotes_->setHtml(notes);
    else
        releaseNotes_->setPlainText(notes);
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
