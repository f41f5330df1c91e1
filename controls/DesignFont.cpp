#include "controls/DesignFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace {

// A line of the program's own captions, and its width in pixels in the face
// the layouts were drawn with (Liberation Sans, metric twin of the classic
// dialog font) at 11 pixels.
const QString ReferenceText = QStringLiteral(
    "Max # of Hosts/Subnet Class B (128.x.x.x-191.x.x.x) General Info Address Info Subnets/Hosts CIDR 0123456789");
constexpr qreal ReferenceWidth = 550.5;

// Where the metric twin is missing, the platform's sans serif stands in; a
// wider face is narrowed (keeping its height) until the captions take no
// more room than the layouts give them.
void FitToDesignWidth(QFont &font)
{
    for (int stretch = 100; stretch >= 70; stretch -= 2) {
        font.setStretch(stretch);
        if (QFontMetricsF(font).horizontalAdvance(ReferenceText) <= ReferenceWidth)
            return;
    }
}

} // namespace

QFont DesignFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Liberation Sans"));
        // The platform's own dialog face stands last, so that a missing
        // twin falls back to a sans serif face rather than any face.
        f.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                  QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(11);
        FitToDesignWidth(f);
        return f;
    }();
    return font;
}

QFont FixedPitchFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setFamilies(QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // A character height of 13 pixels: Qt's pixel size is the em, the
    // height without internal leading (a line of the font is taller).
    font.setPixelSize(13);
    return font;
}
