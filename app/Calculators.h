#pragma once

// The calculators of the main window, one row each. The window builds its
// Calculator menu, its logo cycle, the stored "Calculator" number and the
// areas from these rows and knows each area only as a TCalcArea, so a
// further calculator is one more row (Calculators.cpp) and its area.

#include <span>

#include <QKeyCombination>
#include <QtGlobal>

class QMetaObject;
class QWidget;
class TCalcArea;

// When a calculator's area is built.
enum class TBuilt {
    btWithWindow,       // with the window, before its first frame
    btAfterFirstFrame,  // right after the first frame, or earlier when first shown
};

struct TCalculator
{
    const char *MenuItemName;  // object name of the Calculator menu item
    const char *Caption;       // of that item
    QKeyCombination Shortcut;
    const char *LogoFile;      // shown in the calculator logo, in :/artwork/
    qint32 Stored;             // the root key's "Calculator" value
    TBuilt Built;
    int Cycle;                 // place in the logo's cycle, from 0; 0 is shown at a first start
    const QMetaObject *AreaType;
    TCalcArea *(*CreateArea)(QWidget *parent);
};

// In the Calculator menu's order.
std::span<const TCalculator> Calculators();

// Whose stored number is written when no calculator is shown (the latency
// calculator's, as before there was a fourth).
const TCalculator &CalculatorWhenNoneShown();
