#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

namespace Ui {
class FWUpdateWindow;
}

// Progress of a firmware download and install. While a step runs the window cannot be
// dismissed; once it ends the user closes it, and after a success it also goes by itself.
class FWUpdateWindow : public QWidget {
    Q_OBJECT
public:
    explicit FWUpdateWindow(QWidget* parent = nullptr);
    ~FWUpdateWindow() override;

public slots:
    void showDownloadProgress(uint8_t value);
    void showDownloadFailed();
    void showSignatureRejected();
    void showInstallPostponed();
    void showInstallProgress(uint8_t value);
    void showInstallFailed();
    void showInstallSuccessed();
    void showWindow();

protected:
    void changeEvent(QEvent* event) override;

private:
    // A step's end, which the user may dismiss.
    void showEnd(const char* message, int progress);
    void setMessage(const char* message);
    void retranslateMessage();
    void setProgress(int value);
    void bringToFront();
    void bringToFrontIfNotVisible();

    std::unique_ptr<Ui::FWUpdateWindow> ui_;
    // Untranslated, so the line can follow a language change.
    const char* currentMessage_ = "";
};
