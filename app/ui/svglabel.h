#pragma once

#include <QLabel>
#include <QSvgRenderer>

// A label that shows an SVG picture drawn at the screen's resolution, as large as the label
// holds it without distortion, placed by the label's alignment. A picture scaled from pixels
// would show steps on a high-resolution screen, and one larger than the label would be cut.
class SvgLabel : public QLabel {
    Q_OBJECT
public:
    explicit SvgLabel(QWidget* parent = nullptr);

    void setPicture(const QString& fileName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect pictureRect() const;

    QSvgRenderer renderer_;
};
