#pragma once

#include "cameracontrol.h"
#include "camerainfocontrol.h"
#include "camerasession.h"
#include "videodeviceselectorcontrol.h"
#include "videorenderercontrol.h"
#include "viewfindersettingscontrol.h"

#include <QMediaService>

namespace quendral::emulator {

/// One QCamera's view of the emulated camera.
class CameraService : public QMediaService {
    Q_OBJECT

public:
    /// `deviceName`: the emulated camera attached now, or empty.
    explicit CameraService(QString deviceName, QObject* parent = nullptr);
    ~CameraService() override;

    QMediaControl* requestControl(const char* name) override;
    void releaseControl(QMediaControl* control) override;

private:
    CameraSession session_;
    CameraControl cameraControl_;
    VideoRendererControl rendererControl_;
    VideoDeviceSelectorControl selectorControl_;
    CameraInfoControl infoControl_;
    ViewfinderSettingsControl settingsControl_;
    /// A renderer feeds one viewfinder at a time; Qt asks again after releasing it.
    bool rendererTaken_ = false;
};

} // namespace quendral::emulator
