#pragma once

#include <QFont>

// The dialog font every layout of the program was drawn for: an 11-pixel
// sans serif (8 point at 96 DPI). Positions and sizes of controls are pixels
// at this font; the program sets it as the application font at start.
QFont DesignFont();

// The fixed-pitch font of the tables that need aligned digits: a Courier
// face (or its metric twin) of 13 pixels character height.
QFont FixedPitchFont();
