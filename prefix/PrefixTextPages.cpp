#include "prefix/PrefixTextPages.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "controls/Guarded.h"
#include "controls/SuperStringGrid.h"
#include "prefix/PrefixPlan.h"
#include "prefix/PrefixSummary.h"
#include "prefix/PrefixWidgets.h"

namespace {

constexpr int Margin = 6;
constexpr int MemoTop = 20;
// Three lines.
constexpr int MemoHeight = 49;

} // namespace

TPrefixTextPage::TPrefixTextPage(const QString &text, const char *const (&names)[4], const QString &caption,
                                 TSuperStringGrid *grid, QWidget *parent)
    : QWidget(parent)
    , StringGrid(grid)
    , FText(text)
{
    setObjectName(QLatin1String(names[0]));
    TextMemo = new QPlainTextEdit(this);
    TextMemo->setObjectName(QLatin1String(names[1]));
    // Tab moves on, as in every other input of the window.
    TextMemo->setTabChangesFocus(true);
    TextMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextMemo->move(Margin, MemoTop);
    TextLabel = CreatePrefixLabel(this, caption, Margin, 4, TextMemo);
    MessageLabel = CreateMessageLabel(this, names[2]);
    grid->setParent(this);
    grid->setObjectName(QLatin1String(names[3]));
    GuardedConnect(TextMemo, &QPlainTextEdit::textChanged, this, [this] { emit TextEdited(TextMemo->toPlainText()); });
}

void TPrefixTextPage::ShowTextAndMessages(const QString &messages)
{
    if (TextMemo->toPlainText() != FText) {
        const QSignalBlocker blocker(TextMemo);
        TextMemo->setPlainText(FText);
    }
    FMessages = messages;
    LayoutPage();
}

void TPrefixTextPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Guarded([this] { LayoutPage(); });
}

void TPrefixTextPage::LayoutPage()
{
    const int width = qMax(0, this->width() - 2 * Margin);
    TextMemo->resize(width, MemoHeight);
    // The messages take what they need, leaving the grid its header and a
    // few rows; the rest of a long list is elided at a whole line.
    const int gridTop = MemoTop + MemoHeight + 4;
    const int spare = qMax(0, height() - gridTop - 4 - 4 * 18);
    QString shown = FMessages;
    int message = ShowMessage(MessageLabel, shown, width);
    while (message > spare && shown.contains(u'\n')) {
        shown.truncate(shown.lastIndexOf(u'\n'));
        const int hidden = int(FMessages.count(u'\n') - shown.count(u'\n'));
        message = ShowMessage(MessageLabel, shown + QStringLiteral("\n(%1 more)").arg(hidden), width);
    }
    MessageLabel->move(Margin, gridTop);
    const int top = gridTop + (message > 0 ? message + 3 : 0);
    StringGrid->setGeometry(Margin, top, width, qMax(0, height() - top - 4));
}

TPrefixPlanPage::TPrefixPlanPage(const TPrefixPlan &plan, const QString &text, QWidget *parent)
    : TPrefixTextPage(text, {"PlanTabSheet", "PlanMemo", "PlanMessageLabel", "PlanStringGrid"},
                      QStringLiteral("&Requirements: a name and its hosts a line"),
                      CreatePrefixGrid(nullptr, "PlanStringGrid", QStringLiteral("Plan")), parent)
    , FPlan(plan)
{
    TextMemo->setPlaceholderText(QStringLiteral("Sales 120\nLab 50\nLinks 2"));
}

void TPrefixPlanPage::UpdateDisplay()
{
    const bool ipv4 = FPlan.Prefix().Family() == TIPFamily::ifIPv4;
    TextLabel->setText(ipv4 ? QStringLiteral("&Requirements: a name and its hosts a line")
                            : QStringLiteral("&Requirements: a name and its /64 networks a line"));
    TextLabel->adjustSize();
    QStringList messages = FPlan.LineMessages();
    if (!FPlan.Fits())
        messages.prepend(FPlan.FailureMessage());
    QList<QStringList> rows;
    for (int row = 0; row < FPlan.RowCount(); ++row)
        rows.append(FPlan.RowCells(row));
    for (int index = 0; index < FPlan.FreePrefixes().size(); ++index)
        rows.append(FPlan.FreeRowCells(index));
    FillTableGrid(StringGrid, FPlan.Headers(), rows);
    for (const int col : {1, 2, 5})
        StringGrid->SetColAlignments(col, TAlignment::taRightJustify);
    ShowTextAndMessages(messages.join(u'\n'));
}

TPrefixSummaryPage::TPrefixSummaryPage(const TPrefixSummary &summary, const QString &text, QWidget *parent)
    : TPrefixTextPage(text, {"SummarizeTabSheet", "SummaryMemo", "SummaryMessageLabel", "SummaryStringGrid"},
                      QStringLiteral("&Addresses, prefixes and ranges (a - b), # comments"),
                      CreateResultGrid(nullptr, "SummaryStringGrid", QStringLiteral("Summary")), parent)
    , FSummary(summary)
{
    TextMemo->setPlaceholderText(QStringLiteral("192.168.0.0/24\n10.0.0.1 - 10.0.0.6"));
}

void TPrefixSummaryPage::UpdateDisplay()
{
    TResultRows rows = FSummary.ResultRows();
    rows.reserve(rows.size() + FSummary.PrefixCount());
    for (int index = 0; index < FSummary.PrefixCount(); ++index)
        rows.append({QStringLiteral("Prefix"), FSummary.PrefixText(index)});
    FillResultGrid(StringGrid, rows);
    ShowTextAndMessages(FSummary.LineMessages().join(u'\n'));
}
