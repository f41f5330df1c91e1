#include "controls/Artwork.h"

#include <QHash>

QIcon ArtworkIcon(const QString &fileName)
{
    static QHash<QString, QIcon> icons;
    auto it = icons.find(fileName);
    if (it == icons.end())
        it = icons.insert(fileName, QIcon(QStringLiteral(":/artwork/") + fileName));
    return *it;
}
