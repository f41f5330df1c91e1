#pragma once

#include <QIcon>
#include <QRect>
#include <QString>

class QToolButton;
class QWidget;

// The program's pictures as icons, by file name under :/artwork/
// ("copy.svg"). Each picture is read once and shared by every button that
// shows it.
QIcon ArtworkIcon(const QString &fileName);

// A flat picture button with the clipboard picture, named `name`, whose hint
// is also its accessible name. It takes no focus: the Copy command and the
// keyboard reach it through the page it copies.
QToolButton *CreateCopyButton(QWidget *parent, const char *name, const QString &hint, const QRect &geometry);
