#include "prefix/PrefixSplitPage.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include "controls/BetterSpinEdit.h"
#include "controls/Guarded.h"
#include "controls/VorlPanels.h"
#include "prefix/PrefixSplit.h"
#include "prefix/PrefixWidgets.h"

namespace {

constexpr int Margin = 6;
// Below the count panel.
constexpr int TableTop = 76;
constexpr int NarrowColWidth = 20;

} // namespace

// The split's view rows, as the grid asks for them.
class TPrefixSplitPage::TSplitRows final : public TGridRowSource
{
public:
    explicit TSplitRows(const TPrefixSplit &split) : FSplit(split) {}

    int RowCount() const override { return FSplit.ViewRowCount(); }
    QStringList RowCells(int row) const override { return FSplit.ViewRowCells(row); }

private:
    const TPrefixSplit &FSplit;
};

TPrefixSplitPage::TPrefixSplitPage(const TPrefixSplit &split, const QString &goToText, const QString &goToMessage,
                                   QWidget *parent)
    : QWidget(parent)
    , FSplit(split)
    , FGoToText(goToText)
    , FGoToMessage(goToMessage)
    , FRows(std::make_unique<TSplitRows>(split))
{
    setObjectName(QStringLiteral("SplitTabSheet"));

    NewLengthSpinEdit = new TBetterSpinEdit(this);
    NewLengthSpinEdit->setObjectName(QStringLiteral("NewLengthSpinEdit"));
    NewLengthSpinEdit->setGeometry(64, 6, 56, 21);
    CreatePrefixLabel(this, QStringLiteral("&New length"), Margin, 10, NewLengthSpinEdit);
    GuardedConnect(NewLengthSpinEdit, &TBetterSpinEdit::Change, this,
                   [this] { emit NewLengthEntered(NewLengthSpinEdit->Value()); });

    GoToEdit = new QLineEdit(this);
    GoToEdit->setObjectName(QStringLiteral("GoToEdit"));
    GoToEdit->setGeometry(172, 6, 92, 21);
    GoToEdit->setMaxLength(60);
    GoToEdit->setToolTip(QStringLiteral("Type a subnet number and press Enter"));
    CreatePrefixLabel(this, QStringLiteral("&Go to #"), 130, 10, GoToEdit);
    GuardedConnect(GoToEdit, &QLineEdit::textEdited, this, [this](const QString &text) { emit GoToTextEdited(text); });
    GuardedConnect(GoToEdit, &QLineEdit::returnPressed, this, [this] { emit GoToEntered(GoToEdit->text()); });

    SubnetCountPanel = new TVorlCustomPanel(this);
    SubnetCountPanel->setObjectName(QStringLiteral("SubnetCountPanel"));
    SubnetCountPanel->SetBevelOuter(TBevelCut::bvLowered);
    SubnetCountPanel->SetAlignment(Qt::AlignRight);
    SubnetCountPanel->setGeometry(Margin, 49, 258, 21);
    SubnetCountLabel = CreatePrefixLabel(this, QStringLiteral("Subnets"), Margin, 33, SubnetCountPanel);
    SubnetCountLabel->setObjectName(QStringLiteral("SubnetCountLabel"));

    SplitMessageLabel = CreateMessageLabel(this, "SplitMessageLabel");
    SplitMessageLabel->move(Margin, TableTop);

    // The grid and its scroll bar in one sunken frame, as a table with its
    // own scroll bar looks.
    SplitTableFrame = new QFrame(this);
    SplitTableFrame->setObjectName(QStringLiteral("SplitTableFrame"));
    SplitTableFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    SplitStringGrid = CreatePrefixGrid(SplitTableFrame, "SplitStringGrid", QStringLiteral("Subnets"));
    SplitStringGrid->setFrameShape(QFrame::NoFrame);
    SplitScrollBar = new QScrollBar(Qt::Vertical, SplitTableFrame);
    SplitScrollBar->setObjectName(QStringLiteral("SplitScrollBar"));
    SplitStringGrid->SetColCount(int(split.Headers().size()));
    SplitStringGrid->SetRowSource(FRows.get());
    ConnectWindowScrollBar(SplitStringGrid, SplitScrollBar);
    LayoutTable();
}

TPrefixSplitPage::~TPrefixSplitPage()
{
    // The grid outlives this body; it must not read rows from here on.
    SplitStringGrid->SetRowSource(nullptr);
}

void TPrefixSplitPage::UpdateDisplay()
{
    {
        const QSignalBlocker blocker(NewLengthSpinEdit);
        // Equal bounds would leave the field unbounded: a /32 or /128
        // cannot be split and the field is off.
        NewLengthSpinEdit->setEnabled(FSplit.CanSplit());
        NewLengthSpinEdit->SetMinValue(FSplit.MinLength());
        NewLengthSpinEdit->SetMaxValue(FSplit.MaxLength());
        NewLengthSpinEdit->SetValue(FSplit.NewLength());
    }
    if (GoToEdit->text() != FGoToText) {
        const QSignalBlocker blocker(GoToEdit);
        GoToEdit->setText(FGoToText);
    }
    // The power of two goes with the caption, so that the panel holds all
    // 39 digits of 2^128.
    const std::optional<int> power = FSplit.Count().Log2();
    SubnetCountLabel->setText(FSplit.CanSplit() && power ? QStringLiteral("Subnets (2^%1)").arg(*power)
                                                         : QStringLiteral("Subnets"));
    SubnetCountLabel->adjustSize();
    SubnetCountPanel->SetCaption(FSplit.CanSplit() ? FSplit.Count().DecimalText() : FSplit.CountText());

    const QStringList headers = FSplit.Headers();
    const bool reread = FSplit.Prefix() != FShownPrefix || FSplit.NewLength() != FShownLength
                        || FSplit.ViewBase() != FShownBase || SplitStringGrid->ColCount() != headers.size();
    if (reread) {
        FShownPrefix = FSplit.Prefix();
        FShownLength = FSplit.NewLength();
        FShownBase = FSplit.ViewBase();
        SplitStringGrid->SetColCount(int(headers.size()));
        // Back to narrow columns, which grow to the texts of the new
        // split as its rows are painted.
        SplitStringGrid->SetDefaultColWidth(NarrowColWidth);
        SplitStringGrid->Model()->SetRowCells(0, headers);
        SplitStringGrid->SetColAlignments(0, TAlignment::taRightJustify);
        SplitStringGrid->RowSourceChanged();
    }
    LayoutTable();
}

void TPrefixSplitPage::ShowSubnet(int row)
{
    SplitStringGrid->SetTopRow(row - SplitStringGrid->PageRowCount() / 2);
    SplitStringGrid->SelectRows(row, row);
}

TGridRowSelection TPrefixSplitPage::SelectedRows() const
{
    return SplitStringGrid->RowSelection();
}

void TPrefixSplitPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Guarded([this] { LayoutTable(); });
}

void TPrefixSplitPage::LayoutTable()
{
    const int width = qMax(0, this->width() - 2 * Margin);
    const int message = ShowMessage(SplitMessageLabel, FGoToMessage, width);
    const int top = TableTop + (message > 0 ? message + 3 : 0);
    SplitTableFrame->setGeometry(Margin, top, width, qMax(0, height() - top - 4));
    const QRect inside = SplitTableFrame->contentsRect();
    const int bar = SplitScrollBar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, SplitScrollBar);
    SplitStringGrid->setGeometry(inside.left(), inside.top(), qMax(0, inside.width() - bar), inside.height());
    SplitScrollBar->setGeometry(inside.right() + 1 - bar, inside.top(), bar, inside.height());
}
