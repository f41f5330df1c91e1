#include "prefix/PrefixRows.h"

void AppendTableLine(QString &out, const QStringList &cells)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += u'\t';
        out += cells[i];
    }
    out += u"\r\n";
}

QString ResultRowsText(const TResultRows &rows)
{
    QString text;
    for (const TResultRow &row : rows)
        AppendTableLine(text, {row.Caption, row.Value});
    return text;
}

QString TableText(const QStringList &header, const QList<QStringList> &rows)
{
    QString text;
    AppendTableLine(text, header);
    for (const QStringList &row : rows)
        AppendTableLine(text, row);
    return text;
}
