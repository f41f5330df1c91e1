#pragma once

#include <QIcon>
#include <QString>

// The program's pictures as icons, by file name under :/artwork/
// ("copy.svg"). Each picture is read once and shared by every button that
// shows it.
QIcon ArtworkIcon(const QString &fileName);
