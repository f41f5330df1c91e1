#include "radix/RadixelArea.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/VorlGlobal.h"
#include "controls/Artwork.h"
#include "controls/Beep.h"
#include "controls/DesignFont.h"
#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "controls/SuperStringGrid.h"

namespace {

constexpr char16_t Backspace = 8;
constexpr char16_t LineFeed = 10;
constexpr char16_t CarriageReturn = 13;
constexpr char16_t Escape = 27;

// The characters a key press types, as the key filter sees them: Ctrl with
// a letter is its control code, Ctrl+Enter a line feed. Alt combinations
// and keys without text type nothing.
QString TypedChars(const QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (key) {
    case Qt::Key_Backspace:
        return QString(QChar(Backspace));
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(mods == Qt::ControlModifier ? LineFeed : CarriageReturn));
    case Qt::Key_Escape:
        return QString(QChar(Escape));
    default:
        break;
    }
    if (mods == Qt::ControlModifier)
        return key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(char16_t(key - Qt::Key_A + 1))) : QString();
    if (mods == Qt::AltModifier)
        return QString();
    // Ctrl+Alt is AltGr on some keyboards and types what it says.
    return event->text();
}

bool IsTypingKey(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return !event->text().isEmpty() && event->text().front().isPrint();
    }
}

} // namespace

TRadixelArea::TRadixelArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("RadixelCalcPanel"));
    resize(276, 313);

    NumberWidthGroup = new QGroupBox(QStringLiteral("Number Width"), this);
    NumberWidthGroup->setObjectName(QStringLiteral("NumberWidthGroup"));
    NumberWidthGroup->setGeometry(0, 0, 209, 81);
    FNumberWidthButtons = new QButtonGroup(this);
    // The layout keeps the items clear of the caption whatever the style
    // draws it like; each item is as wide as its caption, since a radio
    // button takes clicks only on its indicator and text.
    auto *itemsLayout = new QVBoxLayout(NumberWidthGroup);
    itemsLayout->setContentsMargins(8, 3, 8, 3);
    itemsLayout->setSpacing(0);
    const QString captions[] = {QStringLiteral("8 bits   (b&yte)"), QStringLiteral("16 bits (&word)"),
                                QStringLiteral("32 bits (d&ouble word)")};
    for (int i = 0; i < 3; ++i) {
        auto *item = new QRadioButton(captions[i], NumberWidthGroup);
        item->setObjectName(QStringLiteral("NumberWidthItem%1").arg(i));
        itemsLayout->addWidget(item, 1, Qt::AlignLeft | Qt::AlignVCenter);
        FNumberWidthButtons->addButton(item, i);
        NumberWidthItems[i] = item;
    }
    NumberWidthItems[1]->setChecked(true);
    GuardedConnect(FNumberWidthButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            NumberWidthGroupClick();
    });

    CopyLookupTableButton = CreateCopyButton(this, "CopyLookupTableButton",
                                             QStringLiteral("Copy lookup table to clipboard"), QRect(232, 54, 25, 25));
    CopyLookupTableButton->setEnabled(false);
    GuardedConnect(CopyLookupTableButton, &QToolButton::clicked, this, &TRadixelArea::CopyLookupTableButtonClick);

    RadixelCalcPageControl = new TPageControl(this);
    RadixelCalcPageControl->setAccessibleName(QStringLiteral("Radixel Calculator"));
    RadixelCalcPageControl->setObjectName(QStringLiteral("RadixelCalcPageControl"));
    RadixelCalcPageControl->setGeometry(0, 88, 276, 225);
    CreateConversionPage();
    CreateLookupTablePage();

    InitRadixelCalc();
}

TRadixelArea::~TRadixelArea()
{
    // The displays lose focus while they are destroyed; nothing may answer.
    for (QLineEdit *memo : {DecMemo, HexMemo, BinMemo})
        memo->removeEventFilter(this);
    disconnect(FNumMemoChangeConnection);
    FNumber.OnChange = nullptr;
    FNumber.OnError = nullptr;
}

void TRadixelArea::CreateConversionPage()
{
    ConversionTabSheet = new QWidget;
    ConversionTabSheet->setObjectName(QStringLiteral("ConversionTabSheet"));
    RadixelCalcPageControl->addTab(ConversionTabSheet, QStringLiteral("Base Conversion"));

    const auto createRow = [this](int top, const char *labelName, const QString &caption, const char *memoName,
                                  const char *buttonName, const QString &hint, QLabel *&label, QLineEdit *&memo,
                                  QToolButton *&button) {
        label = new QLabel(caption, ConversionTabSheet);
        label->setObjectName(QLatin1String(labelName));
        label->move(8, top);
        label->adjustSize();

        memo = new QLineEdit(ConversionTabSheet);
        memo->setObjectName(QLatin1String(memoName));
        memo->setGeometry(8, top + 16, 225, 21);
        memo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Not read-only, so that the caret shows, but nothing reaches the
        // line edit's own editing: keys, mouse, drops and input methods are
        // all taken by the event filter.
        memo->setContextMenuPolicy(Qt::NoContextMenu);
        memo->setAcceptDrops(false);
        memo->setAttribute(Qt::WA_InputMethodEnabled, false);
        memo->installEventFilter(this);
        label->setBuddy(memo);

        button = CreateCopyButton(ConversionTabSheet, buttonName, hint, QRect(240, top + 16, 20, 20));
        GuardedConnect(button, &QToolButton::clicked, this, [this, m = memo] { NumClipboardButtonClick(m); });
    };
    createRow(8, "DecLabel", QStringLiteral("&Decimal"), "DecMemo", "DecClipboardButton",
              QStringLiteral("Copy decimal number to clipboard"), DecLabel, DecMemo, DecClipboardButton);
    createRow(56, "HexLabel", QStringLiteral("He&xadecimal"), "HexMemo", "HexClipboardButton",
              QStringLiteral("Copy hexadecimal number to clipboard"), HexLabel, HexMemo, HexClipboardButton);
    createRow(104, "BinLabel", QStringLiteral("&Binary"), "BinMemo", "BinClipboardButton",
              QStringLiteral("Copy binary number to clipboard"), BinLabel, BinMemo, BinClipboardButton);

    ClearButton = new QPushButton(QStringLiteral("&Clear"), ConversionTabSheet);
    ClearButton->setObjectName(QStringLiteral("ClearButton"));
    ClearButton->setGeometry(32, 156, 65, 25);
    ClearButton->setToolTip(QStringLiteral("Clear all number displays"));
    GuardedConnect(ClearButton, &QPushButton::clicked, this, &TRadixelArea::ClearButtonClick);

    InvertButton = new QPushButton(QStringLiteral("&Invert"), ConversionTabSheet);
    InvertButton->setObjectName(QStringLiteral("InvertButton"));
    InvertButton->setGeometry(144, 156, 65, 25);
    InvertButton->setToolTip(QStringLiteral("Perform a \"not\" operation on all numbers"));
    GuardedConnect(InvertButton, &QPushButton::clicked, this, &TRadixelArea::InvertButtonClick);
}

void TRadixelArea::CreateLookupTablePage()
{
    LookupTableTabSheet = new QWidget;
    LookupTableTabSheet->setObjectName(QStringLiteral("LookupTableTabSheet"));
    RadixelCalcPageControl->addTab(LookupTableTabSheet, QStringLiteral("Lookup Table"));

    LookupStringGrid = new TSuperStringGrid(LookupTableTabSheet);
    LookupStringGrid->setAccessibleName(QStringLiteral("Lookup Table"));
    LookupStringGrid->setObjectName(QStringLiteral("LookupStringGrid"));
    auto *pageLayout = new QVBoxLayout(LookupTableTabSheet);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(LookupStringGrid);
    LookupStringGrid->SetColCount(3);
    LookupStringGrid->SetRowCount(257);
    LookupStringGrid->SetFixedRows(1);
    LookupStringGrid->SetFixedCols(0);
    LookupStringGrid->SetDefaultColWidth(82);
    LookupStringGrid->setFont(FixedPitchFont());
    LookupStringGrid->SetFixedFont(DesignFont());
    LookupStringGrid->SetOptions({TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                                  TGridOption::goHorzLine, TGridOption::goRangeSelect,
                                  TGridOption::goDrawFocusSelected, TGridOption::goColSizing,
                                  TGridOption::goThumbTracking});
}

void TRadixelArea::InitRadixelCalc()
{
    DecMemo->setText(QStringLiteral("0"));
    FActiveNumMemo = DecMemo;
    FNumber.SetGrouping(true);
    FNumber.SetWidth(TNumberWidth::nw16Bits);
    FNumber.OnError = [this](TBinDecHexNumber *) { NumberError(); };
    FNumber.OnChange = [this](TBinDecHexNumber *) { ShowNumber(); };
    ShowNumber();
    NumberWidthGroupClick();
    RadixelCalcPageControl->setCurrentWidget(ConversionTabSheet);
    FillLookupTable();
}

void TRadixelArea::FillLookupTable()
{
    for (int col = 0; col < 3; ++col)
        LookupStringGrid->SetColAlignments(col, TAlignment::taRightJustify);
    LookupStringGrid->BeginUpdate();
    LookupStringGrid->SetCells(0, 0, QStringLiteral("Decimal"));
    LookupStringGrid->SetCells(1, 0, QStringLiteral("Hexadecimal"));
    LookupStringGrid->SetCells(2, 0, QStringLiteral("Binary"));
    for (quint32 v = 0; v <= 255; ++v) {
        const int row = int(v) + 1;
        LookupStringGrid->SetCells(0, row, QString::number(v));
        LookupStringGrid->SetCells(1, row, QString::number(v, 16).toUpper());
        LookupStringGrid->SetCells(2, row, v < 16 ? IntToBinStr(v, 4) : InsertSpaces(IntToBinStr(v, 8), 4));
    }
    LookupStringGrid->EndUpdate();
}

void TRadixelArea::PageEntered(QWidget *page)
{
    if (page == LookupTableTabSheet) {
        CopyLookupTableButton->setEnabled(true);
        emit CopyTargetChanged(CopyLookupTableButton);
    } else if (page == ConversionTabSheet) {
        // Leaving the table while it has the focus hands the focus to a
        // display before the switch is announced, so the table's leaving
        // has just disabled the Copy command the display's Enter enabled.
        for (QLineEdit *memo : {DecMemo, HexMemo, BinMemo})
            if (memo->hasFocus())
                emit CopyTargetChanged(ClipboardButtonOf(memo));
    }
}

void TRadixelArea::PageLeaving(QWidget *page)
{
    if (page == LookupTableTabSheet) {
        CopyLookupTableButton->setEnabled(false);
        emit CopyEnabledChanged(false);
    }
}

void TRadixelArea::CopyLookupTableButtonClick()
{
    LookupStringGrid->CopyToClipboard();
}

void TRadixelArea::ShowNumber()
{
    DecMemo->setText(FNumber.DecText());
    HexMemo->setText(FNumber.HexText());
    BinMemo->setText(FNumber.BinText());
    FActiveNumMemo->end(false);
}

void TRadixelArea::NumberError()
{
    Beep();
    ShowNumber();
}

void TRadixelArea::NumberWidthGroupClick()
{
    FNumber.SetWidth(static_cast<TNumberWidth>(NumberWidthIndex()));
}

void TRadixelArea::ClearButtonClick()
{
    FNumber.SetValue(0);
}

void TRadixelArea::InvertButtonClick()
{
    FNumber.Invert();
}

void TRadixelArea::NumClipboardButtonClick(QLineEdit *memo)
{
    QGuiApplication::clipboard()->setText(memo->text());
}

void TRadixelArea::NumMemoEnter(QLineEdit *memo)
{
    FActiveNumMemo = memo;
    memo->end(false);
    disconnect(FNumMemoChangeConnection);
    FNumMemoChangeConnection
        = GuardedConnect(memo, &QLineEdit::textChanged, this, [this, memo] { NumMemoChange(memo); });
    emit CopyTargetChanged(ClipboardButtonOf(memo));
}

void TRadixelArea::NumMemoExit(QLineEdit *memo)
{
    disconnect(FNumMemoChangeConnection);
    emit CopyTargetChanged(nullptr);
    memo->setText(ModelTextOf(memo));
}

void TRadixelArea::NumMemoChange(QLineEdit *memo)
{
    if (memo->text().isEmpty()) {
        // Runs this handler again with "0".
        memo->setText(QStringLiteral("0"));
        return;
    }
    if (memo->text() == u"-")
        return;
    SetModelText(memo, memo->text());
    // A text that reads as the unchanged value ("00", "0 000") raised no
    // notification; the display still shows the model's own text.
    const QString shown = ModelTextOf(memo);
    if (memo->text() != shown)
        memo->setText(shown);
}

bool TRadixelArea::NumMemoKeyDown(QLineEdit *memo, const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    case Qt::Key_Delete:
        FNumber.SetValue(0);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        // Ctrl+Tab alone would switch pages; Tab, Shift+Tab and the other
        // combinations go on to the focus chain and the page control.
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        return event->key() == Qt::Key_Tab && mods == Qt::ControlModifier;
    }
    default:
        break;
    }
    const QString chars = TypedChars(event);
    for (QChar c : chars)
        NumMemoKeyPress(memo, c);
    return true;
}

void TRadixelArea::NumMemoKeyPress(QLineEdit *memo, QChar key)
{
    const std::optional<QString> text =
        EditNumMemoText(BaseOf(memo), FNumber.Width(), FNumber.Value(), memo->text(), key);
    if (!text) {
        Beep();
        return;
    }
    if (*text != memo->text())
        memo->setText(*text);
    memo->end(false);
}

void TRadixelArea::NumMemoMouseDown(QLineEdit *memo)
{
    if (!memo->hasFocus())
        memo->setFocus(Qt::MouseFocusReason);
    memo->end(false);
}

void TRadixelArea::NumMemoMouseMove(QLineEdit *memo)
{
    memo->end(false);
}

bool TRadixelArea::eventFilter(QObject *watched, QEvent *event)
{
    auto *memo = qobject_cast<QLineEdit *>(watched);
    if (!memo || (memo != DecMemo && memo != HexMemo && memo != BinMemo))
        return TCalcArea::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The display claims only its typing keys; Ctrl and Alt
        // combinations stay unclaimed, so the window's shortcuts (Ctrl+C is
        // Copy) win over the line edit's own editing keys.
        if (IsTypingKey(static_cast<QKeyEvent *>(event)))
            event->accept();
        return true;
    case QEvent::KeyPress:
        // A key whose handling failed is not typed as well.
        return GuardedOr(true, [&] { return NumMemoKeyDown(memo, static_cast<QKeyEvent *>(event)); });
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Guarded([&] { NumMemoMouseDown(memo); });
        return true;
    case QEvent::MouseMove:
        Guarded([&] { NumMemoMouseMove(memo); });
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The line edit selects all text on a Tab focus; let it, then put
        // the caret back at the end.
        static_cast<QObject *>(memo)->event(event);
        if (event->type() == QEvent::FocusIn) {
            Guarded([&] { NumMemoEnter(memo); });
            return true;
        }
        // A menu or popup opening, or the window being deactivated, keeps
        // the display current: the Copy command must still reach it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason && reason != Qt::ActiveWindowFocusReason)
            Guarded([&] { NumMemoExit(memo); });
        return true;
    }
    default:
        return false;
    }
}

TNumBase TRadixelArea::BaseOf(const QLineEdit *memo) const
{
    return memo == DecMemo ? TNumBase::nbDec : memo == HexMemo ? TNumBase::nbHex : TNumBase::nbBin;
}

QToolButton *TRadixelArea::ClipboardButtonOf(const QLineEdit *memo) const
{
    const TNumBase base = BaseOf(memo);
    return base == TNumBase::nbDec   ? DecClipboardButton
           : base == TNumBase::nbHex ? HexClipboardButton
                                     : BinClipboardButton;
}

QString TRadixelArea::ModelTextOf(const QLineEdit *memo) const
{
    const TNumBase base = BaseOf(memo);
    return base == TNumBase::nbDec   ? FNumber.DecText()
           : base == TNumBase::nbHex ? FNumber.HexText()
                                     : FNumber.BinText();
}

void TRadixelArea::SetModelText(const QLineEdit *memo, const QString &text)
{
    switch (BaseOf(memo)) {
    case TNumBase::nbDec:
        FNumber.SetDecText(text);
        break;
    case TNumBase::nbHex:
        FNumber.SetHexText(text);
        break;
    case TNumBase::nbBin:
        FNumber.SetBinText(text);
        break;
    }
}

int TRadixelArea::NumberWidthIndex() const
{
    return qBound(0, FNumberWidthButtons->checkedId(), 2);
}
