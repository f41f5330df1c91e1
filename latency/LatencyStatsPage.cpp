#include "latency/LatencyStatsPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QIcon>
#include <QRadioButton>
#include <QToolButton>

#include "controls/Artwork.h"
#include "controls/DesignFont.h"
#include "controls/Guarded.h"
#include "controls/SuperStringGrid.h"
#include "latency/NetworkChain.h"

TLatencyStatsPage::TLatencyStatsPage(const TNetworkChain &chain, const TLatencyTotals &totals, QWidget *parent)
    : QWidget(parent)
    , FChain(chain)
    , FTotals(totals)
{
    setGeometry(0, 0, 268, 285);

    PacketDirRadioGroup = new QGroupBox(QStringLiteral("Packet Direction"), this);
    PacketDirRadioGroup->setObjectName(QStringLiteral("PacketDirRadioGroup"));
    PacketDirRadioGroup->setGeometry(0, 0, 209, 81);
    FPacketDirButtons = new QButtonGroup(this);
    // The runs of spaces line the arrows up under each other.
    const QStringList items{QStringLiteral("Node &A   --> Node B"), QStringLiteral("Node A <--   Node &B"),
                            QStringLiteral("&Node A <--> Node B")};
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items.at(i), PacketDirRadioGroup);
        item->setObjectName(QStringLiteral("PacketDirRadioButton%1").arg(i));
        item->setGeometry(8, 16 + 20 * i, 193, 18);
        FPacketDirButtons->addButton(item, i);
    }
    FPacketDirButtons->button(0)->setChecked(true);
    GuardedConnect(FPacketDirButtons, &QButtonGroup::idClicked, this, [this] { emit PacketDirRadioGroupClick(); });

    CopyLatencyStatsButton = CreateCopyButton(this, "CopyLatencyStatsButton",
                                              QStringLiteral("Copy latency statistics table to clipboard"),
                                              QRect(228, 56, 25, 25));
    GuardedConnect(CopyLatencyStatsButton, &QToolButton::clicked, this,
                   &TLatencyStatsPage::CopyLatencyStatsButtonClick);

    LatencyStatsStringGrid = new TSuperStringGrid(this);
    LatencyStatsStringGrid->setAccessibleName(QStringLiteral("Latency Statistics"));
    LatencyStatsStringGrid->setObjectName(QStringLiteral("LatencyStatsStringGrid"));
    LatencyStatsStringGrid->setGeometry(0, 88, 268, 197);
    LatencyStatsStringGrid->SetColCount(3);
    LatencyStatsStringGrid->SetRowCount(2);
    LatencyStatsStringGrid->SetFixedRows(1);
    LatencyStatsStringGrid->SetFixedCols(0);
    LatencyStatsStringGrid->SetFixedFont(DesignFont());
    LatencyStatsStringGrid->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                                        TGridOption::goVertLine, TGridOption::goHorzLine,
                                        TGridOption::goRangeSelect, TGridOption::goDrawFocusSelected,
                                        TGridOption::goColSizing, TGridOption::goThumbTracking});
    LatencyStatsStringGrid->SetColWidths(0, 145);
    LatencyStatsStringGrid->SetColWidths(1, 60);
    LatencyStatsStringGrid->SetColWidths(2, 40);
    PrepareGrid();
}

TPacketDirection TLatencyStatsPage::PacketDirection() const
{
    const int id = FPacketDirButtons->checkedId();
    return id < 0 ? TPacketDirection::pdAToB : TPacketDirection(id);
}

void TLatencyStatsPage::SetPacketDirection(TPacketDirection direction)
{
    FPacketDirButtons->button(int(direction))->setChecked(true);
}

void TLatencyStatsPage::PrepareGrid()
{
    LatencyStatsStringGrid->SetColAlignments(0, TAlignment::taLeftJustify);
    LatencyStatsStringGrid->SetColAlignments(1, TAlignment::taRightJustify);
    LatencyStatsStringGrid->SetColAlignments(2, TAlignment::taRightJustify);
    const QStringList header = LatencyStatsHeader();
    for (int col = 0; col < header.size(); ++col)
        LatencyStatsStringGrid->SetCells(col, 0, header.at(col));
}

void TLatencyStatsPage::FillGrid()
{
    const QList<QStringList> rows = LatencyStatsRows(FChain.Elements(), FTotals, PacketDirection());
    LatencyStatsStringGrid->BeginUpdate();
    LatencyStatsStringGrid->SetRowCount(int(rows.size()) + 1);
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < rows.at(row).size(); ++col)
            LatencyStatsStringGrid->SetCells(col, row + 1, rows.at(row).at(col));
    LatencyStatsStringGrid->EndUpdate();
    LatencyStatsStringGrid->AutoSizeCols();
}

void TLatencyStatsPage::CopyLatencyStatsButtonClick()
{
    LatencyStatsStringGrid->CopyToClipboard();
}
