#include "ipsubnet/SubnetHostPage.h"

#include <QGuiApplication>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/Artwork.h"
#include "controls/DesignFont.h"
#include "controls/Guarded.h"
#include "controls/SuperStringGrid.h"
#include "ipsubnet/IPSubnetArea.h"
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

TSubnetHostPage::TSubnetHostPage(TIPSubnetArea *area)
    : QObject(area)
    , FArea(area)
{
    setObjectName(QStringLiteral("SubnetHostPage"));

    SubnetHostStringGrid = new TSuperStringGrid(area->SubnetHostTab);
    SubnetHostStringGrid->setAccessibleName(QStringLiteral("Subnets/Hosts"));
    SubnetHostStringGrid->setObjectName(QStringLiteral("SubnetHostStringGrid"));
    auto *layout = new QVBoxLayout(area->SubnetHostTab);
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

    CopySubnetHostButton = CreateCopyButton(area, "CopySubnetHostButton",
                                            QStringLiteral("Copy subnet/host table to clipboard"), QRect(232, 54, 25, 25));
    CopySubnetHostButton->setEnabled(false);
    GuardedConnect(CopySubnetHostButton, &QToolButton::clicked, this, &TSubnetHostPage::CopySubnetHostButtonClick);

    area->CopySubnetHostButton = CopySubnetHostButton;
    area->PlugPageContent(area->SubnetHostTab, [this] { UpdateSubnetHostDisplay(); });
}

void TSubnetHostPage::CopySubnetHostButtonClick()
{
    SubnetHostStringGrid->CopyToClipboard();
}

void TSubnetHostPage::UpdateSubnetHostDisplay()
{
    // The page is drawn before a long fill.
    FArea->window()->repaint();
    if (!FArea->SubnetTableDirty())
        return;
    {
        TWaitCursor hourglass;
        FillSubnetHostTable(*SubnetHostStringGrid->Model(), FArea->Subnet());
    }
    FArea->SetSubnetTableDirty(false);
}
