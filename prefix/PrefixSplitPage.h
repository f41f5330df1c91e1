#pragma once

// The Split page: the entered prefix cut into subnets of a new length. The
// table lists them on a windowed grid whose rows are computed from the
// split as they come into view (never stored), under a scroll bar over the
// split's view of at most 2^31 - 1 rows; "Go to #" moves that view to any
// subnet. The page shows the split it is given and emits what the user
// entered.

#include <memory>

#include <QWidget>

#include "controls/SuperStringGrid.h"
#include "prefix/NetAddress.h"
#include "prefix/UInt128.h"

class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class TBetterSpinEdit;
class TPrefixSplit;
class TVorlCustomPanel;

class TPrefixSplitPage final : public QWidget
{
    Q_OBJECT
public:
    // `goToText` and `goToMessage` are the "Go to #" text and what was
    // wrong with it, kept by the owner.
    TPrefixSplitPage(const TPrefixSplit &split, const QString &goToText, const QString &goToMessage,
                     QWidget *parent = nullptr);
    ~TPrefixSplitPage() override;
    Q_DISABLE_COPY_MOVE(TPrefixSplitPage)

    // Shows the split; the table is read again when the split or its view
    // moved, and keeps its place otherwise.
    void UpdateDisplay();
    // Selects view row `row` and scrolls it to the middle of the table.
    void ShowSubnet(int row);
    // The selected view rows (empty when the prefix cannot be split).
    TGridRowSelection SelectedRows() const;

    TBetterSpinEdit *NewLengthSpinEdit = nullptr;
    QLineEdit *GoToEdit = nullptr;
    QLabel *SubnetCountLabel = nullptr;
    TVorlCustomPanel *SubnetCountPanel = nullptr;
    QLabel *SplitMessageLabel = nullptr;
    QFrame *SplitTableFrame = nullptr;
    TSuperStringGrid *SplitStringGrid = nullptr;
    QScrollBar *SplitScrollBar = nullptr;

signals:
    void NewLengthEntered(int length);
    void GoToTextEdited(const QString &text);
    void GoToEntered(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class TSplitRows;

    void LayoutTable();

    const TPrefixSplit &FSplit;
    const QString &FGoToText;
    const QString &FGoToMessage;
    std::unique_ptr<TSplitRows> FRows;
    // The split the table was last read for.
    TNetPrefix FShownPrefix;
    int FShownLength = -1;
    TUInt128 FShownBase;
};
