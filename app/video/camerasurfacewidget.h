#pragma once

#include <QOpenGLWidget>

#include <memory>

class CameraSurface;

// Draws the newest camera frame over the whole widget with OpenGL.
class CameraSurfaceWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit CameraSurfaceWidget(QWidget* parent = nullptr);
    ~CameraSurfaceWidget() override;

    CameraSurface* videoSurface() const;
    // Applies the renderer switches of the environment (GPU_SKIP_YUYV).
    void readRendererOptions();

    int renderCount() const;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void reportFps();

    struct Private;
    std::unique_ptr<Private> d;
    std::unique_ptr<CameraSurface> surface_;
};
