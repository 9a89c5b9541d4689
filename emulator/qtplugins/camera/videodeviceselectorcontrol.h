#pragma once

#include <QVideoDeviceSelectorControl>

namespace quendral::emulator {

class CameraSession;

/// The service offers the one emulated camera that was attached when it was created.
class VideoDeviceSelectorControl : public QVideoDeviceSelectorControl {
    Q_OBJECT

public:
    explicit VideoDeviceSelectorControl(const CameraSession& session, QObject* parent = nullptr);

    int deviceCount() const override;
    QString deviceName(int index) const override;
    QString deviceDescription(int index) const override;
    int defaultDevice() const override;
    int selectedDevice() const override { return selected_; }
    void setSelectedDevice(int index) override;

private:
    const CameraSession& session_;
    int selected_ = -1;
};

} // namespace quendral::emulator
