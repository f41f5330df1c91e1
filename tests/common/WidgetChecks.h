#pragma once

// Checks any page of the program can be put through: what assistive
// technology can read of it, what it clips, which of its controls claim a
// key before the window's shortcuts do.

#include <QKeyCombination>
#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QWidget;

// Parts that a composite control draws for itself (scroll bars, the tab
// bar, headers, the editor inside a combo box, a view's viewport), named by
// their owner.
bool IsPartOfAControl(QWidget *w);
// Controls a user operates: anything that takes focus or is a button.
bool IsControl(QWidget *w);
// The name assistive technology reads, trimmed.
QString AccessibleName(QWidget *w);
// The widget's path of object names (class names where it has none).
QString Describe(QWidget *w);
// Why a display on screen cannot be read, or nothing when it can.
QString DisplayFault(QWidget *w);

// The visible controls under `root` without an accessible name.
QStringList UnnamedControls(QWidget *root);
// The visible displays under `root` that cannot be read, each with why;
// `panels` counts the program's panels seen.
QStringList UnreadableDisplays(QWidget *root, int *panels = nullptr);
// The visible labels, panels and line edits under `root` whose text is
// wider than the room they give it, and widgets reaching out of their
// parent, each described.
QStringList ClippedTexts(QWidget *root);

// The visible widgets under `root` that take the keyboard focus with Tab
// (a tab bar included).
QList<QWidget *> FocusableControls(QWidget *root);
// Those that accept `key` as a shortcut override, so that a shortcut of the
// window with that key never fires while they have the focus.
QStringList ShortcutClaimants(QWidget *root, QKeyCombination key);

// Those from which `key`, typed with the focus on them, does not trigger
// `action` (a shortcut of their window, the window active); each control
// gets the focus in turn. `reached` counts the controls tried.
QStringList ControlsNotReaching(QWidget *root, QAction *action, QKeyCombination key, int *reached = nullptr);
