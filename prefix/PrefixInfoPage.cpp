#include "prefix/PrefixInfoPage.h"

#include <QVBoxLayout>

#include "controls/SuperStringGrid.h"
#include "prefix/PrefixInfo.h"
#include "prefix/PrefixWidgets.h"

TPrefixInfoPage::TPrefixInfoPage(const TPrefixInfo &info, QWidget *parent)
    : QWidget(parent)
    , FInfo(info)
{
    setObjectName(QStringLiteral("PrefixTabSheet"));
    PrefixStringGrid = CreateResultGrid(this, "PrefixStringGrid", QStringLiteral("Prefix"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PrefixStringGrid);
}

void TPrefixInfoPage::UpdateDisplay()
{
    FillResultGrid(PrefixStringGrid, FInfo.Rows());
}
