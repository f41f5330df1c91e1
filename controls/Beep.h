#pragma once

// The system beep that answers a refused key or value. Every beep of the
// program goes through here so that tests can count them.

#include <functional>

void Beep();

// Tests: the number of beeps so far, and a way to start counting afresh.
int BeepCount();
void ResetBeepCount();
