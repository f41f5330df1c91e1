#include "ipsubnet/SubnetHostPage.h"

#include <QGuiApplication>
#include <QVBoxLayout>

#include "controls/DesignFont.h"
#include "controls/SuperStringGrid.h"
#include "ipsubnet/SubnetHostTable.h"

namespace {

// The hourglass for the lifetime of the guard.
class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    Q_DISABLE_COPY_MOVE(TWaitCursor)
};

} // namespace

TSubnetHostPage::TSubnetHostPage(const TIPAddSubnet &subnet, QWidget *parent)
    : QWidget(parent)
    , FSubnet(subnet)
{
    SubnetHostStringGrid = new TSuperStringGrid(this);
    SubnetHostStringGrid->setAccessibleName(QStringLiteral("Subnets/Hosts"));
    SubnetHostStringGrid->setObjectName(QStringLiteral("SubnetHostStringGrid"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SubnetHostStringGrid);
    SubnetHostStringGrid->SetColCount(2);
    SubnetHostStringGrid->SetRowCount(2);
    SubnetHostStringGrid->SetFixedRows(1);
    SubnetHostStringGrid->SetFixedCols(0);
    SubnetHostStringGrid->SetFixedFont(DesignFont());
    SubnetHostStringGrid->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                                      TGridOption::goVertLine, TGridOption::goHorzLine, TGridOption::goRangeSelect,
                                      TGridOption::goDrawFocusSelected, TGridOption::goColSizing,
                                      TGridOption::goThumbTracking});
    SubnetHostStringGrid->SetColWidths(0, 71);
    SubnetHostStringGrid->SetColWidths(1, 176);
    SubnetHostStringGrid->SetColAlignments(0, TAlignment::taRightJustify);
    SubnetHostStringGrid->SetColAlignments(1, TAlignment::taCenter);
    SubnetHostStringGrid->SetCells(0, 0, QStringLiteral("Subnet"));
    SubnetHostStringGrid->SetCells(1, 0, QStringLiteral("Host Range"));
}

void TSubnetHostPage::CopyToClipboard()
{
    SubnetHostStringGrid->CopyToClipboard();
}

void TSubnetHostPage::UpdateSubnetHostDisplay()
{
    // The page is drawn before a long fill.
    window()->repaint();
    if (!FTableDirty)
        return;
    {
        TWaitCursor hourglass;
        FillSubnetHostTable(*SubnetHostStringGrid->Model(), FSubnet);
    }
    FTableDirty = false;
}
