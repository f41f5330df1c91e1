#include "controls/SuperStringGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>

#include "controls/Guarded.h"

// The fixed rows (horizontal) or fixed columns (vertical) of the grid: one
// section per non-fixed column (row), each painted as the stack of its fixed
// cells. A section is selected on release over the section it was pressed
// on; while the button is held over it the section looks pressed.
class TSuperStringGridHeader final : public QHeaderView
{
public:
    TSuperStringGridHeader(Qt::Orientation orientation, TSuperStringGrid *grid)
        : QHeaderView(orientation, grid)
        , FGrid(grid)
    {
        setSectionsClickable(true);
        setHighlightSections(false);
        setMinimumSectionSize(1);
        setDefaultAlignment(Qt::AlignCenter);
    }

    void StartTracking(int section)
    {
        FDownSection = section;
        FTracking = true;
        FDownDrawn = true;
        updateSection(section);
    }

    void StopTracking()
    {
        FTracking = false;
        FDownDrawn = false;
        if (FDownSection >= 0 && FDownSection < count())
            updateSection(FDownSection);
    }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (FTracking && FDownSection >= 0) {
            const bool over = logicalIndexAt(event->position().toPoint()) == FDownSection
                              && rect().contains(event->position().toPoint());
            if (over != FDownDrawn) {
                FDownDrawn = over;
                updateSection(FDownSection);
            }
        }
        QHeaderView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        // Unpressed before the click is handled, so a selection change
        // repaints a normal section.
        StopTracking();
        FReleaseModifiers = event->modifiers();
        QHeaderView::mouseReleaseEvent(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        if (count() > 0 && (FGrid->FAutoWidth || FGrid->FAutoHeight)) {
            const bool horizontal = orientation() == Qt::Horizontal;
            const QRect rect = event->rect();
            int first = visualIndexAt(horizontal ? rect.left() : rect.top());
            int last = visualIndexAt(horizontal ? rect.right() : rect.bottom());
            if (first >= 0) {
                if (last < 0)
                    last = count() - 1;
                const int fixedCols = FGrid->FixedCols();
                const int fixedRows = FGrid->FixedRows();
                Guarded([&] {
                    if (horizontal)
                        FGrid->GrowToFit(fixedCols + first, fixedCols + last, 0, fixedRows - 1);
                    else
                        FGrid->GrowToFit(0, fixedCols - 1, fixedRows + first, fixedRows + last);
                });
            }
        }
        QHeaderView::paintEvent(event);
    }

    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        const bool pressed = FDownDrawn && logicalIndex == FDownSection;
        if (pressed) {
            // Pushed in: button face framed by its shadow on the top and
            // left edges.
            painter->fillRect(rect, palette().color(QPalette::Button));
            painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), palette().color(QPalette::Dark));
            painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), palette().color(QPalette::Dark));
        } else {
            QStyleOptionHeader option;
            initStyleOption(&option);
            option.rect = rect;
            option.section = logicalIndex;
            option.state |= QStyle::State_Raised;
            if (isEnabled())
                option.state |= QStyle::State_Enabled;
            option.position = QStyleOptionHeader::Middle;
            style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        }

        // The fixed cells of this section, each in its own slice.
        const bool horizontal = orientation() == Qt::Horizontal;
        const int gridLine = FGrid->showGrid() ? 1 : 0;
        const int slices = horizontal ? FGrid->FixedRows() : FGrid->FixedCols();
        int offset = horizontal ? rect.top() : rect.left();
        for (int slice = 0; slice < slices; ++slice) {
            const int col = horizontal ? FGrid->FixedCols() + logicalIndex : slice;
            const int row = horizontal ? slice : FGrid->FixedRows() + logicalIndex;
            const QRect cell = horizontal ? QRect(rect.left(), offset, rect.width() - gridLine, FGrid->RowHeights(row))
                                          : QRect(offset, rect.top(), FGrid->ColWidths(col), rect.height() - gridLine);
            offset += (horizontal ? cell.height() : cell.width()) + gridLine;
            if (horizontal && slice > 0)
                painter->fillRect(QRect(rect.left(), cell.top() - gridLine, rect.width(), gridLine),
                                  palette().color(QPalette::Mid));
            if (!horizontal && slice > 0)
                painter->fillRect(QRect(cell.left() - gridLine, rect.top(), gridLine, rect.height()),
                                  palette().color(QPalette::Mid));
            const QStringView text = FGrid->FModel->CellView(col, row);
            if (text.isEmpty())
                continue;
            QFont font;
            QColor color = palette().color(QPalette::WindowText);
            FGrid->CellFont(col, row, true, font, color);
            const QFontMetrics metrics(font, painter->device());
            const QString string = text.toString();
            // Fixed cells are centred; the sizes have grown before painting,
            // so only a disabled automatic sizing can leave a text too large.
            const int width = qMin(metrics.horizontalAdvance(string), cell.width() - 4);
            const int height = qMin(metrics.height(), cell.height() - 2);
            QRect textRect(cell.left() + (cell.width() - width) / 2, cell.top() + (cell.height() - height) / 2,
                           width, height);
            if (pressed)
                textRect.translate(1, 1);
            painter->save();
            painter->setClipRect(textRect);
            painter->setFont(font);
            painter->setPen(color);
            painter->drawText(QPoint(textRect.left(), textRect.top() + metrics.ascent()), string);
            painter->restore();
        }
    }

public:
    // The modifiers of the release that clicked a section.
    Qt::KeyboardModifiers FReleaseModifiers;

private:
    TSuperStringGrid *FGrid;
    // The section under the last left press, whether that press is being
    // followed, and whether its pressed look is drawn.
    int FDownSection = -1;
    bool FTracking = false;
    bool FDownDrawn = false;
};

// Paints the non-fixed cells: row colour or highlight, per-column alignment,
// the text clipped to its laid-out rectangle. Editing uses the stock editor.
class TSuperStringGridDelegate final : public QStyledItemDelegate
{
public:
    explicit TSuperStringGridDelegate(TSuperStringGrid *grid)
        : QStyledItemDelegate(grid)
        , FGrid(grid)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const TStringTableModel *model = FGrid->FModel;
        const int col = model->GridCol(index);
        const int row = model->GridRow(index);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const bool focused = option.state.testFlag(QStyle::State_HasFocus);
        TGridDrawState state;
        if (selected)
            state.Include(TGridDrawStateItem::gdSelected);
        if (focused)
            state.Include(TGridDrawStateItem::gdFocused);
        const QRect cell = option.rect;
        if (!FGrid->FDefaultDrawing) {
            if (FGrid->FOnDrawCell)
                Guarded([&] { FGrid->FOnDrawCell(FGrid, painter, col, row, cell, state); });
            return;
        }

        const bool drawFocusSelected = FGrid->FOptions.Contains(TGridOption::goDrawFocusSelected);
        if (state.IsEmpty() || (focused && !drawFocusSelected))
            painter->fillRect(cell, FGrid->RowColors(row));
        else
            painter->fillRect(cell, FGrid->FHighlightColor);

        QRect drawRect = cell;
        const QStringView text = model->CellView(col, row);
        if (!text.isEmpty()) {
            const QPalette &palette = FGrid->palette();
            QColor color = palette.color(QPalette::Text);
            if (focused)
                color = drawFocusSelected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
            else if (selected)
                color = palette.color(QPalette::HighlightedText);
            QFont font;
            FGrid->CellFont(col, row, false, font, color);
            const QFontMetrics metrics(font, painter->device());
            const QString string = text.toString();
            int width = metrics.horizontalAdvance(string);
            int height = metrics.height();
            // The painting pass has grown the sizes already; these clamps
            // bite only with automatic sizing off.
            if (!FGrid->FAutoHeight || height + 2 > cell.height())
                height = qMin(height, cell.height() - 2);
            if (!FGrid->FAutoWidth || width + 4 > cell.width())
                width = qMin(width, cell.width() - 4);
            int left = cell.left() + 2;
            switch (FGrid->ColAlignments(col)) {
            case TAlignment::taCenter:
                left = cell.left() + (cell.width() - width) / 2;
                break;
            case TAlignment::taRightJustify:
                left = cell.left() + cell.width() - 2 - width;
                break;
            case TAlignment::taLeftJustify:
                break;
            }
            const int top = cell.top() + (cell.height() - height) / 2;
            drawRect = QRect(left, top, width, height);
            painter->save();
            painter->setClipRect(drawRect);
            painter->setFont(font);
            painter->setPen(color);
            painter->drawText(QPoint(left, top + metrics.ascent()), string);
            painter->restore();
        }
        if (focused) {
            QStyleOptionFocusRect focusOption;
            focusOption.initFrom(FGrid);
            focusOption.rect = cell;
            focusOption.state |= QStyle::State_KeyboardFocusChange;
            focusOption.backgroundColor = selected ? FGrid->FHighlightColor : FGrid->RowColors(row);
            FGrid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focusOption, painter, FGrid);
        }
        if (FGrid->FOnDrawCell)
            Guarded([&] { FGrid->FOnDrawCell(FGrid, painter, col, row, drawRect, state); });
    }

private:
    TSuperStringGrid *FGrid;
};

TSuperStringGrid::TSuperStringGrid(QWidget *parent)
    : QTableView(parent)
    , FModel(new TStringTableModel(this))
{
    FHorizontalHeader = new TSuperStringGridHeader(Qt::Horizontal, this);
    FVerticalHeader = new TSuperStringGridHeader(Qt::Vertical, this);
    setHorizontalHeader(FHorizontalHeader);
    setVerticalHeader(FVerticalHeader);
    setModel(FModel);
    setItemDelegate(new TSuperStringGridDelegate(this));
    // Header sections select on release over the pressed section (see
    // HeaderClicked), not on press and drag as a plain QTableView does.
    for (QHeaderView *header : {static_cast<QHeaderView *>(FHorizontalHeader), static_cast<QHeaderView *>(FVerticalHeader)}) {
        disconnect(header, SIGNAL(sectionPressed(int)), this, nullptr);
        disconnect(header, SIGNAL(sectionEntered(int)), this, nullptr);
    }
    GuardedConnect(FHorizontalHeader, &QHeaderView::sectionPressed, this,
                   [this](int section) { FHorizontalHeader->StartTracking(section); });
    GuardedConnect(FVerticalHeader, &QHeaderView::sectionPressed, this,
                   [this](int section) { FVerticalHeader->StartTracking(section); });
    GuardedConnect(FHorizontalHeader, &QHeaderView::sectionClicked, this,
                   [this](int section) { HeaderClicked(Qt::Horizontal, section); });
    GuardedConnect(FVerticalHeader, &QHeaderView::sectionClicked, this,
                   [this](int section) { HeaderClicked(Qt::Vertical, section); });
    FCornerButton = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (FCornerButton) {
        FCornerButton->setObjectName(QStringLiteral("CornerButton"));
        GuardedConnect(FCornerButton, &QAbstractButton::clicked, this, &TSuperStringGrid::CornerClicked);
    }
    GuardedConnect(FModel, &TStringTableModel::ColCountChanged, this, &TSuperStringGrid::ModelColCountChanged);
    GuardedConnect(FModel, &TStringTableModel::RowCountChanged, this, &TSuperStringGrid::ModelRowCountChanged);
    GuardedConnect(FModel, &QAbstractItemModel::modelReset, this, &TSuperStringGrid::EnsureCurrentCell);

    setWordWrap(false);
    setTabKeyNavigation(false);
    FFixedFont = font();
    FHighlightColor = palette().color(QPalette::Highlight);
    FColAlignments.assign(FModel->ColCount(), TAlignment::taLeftJustify);
    FRowColors.assign(FModel->RowCount(), palette().color(QPalette::Base).rgba());
    FFixedColWidths.assign(FModel->FixedCols(), FDefaultColWidth);
    FFixedRowHeights.assign(FModel->FixedRows(), FDefaultRowHeight);
    FHorizontalHeader->setFont(FFixedFont);
    FVerticalHeader->setFont(FFixedFont);
    SetDefaultColWidth(FDefaultColWidth);
    SetDefaultRowHeight(FDefaultRowHeight);
    SetFixedCols(0);
    SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                TGridOption::goHorzLine, TGridOption::goRangeSelect, TGridOption::goDrawFocusSelected});
    resize(DefaultWidth, DefaultHeight);
    EnsureCurrentCell();
}

TSuperStringGrid::~TSuperStringGrid() = default;

void TSuperStringGrid::SetFixedCols(int value)
{
    value = qMax(0, value);
    if (value == FixedCols())
        return;
    FModel->SetFixedCols(value);
    FixedCountsChanged();
}

void TSuperStringGrid::SetFixedRows(int value)
{
    value = qMax(0, value);
    if (value == FixedRows())
        return;
    FModel->SetFixedRows(value);
    FixedCountsChanged();
}

void TSuperStringGrid::FixedCountsChanged()
{
    FFixedColWidths.resize(FixedCols(), FDefaultColWidth);
    FFixedRowHeights.resize(FixedRows(), FDefaultRowHeight);
    const int gridLine = showGrid() ? 1 : 0;
    FHorizontalHeader->setDefaultSectionSize(FDefaultColWidth + gridLine);
    FVerticalHeader->setDefaultSectionSize(FDefaultRowHeight + gridLine);
    UpdateFixedSizes();
}

void TSuperStringGrid::UpdateFixedSizes()
{
    const int gridLine = showGrid() ? 1 : 0;
    const int height = std::accumulate(FFixedRowHeights.begin(), FFixedRowHeights.end(), 0)
                       + gridLine * int(FFixedRowHeights.size());
    const int width = std::accumulate(FFixedColWidths.begin(), FFixedColWidths.end(), 0)
                      + gridLine * int(FFixedColWidths.size());
    FHorizontalHeader->setFixedHeight(height);
    FHorizontalHeader->setVisible(!FFixedRowHeights.empty());
    FVerticalHeader->setFixedWidth(width);
    FVerticalHeader->setVisible(!FFixedColWidths.empty());
    updateGeometries();
    FHorizontalHeader->viewport()->update();
    FVerticalHeader->viewport()->update();
}

int TSuperStringGrid::ColWidths(int col) const
{
    if (col < 0 || col >= ColCount())
        return 0;
    if (col < FixedCols())
        return FFixedColWidths[col];
    return FHorizontalHeader->sectionSize(col - FixedCols()) - (showGrid() ? 1 : 0);
}

void TSuperStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount())
        return;
    width = qMax(0, width);
    if (col < FixedCols()) {
        FFixedColWidths[col] = width;
        UpdateFixedSizes();
        return;
    }
    FHorizontalHeader->resizeSection(col - FixedCols(), width + (showGrid() ? 1 : 0));
}

int TSuperStringGrid::RowHeights(int row) const
{
    if (row < 0 || row >= RowCount())
        return 0;
    if (row < FixedRows())
        return FFixedRowHeights[row];
    return FVerticalHeader->sectionSize(row - FixedRows()) - (showGrid() ? 1 : 0);
}

void TSuperStringGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount())
        return;
    height = qMax(0, height);
    if (row < FixedRows()) {
        FFixedRowHeights[row] = height;
        UpdateFixedSizes();
        return;
    }
    FVerticalHeader->resizeSection(row - FixedRows(), height + (showGrid() ? 1 : 0));
}

void TSuperStringGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = qMax(0, value);
    std::fill(FFixedColWidths.begin(), FFixedColWidths.end(), FDefaultColWidth);
    const int gridLine = showGrid() ? 1 : 0;
    FHorizontalHeader->setDefaultSectionSize(FDefaultColWidth + gridLine);
    for (int section = 0; section < FHorizontalHeader->count(); ++section)
        FHorizontalHeader->resizeSection(section, FDefaultColWidth + gridLine);
    UpdateFixedSizes();
}

void TSuperStringGrid::SetDefaultRowHeight(int value)
{
    FDefaultRowHeight = qMax(0, value);
    std::fill(FFixedRowHeights.begin(), FFixedRowHeights.end(), FDefaultRowHeight);
    const int gridLine = showGrid() ? 1 : 0;
    // Resets every section, as a new default does in QHeaderView.
    FVerticalHeader->setDefaultSectionSize(FDefaultRowHeight + gridLine);
    UpdateFixedSizes();
}

TGridRect TSuperStringGrid::Selection() const
{
    const int fixedCols = FixedCols();
    const int fixedRows = FixedRows();
    const QItemSelection selection = selectionModel()->selection();
    if (!selection.isEmpty()) {
        TGridRect rect{INT_MAX, INT_MAX, -1, -1};
        for (const QItemSelectionRange &range : selection) {
            rect.Left = qMin(rect.Left, range.left());
            rect.Top = qMin(rect.Top, range.top());
            rect.Right = qMax(rect.Right, range.right());
            rect.Bottom = qMax(rect.Bottom, range.bottom());
        }
        return {rect.Left + fixedCols, rect.Top + fixedRows, rect.Right + fixedCols, rect.Bottom + fixedRows};
    }
    const QModelIndex current = currentIndex();
    if (current.isValid())
        return {FModel->GridCol(current), FModel->GridRow(current), FModel->GridCol(current), FModel->GridRow(current)};
    return {fixedCols, fixedRows, fixedCols, fixedRows};
}

void TSuperStringGrid::SetSelection(const TGridRect &value)
{
    SelectCells(value);
}

void TSuperStringGrid::SelectCells(const TGridRect &rect)
{
    const int left = qMax(rect.Left, FixedCols());
    const int top = qMax(rect.Top, FixedRows());
    const int right = qMin(rect.Right, ColCount() - 1);
    const int bottom = qMin(rect.Bottom, RowCount() - 1);
    if (left > right || top > bottom)
        return;
    const QModelIndex topLeft = FModel->CellIndex(left, top);
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, FModel->CellIndex(right, bottom)),
                             QItemSelectionModel::ClearAndSelect);
}

void TSuperStringGrid::HeaderClicked(Qt::Orientation orientation, int section)
{
    const TSuperStringGridHeader *header = orientation == Qt::Horizontal ? FHorizontalHeader : FVerticalHeader;
    const bool extend = header->FReleaseModifiers.testFlag(Qt::ShiftModifier)
                        && FOptions.Contains(TGridOption::goRangeSelect);
    if (FRowSource) {
        WindowHeaderClicked(orientation, section, extend);
        return;
    }
    const TGridRect selection = Selection();
    if (orientation == Qt::Horizontal) {
        const int col = FixedCols() + section;
        if (extend && FAnchorRow == 0) {
            SelectCells({qMax(qMin(FAnchorCol, col), FixedCols()), selection.Top, qMax(FAnchorCol, col),
                         selection.Bottom});
            return;
        }
        SelectCells({col, FixedRows(), col, RowCount() - 1});
        FAnchorCol = col;
        FAnchorRow = 0;
    } else {
        const int row = FixedRows() + section;
        if (extend && FAnchorCol == 0) {
            SelectCells({selection.Left, qMax(qMin(FAnchorRow, row), FixedRows()), selection.Right,
                         qMax(FAnchorRow, row)});
            return;
        }
        SelectCells({FixedCols(), row, ColCount() - 1, row});
        FAnchorCol = 0;
        FAnchorRow = row;
    }
}

void TSuperStringGrid::CornerClicked()
{
    // QTableView's corner button has selected every item already.
    FAnchorCol = 0;
    FAnchorRow = 0;
    if (FRowSource)
        SelectAllRows();
}

TAlignment TSuperStringGrid::ColAlignments(int col) const
{
    if (col < 0 || col >= int(FColAlignments.size()))
        return TAlignment::taLeftJustify;
    return FColAlignments[col];
}

void TSuperStringGrid::SetColAlignments(int col, TAlignment value)
{
    if (col < 0 || col >= ColCount() || FColAlignments[col] == value)
        return;
    FColAlignments[col] = value;
    viewport()->update();
}

QColor TSuperStringGrid::RowColors(int row) const
{
    if (row < 0 || row >= int(FRowColors.size()))
        return palette().color(QPalette::Base);
    return QColor::fromRgba(FRowColors[row]);
}

void TSuperStringGrid::SetAutoWidth(bool value)
{
    if (value == FAutoWidth)
        return;
    FAutoWidth = value;
    viewport()->update();
    FHorizontalHeader->viewport()->update();
}

void TSuperStringGrid::SetAutoHeight(bool value)
{
    if (value == FAutoHeight)
        return;
    FAutoHeight = value;
    viewport()->update();
    FVerticalHeader->viewport()->update();
}

void TSuperStringGrid::SetFixedFont(const QFont &value)
{
    FFixedFont = value;
    FHorizontalHeader->setFont(value);
    FVerticalHeader->setFont(value);
    FHorizontalHeader->viewport()->update();
    FVerticalHeader->viewport()->update();
}

void TSuperStringGrid::SetHighlightColor(const QColor &value)
{
    if (value == FHighlightColor)
        return;
    FHighlightColor = value;
    viewport()->update();
}

void TSuperStringGrid::SetOptions(TGridOptions value)
{
    FOptions = value;
    const bool grid = value.Contains(TGridOption::goVertLine) || value.Contains(TGridOption::goHorzLine);
    if (grid != showGrid()) {
        // Sizes are kept without the grid line, sections include it.
        std::vector<int> widths;
        std::vector<int> heights;
        for (int col = FixedCols(); col < ColCount(); ++col)
            widths.push_back(ColWidths(col));
        for (int row = FixedRows(); row < RowCount(); ++row)
            heights.push_back(RowHeights(row));
        setShowGrid(grid);
        for (int col = FixedCols(); col < ColCount(); ++col)
            SetColWidths(col, widths[col - FixedCols()]);
        for (int row = FixedRows(); row < RowCount(); ++row)
            SetRowHeights(row, heights[row - FixedRows()]);
        FHorizontalHeader->setDefaultSectionSize(FDefaultColWidth + (grid ? 1 : 0));
        FVerticalHeader->setDefaultSectionSize(FDefaultRowHeight + (grid ? 1 : 0));
        UpdateFixedSizes();
    }
    setSelectionMode(value.Contains(TGridOption::goRangeSelect) ? QAbstractItemView::ContiguousSelection
                                                                : QAbstractItemView::SingleSelection);
    setSelectionBehavior(value.Contains(TGridOption::goRowSelect) ? QAbstractItemView::SelectRows
                                                                  : QAbstractItemView::SelectItems);
    FHorizontalHeader->setSectionResizeMode(value.Contains(TGridOption::goColSizing) ? QHeaderView::Interactive
                                                                                      : QHeaderView::Fixed);
    FVerticalHeader->setSectionResizeMode(value.Contains(TGridOption::goRowSizing) ? QHeaderView::Interactive
                                                                                    : QHeaderView::Fixed);
    setEditTriggers(value.Contains(TGridOption::goEditing)
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(value.Contains(TGridOption::goTabs));
    verticalScrollBar()->setTracking(value.Contains(TGridOption::goThumbTracking));
    horizontalScrollBar()->setTracking(value.Contains(TGridOption::goThumbTracking));
    viewport()->update();
}

void TSuperStringGrid::SetDefaultDrawing(bool value)
{
    if (value == FDefaultDrawing)
        return;
    FDefaultDrawing = value;
    viewport()->update();
}

void TSuperStringGrid::SetOnGetCellFont(TGetCellFontEvent handler)
{
    FOnGetCellFont = std::move(handler);
    viewport()->update();
}

void TSuperStringGrid::SetOnDrawCell(TDrawCellEvent handler)
{
    FOnDrawCell = std::move(handler);
    viewport()->update();
}

void TSuperStringGrid::CellFont(int col, int row, bool fixed, QFont &font, QColor &color)
{
    font = fixed ? FFixedFont : this->font();
    if (FOnGetCellFont)
        Guarded([&] { FOnGetCellFont(this, font, color, col, row); });
}

void TSuperStringGrid::AutoSizeCol(int col)
{
    if (col < 0 || col >= ColCount())
        return;
    int width = FDefaultColWidth;
    const QFont plainFont = font();
    const QFontMetrics plainMetrics(plainFont);
    const QFontMetrics fixedMetrics(FFixedFont);
    for (int row = 0; row < RowCount(); ++row) {
        const bool fixed = FModel->IsFixedCell(col, row);
        QFont cellFont;
        QColor color = palette().color(fixed ? QPalette::WindowText : QPalette::Text);
        CellFont(col, row, fixed, cellFont, color);
        const QString text = FModel->Cells(col, row);
        int textWidth = 0;
        if (cellFont == plainFont)
            textWidth = plainMetrics.horizontalAdvance(text);
        else if (cellFont == FFixedFont)
            textWidth = fixedMetrics.horizontalAdvance(text);
        else
            textWidth = QFontMetrics(cellFont).horizontalAdvance(text);
        width = qMax(width, textWidth + 4);
    }
    SetColWidths(col, width);
}

void TSuperStringGrid::AutoSizeCols()
{
    for (int col = 0; col < ColCount(); ++col)
        AutoSizeCol(col);
}

bool TSuperStringGrid::GrowToFit(int firstCol, int lastCol, int firstRow, int lastRow)
{
    firstCol = qMax(firstCol, 0);
    firstRow = qMax(firstRow, 0);
    lastCol = qMin(lastCol, ColCount() - 1);
    lastRow = qMin(lastRow, RowCount() - 1);
    if (firstCol > lastCol || firstRow > lastRow)
        return false;
    const QFont plainFont = font();
    const QFontMetrics plainMetrics(plainFont);
    const QFontMetrics fixedMetrics(FFixedFont);
    bool grew = false;
    std::vector<int> heights(lastRow - firstRow + 1, 0);
    for (int col = firstCol; col <= lastCol; ++col) {
        int width = 0;
        for (int row = firstRow; row <= lastRow; ++row) {
            const QStringView text = FModel->CellView(col, row);
            if (text.isEmpty())
                continue;
            const bool fixed = FModel->IsFixedCell(col, row);
            const QFontMetrics *metrics = fixed ? &fixedMetrics : &plainMetrics;
            std::optional<QFontMetrics> ownMetrics;
            if (FOnGetCellFont) {
                QFont cellFont;
                QColor color = palette().color(fixed ? QPalette::WindowText : QPalette::Text);
                CellFont(col, row, fixed, cellFont, color);
                if (cellFont != (fixed ? FFixedFont : plainFont))
                    metrics = &ownMetrics.emplace(cellFont);
            }
            width = qMax(width, metrics->horizontalAdvance(text.toString()));
            heights[row - firstRow] = qMax(heights[row - firstRow], metrics->height());
        }
        if (FAutoWidth && width > 0 && width + 4 > ColWidths(col)) {
            SetColWidths(col, width + 4);
            grew = true;
        }
    }
    if (FAutoHeight) {
        int tallestData = 0;
        for (int row = firstRow; row <= lastRow; ++row) {
            const int height = heights[row - firstRow];
            if (FRowSource && row >= FixedRows()) {
                tallestData = qMax(tallestData, height);
                continue;
            }
            if (height > 0 && height + 2 > RowHeights(row)) {
                SetRowHeights(row, height + 2);
                grew = true;
            }
        }
        // The data rows of a window share one height, so that the page of
        // rows stays what the viewport holds: the tallest text sets it.
        const int gridLine = showGrid() ? 1 : 0;
        if (tallestData > 0 && tallestData + 2 > WindowRowHeight() - gridLine) {
            FVerticalHeader->setDefaultSectionSize(tallestData + 2 + gridLine);
            // Not while painting: the window is read again afterwards.
            QueuePageRows();
            grew = true;
        }
    }
    return grew;
}

bool TSuperStringGrid::GrowToFitViewport(const QRect &rect)
{
    const int firstRow = rowAt(rect.top());
    const int firstCol = columnAt(rect.left());
    if (firstRow < 0 || firstCol < 0)
        return false;
    int lastRow = rowAt(rect.bottom());
    int lastCol = columnAt(rect.right());
    if (lastRow < 0)
        lastRow = FModel->rowCount() - 1;
    if (lastCol < 0)
        lastCol = FModel->columnCount() - 1;
    // Growing only pushes later cells further out, so one pass measures
    // every cell this paint can show.
    return GrowToFit(FixedCols() + firstCol, FixedCols() + lastCol, FixedRows() + firstRow, FixedRows() + lastRow);
}

void TSuperStringGrid::paintEvent(QPaintEvent *event)
{
    if (FAutoWidth || FAutoHeight)
        Guarded([&] { GrowToFitViewport(event->rect()); });
    QTableView::paintEvent(event);
}

void TSuperStringGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        viewport()->update();
}

void TSuperStringGrid::ModelColCountChanged(int oldCount)
{
    FColAlignments.resize(ColCount(), TAlignment::taLeftJustify);
    if (int(FFixedColWidths.size()) != FixedCols())
        FixedCountsChanged();
    emit ColCountChange(this, oldCount);
    EnsureCurrentCell();
}

void TSuperStringGrid::ModelRowCountChanged(int oldCount)
{
    FRowColors.resize(RowCount(), palette().color(QPalette::Base).rgba());
    emit RowCountChange(this, oldCount);
    EnsureCurrentCell();
}

void TSuperStringGrid::EnsureCurrentCell()
{
    // As in a plain grid, there is always a current cell: the first
    // non-fixed one to begin with. A window shows its own current cell.
    if (FRowSource || currentIndex().isValid() || FModel->rowCount() == 0 || FModel->columnCount() == 0)
        return;
    const QModelIndex first = FModel->index(0, 0);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
}

void TSuperStringGrid::MouseToCell(const QPoint &pos, int &col, int &row) const
{
    const int itemCol = columnAt(pos.x());
    const int itemRow = rowAt(pos.y());
    if (itemCol < 0 || itemRow < 0 || !viewport()->rect().contains(pos)) {
        col = -1;
        row = -1;
        return;
    }
    col = itemCol + FixedCols();
    row = itemRow + FixedRows();
}

QRect TSuperStringGrid::CellRect(int col, int row) const
{
    return visualRect(FModel->CellIndex(col, row));
}

void TSuperStringGrid::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    void (TSuperStringGrid::*command)() = nullptr;
    if (event->key() == Qt::Key_Delete)
        command = &TSuperStringGrid::ClearCommand;
    else if (control && event->key() == Qt::Key_C)
        command = &TSuperStringGrid::CopyCommand;
    else if (control && event->key() == Qt::Key_X)
        command = &TSuperStringGrid::CutCommand;
    else if (control && event->key() == Qt::Key_P)
        command = &TSuperStringGrid::PasteCommand;
    if (command)
        QMetaObject::invokeMethod(this, GuardedSlot(this, command), Qt::QueuedConnection);
    // The view would copy the current cell on its own; the command does it.
    if (command && control) {
        event->accept();
        return;
    }
    if (FRowSource) {
        // The view's own moves know only the window's rows.
        event->setAccepted(GuardedOr(true, [&] { return WindowKeyPress(event); }));
        return;
    }
    QTableView::keyPressEvent(event);
}

void TSuperStringGrid::ClearCommand()
{
    if (FRowSource || !FEditModes.Contains(TEditMode::emClear))
        return;
    const TGridRect selection = Selection();
    FModel->BeginUpdate();
    for (int row = selection.Top; row <= selection.Bottom; ++row)
        for (int col = selection.Left; col <= selection.Right; ++col)
            FModel->SetCells(col, row, QString());
    FModel->EndUpdate();
}

void TSuperStringGrid::CopyCommand()
{
    if (FRowSource || !FEditModes.Contains(TEditMode::emCopy))
        return;
    QGuiApplication::clipboard()->setText(GridClipboardText(*FModel, Selection(), FCopyModes));
}

void TSuperStringGrid::CutCommand()
{
    if (FRowSource || !FEditModes.Contains(TEditMode::emCut))
        return;
    FModel->BeginUpdate();
    const QString text
        = CutGridClipboardText(*FModel, Selection(), FCopyModes, FOptions.Contains(TGridOption::goEditing));
    FModel->EndUpdate();
    QGuiApplication::clipboard()->setText(text);
}

void TSuperStringGrid::PasteCommand()
{
    // Pasting into a table is not offered; the key and mode exist only so
    // that Ctrl+P is taken by the grid.
}

void TSuperStringGrid::CopyToClipboard()
{
    CopyCommand();
}
