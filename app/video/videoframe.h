#pragma once

#include <QSize>
#include <QVideoFrame>

#include <memory>

class QOpenGLFunctions;
class QOpenGLTexture;

// Holds the newest camera frame, mapped read-only, and draws it. The base class only holds;
// the renderers upload and convert. GL work happens in render() with the widget's context
// current.
class VideoFrame {
public:
    VideoFrame();
    virtual ~VideoFrame();
    VideoFrame(const VideoFrame&) = delete;
    VideoFrame& operator=(const VideoFrame&) = delete;

    virtual void setFrame(const QVideoFrame& frame);
    // Leaves the picture's RGB texture bound to texture unit 0.
    virtual void render() {}
    // Whether the bound texture holds the picture's top row at t = 0.
    virtual bool topRowFirst() const { return false; }

    void setGL(QOpenGLFunctions* gl) { gl_ = gl; }
    const QVideoFrame& frame() const { return frame_; }
    // Whether the mapped bytes cover the whole picture at this packing, rows padded or not, in
    // whole 4-byte texels; anything else is not uploaded, as GL would read past the buffer or
    // shear the rows. The first such frame of a stream is logged.
    bool holdsPicture(int bytesPerPixel);
    // Has GL read the held frame's rows at their stride while uploading, or (false) packed again.
    void setUploadRowStride(bool frameStride);
    // Unmaps and forgets the held frame.
    void clear();

protected:
    QOpenGLFunctions* gl_ = nullptr;
    std::unique_ptr<QOpenGLTexture> texture_;
    QVideoFrame frame_;
    QSize textureSize_;
    bool refusalLogged_ = false;
};
