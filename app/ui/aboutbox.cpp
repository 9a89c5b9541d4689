#include "aboutbox.h"

#include "startupoptions.h"
#include "ui_aboutbox.h"
#include "uiresources.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

AboutBox::AboutBox(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ui_(std::make_unique<Ui::AboutBox>()) {
    registerUiResources();
    ui_->setupUi(this);
    ui_->icon_icon->setPicture(QStringLiteral(":/app.svg"));

    connect(ui_->btn_check_sw_update, &QPushButton::clicked, this, &AboutBox::checkSWUpdate);
    connect(ui_->btn_check_fw_update, &QPushButton::clicked, this, &AboutBox::checkFWUpdate);
    connect(ui_->btn_update_fw, &QPushButton::clicked, this, &AboutBox::updateFWNow);
    connect(ui_->btn_toggle_usb2, &QPushButton::clicked, this, &AboutBox::toggleUSB2);
    connect(ui_->btn_toggle_usb3, &QPushButton::clicked, this, &AboutBox::toggleUSB3);

    // The check and USB mode buttons are for bench work on the device; users never see them.
    ui_->grp_test_buttons->hide();
    ui_->grp_usb_mode_toggle->hide();
    ui_->lbl_new_version_available->hide();
    ui_->btn_update_fw->hide();
    updateShown_ = false;

    retranslateUI();
}

AboutBox::~AboutBox() = default;

void AboutBox::setDeviceInfo(DeviceInfo device) {
    deviceAbsent_ = !device.present;
    if (device.present) {
        setFirmwareVersionText(device.versionText());
    } else {
        // Nothing to update without a device; the offer comes back with the next check.
        ui_->lbl_new_version_available->hide();
        ui_->btn_update_fw->hide();
        updateShown_ = false;
        setFirmwareVersionText(deviceNotDetectedText());
        ui_->grp_usb_mode_toggle->hide();
    }
    adjustSize();
}

void AboutBox::showFWUpdateAvailable() {
    ui_->lbl_new_version_available->show();
    ui_->btn_update_fw->show();
    updateShown_ = true;
}

void AboutBox::hideFWUpdateAvailable() {
    ui_->lbl_new_version_available->hide();
    ui_->btn_update_fw->hide();
    updateShown_ = false;
}

void AboutBox::on_btn_support_clicked() {
    // Each language may point at its own support pages.
    QDesktopServices::openUrl(
        QUrl::fromUserInput(tr("https://www.quendral.example/support/castwell", "Support link")));
}

void AboutBox::retranslateUI() {
    ui_->retranslateUi(this);
    ui_->lbl_software->setText(
        tr("Software Version: %1").arg(displayVersion(QCoreApplication::applicationVersion())));
    setFirmwareVersionText(deviceAbsent_ ? deviceNotDetectedText() : firmwareVersionText_);
    // The logo is picked through the catalogue so that a language can bring its own wordmark.
    ui_->icon_logo->setPicture(tr(":/quendral-logo-dark.svg"));
}

void AboutBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUI();
    QWidget::changeEvent(event);
}

void AboutBox::showEvent(QShowEvent* event) {
    // An offer already on screen stays valid; otherwise the device may have news since the
    // window was last open.
    if (!updateShown_)
        emit checkFWUpdate();
    QWidget::showEvent(event);
}

void AboutBox::setFirmwareVersionText(const QString& text) {
    firmwareVersionText_ = text;
    ui_->lbl_firmware->setText(tr("Firmware Version: %1").arg(text));
    adjustSize();
}

QString AboutBox::deviceNotDetectedText() const {
    return QStringLiteral("<span style=\"font-weight: normal; color: #ff2947;\">%1</span>")
        .arg(tr("Device Not Detected", "Firmware Version: Device Not Detected"));
}
