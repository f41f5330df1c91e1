#pragma once

// The Prefix calculator: classless IPv4 and IPv6 prefixes. One entry above
// the pages takes an address with a prefix length or mask; the "Prefix"
// page shows what it is, "Split" cuts it into subnets of a longer length
// (any number of them: the table is computed as it scrolls), "Plan"
// allocates named blocks inside it by size (VLSM), and "Summarize" turns
// lines of addresses, prefixes and ranges into the fewest prefixes that
// cover them.
//
// The calculator's state is one model (TPrefixCalc). Every handler reads
// its control, makes one call on it, and UpdatePrefixDisplay writes the
// entry, its message and the page shown back from the model, under
// QSignalBlocker, calling no handler. The pages are given const references
// to what they show and emit what the user entered.
//
// The copy button beside the entry copies what the page shown shows, in
// the table format; the Copy command follows it. The inputs of every page
// and the page shown are kept in the "Prefix" settings subkey.

#include "controls/CalcArea.h"
#include "prefix/PrefixCalc.h"

class QLabel;
class QLineEdit;
class QToolButton;
class TPageControl;
class TPrefixInfoPage;
class TPrefixPlanPage;
class TPrefixSplitPage;
class TPrefixSummaryPage;
struct TPrefixSettings;

class TPrefixArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TPrefixArea(QWidget *parent = nullptr);
    ~TPrefixArea() override;
    Q_DISABLE_COPY_MOVE(TPrefixArea)

    TPageControl *PageControl() const override { return PrefixPageControl; }
    void PageLeaving(QWidget *page) override;
    void PageEntered(QWidget *page) override;
    // Reads the "Prefix" subkey; what cannot be used is named in one error
    // box and keeps its default, every other value is used.
    void LoadSettings() override;
    void SaveSettings() override { SavePrefixSettings(); }

    // Writes the entry, its message and the page shown from the model.
    void UpdatePrefixDisplay();

    // Handlers.
    void PrefixEditChange(const QString &text);
    void PrefixEditReturn();
    void NewLengthSpinEditChange(int length);
    void GoToEditChange(const QString &text);
    void GoToEditReturn(const QString &text);
    void PlanMemoChange(const QString &text);
    void SummaryMemoChange(const QString &text);
    void CopyPrefixButtonClick();

    bool LoadPrefixSettings();
    void SavePrefixSettings();

    const TPrefixCalc &Calc() const { return FCalc; }

    QLabel *PrefixLabel = nullptr;
    QLineEdit *PrefixEdit = nullptr;
    QLabel *PrefixMessageLabel = nullptr;
    QToolButton *CopyPrefixButton = nullptr;
    TPageControl *PrefixPageControl = nullptr;
    TPrefixInfoPage *PrefixTabSheet = nullptr;
    TPrefixSplitPage *SplitTabSheet = nullptr;
    TPrefixPlanPage *PlanTabSheet = nullptr;
    TPrefixSummaryPage *SummarizeTabSheet = nullptr;

private:
    void CreateEntry();
    void CreatePages();
    // The inputs of `settings` given to the model as if typed, without a
    // beep; the page shown, and the subnet "Go to #" found, shown.
    void ApplySettings(const TPrefixSettings &settings);
    bool CanCopy() const;
    void UpdateCopyButton();

    TPrefixCalc FCalc;
    bool FCopyEnabled = false;
};
