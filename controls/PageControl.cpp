#include "controls/PageControl.h"

#include <QTabBar>

namespace {

// Tabs as wide as their caption and a small margin, so that the pages of a
// calculator fit side by side in its narrow area without scroll arrows.
class TPageTabBar final : public QTabBar
{
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override
    {
        const QSize hint = QTabBar::tabSizeHint(index);
        const int width = fontMetrics().horizontalAdvance(tabText(index)) + 2 * fontMetrics().averageCharWidth() + 4;
        return {qMin(hint.width(), width), hint.height()};
    }
};

} // namespace

TPageControl::TPageControl(QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new TPageTabBar(this));
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
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
