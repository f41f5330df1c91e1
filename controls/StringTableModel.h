#pragma once

// The text table behind TSuperStringGrid, and the clipboard text of a
// selection of it. QtCore only, so both can be tested without a view.
//
// Cells are addressed like the grid: column and row over the whole table,
// fixed (header) cells included; a cell is fixed when its column is below
// FixedCols or its row below FixedRows. Towards Qt's item views the model
// shows only the non-fixed cells as items; the fixed rows are the horizontal
// header (one section per non-fixed column, fixed rows joined by '\n') and
// the fixed columns the vertical header.
//
// Storage is one QString per row holding the row's cells back to back, plus
// one end offset per cell, so a table of 16385 rows costs one allocation per
// row and no per-cell objects.

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <initializer_list>
#include <vector>

// A set of members of a small enumeration; member n is bit value 1 << n.
template <typename E>
class TSmallSet
{
public:
    constexpr TSmallSet() = default;
    constexpr TSmallSet(std::initializer_list<E> members)
    {
        for (E member : members)
            FBits |= Bit(member);
    }

    constexpr bool Contains(E member) const { return (FBits & Bit(member)) != 0; }
    constexpr TSmallSet &Include(E member) { FBits |= Bit(member); return *this; }
    constexpr TSmallSet &Exclude(E member) { FBits &= ~Bit(member); return *this; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr quint32 Bits() const { return FBits; }
    static constexpr TSmallSet FromBits(quint32 bits) { TSmallSet set; set.FBits = bits; return set; }

    friend constexpr bool operator==(TSmallSet a, TSmallSet b) { return a.FBits == b.FBits; }
    friend constexpr TSmallSet operator|(TSmallSet a, TSmallSet b) { return FromBits(a.FBits | b.FBits); }

private:
    static constexpr quint32 Bit(E member) { return quint32(1) << static_cast<int>(member); }

    quint32 FBits = 0;
};

// The grid's edit commands that may run (Paste never changes anything).
enum class TEditMode { emClear, emCopy, emCut, emPaste };
using TEditModes = TSmallSet<TEditMode>;

// What the clipboard text of a selection covers beyond the selected cells.
enum class TCopyMode { cmEntireCols, cmEntireRows, cmFixedCols, cmFixedRows };
using TCopyModes = TSmallSet<TCopyMode>;

// A rectangle of cells in grid columns and rows, all four sides inclusive.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const TGridRect &, const TGridRect &) = default;
};

class TStringTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TStringTableModel(QObject *parent = nullptr);
    ~TStringTableModel() override;
    Q_DISABLE_COPY_MOVE(TStringTableModel)

    // Counts never go below 0. A changed count emits ColCountChanged or
    // RowCountChanged with the old count after the structure has changed;
    // writing the current count emits nothing. New cells are empty.
    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);

    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    bool IsFixedCell(int col, int row) const { return col < FFixedCols || row < FFixedRows; }

    // Reading outside the table gives the empty text; writing outside it is
    // ignored.
    QString Cells(int col, int row) const;
    // Valid until the row is next written.
    QStringView CellView(int col, int row) const;
    void SetCells(int col, int row, const QString &text);
    // Replaces every cell of `row` at once, from column 0: missing cells
    // become empty, cells beyond ColCount are dropped. One notification for
    // the row (none between BeginUpdate and EndUpdate).
    void SetRowCells(int row, const QStringList &cells);

    // Between BeginUpdate and the matching EndUpdate cell writes notify
    // nothing; EndUpdate then reports one change over the whole table.
    // Count changes are reported at once either way.
    void BeginUpdate();
    void EndUpdate();

    // The item of a non-fixed cell (invalid for fixed or outside cells), and
    // the grid column and row of an item.
    QModelIndex CellIndex(int col, int row) const;
    int GridCol(const QModelIndex &index) const { return index.column() + FFixedCols; }
    int GridRow(const QModelIndex &index) const { return index.row() + FFixedRows; }

    // Bytes held by the table's storage (row texts and offsets), for
    // budgeting large tables.
    qsizetype StorageBytes() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void ColCountChanged(int oldCount);
    void RowCountChanged(int oldCount);

private:
    int ItemRows() const { return qMax(0, FRowCount - FFixedRows); }
    int ItemCols() const { return qMax(0, FColCount - FFixedCols); }
    void CellChanged(int col, int row);
    void RowChanged(int row);
    void ResizeColumns(int newCount);

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    // FRowTexts[row] holds the row's cells back to back; cell (col, row)
    // ends at FEnds[row * FColCount + col] and starts where its left
    // neighbour ends (column 0 at 0).
    std::vector<QString> FRowTexts;
    std::vector<quint32> FEnds;
    int FUpdateCount = 0;
    bool FUpdateChanged = false;
};

// The clipboard text of `selection`: one line per row, header lines first
// when cmFixedRows is set, cells joined by TAB, every line ending in CR LF.
// cmEntireCols takes all non-fixed rows, cmEntireRows all non-fixed columns,
// cmFixedCols puts the fixed columns before the cells of each line. Cell
// texts are taken verbatim. The selection is clamped to the table.
QString GridClipboardText(const TStringTableModel &model, const TGridRect &selection, TCopyModes modes);

// As GridClipboardText; when `emptyCells` is set, each copied non-fixed cell
// of the selected columns is emptied once it has been read (the Cut command).
QString CutGridClipboardText(TStringTableModel &model, const TGridRect &selection, TCopyModes modes,
                             bool emptyCells);
