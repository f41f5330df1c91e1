// TSuperStringGrid's window mode: a table read from a TGridRowSource one
// viewport of rows at a time (see SuperStringGrid.h).
//
// Qt's selection model only knows the window's rows, so the selection and
// the current cell are kept here in data rows and shown on the window after
// every move (ApplyRowSelection). The view never scrolls vertically by
// itself: its scroll bar is off, its auto-scroll too, and keys, the wheel
// and the mouse over the cells are handled here.

#include "controls/SuperStringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "controls/Guarded.h"

void TSuperStringGrid::SetRowSource(TGridRowSource *source)
{
    if (source == FRowSource) {
        if (source)
            RowSourceChanged();
        return;
    }
    const bool entering = !FRowSource;
    FRowSource = source;
    if (!source) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setAutoScroll(true);
        SetOptions(FOptions);
        FModel->SetRowCount(FixedRows());
        FRowSelection = {};
        emit WindowChanged(this);
        return;
    }
    if (entering) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setAutoScroll(false);
        // A row's size would stay with the window row, not with its data.
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setDefaultSectionSize(FDefaultRowHeight + (showGrid() ? 1 : 0));
    }
    RowSourceChanged();
}

void TSuperStringGrid::RowSourceChanged()
{
    if (!FRowSource)
        return;
    FTopRow = 0;
    FCurrentCol = FixedCols();
    FCurrentRow = 0;
    FRowAnchorCol = FCurrentCol;
    FRowAnchorRow = 0;
    FHeaderAnchor = -1;
    FRowDragging = false;
    FRowSelection = {};
    if (DataRowCount() > 0 && ColCount() > FixedCols())
        FRowSelection = {FCurrentCol, FCurrentCol, 0, 0};
    horizontalScrollBar()->setValue(0);
    FPageRows = ViewportPageRows();
    LoadWindow();
    emit WindowChanged(this);
}

int TSuperStringGrid::DataRowCount() const
{
    return FRowSource ? qMax(0, FRowSource->RowCount()) : 0;
}

int TSuperStringGrid::MaxTopRow() const
{
    return qMax(0, DataRowCount() - FPageRows);
}

int TSuperStringGrid::WindowRowHeight() const
{
    return qMax(1, verticalHeader()->defaultSectionSize());
}

void TSuperStringGrid::SetTopRow(int row)
{
    if (!FRowSource)
        return;
    row = qBound(0, row, MaxTopRow());
    if (row == FTopRow)
        return;
    FTopRow = row;
    LoadWindow();
    emit WindowChanged(this);
}

int TSuperStringGrid::ViewportPageRows() const
{
    return qMax(1, viewport()->height() / WindowRowHeight());
}

void TSuperStringGrid::UpdatePageRows()
{
    if (!FRowSource)
        return;
    const int pageRows = ViewportPageRows();
    if (pageRows == FPageRows)
        return;
    FPageRows = pageRows;
    LoadWindow();
    emit WindowChanged(this);
}

void TSuperStringGrid::LoadWindow()
{
    FTopRow = qBound(0, FTopRow, MaxTopRow());
    const int rows = qBound(0, DataRowCount() - FTopRow, FPageRows + 1);
    FModel->SetRowCount(FixedRows() + rows);
    FModel->BeginUpdate();
    for (int row = 0; row < rows; ++row)
        FModel->SetRowCells(FixedRows() + row, FRowSource->RowCells(FTopRow + row));
    FModel->EndUpdate();
    ApplyRowSelection();
}

void TSuperStringGrid::ApplyRowSelection()
{
    const int rows = FModel->RowCount() - FixedRows();
    QItemSelection selection;
    if (!FRowSelection.IsEmpty()) {
        const int first = qMax(FRowSelection.FirstRow, FTopRow) - FTopRow;
        const int last = qMin(FRowSelection.LastRow, FTopRow + rows - 1) - FTopRow;
        if (first <= last)
            selection.select(FModel->CellIndex(FRowSelection.Left, FixedRows() + first),
                             FModel->CellIndex(FRowSelection.Right, FixedRows() + last));
    }
    const bool currentShown = FCurrentRow >= FTopRow && FCurrentRow - FTopRow < rows;
    selectionModel()->setCurrentIndex(
        currentShown ? FModel->CellIndex(FCurrentCol, FixedRows() + FCurrentRow - FTopRow) : QModelIndex(),
        QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    // The window's rows are all in view from its top.
    verticalScrollBar()->setValue(0);
}

void TSuperStringGrid::ShowDataRow(int row)
{
    if (row < FTopRow)
        SetTopRow(row);
    else if (row >= FTopRow + FPageRows)
        SetTopRow(row - FPageRows + 1);
}

void TSuperStringGrid::MoveRowCursor(int col, int row, bool extend)
{
    const int total = DataRowCount();
    if (total == 0 || ColCount() <= FixedCols())
        return;
    col = qBound(FixedCols(), col, ColCount() - 1);
    row = qBound(0, row, total - 1);
    FCurrentCol = col;
    FCurrentRow = row;
    if (!extend || !FOptions.Contains(TGridOption::goRangeSelect)) {
        FRowAnchorCol = col;
        FRowAnchorRow = row;
    }
    FRowSelection = {qMin(FRowAnchorCol, col), qMax(FRowAnchorCol, col), qMin(FRowAnchorRow, row),
                     qMax(FRowAnchorRow, row)};
    ShowDataRow(row);
    ApplyRowSelection();
    // Sideways as far as shows the column; the row is wholly in view, so
    // the view does not move it.
    const QModelIndex current = currentIndex();
    if (current.isValid())
        scrollTo(current);
    verticalScrollBar()->setValue(0);
}

void TSuperStringGrid::SelectRows(int first, int last)
{
    const int total = DataRowCount();
    if (total == 0 || ColCount() <= FixedCols())
        return;
    first = qBound(0, first, total - 1);
    last = qBound(0, last, total - 1);
    MoveRowCursor(FixedCols(), first, false);
    FRowAnchorRow = last;
    FRowSelection = {FixedCols(), ColCount() - 1, qMin(first, last), qMax(first, last)};
    ApplyRowSelection();
}

void TSuperStringGrid::SelectAllRows()
{
    if (DataRowCount() == 0 || ColCount() <= FixedCols())
        return;
    FRowSelection = {FixedCols(), ColCount() - 1, 0, DataRowCount() - 1};
    ApplyRowSelection();
}

void TSuperStringGrid::WindowHeaderClicked(Qt::Orientation orientation, int section, bool extend)
{
    const int total = DataRowCount();
    if (total == 0 || ColCount() <= FixedCols())
        return;
    if (orientation == Qt::Horizontal) {
        const int col = FixedCols() + section;
        if (extend && FHeaderAnchor >= 0 && FHeaderAnchorOrientation == Qt::Horizontal) {
            FRowSelection.Left = qMin(FHeaderAnchor, col);
            FRowSelection.Right = qMax(FHeaderAnchor, col);
        } else {
            FRowSelection = {col, col, 0, total - 1};
            FHeaderAnchorOrientation = Qt::Horizontal;
            FHeaderAnchor = col;
        }
        FCurrentCol = col;
        FCurrentRow = qBound(FRowSelection.FirstRow, FTopRow, FRowSelection.LastRow);
    } else {
        const int row = FTopRow + section;
        if (extend && FHeaderAnchor >= 0 && FHeaderAnchorOrientation == Qt::Vertical) {
            FRowSelection.FirstRow = qMin(FHeaderAnchor, row);
            FRowSelection.LastRow = qMax(FHeaderAnchor, row);
        } else {
            FRowSelection = {FixedCols(), ColCount() - 1, row, row};
            FHeaderAnchorOrientation = Qt::Vertical;
            FHeaderAnchor = row;
        }
        FCurrentCol = qBound(FRowSelection.Left, FCurrentCol, FRowSelection.Right);
        FCurrentRow = row;
    }
    FRowAnchorCol = FCurrentCol;
    FRowAnchorRow = FCurrentRow;
    ApplyRowSelection();
}

bool TSuperStringGrid::WindowKeyPress(const QKeyEvent *event)
{
    if (DataRowCount() == 0)
        return false;
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAllRows();
        return true;
    }
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    int col = FCurrentCol;
    int row = FCurrentRow;
    switch (event->key()) {
    case Qt::Key_Up:
        row = row > 0 ? row - 1 : 0;
        break;
    case Qt::Key_Down:
        row = row < DataRowCount() - 1 ? row + 1 : row;
        break;
    case Qt::Key_PageUp:
        row = row > FPageRows ? row - FPageRows : 0;
        break;
    case Qt::Key_PageDown:
        row = row < DataRowCount() - FPageRows ? row + FPageRows : DataRowCount() - 1;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Home:
        col = FixedCols();
        if (control)
            row = 0;
        break;
    case Qt::Key_End:
        col = ColCount() - 1;
        if (control)
            row = DataRowCount() - 1;
        break;
    default:
        return false;
    }
    MoveRowCursor(col, row, shift);
    return true;
}

void TSuperStringGrid::WindowMousePress(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    FRowDragging = true;
    MoveRowCursor(FModel->GridCol(index), FTopRow + index.row(), event->modifiers().testFlag(Qt::ShiftModifier));
}

void TSuperStringGrid::WindowMouseMove(const QMouseEvent *event)
{
    if (!FRowDragging || !event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    const QRect area = viewport()->rect();
    // Past an edge the selection reaches one row (column) beyond what is
    // in view, and the window follows it.
    int row = FCurrentRow;
    if (pos.y() < area.top())
        row = FTopRow - 1;
    else if (pos.y() > area.bottom())
        row = FTopRow + FPageRows;
    else if (const int itemRow = rowAt(pos.y()); itemRow >= 0)
        row = FTopRow + itemRow;
    int col = FCurrentCol;
    const int itemCol = columnAt(qBound(area.left(), pos.x(), area.right()));
    if (itemCol >= 0)
        col = FixedCols() + itemCol;
    if (pos.x() > area.right())
        ++col;
    if (row != FCurrentRow || col != FCurrentCol)
        MoveRowCursor(col, row, true);
}

void TSuperStringGrid::QueuePageRows()
{
    if (!FRowSource || FPageRowsQueued)
        return;
    FPageRowsQueued = true;
    QMetaObject::invokeMethod(
        this,
        GuardedSlot([this] {
            FPageRowsQueued = false;
            UpdatePageRows();
        }),
        Qt::QueuedConnection);
}

void TSuperStringGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    // The viewport also changes size while the view answers a change of
    // the model (a column gone, a scroll bar hidden): the window's rows
    // change afterwards, not inside that answer.
    Guarded([this] { QueuePageRows(); });
}

void TSuperStringGrid::wheelEvent(QWheelEvent *event)
{
    if (!FRowSource || event->angleDelta().y() == 0) {
        QTableView::wheelEvent(event);
        return;
    }
    Guarded([&] {
        // Whole notches of 120, three rows each by default; a fine-grained
        // wheel adds up to them.
        FWheelRemainder += event->angleDelta().y();
        const int steps = FWheelRemainder / 120;
        FWheelRemainder -= steps * 120;
        if (steps != 0)
            SetTopRow(FTopRow - steps * QApplication::wheelScrollLines());
    });
    event->accept();
}

void TSuperStringGrid::mousePressEvent(QMouseEvent *event)
{
    if (!FRowSource) {
        QTableView::mousePressEvent(event);
        return;
    }
    Guarded([&] { WindowMousePress(event); });
}

void TSuperStringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!FRowSource) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    Guarded([&] { WindowMouseMove(event); });
}

void TSuperStringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (!FRowSource) {
        QTableView::mouseReleaseEvent(event);
        return;
    }
    FRowDragging = false;
}

void TSuperStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!FRowSource) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    Guarded([&] { WindowMousePress(event); });
}

void ConnectWindowScrollBar(TSuperStringGrid *grid, QScrollBar *bar)
{
    const auto follow = [grid, bar] {
        const QSignalBlocker blocker(bar);
        bar->setRange(0, grid->MaxTopRow());
        bar->setSingleStep(1);
        bar->setPageStep(grid->PageRowCount());
        bar->setValue(grid->TopRow());
    };
    follow();
    GuardedConnect(grid, &TSuperStringGrid::WindowChanged, bar, follow);
    GuardedConnect(bar, &QScrollBar::valueChanged, grid, [grid](int value) { grid->SetTopRow(value); });
}
