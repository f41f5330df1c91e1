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

#include "controls/StringTableModel.h"

#include <QColor>
#include <QFont>
#include <QTableView>

#include <functional>
#include <vector>

class QAbstractButton;
class TSuperStringGridHeader;


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

signals:
    void ColCountChange(TSuperStringGrid *sender, int oldCount);
    void RowCountChange(TSuperStringGrid *sender, int oldCount);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

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
};
