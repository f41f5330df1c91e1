#pragma once

// The layout shared by the IP subnet calculator's pages: captions placed at
// design positions, each over a sunken, right-aligned value panel.

class QLabel;
class QString;
class QWidget;
class TVorlCustomPanel;

// A caption on `page` at (left, top), as wide as its text.
QLabel *CreateLabel(QWidget *page, const QString &text, int left, int top);

// A read-only value panel, 21 pixels high, on the caption's page, described
// by the caption: the panel is the caption's buddy, so a screen reader reads
// the caption with the value.
TVorlCustomPanel *CreateValuePanel(QLabel *caption, const char *name, int left, int top, int width);
