#include "prefix/PrefixCalc.h"

TPrefixCalc::TPrefixCalc()
{
    FPlan.Compute(FSplit.Prefix(), FPlanText);
    FSummary.Compute(FSummaryText);
}

bool TPrefixCalc::SetEntryText(const QString &text)
{
    if (!FInfo.SetEntryText(text))
        return false;
    FSplit.SetPrefix(FInfo.Prefix());
    FGoToMessage.clear();
    FPlan.Compute(FInfo.Prefix(), FPlanText);
    return true;
}

void TPrefixCalc::SetSplitLength(int length)
{
    FSplit.SetNewLength(length);
    FGoToMessage.clear();
}

void TPrefixCalc::SetChosenSplitLength(int length)
{
    FSplit.SetChosenLength(length);
    FGoToMessage.clear();
}

TReadResult<int> TPrefixCalc::GoTo(const QString &text)
{
    FGoToText = text;
    const TReadResult<int> row = FSplit.GoTo(text);
    FGoToMessage = row.Message;
    return row;
}

void TPrefixCalc::SetPlanText(const QString &text)
{
    FPlanText = text;
    FPlan.Compute(FSplit.Prefix(), FPlanText);
}

void TPrefixCalc::SetSummaryText(const QString &text)
{
    FSummaryText = text;
    FSummary.Compute(FSummaryText);
}
