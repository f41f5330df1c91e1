#pragma once

#include "controls/Alignment.h"

// TSuperStringGrid: the program's one table control, a QTableView over a
// TStringTableModel.
//
// Cells are addressed by grid column and row with the fixed (header) cells
// included: with one fixed row, Cells(c, 0) is the header of column c and
// the data starts at row 1. The fixed rows are drawn as the horizontal
// header, the fixed columns as the vertical header, their crossing as the
// corner button.
//
// Beyond a plain view it grows column widths and row heights to fit the
// texts it paints (only painted cells are measured, so long tables cost
// nothing until scrolled), paints each column with its own alignment and
// each row on its own colour, selects whole columns, rows or the table by
// header clicks (on release over the pressed header, Shift extends), and
// runs the edit commands Clear, Copy, Cut and Paste gated by EditModes; the
// clipboard text is GridClipboardText().
//
// Window mode (SetRowSource) is for tables too long to store: millions of
// rows, or more than an item view can count. The model then holds the fixed
// rows and one window of data rows, the rows that fit the viewport, read
// from a TGridRowSource as they come into view; nothing the grid keeps grows
// with the source's row count. The view's own vertical scroll bar is off:
// TopRow() is the data row at the top of the window, and a scroll bar of the
// owner follows it (ConnectWindowScrollBar). Keys, the wheel and dragging a
// selection move the window; the selection is kept in data rows
// (RowSelection()), so it reaches rows outside the window. All data rows are
// one height. The cells are computed, not stored: Clear, Cut and Copy change
// nothing, and copying is the owner's, from RowSelection().

#include "controls/StringTableModel.h"

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>
#include <vector>

class QAbstractButton;
class QScrollBar;
class TSuperStringGridHeader;

// The rows of a windowed grid, read when shown.
class TGridRowSource
{
public:
    virtual ~TGridRowSource() = default;
    // Data rows, below the fixed rows.
    virtual int RowCount() const = 0;
    // The cells of data row `row` (0 to RowCount() - 1) from column 0,
    // fixed columns included; missing cells are empty.
    virtual QStringList RowCells(int row) const = 0;
};

// The selection of a windowed grid: grid columns Left..Right and data rows
// FirstRow..LastRow (as the row source counts them), all inclusive.
struct TGridRowSelection
{
    int Left = 0;
    int Right = -1;
    int FirstRow = 0;
    int LastRow = -1;

    bool IsEmpty() const { return Right < Left || LastRow < FirstRow; }
    friend bool operator==(const TGridRowSelection &, const TGridRowSelection &) = default;
};


enum class TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSmallSet<TGridOption>;

enum class TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSmallSet<TGridDrawStateItem>;

class TSuperStringGrid : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth)
    Q_PROPERTY(bool AutoHeight READ AutoHeight WRITE SetAutoHeight)
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(QFont FixedFont READ FixedFont WRITE SetFixedFont)
    Q_PROPERTY(QColor HighlightColor READ HighlightColor WRITE SetHighlightColor)

public:
    // Called whenever a cell's font has been chosen (painting, pressed
    // header, AutoSizeCol); the handler may change the font and its colour.
    using TGetCellFontEvent =
        std::function<void(TSuperStringGrid *sender, QFont &font, QColor &fontColor, int col, int row)>;
    // Called for every painted non-fixed cell after the grid's own drawing
    // (only this when DefaultDrawing is off). `rect` is the text rectangle
    // when a text was laid out, else the cell rectangle, in viewport pixels.
    using TDrawCellEvent = std::function<void(TSuperStringGrid *sender, QPainter *painter, int col, int row,
                                              const QRect &rect, TGridDrawState state)>;

    static constexpr int DefaultWidth = 345;
    static constexpr int DefaultHeight = 105;

    explicit TSuperStringGrid(QWidget *parent = nullptr);
    ~TSuperStringGrid() override;
    Q_DISABLE_COPY_MOVE(TSuperStringGrid)

    TStringTableModel *Model() const { return FModel; }

    QString Cells(int col, int row) const { return FModel->Cells(col, row); }
    void SetCells(int col, int row, const QString &text) { FModel->SetCells(col, row, text); }
    // Brackets a fill of many cells: one repaint instead of one per cell.
    void BeginUpdate() { FModel->BeginUpdate(); }
    void EndUpdate() { FModel->EndUpdate(); }

    // Count changes emit ColCountChange / RowCountChange with the old count.
    int ColCount() const { return FModel->ColCount(); }
    void SetColCount(int value) { FModel->SetColCount(value); }
    int RowCount() const { return FModel->RowCount(); }
    void SetRowCount(int value) { FModel->SetRowCount(value); }
    int FixedCols() const { return FModel->FixedCols(); }
    void SetFixedCols(int value);
    int FixedRows() const { return FModel->FixedRows(); }
    void SetFixedRows(int value);

    // Pixels. Fixed rows share the header's height, fixed columns the
    // vertical header's width.
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    // Writing a default resizes every column (row) to it.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);

    // The bounding rectangle of the selected cells; the current cell when
    // nothing is selected. Writing selects the rectangle (clamped to the
    // non-fixed cells) and makes its top-left cell current.
    TGridRect Selection() const;
    void SetSelection(const TGridRect &value);

    // Alignment of the non-fixed cells of a column (fixed cells are
    // centred). Writing a column at or beyond ColCount is ignored.
    TAlignment ColAlignments(int col) const;
    void SetColAlignments(int col, TAlignment value);
    // Each row's background, taken from the base colour when the row came
    // into existence.
    QColor RowColors(int row) const;

    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool value);
    bool AutoHeight() const { return FAutoHeight; }
    void SetAutoHeight(bool value);
    TEditModes EditModes() const { return FEditModes; }
    void SetEditModes(TEditModes value) { FEditModes = value; }
    TCopyModes CopyModes() const { return FCopyModes; }
    void SetCopyModes(TCopyModes value) { FCopyModes = value; }
    // The font of the fixed cells; the non-fixed cells use font().
    QFont FixedFont() const { return FFixedFont; }
    void SetFixedFont(const QFont &value);
    QColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(const QColor &value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value);

    void SetOnGetCellFont(TGetCellFontEvent handler);
    void SetOnDrawCell(TDrawCellEvent handler);

    // Sets the column's width to the widest of DefaultColWidth and every
    // cell's text + 4 pixels (fixed rows included); may narrow the column.
    void AutoSizeCol(int col);
    void AutoSizeCols();

    // Runs the Copy command now; nothing unless emCopy is in EditModes.
    void CopyToClipboard();

    // The edit commands. The keys Delete, Ctrl+C, Ctrl+X and Ctrl+P post
    // them, so they run after the key event. Each does nothing unless its
    // mode is in EditModes; Paste changes nothing in any case.
    void ClearCommand();
    void CopyCommand();
    void CutCommand();
    void PasteCommand();

    // The grid column and row under a viewport point, -1 and -1 when none;
    // the viewport rectangle of a cell.
    void MouseToCell(const QPoint &pos, int &col, int &row) const;
    QRect CellRect(int col, int row) const;

    // The button at the crossing of the headers (visible with fixed rows
    // and fixed columns); a click selects every non-fixed cell.
    QAbstractButton *CornerButton() const { return FCornerButton; }

    // Window mode on (`source` is not owned and must outlive the mode) or,
    // with nullptr, off: the table is then left with its fixed rows. The
    // columns and fixed counts are the owner's, set before. RowCount()
    // counts the window's rows.
    void SetRowSource(TGridRowSource *source);
    TGridRowSource *RowSource() const { return FRowSource; }
    bool IsWindowed() const { return FRowSource != nullptr; }
    // The source's rows have changed: they are read again, the window goes
    // back to the top and the first data cell is current and selected.
    void RowSourceChanged();
    // The source's data rows; 0 outside window mode.
    int DataRowCount() const;
    // The data row at the top of the window, 0 to MaxTopRow(). Writing
    // moves the window (clamped).
    int TopRow() const { return FTopRow; }
    void SetTopRow(int row);
    int MaxTopRow() const;
    // Data rows wholly in view (at least 1); the window holds one more,
    // partly shown, when there is one.
    int PageRowCount() const { return FPageRows; }
    // Empty when the source has no rows.
    TGridRowSelection RowSelection() const { return FRowSelection; }
    // Selects data rows first..last (either order, clamped) across every
    // non-fixed column, makes the first cell of `first` current and moves
    // the window as little as shows it.
    void SelectRows(int first, int last);

signals:
    void ColCountChange(TSuperStringGrid *sender, int oldCount);
    void RowCountChange(TSuperStringGrid *sender, int oldCount);
    // Window mode: the top row, the page of rows or the source's row count
    // changed.
    void WindowChanged(TSuperStringGrid *sender);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class TSuperStringGridDelegate;
    friend class TSuperStringGridHeader;

    void ModelColCountChanged(int oldCount);
    void ModelRowCountChanged(int oldCount);
    void FixedCountsChanged();
    void UpdateFixedSizes();
    void EnsureCurrentCell();
    void HeaderClicked(Qt::Orientation orientation, int section);
    void CornerClicked();
    void SelectCells(const TGridRect &rect);

    // Cell fonts: the fixed font or font(), then OnGetCellFont.
    void CellFont(int col, int row, bool fixed, QFont &font, QColor &color);
    // Grows the columns and rows of the given painted cells to fit their
    // texts; true when any size changed.
    bool GrowToFit(int firstCol, int lastCol, int firstRow, int lastRow);
    bool GrowToFitViewport(const QRect &rect);

    // Window mode.
    int WindowRowHeight() const;
    int ViewportPageRows() const;
    // The page of rows for the viewport's height; the window is read
    // again and announced when it changed.
    void UpdatePageRows();
    // UpdatePageRows once the events at hand are done.
    void QueuePageRows();
    // Reads the rows of the window from the source.
    void LoadWindow();
    // Shows the selection and the current cell on the window's rows.
    void ApplyRowSelection();
    // Moves the current cell (clamped) and restarts the selection there or
    // extends it from the anchor; then shows the cell.
    void MoveRowCursor(int col, int row, bool extend);
    void ShowDataRow(int row);
    void SelectAllRows();
    void WindowHeaderClicked(Qt::Orientation orientation, int section, bool extend);
    bool WindowKeyPress(const QKeyEvent *event);
    void WindowMousePress(const QMouseEvent *event);
    void WindowMouseMove(const QMouseEvent *event);

    TStringTableModel *FModel = nullptr;
    TSuperStringGridHeader *FHorizontalHeader = nullptr;
    TSuperStringGridHeader *FVerticalHeader = nullptr;
    QAbstractButton *FCornerButton = nullptr;

    bool FAutoWidth = true;
    bool FAutoHeight = true;
    bool FDefaultDrawing = true;
    TEditModes FEditModes{TEditMode::emCopy};
    TCopyModes FCopyModes{TCopyMode::cmFixedCols, TCopyMode::cmFixedRows};
    TGridOptions FOptions;
    QFont FFixedFont;
    QColor FHighlightColor;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 17;
    // Widths of the fixed columns, heights of the fixed rows.
    std::vector<int> FFixedColWidths;
    std::vector<int> FFixedRowHeights;
    std::vector<TAlignment> FColAlignments;
    std::vector<QRgb> FRowColors;
    // The header cell whose click last set the selection.
    int FAnchorCol = 0;
    int FAnchorRow = 0;
    TGetCellFontEvent FOnGetCellFont;
    TDrawCellEvent FOnDrawCell;

    // Window mode: the source, the data row at the top, the rows wholly in
    // view; the selection, its anchor and the current cell (grid columns,
    // data rows); the header whose click last set the selection; a drag
    // selecting rows; wheel turns not yet a whole step.
    TGridRowSource *FRowSource = nullptr;
    int FTopRow = 0;
    int FPageRows = 1;
    TGridRowSelection FRowSelection;
    int FRowAnchorCol = 0;
    int FRowAnchorRow = 0;
    int FCurrentCol = 0;
    int FCurrentRow = 0;
    Qt::Orientation FHeaderAnchorOrientation = Qt::Horizontal;
    int FHeaderAnchor = -1;
    bool FRowDragging = false;
    bool FPageRowsQueued = false;
    int FWheelRemainder = 0;
};

// Ties `bar` to a windowed grid: its range, page step and value follow the
// window, and moving it moves the window.
void ConnectWindowScrollBar(TSuperStringGrid *grid, QScrollBar *bar);
