#include <memory>

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "controls/RainbowBar.h"
#include "controls/VorlPanels.h"
#include "latency/LatencyGraphsPage.h"
#include "latency/LatencyStats.h"
#include "latency/NetworkChain.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;

class tst_LatencyGraphsPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { FEnvironment = std::make_unique<TTestEnvironment>(); }
    void init();
    void cleanup();
    void layout();
    void firstStartShowsThreeRowsOfZeroStripes();
    void t1ExampleBars();
    void fourteenNetworksShowEveryRow();
    void copiedPictureHasNoCopyButton();
    void legendShowsNamesAsTyped_data();
    void legendShowsNamesAsTyped();

private:
    void BuildChain(qint32 timeA, qint32 timeB, int networks);
    // Rows of each colour down the middle of a bar's stripe area.
    static QMap<QRgb, int> StripeRows(TRainbowBar *bar);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TNetworkChain> FChain;
    std::unique_ptr<TLatencyGraphsPage> FPage;
};

void tst_LatencyGraphsPage::init()
{
    FChain = std::make_unique<TNetworkChain>();
    FPage = std::make_unique<TLatencyGraphsPage>(*FChain);
    FPage->show();
}

void tst_LatencyGraphsPage::cleanup()
{
    FPage.reset();
    FChain.reset();
}

void tst_LatencyGraphsPage::BuildChain(qint32 timeA, qint32 timeB, int networks)
{
    auto node = [](TNetworkElement *element, qint32 size, qint32 time) {
        element->PacketSize = size;
        element->ProcessTime = time;
        element->RebuildDisplayName();
    };
    node(FChain->NodeA(), 64, timeA);
    for (int i = 0; i < networks; ++i) {
        TNetworkElement *network = FChain->Insert();
        if (timeA != 0) {
            network->SetNetworkButtonKind(TNetworkButtonKind::nbTCarrier);
            network->NetworkName = QStringLiteral("T1");
            network->Bandwidth = 1.544;
            network->PropDelay = 5;
            network->RebuildDisplayName();
        }
    }
    node(FChain->NodeB(), 1024, timeB);
    ComputeLatencyResults(FChain->Elements());
}

QMap<QRgb, int> tst_LatencyGraphsPage::StripeRows(TRainbowBar *bar)
{
    const QImage image = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inner = bar->StripeRect();
    QMap<QRgb, int> rows;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        ++rows[image.pixel(inner.center().x(), y) | 0xff000000u];
    return rows;
}

void tst_LatencyGraphsPage::layout()
{
    auto *panel = FPage->findChild<TCanvasPanel *>(QStringLiteral("LatencyGraphsCanvasPanel"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(0, 0, 268, 285));
    QCOMPARE(panel->BevelOuter(), TBevelCut::bvNone);
    const QStringList colours{u"Red"_s, u"Yellow"_s, u"Lime"_s, u"Blue"_s, u"Purple"_s, u"Black"_s, u"Maroon"_s, u"Green"_s,
                              u"Olive"_s, u"Navy"_s, u"Teal"_s, u"Gray"_s, u"Silver"_s, u"Fuchsia"_s, u"Aqua"_s, u"White"_s};
    const QList<int> tops{4, 22, 40, 58, 75, 93, 111, 129, 147, 165, 183, 201, 218, 236, 254, 272};
    for (int k = 0; k < 16; ++k) {
        auto *swatch = panel->findChild<TCanvasPanel *>(colours.at(k) + QStringLiteral("Panel"));
        auto *label = panel->findChild<QLabel *>(colours.at(k) + QStringLiteral("Label"));
        QVERIFY2(swatch && label, qPrintable(colours.at(k)));
        QCOMPARE(swatch->geometry(), QRect(0, tops.at(k), 13, 13));
        QCOMPARE(swatch->Color().rgb(), RainbowDefaultColors()[std::size_t(k)]);
        QCOMPARE(label->pos(), QPoint(16, tops.at(k)));
        QCOMPARE(FPage->FLegendList[std::size_t(k)].first, label);
        QVERIFY(label->geometry().bottom() < 285);
    }
    const QList<std::pair<QString, QString>> headings{
        {u"Label42"_s, u"A   --> B"_s}, {u"Label43"_s, u"A <--   B"_s}, {u"Label44"_s, u"A <--> B"_s}};
    for (const auto &[name, text] : headings) {
        auto *label = panel->findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY2(label->geometry().right() < 268, qPrintable(name));
    }
    QCOMPARE(FPage->RainbowBarA->geometry(), QRect(131, 48, 38, 237));
    QCOMPARE(FPage->RainbowBarB->geometry(), QRect(179, 48, 38, 237));
    QCOMPARE(FPage->RainbowBarAB->geometry(), QRect(227, 48, 38, 237));
    QCOMPARE(FPage->CopyLatencyGraphsButton->geometry(), QRect(240, 0, 25, 25));
    QCOMPARE(FPage->CopyLatencyGraphsButton->toolTip(), QStringLiteral("Copy latency graphs to clipboard"));
    QCOMPARE(FPage->Bevel1->geometry().left(), 123);
}

void tst_LatencyGraphsPage::firstStartShowsThreeRowsOfZeroStripes()
{
    BuildChain(0, 0, 1);
    FPage->ShowResults();
    const auto &legend = FPage->FLegendList;
    QCOMPARE(legend[0].first->text(), QStringLiteral("Node A (64 bytes)"));
    QCOMPARE(legend[1].first->text(), QStringLiteral("<Unknown Topology>"));
    QCOMPARE(legend[2].first->text(), QStringLiteral("Node B (1024 bytes)"));
    for (int k = 0; k < 16; ++k) {
        QCOMPARE(legend[std::size_t(k)].first->isVisible(), k < 3);
        QCOMPARE(legend[std::size_t(k)].second->isVisible(), k < 3);
    }
    for (TRainbowBar *bar : {FPage->RainbowBarA, FPage->RainbowBarB, FPage->RainbowBarAB}) {
        QCOMPARE(bar->NumStripes(), 3);
        const QMap<QRgb, int> rows = StripeRows(bar);
        QCOMPARE(rows.keys(), QList<QRgb>{bar->Color().rgb()});
    }
}

void tst_LatencyGraphsPage::t1ExampleBars()
{
    BuildChain(10, 20, 1);
    FPage->ShowResults();
    QCOMPARE(FPage->FLegendList[1].first->text(), QStringLiteral("T1 (1.544 Mbps)"));
    const QRgb red = qRgb(255, 0, 0);
    const QRgb yellow = qRgb(255, 255, 0);
    const QRgb lime = qRgb(0, 255, 0);
    // 233 inner rows: 65.2 % red over 34.8 % yellow, and so on.
    QCOMPARE(FPage->RainbowBarA->StripeRect().height(), 233);
    QCOMPARE(StripeRows(FPage->RainbowBarA), (QMap<QRgb, int>{{red, 152}, {yellow, 81}}));
    QCOMPARE(StripeRows(FPage->RainbowBarB), (QMap<QRgb, int>{{yellow, 79}, {lime, 154}}));
    QCOMPARE(StripeRows(FPage->RainbowBarAB), (QMap<QRgb, int>{{red, 57}, {yellow, 61}, {lime, 115}}));
    // Node A's stripe is the top one.
    const QImage bar = FPage->RainbowBarA->grab().toImage();
    QCOMPARE(bar.pixel(19, 2) | 0xff000000u, red);
    QCOMPARE(bar.pixel(19, 234) | 0xff000000u, yellow);
    // What a screen reader is told: the same shares as the statistics.
    QCOMPARE(FPage->RainbowBarA->accessibleDescription(),
             QStringLiteral("Node A (64 bytes): 65.2%, T1 (1.544 Mbps): 34.8%, Node B (1024 bytes): 0.0%"));
    QCOMPARE(FPage->RainbowBarB->accessibleDescription(),
             QStringLiteral("Node A (64 bytes): 0.0%, T1 (1.544 Mbps): 34.0%, Node B (1024 bytes): 66.0%"));
    QCOMPARE(FPage->RainbowBarAB->accessibleDescription(),
             QStringLiteral("Node A (64 bytes): 24.6%, T1 (1.544 Mbps): 26.2%, Node B (1024 bytes): 49.2%"));
    QCOMPARE(FPage->FLegendList[1].second->accessibleName(), QStringLiteral("Yellow"));
    QCOMPARE(FPage->FLegendList[1].second->accessibleDescription(), QStringLiteral("T1 (1.544 Mbps)"));
}

void tst_LatencyGraphsPage::fourteenNetworksShowEveryRow()
{
    BuildChain(10, 20, 14);
    FPage->ShowResults();
    for (const auto &[label, swatch] : FPage->FLegendList) {
        QVERIFY(label->isVisible());
        QVERIFY(swatch->isVisible());
    }
    QCOMPARE(FPage->findChild<QLabel *>(QStringLiteral("WhiteLabel"))->text(), QStringLiteral("Node B (1024 bytes)"));
    QCOMPARE(FPage->RainbowBarAB->NumStripes(), 16);

    // Back to a short chain hides the rows again.
    while (FChain->NetworkCount() > 1)
        FChain->Remove(FChain->Element(1));
    ComputeLatencyResults(FChain->Elements());
    FPage->ShowResults();
    QVERIFY(!FPage->FLegendList[3].first->isVisible());
    QCOMPARE(FPage->RainbowBarA->NumStripes(), 3);
}

void tst_LatencyGraphsPage::copiedPictureHasNoCopyButton()
{
    BuildChain(10, 20, 1);
    FPage->ShowResults();
    ClearClipboard();
    QTest::mouseClick(FPage->CopyLatencyGraphsButton, Qt::LeftButton);
    const QImage picture = ClipboardImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(268, 285));
    QVERIFY(FPage->CopyLatencyGraphsButton->isVisible());
    // Where the button sits the picture shows the bare panel.
    const QRgb face = FPage->LatencyGraphsCanvasPanel->Color().rgb();
    for (int y = 0; y < 25; ++y)
        for (int x = 240; x < 265; ++x)
            QCOMPARE(picture.pixel(x, y) | 0xff000000u, face);
    // The bars are in it.
    QCOMPARE(picture.pixel(131 + 19, 48 + 2) | 0xff000000u, qRgb(255, 0, 0));

    const QString target = qEnvironmentVariable("TARVELO_GRAB_DIR");
    if (!target.isEmpty()) {
        QVERIFY(picture.save(target + QStringLiteral("/latencygraphs-copied.png")));
        QVERIFY(FPage->grab().save(target + QStringLiteral("/latencygraphspage.png")));
    }
}

void tst_LatencyGraphsPage::legendShowsNamesAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Backbone");
    QTest::newRow("looks like markup") << QStringLiteral("<b>Fast</b> link");
    QTest::newRow("looks like an entity") << QStringLiteral("R&lt;D");
}

void tst_LatencyGraphsPage::legendShowsNamesAsTyped()
{
    QFETCH(QString, name);
    BuildChain(10, 20, 1);
    FChain->Element(1)->NetworkName = name;
    FChain->Element(1)->RebuildDisplayName();
    FPage->ShowResults();
    auto *label = FPage->findChild<QLabel *>(QStringLiteral("YellowLabel"));
    QCOMPARE(label->text(), FChain->Element(1)->DisplayName());
    // Shown as typed, not read as markup: as wide as the text itself.
    QVERIFY(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(label->text()));
}

QTEST_MAIN(tst_LatencyGraphsPage)
#include "tst_latencygraphspage.moc"
