#pragma once

// The Plan and Summarize pages: lines typed into a box, what could not be
// read (named by line) under it, and the result in a grid below. Each page
// shows the model it is given and emits the text the user typed.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class TPrefixPlan;
class TPrefixSummary;
class TSuperStringGrid;

class TPrefixTextPage : public QWidget
{
    Q_OBJECT
public:
    QLabel *TextLabel = nullptr;
    QPlainTextEdit *TextMemo = nullptr;
    QLabel *MessageLabel = nullptr;
    TSuperStringGrid *StringGrid = nullptr;

signals:
    void TextEdited(const QString &text);

protected:
    // `names` are the object names of the page, its box, its message line
    // and its grid.
    TPrefixTextPage(const QString &text, const char *const (&names)[4], const QString &caption,
                    TSuperStringGrid *grid, QWidget *parent);
    Q_DISABLE_COPY_MOVE(TPrefixTextPage)

    // The box shows the model's text (written only when it differs, so
    // that typing keeps its place), the message line `messages`.
    void ShowTextAndMessages(const QString &messages);
    void resizeEvent(QResizeEvent *event) override;

private:
    void LayoutPage();

    const QString &FText;
    QString FMessages;
};

// The Plan page (VLSM): requirement lines in, the allocations and the free
// space out, or what does not fit.
class TPrefixPlanPage final : public TPrefixTextPage
{
    Q_OBJECT
public:
    // `text` is the requirement text the plan was computed from.
    TPrefixPlanPage(const TPrefixPlan &plan, const QString &text, QWidget *parent = nullptr);

    void UpdateDisplay();

private:
    const TPrefixPlan &FPlan;
};

// The Summarize page: addresses, prefixes and ranges in, the fewest
// prefixes covering them out, with the counts and route summaries first.
class TPrefixSummaryPage final : public TPrefixTextPage
{
    Q_OBJECT
public:
    TPrefixSummaryPage(const TPrefixSummary &summary, const QString &text, QWidget *parent = nullptr);

    void UpdateDisplay();

private:
    const TPrefixSummary &FSummary;
};
