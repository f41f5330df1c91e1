#pragma once

#include <QSize>
#include <QString>

class QWidget;

// Restores a window's state and normal bounds (its outer frame, clamped to
// the primary screen; a maximised window returns to them) from the 20-byte
// record stored under `valueName` in the key `keyPath`. The frame's size is
// finished once the window manager has framed the window, and a maximised
// window is maximised then. Returns whether the key and the value both
// existed (a record shorter than 20 bytes counts as absent, and so do
// reversed bounds unless the record is maximised). A value of another type
// or longer than the record raises "Invalid data type for '%s'".
bool ReadFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName);

// Follows the window's frame from now on (call before the window is first
// shown): a placement read before the frame is known is finished once the
// window manager has framed the window, and the frame of the normal state is
// remembered for a window closed maximised.
void TrackFormPlacement(QWidget *form);

// Stores the window's normal bounds (outer frame, also while minimised or
// maximised) and state as the record.
void WriteFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName);

// The primary screen's size in device-independent pixels.
QSize PrimaryScreenSize();
