#include "controls/Artwork.h"

#include <QHash>
#include <QToolButton>

QIcon ArtworkIcon(const QString &fileName)
{
    static QHash<QString, QIcon> icons;
    auto it = icons.find(fileName);
    if (it == icons.end())
        it = icons.insert(fileName, QIcon(QStringLiteral(":/artwork/") + fileName));
    return *it;
}

QToolButton *CreateCopyButton(QWidget *parent, const char *name, const QString &hint, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    // QIcon greys the picture by itself while the button is disabled.
    button->setIcon(ArtworkIcon(QStringLiteral("copy.svg")));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}
