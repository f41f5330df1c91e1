#include "radix/RadixelArea.h"

#include "controls/PageControl.h"

TRadixelArea::TRadixelArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("RadixelCalcPanel"));
    resize(276, 313);

    RadixelCalcPageControl = new TPageControl(this);
    RadixelCalcPageControl->setObjectName(QStringLiteral("RadixelCalcPageControl"));
    RadixelCalcPageControl->setGeometry(0, 88, 276, 225);

    ConversionTabSheet = new QWidget;
    ConversionTabSheet->setObjectName(QStringLiteral("ConversionTabSheet"));
    RadixelCalcPageControl->addTab(ConversionTabSheet, QStringLiteral("Base Conversion"));
    LookupTableTabSheet = new QWidget;
    LookupTableTabSheet->setObjectName(QStringLiteral("LookupTableTabSheet"));
    RadixelCalcPageControl->addTab(LookupTableTabSheet, QStringLiteral("Lookup Table"));
}

void TRadixelArea::PageEntered(QWidget *page)
{
    Q_UNUSED(page);
}

void TRadixelArea::PageLeaving(QWidget *page)
{
    Q_UNUSED(page);
}
