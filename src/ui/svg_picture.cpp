#include "ui/svg_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace clockvane::ui {

SvgPicture::SvgPicture(const QString& resource, QSize logicalSize, QWidget* parent)
    : QWidget(parent), renderer_(resource), logicalSize_(logicalSize)
{
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SvgPicture::setClickable(bool clickable)
{
    clickable_ = clickable;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, rect());
}

void SvgPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (clickable_ && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace clockvane::ui
