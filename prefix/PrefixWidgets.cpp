#include "prefix/PrefixWidgets.h"

#include <QLabel>

#include "controls/DesignFont.h"
#include "controls/SuperStringGrid.h"

namespace {

// Measuring every cell of a long table would cost more than it shows:
// beyond this many rows the columns grow as rows are painted.
constexpr int MaxAutoSizeRows = 500;

void SetHouseOptions(TSuperStringGrid *grid)
{
    grid->SetFixedFont(DesignFont());
    grid->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                      TGridOption::goHorzLine, TGridOption::goRangeSelect, TGridOption::goDrawFocusSelected,
                      TGridOption::goColSizing, TGridOption::goThumbTracking});
}

} // namespace

QLabel *CreatePrefixLabel(QWidget *parent, const QString &text, int left, int top, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QLabel *CreateMessageLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}

int ShowMessage(QLabel *label, const QString &text, int width)
{
    if (label->text() != text)
        label->setText(text);
    label->setVisible(!text.isEmpty());
    if (text.isEmpty())
        return 0;
    const int height = label->heightForWidth(width);
    label->resize(width, height);
    return height;
}

TSuperStringGrid *CreatePrefixGrid(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *grid = new TSuperStringGrid(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setAccessibleName(accessibleName);
    grid->SetFixedCols(0);
    grid->SetFixedRows(1);
    SetHouseOptions(grid);
    return grid;
}

TSuperStringGrid *CreateResultGrid(QWidget *parent, const char *name, const QString &accessibleName)
{
    TSuperStringGrid *grid = CreatePrefixGrid(parent, name, accessibleName);
    grid->SetColCount(2);
    grid->SetFixedRows(0);
    grid->SetRowCount(0);
    return grid;
}

namespace {

// A table short enough is measured whole when filled, so painting need not
// measure it again (each keystroke in the entry repaints the results); a
// longer one grows its columns as its rows are painted.
void FitColumns(TSuperStringGrid *grid, qsizetype rows)
{
    const bool whole = rows <= MaxAutoSizeRows;
    grid->SetAutoWidth(!whole);
    grid->SetAutoHeight(!whole);
    if (whole)
        grid->AutoSizeCols();
}

} // namespace

void FillResultGrid(TSuperStringGrid *grid, const TResultRows &rows)
{
    grid->SetRowCount(int(rows.size()));
    grid->BeginUpdate();
    for (int row = 0; row < rows.size(); ++row)
        grid->Model()->SetRowCells(row, {rows[row].Caption, rows[row].Value});
    grid->EndUpdate();
    FitColumns(grid, rows.size());
}

void FillTableGrid(TSuperStringGrid *grid, const QStringList &headers, const QList<QStringList> &rows)
{
    grid->SetColCount(int(headers.size()));
    grid->SetRowCount(1 + int(rows.size()));
    grid->BeginUpdate();
    grid->Model()->SetRowCells(0, headers);
    for (int row = 0; row < rows.size(); ++row)
        grid->Model()->SetRowCells(1 + row, rows[row]);
    grid->EndUpdate();
    FitColumns(grid, rows.size());
}
