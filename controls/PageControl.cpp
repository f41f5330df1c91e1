#include "controls/PageControl.h"

TPageControl::TPageControl(QWidget *parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TPageControl::CurrentChanged);
}

void TPageControl::SetActivePage(QWidget *page)
{
    setCurrentWidget(page);
}

void TPageControl::CurrentChanged(int index)
{
    QWidget *leaving = FActivePage;
    FActivePage = widget(index);
    // Adding the first page also makes it current; that is no switch.
    if (!leaving)
        return;
    emit Changing(this, leaving);
    emit Change(this);
}
