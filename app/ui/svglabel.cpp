#include "svglabel.h"

#include <QPainter>
#include <QStyle>

SvgLabel::SvgLabel(QWidget* parent)
    : QLabel(parent) {}

void SvgLabel::setPicture(const QString& fileName) {
    renderer_.load(fileName);
    update();
}

QRect SvgLabel::pictureRect() const {
    const QRect area = contentsRect();
    return QStyle::alignedRect(layoutDirection(), alignment(),
                               renderer_.defaultSize().scaled(area.size(), Qt::KeepAspectRatio),
                               area);
}

void SvgLabel::paintEvent(QPaintEvent* /*event*/) {
    // Drawn as vectors, the picture gets the pixels of the window's backing store, however many
    // a logical pixel has on this screen.
    QPainter painter(this);
    renderer_.render(&painter, pictureRect());
}
