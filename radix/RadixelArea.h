#pragma once

// The Radixel calculator: one unsigned number shown in decimal, hexadecimal
// and binary at 8, 16 or 32 bits ("Base Conversion" page), and a lookup
// table of 0 to 255 ("Lookup Table" page).

#include "controls/CalcArea.h"

class TPageControl;

class TRadixelArea final : public TCalcArea
{
    Q_OBJECT
public:
    explicit TRadixelArea(QWidget *parent = nullptr);

    TPageControl *PageControl() const override { return RadixelCalcPageControl; }
    void PageEntered(QWidget *page) override;
    void PageLeaving(QWidget *page) override;

    TPageControl *RadixelCalcPageControl = nullptr;
    QWidget *ConversionTabSheet = nullptr;
    QWidget *LookupTableTabSheet = nullptr;
};
