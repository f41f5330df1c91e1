#pragma once

// The Radixel calculator: one unsigned number shown in decimal, hexadecimal
// and binary at 8, 16 or 32 bits ("Base Conversion" page), and a lookup
// table of 0 to 255 ("Lookup Table" page).
//
// The three number displays never edit their own text. Every key typed into
// one goes through the character filter and edit step of EditNumMemoText,
// which rewrite the text at its end (at full length a leading "0" is
// shifted out, like a shift register); the new text is handed to the value
// model, whose change or error notification redraws all three displays. The
// model is the single source of what they show. Nothing here is saved
// between runs.

#include <array>

#include <QMetaObject>

#include "controls/CalcArea.h"
#include "radix/BinDecHex.h"
#include "radix/NumMemoEdit.h"

class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TPageControl;
class TSuperStringGrid;

class TRadixelArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TRadixelArea(QWidget *parent = nullptr);
    ~TRadixelArea() override;

    TPageControl *PageControl() const override { return RadixelCalcPageControl; }
    void PageEntered(QWidget *page) override;
    void PageLeaving(QWidget *page) override;

    QGroupBox *NumberWidthGroup = nullptr;
    std::array<QRadioButton *, 3> NumberWidthItems{};
    QToolButton *CopyLookupTableButton = nullptr;
    TPageControl *RadixelCalcPageControl = nullptr;

    QWidget *ConversionTabSheet = nullptr;
    QLabel *DecLabel = nullptr;
    QLabel *HexLabel = nullptr;
    QLabel *BinLabel = nullptr;
    QLineEdit *DecMemo = nullptr;
    QLineEdit *HexMemo = nullptr;
    QLineEdit *BinMemo = nullptr;
    QToolButton *DecClipboardButton = nullptr;
    QToolButton *HexClipboardButton = nullptr;
    QToolButton *BinClipboardButton = nullptr;
    QPushButton *ClearButton = nullptr;
    QPushButton *InvertButton = nullptr;

    QWidget *LookupTableTabSheet = nullptr;
    TSuperStringGrid *LookupStringGrid = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateConversionPage();
    void CreateLookupTablePage();
    void InitRadixelCalc();
    void FillLookupTable();

    void ShowNumber();
    void NumberError();
    void NumberWidthGroupClick();
    void ClearButtonClick();
    void InvertButtonClick();
    void NumClipboardButtonClick(QLineEdit *memo);
    void CopyLookupTableButtonClick();

    void NumMemoEnter(QLineEdit *memo);
    void NumMemoExit(QLineEdit *memo);
    void NumMemoChange(QLineEdit *memo);
    // True when the key is used up here; false passes it on (focus keys).
    bool NumMemoKeyDown(QLineEdit *memo, const QKeyEvent *event);
    void NumMemoKeyPress(QLineEdit *memo, QChar key);
    void NumMemoMouseDown(QLineEdit *memo);
    void NumMemoMouseMove(QLineEdit *memo);

    TNumBase BaseOf(const QLineEdit *memo) const;
    QToolButton *ClipboardButtonOf(const QLineEdit *memo) const;
    QString ModelTextOf(const QLineEdit *memo) const;
    void SetModelText(const QLineEdit *memo, const QString &text);
    int NumberWidthIndex() const;

    TBinDecHexNumber FNumber;
    QButtonGroup *FNumberWidthButtons = nullptr;
    // The display that last had focus; its caret goes back to the end after
    // every redraw.
    QLineEdit *FActiveNumMemo = nullptr;
    // Attached to the focused display only.
    QMetaObject::Connection FNumMemoChangeConnection;
};
