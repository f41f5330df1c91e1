#include "controls/PageControl.h"

#include <QProxyStyle>
#include <QTabBar>

#include "controls/Guarded.h"

namespace {

// Tabs with a small margin around the caption, so that the pages of a
// calculator fit side by side in its narrow area without scroll arrows.
class TPageTabStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TPageControl::TPageControl(QWidget *parent)
    : QTabWidget(parent)
{
    auto *style = new TPageTabStyle;
    style->setParent(this);
    tabBar()->setStyle(style);
    setUsesScrollButtons(false);
    // A click on a tab takes the focus, as on the desktop's own tab
    // controls: a field being edited on the page being left is committed
    // (its exit runs) before the next page is shown.
    tabBar()->setFocusPolicy(Qt::StrongFocus);
    setElideMode(Qt::ElideNone);
    GuardedConnect(this, &QTabWidget::currentChanged, this, &TPageControl::CurrentChanged);
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
