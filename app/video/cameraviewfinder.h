#pragma once

#include <QCamera>
#include <QPointer>
#include <QSharedPointer>
#include <QSize>
#include <QWidget>

class PictureView;
class QTimer;

// Shows an attached camera's picture at its aspect ratio (letterboxed or pillarboxed on the
// page behind it) and hides the mouse cursor over the picture after a while.
class CameraViewfinder : public QWidget {
    Q_OBJECT
public:
    explicit CameraViewfinder(QWidget* parent = nullptr);
    ~CameraViewfinder() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Applies the renderer switches; call with a current OpenGL context.
    void initRendererOptions();

    // Where a picture of `resolution` goes inside `area`, keeping its aspect ratio.
    static QRect pictureRect(const QSize& resolution, const QSize& area);

public slots:
    void attachCamera(QSharedPointer<QCamera> camera);
    void detachCamera();
    void setAllowAutoHideCursor(bool allow);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    PictureView* pictureView();
    void refreshResolution();
    void layoutSurface(const QSize& size);
    void hideCursorIfIdle();

    PictureView* view_ = nullptr;
    QWidget* surfaceWidget_ = nullptr;
    QPointer<QWidget> cursorWidget_;
    QSharedPointer<QCamera> camera_;
    QMetaObject::Connection statusConnection_;
    QSize resolution_;
    QTimer* cursorTimer_;
    bool allowAutoHideCursor_ = false;
};
