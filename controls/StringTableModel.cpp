#include "controls/StringTableModel.h"

#include <algorithm>

TStringTableModel::TStringTableModel(QObject *parent)
    : QAbstractTableModel(parent)
    , FRowTexts(FRowCount)
    , FEnds(std::size_t(FRowCount) * FColCount, 0)
{
}

TStringTableModel::~TStringTableModel() = default;

void TStringTableModel::SetColCount(int value)
{
    value = qMax(0, value);
    if (value == FColCount)
        return;
    const int oldCount = FColCount;
    const int oldItems = ItemCols();
    const int newItems = qMax(0, value - FFixedCols);
    if (newItems > oldItems)
        beginInsertColumns(QModelIndex(), oldItems, newItems - 1);
    else if (newItems < oldItems)
        beginRemoveColumns(QModelIndex(), newItems, oldItems - 1);
    ResizeColumns(value);
    if (newItems > oldItems)
        endInsertColumns();
    else if (newItems < oldItems)
        endRemoveColumns();
    // Fewer columns can shorten the header text of the fixed columns.
    if (FFixedCols > 0 && value < FFixedCols + 1 && ItemRows() > 0)
        emit headerDataChanged(Qt::Vertical, 0, ItemRows() - 1);
    emit ColCountChanged(oldCount);
}

void TStringTableModel::ResizeColumns(int newCount)
{
    std::vector<quint32> ends(std::size_t(FRowCount) * newCount);
    const int kept = qMin(FColCount, newCount);
    for (int row = 0; row < FRowCount; ++row) {
        const quint32 *oldRow = FEnds.data() + std::size_t(row) * FColCount;
        quint32 *newRow = ends.data() + std::size_t(row) * newCount;
        std::copy(oldRow, oldRow + kept, newRow);
        const quint32 length = kept > 0 ? oldRow[kept - 1] : 0;
        std::fill(newRow + kept, newRow + newCount, length);
        if (qsizetype(length) < FRowTexts[row].size())
            FRowTexts[row].truncate(length);
    }
    FEnds.swap(ends);
    FColCount = newCount;
}

void TStringTableModel::SetRowCount(int value)
{
    value = qMax(0, value);
    if (value == FRowCount)
        return;
    const int oldCount = FRowCount;
    const int oldItems = ItemRows();
    const int newItems = qMax(0, value - FFixedRows);
    if (newItems > oldItems)
        beginInsertRows(QModelIndex(), oldItems, newItems - 1);
    else if (newItems < oldItems)
        beginRemoveRows(QModelIndex(), newItems, oldItems - 1);
    FRowTexts.resize(value);
    FEnds.resize(std::size_t(value) * FColCount, 0);
    FRowCount = value;
    if (newItems > oldItems)
        endInsertRows();
    else if (newItems < oldItems)
        endRemoveRows();
    if (FFixedRows > 0 && value < FFixedRows + 1 && ItemCols() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, ItemCols() - 1);
    emit RowCountChanged(oldCount);
}

void TStringTableModel::SetFixedCols(int value)
{
    value = qMax(0, value);
    if (value == FFixedCols)
        return;
    beginResetModel();
    FFixedCols = value;
    endResetModel();
}

void TStringTableModel::SetFixedRows(int value)
{
    value = qMax(0, value);
    if (value == FFixedRows)
        return;
    beginResetModel();
    FFixedRows = value;
    endResetModel();
}

QStringView TStringTableModel::CellView(int col, int row) const
{
    if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount)
        return {};
    const quint32 *ends = FEnds.data() + std::size_t(row) * FColCount;
    const quint32 start = col > 0 ? ends[col - 1] : 0;
    return QStringView(FRowTexts[row]).mid(start, ends[col] - start);
}

QString TStringTableModel::Cells(int col, int row) const
{
    return CellView(col, row).toString();
}

void TStringTableModel::SetCells(int col, int row, const QString &text)
{
    if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount)
        return;
    quint32 *ends = FEnds.data() + std::size_t(row) * FColCount;
    const quint32 start = col > 0 ? ends[col - 1] : 0;
    const quint32 oldLength = ends[col] - start;
    QString &rowText = FRowTexts[row];
    if (QStringView(rowText).mid(start, oldLength) == text)
        return;
    const qsizetype needed = rowText.size() - oldLength + text.size();
    if (oldLength == 0 && start == rowText.size()) {
        // Filling a row from left to right: room for about a whole row at
        // once (rows of a table tend to be alike), so the later cells of the
        // row append in place and the row ends up nearly exact in size.
        if (rowText.capacity() < needed)
            rowText.reserve(qMax(needed, row > 0 ? FRowTexts[row - 1].size() : qsizetype(0)));
        rowText.append(text);
        for (int c = col; c < FColCount; ++c)
            ends[c] += quint32(text.size());
        CellChanged(col, row);
        return;
    }
    // Rebuilt at its exact size: a grown row would keep spare capacity, and
    // over tens of thousands of rows that spare room is most of the memory.
    QString newText;
    newText.reserve(needed);
    newText.append(QStringView(rowText).left(start));
    newText.append(text);
    newText.append(QStringView(rowText).mid(ends[col]));
    rowText.swap(newText);
    const qint64 delta = qint64(text.size()) - qint64(oldLength);
    for (int c = col; c < FColCount; ++c)
        ends[c] = quint32(qint64(ends[c]) + delta);
    CellChanged(col, row);
}

void TStringTableModel::SetRowCells(int row, const QStringList &cells)
{
    if (row < 0 || row >= FRowCount)
        return;
    const int count = qMin(FColCount, int(cells.size()));
    qsizetype length = 0;
    for (int col = 0; col < count; ++col)
        length += cells[col].size();
    QString text;
    text.reserve(length);
    quint32 *ends = FEnds.data() + std::size_t(row) * FColCount;
    for (int col = 0; col < FColCount; ++col) {
        if (col < count)
            text.append(cells[col]);
        ends[col] = quint32(text.size());
    }
    FRowTexts[row].swap(text);
    RowChanged(row);
}

void TStringTableModel::RowChanged(int row)
{
    if (FUpdateCount > 0) {
        FUpdateChanged = true;
        return;
    }
    if (row < FFixedRows) {
        if (ItemCols() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, ItemCols() - 1);
        return;
    }
    if (FFixedCols > 0)
        emit headerDataChanged(Qt::Vertical, row - FFixedRows, row - FFixedRows);
    if (ItemCols() > 0)
        emit dataChanged(index(row - FFixedRows, 0), index(row - FFixedRows, ItemCols() - 1),
                         {Qt::DisplayRole, Qt::EditRole});
}

void TStringTableModel::CellChanged(int col, int row)
{
    if (FUpdateCount > 0) {
        FUpdateChanged = true;
        return;
    }
    if (IsFixedCell(col, row)) {
        if (row < FFixedRows && col >= FFixedCols)
            emit headerDataChanged(Qt::Horizontal, col - FFixedCols, col - FFixedCols);
        if (col < FFixedCols && row >= FFixedRows)
            emit headerDataChanged(Qt::Vertical, row - FFixedRows, row - FFixedRows);
        return;
    }
    const QModelIndex item = CellIndex(col, row);
    emit dataChanged(item, item, {Qt::DisplayRole, Qt::EditRole});
}

void TStringTableModel::BeginUpdate()
{
    ++FUpdateCount;
}

void TStringTableModel::EndUpdate()
{
    if (FUpdateCount == 0 || --FUpdateCount > 0 || !FUpdateChanged)
        return;
    FUpdateChanged = false;
    if (ItemCols() > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, ItemCols() - 1);
        if (ItemRows() > 0)
            emit dataChanged(index(0, 0), index(ItemRows() - 1, ItemCols() - 1), {Qt::DisplayRole, Qt::EditRole});
    }
    if (ItemRows() > 0)
        emit headerDataChanged(Qt::Vertical, 0, ItemRows() - 1);
}

QModelIndex TStringTableModel::CellIndex(int col, int row) const
{
    if (IsFixedCell(col, row) || col >= FColCount || row >= FRowCount)
        return {};
    return index(row - FFixedRows, col - FFixedCols);
}

qsizetype TStringTableModel::StorageBytes() const
{
    qsizetype bytes = qsizetype(FRowTexts.capacity() * sizeof(QString) + FEnds.capacity() * sizeof(quint32));
    for (const QString &text : FRowTexts) {
        // Text plus the allocation's own header; an empty row allocates none.
        if (text.capacity() > 0)
            bytes += text.capacity() * qsizetype(sizeof(QChar)) + 16;
    }
    return bytes;
}

int TStringTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ItemRows();
}

int TStringTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ItemCols();
}

QVariant TStringTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return Cells(GridCol(index), GridRow(index));
}

bool TStringTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    SetCells(GridCol(index), GridRow(index), value.toString());
    return true;
}

QVariant TStringTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    QString text;
    if (orientation == Qt::Horizontal) {
        if (section >= ItemCols())
            return {};
        for (int row = 0; row < FFixedRows && row < FRowCount; ++row) {
            if (row > 0)
                text += u'\n';
            text += CellView(section + FFixedCols, row);
        }
    } else {
        if (section >= ItemRows())
            return {};
        for (int col = 0; col < FFixedCols && col < FColCount; ++col) {
            if (col > 0)
                text += u' ';
            text += CellView(col, section + FFixedRows);
        }
    }
    return text;
}

Qt::ItemFlags TStringTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

namespace {

QString BuildClipboardText(TStringTableModel &model, const TGridRect &selection, TCopyModes modes, bool emptyCells)
{
    const int fixedCols = qMin(model.FixedCols(), model.ColCount());
    const int fixedRows = qMin(model.FixedRows(), model.RowCount());
    int top = selection.Top;
    int bottom = selection.Bottom;
    int left = selection.Left;
    int right = selection.Right;
    if (modes.Contains(TCopyMode::cmEntireCols)) {
        top = model.FixedRows();
        bottom = model.RowCount() - 1;
    }
    if (modes.Contains(TCopyMode::cmEntireRows)) {
        left = model.FixedCols();
        right = model.ColCount() - 1;
    }
    // A selection reaching past the table copies only the cells that exist.
    top = qMax(top, 0);
    left = qMax(left, 0);
    bottom = qMin(bottom, model.RowCount() - 1);
    right = qMin(right, model.ColCount() - 1);
    const bool withFixedCols = modes.Contains(TCopyMode::cmFixedCols);

    QString text;
    qsizetype estimate = 0;
    for (int row = top; row <= bottom && row - top < 64; ++row)
        for (int col = left; col <= right; ++col)
            estimate += model.CellView(col, row).size() + 1;
    if (bottom - top + 1 > 64)
        estimate = estimate / 64 * (bottom - top + 1);
    text.reserve(estimate + 2 * (bottom - top + 2 + fixedRows));

    const auto appendLine = [&](int row, bool cutRow) {
        bool first = true;
        const auto appendCell = [&](int col) {
            if (!first)
                text += u'\t';
            first = false;
            text += model.CellView(col, row);
        };
        if (withFixedCols)
            for (int col = 0; col < fixedCols; ++col)
                appendCell(col);
        for (int col = left; col <= right; ++col) {
            appendCell(col);
            if (cutRow && !model.IsFixedCell(col, row))
                model.SetCells(col, row, QString());
        }
        text += u"\r\n";
    };
    if (modes.Contains(TCopyMode::cmFixedRows))
        for (int row = 0; row < fixedRows; ++row)
            appendLine(row, false);
    for (int row = top; row <= bottom; ++row)
        appendLine(row, emptyCells);
    return text;
}

} // namespace

QString GridClipboardText(const TStringTableModel &model, const TGridRect &selection, TCopyModes modes)
{
    // Without emptyCells nothing is written.
    return BuildClipboardText(const_cast<TStringTableModel &>(model), selection, modes, false);
}

QString CutGridClipboardText(TStringTableModel &model, const TGridRect &selection, TCopyModes modes, bool emptyCells)
{
    return BuildClipboardText(model, selection, modes, emptyCells);
}
