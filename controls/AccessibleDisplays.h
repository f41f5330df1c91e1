#pragma once

// What the program's own displays tell assistive technology (a screen
// reader, or any tool reading the accessibility tree). Qt knows nothing of
// a widget that paints its own text or picture; these interfaces say it:
// - a panel (TVorlCustomPanel) as its AccessibleRole() says: static text
//   named by its caption, a picture or chart named by its label (or its
//   accessible name) and described by its accessible description, or a
//   plain container;
// - a picture (TImage) as a graphic with its accessible name.
// A label whose buddy is the display describes it (labelled-by).

class QString;
class QWidget;

// Registers the interfaces with Qt; any number of calls, one registration.
// Every display calls it when it is built, before Qt can ask for it.
void InstallDisplayAccessibility();

// Sets the widget's accessible description; Qt announces it only when the
// text differs from the one it has.
void SetAccessibleDescriptionText(QWidget *widget, const QString &text);
