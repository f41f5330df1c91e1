#pragma once

// Text forms of the latency results, as the statistics table shows them.

#include <QString>

// Seconds in fixed-point notation with exactly 7 digits after the point,
// rounded to at most 7 significant digits ("0.0053316" for 0.005331606,
// "0.0100000" for 0.01). A value with more than 7 digits before the point
// switches to scientific notation ("1.234568E10").
QString FormatLatencySeconds(float seconds);

// A share (0 ... 1) as a percentage with one decimal and "%" ("65.2%").
QString FormatLatencyShare(float fraction);
