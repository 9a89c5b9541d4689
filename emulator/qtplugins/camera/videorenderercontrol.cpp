#include "videorenderercontrol.h"

#include "camerasession.h"

namespace quendral::emulator {

VideoRendererControl::VideoRendererControl(CameraSession& session, QObject* parent)
    : QVideoRendererControl(parent)
    , session_(session) {}

QAbstractVideoSurface* VideoRendererControl::surface() const {
    return session_.surface();
}

void VideoRendererControl::setSurface(QAbstractVideoSurface* surface) {
    session_.setSurface(surface);
}

} // namespace quendral::emulator
