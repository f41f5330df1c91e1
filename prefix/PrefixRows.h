#pragma once

// What the Prefix calculator's pages show, as text: caption and value rows
// for the two-column result grids, and the table text of the clipboard
// (cells joined by TAB, every line ending in CR LF, header line first).

#include <QList>
#include <QString>
#include <QStringList>

struct TResultRow
{
    QString Caption;
    QString Value;

    friend bool operator==(const TResultRow &, const TResultRow &) = default;
};
using TResultRows = QList<TResultRow>;

// `cells` joined by TAB, then CR LF.
void AppendTableLine(QString &out, const QStringList &cells);
// One "caption TAB value" line per row.
QString ResultRowsText(const TResultRows &rows);
// The header line, then one line per row.
QString TableText(const QStringList &header, const QList<QStringList> &rows);
