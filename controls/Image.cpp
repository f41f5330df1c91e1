#include "controls/Image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include "controls/AccessibleDisplays.h"

TImage::TImage(QWidget *parent)
    : QWidget(parent)
{
    InstallDisplayAccessibility();
}

void TImage::SetPicture(QSvgRenderer *picture)
{
    if (FPicture == picture)
        return;
    FPicture = picture;
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (!FPicture || !FPicture->isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSize size = FPicture->viewBox().size();
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    FPicture->render(&painter, target);
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

void TImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}
