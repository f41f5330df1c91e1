#pragma once

#include <QSize>
#include <QString>

class QWidget;

// Restores a window's state and bounds from the 20-byte record stored under
// `valueName` in the key `keyPath`, clamped to the primary screen. Returns
// whether the key and the value both existed (a record shorter than 20 bytes
// counts as absent, and so do reversed bounds unless the record is
// maximised). A value of another type or longer than the record
// raises "Invalid data type for '%s'".
bool ReadFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName);

// Finishes a placement read before the window was shown, once its frame is
// known (call from the window's first showEvent).
void ApplyPendingPlacement(QWidget *form);

// Stores the window's current bounds (outer frame) and state as the record.
void WriteFormPlacement(QWidget *form, const QString &keyPath, const QString &valueName);

// The primary screen's size in device-independent pixels.
QSize PrimaryScreenSize();
