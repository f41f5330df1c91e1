#include "controls/DesignFont.h"

#include <QStringList>

QFont DesignFont()
{
    // Liberation Sans has the metrics of the font the layouts were drawn
    // for; other sans serif faces are close enough not to clip.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont FixedPitchFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setFamilies(QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}
