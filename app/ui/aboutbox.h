#pragma once

#include "deviceinfo.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class AboutBox;
}

// The program and device versions with the firmware update offer and the support link. Closing
// only hides it; each time it comes up without an offer showing, it asks for a firmware check.
class AboutBox : public QWidget {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
    ~AboutBox() override;

signals:
    void checkSWUpdate();
    void checkFWUpdate();
    void updateFWNow();
    void toggleUSB2();
    void toggleUSB3();

public slots:
    void setDeviceInfo(DeviceInfo device);
    void showFWUpdateAvailable();
    void hideFWUpdateAvailable();

private slots:
    void on_btn_support_clicked();
    void retranslateUI();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setFirmwareVersionText(const QString& text);
    QString deviceNotDetectedText() const;

    std::unique_ptr<Ui::AboutBox> ui_;
    QString firmwareVersionText_;
    bool updateShown_ = false;
    // The absent-device line is markup around a translated word; it is rebuilt on a language
    // change rather than kept in the language it was made in.
    bool deviceAbsent_ = false;
};
