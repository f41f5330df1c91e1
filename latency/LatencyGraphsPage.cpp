#include "latency/LatencyGraphsPage.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QToolButton>

#include "controls/AccessibleDisplays.h"
#include "controls/Artwork.h"
#include "controls/Guarded.h"
#include "controls/RainbowBar.h"
#include "controls/RainbowBarModel.h"
#include "controls/VorlPanels.h"
#include "latency/LatencyStatsFormat.h"
#include "latency/NetworkChain.h"

namespace {

// Legend rows in stripe colour order, with the tops of their swatches.
struct TLegendRow
{
    const char *Colour;
    int Top;
};

constexpr std::array<TLegendRow, TLatencyGraphsPage::LegendRows> LegendLayout{{
    {"Red", 4}, {"Yellow", 22}, {"Lime", 40}, {"Blue", 58}, {"Purple", 75}, {"Black", 93},
    {"Maroon", 111}, {"Green", 129}, {"Olive", 147}, {"Navy", 165}, {"Teal", 183}, {"Gray", 201},
    {"Silver", 218}, {"Fuchsia", 236}, {"Aqua", 254}, {"White", 272},
}};

constexpr int LegendLabelWidth = 105;  // longer names are cut off
constexpr int SwatchSize = 13;

}  // namespace

TLatencyGraphsPage::TLatencyGraphsPage(const TNetworkChain &chain, QWidget *parent)
    : QWidget(parent)
    , FChain(chain)
{
    setGeometry(0, 0, 268, 285);

    LatencyGraphsCanvasPanel = new TCanvasPanel(this);
    LatencyGraphsCanvasPanel->setObjectName(QStringLiteral("LatencyGraphsCanvasPanel"));
    LatencyGraphsCanvasPanel->setGeometry(0, 0, 268, 285);
    LatencyGraphsCanvasPanel->SetBevelOuter(TBevelCut::bvNone);
    // On screen its legend and bars speak for themselves.
    LatencyGraphsCanvasPanel->SetAccessibleRole(QAccessible::Pane);

    for (int k = 0; k < LegendRows; ++k) {
        const TLegendRow &row = LegendLayout[std::size_t(k)];
        auto *swatch = new TCanvasPanel(LatencyGraphsCanvasPanel);
        swatch->setObjectName(QLatin1String(row.Colour) + QStringLiteral("Panel"));
        swatch->setGeometry(0, row.Top, SwatchSize, SwatchSize);
        swatch->SetColor(QColor::fromRgb(RainbowDefaultColors()[std::size_t(k)]));
        // Read as its colour; its description names the element of that colour.
        swatch->setAccessibleName(QLatin1String(row.Colour));
        auto *label = new QLabel(LatencyGraphsCanvasPanel);
        label->setObjectName(QLatin1String(row.Colour) + QStringLiteral("Label"));
        label->setGeometry(16, row.Top, LegendLabelWidth, SwatchSize);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Topology names are typed by the user: never read as markup.
        label->setTextFormat(Qt::PlainText);
        FLegendList[std::size_t(k)] = {label, swatch};
    }

    Bevel1 = new QFrame(LatencyGraphsCanvasPanel);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(123, 0, 2, 285);

    const auto addHeading = [this](QLabel *&label, const char *name, const QString &text, int left) {
        label = new QLabel(text, LatencyGraphsCanvasPanel);
        label->setObjectName(QLatin1String(name));
        label->move(left, 32);
        label->resize(label->sizeHint());
    };
    // The runs of spaces are part of the captions.
    addHeading(Label42, "Label42", QStringLiteral("A   --> B"), 131);
    addHeading(Label43, "Label43", QStringLiteral("A <--   B"), 179);
    addHeading(Label44, "Label44", QStringLiteral("A <--> B"), 227);

    const auto addBar = [this](TRainbowBar *&bar, const char *name, int left) {
        bar = new TRainbowBar(LatencyGraphsCanvasPanel);
        bar->setObjectName(QLatin1String(name));
        bar->setGeometry(left, 48, 38, 237);
        bar->SetColor(palette().color(QPalette::Base));
    };
    addBar(RainbowBarA, "RainbowBarA", 131);
    addBar(RainbowBarB, "RainbowBarB", 179);
    addBar(RainbowBarAB, "RainbowBarAB", 227);
    // Each heading names its bar.
    Label42->setBuddy(RainbowBarA);
    Label43->setBuddy(RainbowBarB);
    Label44->setBuddy(RainbowBarAB);

    CopyLatencyGraphsButton = CreateCopyButton(LatencyGraphsCanvasPanel, "CopyLatencyGraphsButton",
                                               QStringLiteral("Copy latency graphs to clipboard"), QRect(240, 0, 25, 25));
    GuardedConnect(CopyLatencyGraphsButton, &QToolButton::clicked, this,
                   &TLatencyGraphsPage::CopyLatencyGraphsButtonClick);
}

void TLatencyGraphsPage::ShowResults()
{
    const QList<const TNetworkElement *> chain = FChain.Elements();
    const int n = int(qMin<qsizetype>(chain.size(), LegendRows));
    for (int k = 0; k < LegendRows; ++k) {
        const auto &[label, swatch] = FLegendList[std::size_t(k)];
        if (k < n) {
            label->setText(chain.at(k)->DisplayName());
            SetAccessibleDescriptionText(swatch, label->text());
            label->resize(LegendLabelWidth, label->height());
            label->show();
            swatch->show();
        } else {
            label->hide();
            swatch->hide();
        }
    }
    for (TRainbowBar *bar : {RainbowBarA, RainbowBarB, RainbowBarAB})
        bar->SetNumStripes(n);
    // What a screen reader says of each bar: every stripe's element and
    // share, top to bottom, as the legend and the statistics show them.
    QStringList sharesA, sharesB, sharesAB;
    const auto share = [](const TNetworkElement &element, float fraction) {
        return QStringLiteral("%1: %2").arg(element.DisplayName(), FormatLatencyShare(fraction));
    };
    for (int k = 0; k < n; ++k) {
        const TNetworkElement &element = *chain.at(k);
        RainbowBarA->Stripes(k).SetValue(element.FractionAToB);
        RainbowBarB->Stripes(k).SetValue(element.FractionBToA);
        RainbowBarAB->Stripes(k).SetValue(element.FractionRoundTrip);
        sharesA << share(element, element.FractionAToB);
        sharesB << share(element, element.FractionBToA);
        sharesAB << share(element, element.FractionRoundTrip);
    }
    const QString separator = QStringLiteral(", ");
    SetAccessibleDescriptionText(RainbowBarA, sharesA.join(separator));
    SetAccessibleDescriptionText(RainbowBarB, sharesB.join(separator));
    SetAccessibleDescriptionText(RainbowBarAB, sharesAB.join(separator));
}

void TLatencyGraphsPage::CopyLatencyGraphsButtonClick()
{
    // The picture shows what is on screen, less the button itself.
    CopyLatencyGraphsButton->hide();
    LatencyGraphsCanvasPanel->repaint();
    LatencyGraphsCanvasPanel->CopyRectToClipboard(LatencyGraphsCanvasPanel->rect());
    CopyLatencyGraphsButton->show();
}
