#pragma once

#include <QVideoRendererControl>

namespace quendral::emulator {

class CameraSession;

/// Hands the viewfinder surface to the session, which delivers the frames.
class VideoRendererControl : public QVideoRendererControl {
    Q_OBJECT

public:
    explicit VideoRendererControl(CameraSession& session, QObject* parent = nullptr);

    QAbstractVideoSurface* surface() const override;
    void setSurface(QAbstractVideoSurface* surface) override;

private:
    CameraSession& session_;
};

} // namespace quendral::emulator
