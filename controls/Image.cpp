#include "controls/Image.h"

#include <utility>

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
    if (event->button() != Qt::LeftButton)
        return;
    // The release that ends a double-click is no second click: the first
    // release has clicked already.
    const bool endsDoubleClick = std::exchange(FDoubleClicked, false);
    if (!endsDoubleClick && rect().contains(event->position().toPoint()))
        emit Click();
}

void TImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FDoubleClicked = true;
    emit DblClick();
}
