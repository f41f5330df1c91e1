#pragma once

// What the Prefix calculator's four pages show, kept together: the entry
// and its results, the split of the entered prefix, the plan inside it and
// the summary of the Summarize page's lines. Each input is one call here,
// which applies what follows from it (a newly read prefix is split and
// planned again); the pages read the parts through const references.

#include <QString>

#include "prefix/PrefixInfo.h"
#include "prefix/PrefixPlan.h"
#include "prefix/PrefixSplit.h"
#include "prefix/PrefixSummary.h"

class TPrefixCalc
{
public:
    TPrefixCalc();

    // Readable text replaces the prefix, which the split (back at its first
    // row, its chosen length kept while it fits) and the plan follow;
    // unreadable text keeps all three and Info().Message() says why.
    // Returns whether the text was read.
    bool SetEntryText(const QString &text);
    // Clamped to the prefix's choice of lengths.
    void SetSplitLength(int length);
    // A length chosen for another prefix (a stored one), used while it fits.
    void SetChosenSplitLength(int length);
    // The "Go to #" text as typed, not yet gone to.
    void SetGoToText(const QString &text) { FGoToText = text; }
    // Moves the split's view to the subnet numbered by `text` and gives its
    // view row; GoToText() and GoToMessage() keep the text and what was
    // wrong with it (empty after a success and after any change of the split).
    TReadResult<int> GoTo(const QString &text);
    void SetPlanText(const QString &text);
    void SetSummaryText(const QString &text);

    const TPrefixInfo &Info() const { return FInfo; }
    const TPrefixSplit &Split() const { return FSplit; }
    const QString &GoToText() const { return FGoToText; }
    const QString &GoToMessage() const { return FGoToMessage; }
    const TPrefixPlan &Plan() const { return FPlan; }
    const QString &PlanText() const { return FPlanText; }
    const TPrefixSummary &Summary() const { return FSummary; }
    const QString &SummaryText() const { return FSummaryText; }

private:
    TPrefixInfo FInfo;
    TPrefixSplit FSplit;
    QString FGoToText;
    QString FGoToMessage;
    TPrefixPlan FPlan;
    QString FPlanText;
    TPrefixSummary FSummary;
    QString FSummaryText;
};
