#pragma once

// Controls the Prefix calculator's pages share: captions, the message line
// under an input, and the grids of results and tables, all in the house
// look (design font, the tables' options).

#include <QList>
#include <QString>
#include <QStringList>

#include "prefix/PrefixRows.h"

class QLabel;
class QWidget;
class TSuperStringGrid;

// A caption at (left, top), as wide as its text; with an access key it is
// `buddy`'s label.
QLabel *CreatePrefixLabel(QWidget *parent, const QString &text, int left, int top, QWidget *buddy = nullptr);

// A message line: word-wrapped, shown only while it has a text (an empty
// line would be a display with nothing to read).
QLabel *CreateMessageLabel(QWidget *parent, const char *name);
// Writes the message; the label is then `width` wide and as high as the
// text needs. Returns that height, 0 when the label is hidden.
int ShowMessage(QLabel *label, const QString &text, int width);

// A table in the program's grid: one header row, the tables' options.
TSuperStringGrid *CreatePrefixGrid(QWidget *parent, const char *name, const QString &accessibleName);
// A caption/value grid without a header row.
TSuperStringGrid *CreateResultGrid(QWidget *parent, const char *name, const QString &accessibleName);
// The rows as (caption, value) lines; the columns fit the texts (as in
// FillTableGrid).
void FillResultGrid(TSuperStringGrid *grid, const TResultRows &rows);
// The header row, then the rows; the columns fit the texts while that
// takes measuring only a few hundred rows.
void FillTableGrid(TSuperStringGrid *grid, const QStringList &headers, const QList<QStringList> &rows);
