#pragma once

#include <QAbstractVideoSurface>

#include <memory>

class PictureView;
class VideoFrame;

// Where the camera delivers its frames: picks a renderer per stream format, keeps the newest
// frame for the next paint and drops frames that arrive before it was painted.
class CameraSurface : public QAbstractVideoSurface {
    Q_OBJECT
public:
    CameraSurface(PictureView* view, QObject* parent);
    ~CameraSurface() override;

    QList<QVideoFrame::PixelFormat>
    supportedPixelFormats(QAbstractVideoBuffer::HandleType handleType) const override;
    bool start(const QVideoSurfaceFormat& format) override;
    void stop() override;
    bool present(const QVideoFrame& frame) override;

    void setSkipYuyv(bool skip) { skipYuyv_ = skip; }
    // Applies the renderer switches of the environment (GPU_SKIP_YUYV).
    void readRendererOptions();
    VideoFrame* renderer() const { return renderer_.get(); }
    // Called by the widget when it paints: the next frame may be taken.
    void framePainted() { framePending_ = false; }
    // Logs the decode rate of the last second; called once a second when FPS logging is on.
    void reportDecodeFps();

    int presentCount() const { return presentCount_; }

private:
    bool skipYuyv_ = false;
    PictureView* view_;
    std::unique_ptr<VideoFrame> renderer_;
    int presentCount_ = 0;
    qint64 presentBytes_ = 0;
    bool framePending_ = false;
};
