#include "controls/Beep.h"

#include <QApplication>

namespace {
int GBeepCount = 0;
}

void Beep()
{
    ++GBeepCount;
    QApplication::beep();
}

int BeepCount()
{
    return GBeepCount;
}

void ResetBeepCount()
{
    GBeepCount = 0;
}
