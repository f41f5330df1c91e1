#include "app/Calculators.h"

#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "prefix/PrefixArea.h"
#include "radix/RadixelArea.h"

namespace {

template <typename Area>
constexpr TCalculator Row(const char *item, const char *caption, QKeyCombination shortcut, const char *logo,
                          qint32 stored, TBuilt built, int cycle)
{
    return {item, caption, shortcut, logo, stored, built, cycle, &Area::staticMetaObject,
            [](QWidget *parent) -> TCalcArea * { return new Area(parent); }};
}

// The IP subnet calculator is built with the window: it is shown at a first
// start, its items are the Options menu, and every page switch of any
// calculator refreshes its display. The logo cycles IP Subnet, Latency,
// Radixel, Prefix. A program that knows only the first three stored numbers
// shows the IP subnet calculator for the Prefix calculator's 3.
const TCalculator CalculatorTable[] = {
    Row<TRadixelArea>("RadixelCalculatorMenuItem", "&Radixel Calculator", Qt::CTRL | Qt::Key_H,
                      "radixelcalclogo.svg", 0, TBuilt::btAfterFirstFrame, 2),
    Row<TIPSubnetArea>("IPSubnetCalculatorMenuItem", "&IP Subnet Calculator", Qt::CTRL | Qt::Key_I,
                       "dravoklogo.svg", 1, TBuilt::btWithWindow, 0),
    Row<TLatencyArea>("LatencyCalculatorMenuItem", "&Latency Calculator", Qt::CTRL | Qt::Key_L,
                      "latencycalclogo.svg", 2, TBuilt::btAfterFirstFrame, 1),
    // Ctrl+R: free in the window, its grids, line edits, text boxes and spin edits.
    Row<TPrefixArea>("PrefixCalculatorMenuItem", "&Prefix Calculator", Qt::CTRL | Qt::Key_R,
                     "prefixcalclogo.svg", 3, TBuilt::btAfterFirstFrame, 3),
};

} // namespace

std::span<const TCalculator> Calculators()
{
    return CalculatorTable;
}

const TCalculator &CalculatorWhenNoneShown()
{
    return CalculatorTable[2];
}
