#include <QtTest>

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "controls/AccessibleDisplays.h"
#include "controls/VorlPanels.h"
#include "tests/common/AccessibilityRecorder.h"
#include "tests/common/TestEnvironment.h"

Q_DECLARE_METATYPE(TBevelCut)
Q_DECLARE_METATYPE(TVerticalAlignment)

namespace {

// Counts OnPaint and draws a red cross, so tests can see the owner layer.
struct TPaintProbe
{
    int Count = 0;
    void Attach(TVorlCustomPanel *panel)
    {
        QObject::connect(panel, &TVorlCustomPanel::OnPaint, panel,
                         [this](TVorlCustomPanel *sender, QPainter *canvas) {
                             ++Count;
                             canvas->fillRect(sender->width() / 2 - 5, sender->height() / 2 - 5, 10,
                                              10, Qt::red);
                         });
    }
};

// The bounding box of the pixels that differ from `face` inside `area`.
QRect InkBounds(const QImage &image, const QRect &area, QRgb face)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != face)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A panel on a page, described by a label (its buddy).
template <class TPanel>
struct TLabelledPanel
{
    explicit TLabelledPanel(const QString &caption)
        : Label(new QLabel(caption, &Page))
        , Panel(new TPanel(&Page))
    {
        Label->setBuddy(Panel);
    }
    QAccessibleInterface *Interface() const { return QAccessible::queryAccessibleInterface(Panel); }

    QWidget Page;
    QLabel *Label;
    TPanel *Panel;
};

} // namespace

class tst_VorlPanels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void loweredBevelPixels();
    void frameRings_data();
    void frameRings();
    void captionPadding();
    void captionAlignment_data();
    void captionAlignment();
    void disabledCaptionIsEmbossed();
    void onPaintAfterCaption();
    void generateOnPaintOff();
    void clearCanvasSkipsOnPaintOnce();
    void copyRectToClipboard();
    void paletteChangeRepaints();
    void settersRepaintOnlyOnChange();
    void readAsItsCaption();
    void pictureIsNamedByItsLabelAndDescribed();

private:
    std::unique_ptr<TTestEnvironment> FEnvironment;
};

void tst_VorlPanels::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_VorlPanels::loweredBevelPixels()
{
    TCanvasPanel panel;
    panel.resize(100, 50);
    const QImage image = panel.grab().toImage();
    const QRgb shadow = panel.palette().color(QPalette::Dark).rgb();
    const QRgb highlight = panel.palette().color(QPalette::Light).rgb();
    const QRgb face = panel.Color().rgb();
    QVERIFY(shadow != highlight);
    for (int x = 0; x <= 98; ++x)
        QCOMPARE(image.pixel(x, 0), shadow);
    for (int y = 0; y <= 48; ++y)
        QCOMPARE(image.pixel(0, y), shadow);
    for (int y = 0; y <= 49; ++y)
        QCOMPARE(image.pixel(99, y), highlight);
    for (int x = 0; x <= 99; ++x)
        QCOMPARE(image.pixel(x, 49), highlight);
    QCOMPARE(image.pixel(1, 1), face);
    QCOMPARE(image.pixel(98, 48), face);
}

void tst_VorlPanels::frameRings_data()
{
    QTest::addColumn<TBevelCut>("outer");
    QTest::addColumn<TBevelCut>("inner");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<int>("borderWidth");
    // Outermost first: S shadow-top, H highlight-top, F face. The last ring
    // is the first pixel of the inner rectangle.
    QTest::addColumn<QString>("rings");
    QTest::newRow("defaults") << TBevelCut::bvLowered << TBevelCut::bvNone << 1 << 0 << "SF";
    QTest::newRow("no bevel") << TBevelCut::bvNone << TBevelCut::bvNone << 1 << 0 << "F";
    QTest::newRow("raised 2") << TBevelCut::bvRaised << TBevelCut::bvNone << 2 << 0 << "HHF";
    QTest::newRow("space like raised") << TBevelCut::bvSpace << TBevelCut::bvNone << 1 << 0 << "HF";
    QTest::newRow("lowered, border, raised")
        << TBevelCut::bvLowered << TBevelCut::bvRaised << 1 << 2 << "SFFHF";
    QTest::newRow("no outer bevel, inner lowered")
        << TBevelCut::bvNone << TBevelCut::bvLowered << 1 << 1 << "FSF";
    QTest::newRow("both bevels 3, border 2")
        << TBevelCut::bvRaised << TBevelCut::bvLowered << 3 << 2 << "HHHFFSSSF";
    QTest::newRow("border only") << TBevelCut::bvNone << TBevelCut::bvNone << 4 << 5 << "FFFFFF";
}

void tst_VorlPanels::frameRings()
{
    QFETCH(TBevelCut, outer);
    QFETCH(TBevelCut, inner);
    QFETCH(int, bevelWidth);
    QFETCH(int, borderWidth);
    QFETCH(QString, rings);
    TCanvasPanel panel;
    panel.resize(40, 30);
    panel.SetBevelOuter(outer);
    panel.SetBevelInner(inner);
    panel.SetBevelWidth(bevelWidth);
    panel.SetBorderWidth(borderWidth);
    const QImage image = panel.grab().toImage();
    const QRgb shadow = panel.palette().color(QPalette::Dark).rgb();
    const QRgb highlight = panel.palette().color(QPalette::Light).rgb();
    const QRgb face = panel.Color().rgb();
    for (int i = 0; i < rings.size(); ++i) {
        QRgb top = face;
        QRgb bottom = face;
        if (rings[i] == QLatin1Char('S')) {
            top = shadow;
            bottom = highlight;
        } else if (rings[i] == QLatin1Char('H')) {
            top = highlight;
            bottom = shadow;
        }
        const int x1 = 39 - i, y1 = 29 - i;
        QCOMPARE(image.pixel(i, i), top);             // top-left corner
        QCOMPARE(image.pixel(x1 - 1, i), top);        // top row
        QCOMPARE(image.pixel(x1, i), bottom);         // top-right corner
        QCOMPARE(image.pixel(i, y1), bottom);         // bottom-left corner
        QCOMPARE(image.pixel(x1, y1), bottom);
        QCOMPARE(image.pixel(i, y1 - 1), top);        // left column
    }
    const int inset = int(rings.size()) - 1;
    QCOMPARE(panel.GetInnerRect(), QRect(inset, inset, 40 - 2 * inset, 30 - 2 * inset));
}

void tst_VorlPanels::captionPadding()
{
    TCanvasPanel panel;
    panel.resize(200, 60);
    panel.SetCaption(QStringLiteral("Hg"));
    panel.SetAlignment(Qt::Alignment(Qt::AlignLeft));
    panel.SetVerticalAlignment(TVerticalAlignment::vaTop);
    const QImage image = panel.grab().toImage();
    const QRect inner = panel.GetInnerRect();
    const QRect ink = InkBounds(image, inner, panel.Color().rgb());
    QVERIFY(!ink.isNull());
    // The glyph box starts at the padding; its ink may sit a pixel inside it.
    const QFontMetrics metrics(panel.font());
    const int bearing = qMax(0, metrics.leftBearing(QLatin1Char('H')));
    QCOMPARE(ink.left(), inner.left() + 2 + bearing);
    QVERIFY(ink.top() >= inner.top() + 2);
    QVERIFY(ink.top() <= inner.top() + 2 + metrics.ascent() - metrics.capHeight() + 1);
    // An empty caption draws nothing at all.
    panel.SetCaption(QString());
    QVERIFY(InkBounds(panel.grab().toImage(), inner, panel.Color().rgb()).isNull());
}

void tst_VorlPanels::captionAlignment_data()
{
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<TVerticalAlignment>("vertical");
    QTest::newRow("right bottom") << Qt::Alignment(Qt::AlignRight) << TVerticalAlignment::vaBottom;
    QTest::newRow("centre middle") << Qt::Alignment(Qt::AlignHCenter) << TVerticalAlignment::vaMiddle;
}

void tst_VorlPanels::captionAlignment()
{
    QFETCH(Qt::Alignment, alignment);
    QFETCH(TVerticalAlignment, vertical);
    TCanvasPanel panel;
    panel.resize(200, 60);
    panel.SetCaption(QStringLiteral("Mm"));
    panel.SetAlignment(alignment);
    panel.SetVerticalAlignment(vertical);
    panel.SetCaptionPadding(5);
    panel.SetVerticalCaptionPadding(4);
    const QImage image = panel.grab().toImage();
    const QRect inner = panel.GetInnerRect();
    const QRect ink = InkBounds(image, inner, panel.Color().rgb());
    QVERIFY(!ink.isNull());
    const QRect box = inner.adjusted(5, 4, -5, -4);
    if (alignment == Qt::AlignRight) {
        QVERIFY(ink.right() <= box.right());
        QVERIFY(ink.right() >= box.right() - 2);
        // The descent of the font lies below the letters' ink.
        QVERIFY(ink.bottom() <= box.bottom());
        QVERIFY(ink.bottom() >= box.bottom() - QFontMetrics(panel.font()).descent() - 1);
    } else {
        QVERIFY(qAbs(ink.center().x() - box.center().x()) <= 2);
        QVERIFY(qAbs(ink.center().y() - box.center().y()) <= 3);
    }
    // An empty caption draws nothing, without padding either.
    panel.SetCaption(QString());
    panel.SetCaptionPadding(0);
    panel.SetVerticalCaptionPadding(0);
    QVERIFY(InkBounds(panel.grab().toImage(), inner, panel.Color().rgb()).isNull());
}

void tst_VorlPanels::disabledCaptionIsEmbossed()
{
    TCanvasPanel panel;
    panel.resize(120, 40);
    panel.SetCaption(QStringLiteral("I"));
    // Solid pixels, so that the colours can be compared exactly.
    QFont font = panel.font();
    font.setPixelSize(24);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    panel.setFont(font);
    const QRgb text = panel.palette().color(QPalette::WindowText).rgb();

    const QImage enabled = panel.grab().toImage();
    const QRect ink = InkBounds(enabled, panel.GetInnerRect(), panel.Color().rgb());
    QVERIFY(!ink.isNull());

    panel.setEnabled(false);
    const QImage disabled = panel.grab().toImage();
    const QRgb light = panel.palette().color(QPalette::Light).rgb();
    const QRgb dark = panel.palette().color(QPalette::Dark).rgb();
    bool sawLight = false, sawDark = false, sawText = false;
    for (int y = ink.top(); y <= ink.bottom() + 1; ++y) {
        for (int x = ink.left(); x <= ink.right() + 1; ++x) {
            sawLight |= disabled.pixel(x, y) == light;
            sawDark |= disabled.pixel(x, y) == dark;
            sawText |= disabled.pixel(x, y) == text && text != dark;
        }
    }
    QVERIFY(sawLight);
    QVERIFY(sawDark);
    QVERIFY(!sawText);
    // The highlight copy sits one pixel right of the shadow text.
    QCOMPARE(InkBounds(disabled, panel.GetInnerRect(), panel.Color().rgb()),
             ink.adjusted(0, 0, 1, 1));

    panel.setEnabled(true);
    QCOMPARE(panel.grab().toImage(), enabled);
}

void tst_VorlPanels::onPaintAfterCaption()
{
    TCanvasPanel panel;
    panel.resize(60, 40);
    panel.SetCaption(QStringLiteral("WWWWWWWW"));
    TPaintProbe probe;
    probe.Attach(&panel);
    const QImage image = panel.grab().toImage();
    QCOMPARE(probe.Count, 1);
    // The owner's drawing lies over the caption.
    QCOMPARE(image.pixel(30, 20), QColor(Qt::red).rgb());
}

void tst_VorlPanels::generateOnPaintOff()
{
    TCanvasPanel panel;
    panel.resize(60, 40);
    TPaintProbe probe;
    probe.Attach(&panel);
    panel.SetGenerateOnPaint(false);
    const QImage image = panel.grab().toImage();
    QCOMPARE(probe.Count, 0);
    QCOMPARE(image.pixel(30, 20), panel.Color().rgb());
    panel.SetGenerateOnPaint(true);
    QCOMPARE(panel.grab().toImage().pixel(30, 20), QColor(Qt::red).rgb());
    QCOMPARE(probe.Count, 1);
}

void tst_VorlPanels::clearCanvasSkipsOnPaintOnce()
{
    TCanvasPanel panel;
    panel.setGeometry(0, 0, 60, 40);
    TPaintProbe probe;
    probe.Attach(&panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTRY_VERIFY(probe.Count > 0);
    const int before = probe.Count;
    panel.ClearCanvas();
    QCOMPARE(probe.Count, before);
    panel.repaint();
    QCOMPARE(probe.Count, before + 1);
}

void tst_VorlPanels::copyRectToClipboard()
{
    QWidget window;
    TCanvasPanel panel(&window);
    panel.setGeometry(0, 0, 80, 60);
    auto *child = new QWidget(&panel);
    child->setAutoFillBackground(true);
    QPalette blue = child->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    child->setPalette(blue);
    child->setGeometry(10, 10, 20, 20);
    ClearClipboard();
    panel.CopyRectToClipboard(panel.GetInnerRect());
    const QImage copied = ClipboardImage();
    QCOMPARE(copied.size(), QSize(78, 58));
    // The child control is part of the picture, shifted by the bevel.
    QCOMPARE(copied.pixel(9, 9), QColor(Qt::blue).rgb());
    QCOMPARE(copied.pixel(0, 0), panel.Color().rgb());
}

void tst_VorlPanels::paletteChangeRepaints()
{
    TCanvasPanel panel;
    panel.resize(40, 30);
    QPalette p = panel.palette();
    p.setColor(QPalette::Button, QColor(10, 200, 30));
    panel.setPalette(p);
    QCOMPARE(panel.grab().toImage().pixel(20, 15), QColor(10, 200, 30).rgb());
    panel.SetColor(QColor(1, 2, 3));
    QCOMPARE(panel.grab().toImage().pixel(20, 15), QColor(1, 2, 3).rgb());
}

void tst_VorlPanels::settersRepaintOnlyOnChange()
{
    TCanvasPanel panel;
    panel.resize(60, 40);
    TPaintProbe probe;
    probe.Attach(&panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTRY_VERIFY(probe.Count > 0);
    const int before = probe.Count;
    panel.SetCaptionPadding(2);
    panel.SetVerticalAlignment(TVerticalAlignment::vaMiddle);
    QCoreApplication::processEvents();
    QCOMPARE(probe.Count, before);
    panel.SetCaptionPadding(7);
    QTRY_VERIFY(probe.Count > before);
}

void tst_VorlPanels::readAsItsCaption()
{
    // Built while a screen reader listens: Qt asks for the interface at once.
    TAccessibilityRecorder recorder;
    const TLabelledPanel<TVorlCustomPanel> display(QStringLiteral("Subnet ID"));
    TVorlCustomPanel *panel = display.Panel;
    QAccessibleInterface *iface = display.Interface();
    QCOMPARE(iface->role(), QAccessible::StaticText);
    QVERIFY(iface->state().readOnly);
    // An empty panel says nothing, not its label's text.
    QCOMPARE(iface->text(QAccessible::Name), QString());
    const auto labels = iface->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), display.Label);

    panel->SetCaption(QStringLiteral("0.0.3.0"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("0.0.3.0"));
    QCOMPARE(recorder.Count(panel, QAccessible::NameChanged), 1);
    panel->SetCaption(QStringLiteral("0.0.3.0"));
    QCOMPARE(recorder.Count(panel, QAccessible::NameChanged), 1);
    panel->SetCaption(QStringLiteral("0.0.4.0"));
    QCOMPARE(recorder.Count(panel, QAccessible::NameChanged), 2);
}

void tst_VorlPanels::pictureIsNamedByItsLabelAndDescribed()
{
    TAccessibilityRecorder recorder;
    const TLabelledPanel<TCanvasPanel> picture(QStringLiteral("Layout"));
    TCanvasPanel *panel = picture.Panel;
    QAccessibleInterface *iface = picture.Interface();
    QCOMPARE(iface->role(), QAccessible::Graphic);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Layout"));
    // The caption of a picture is not its name.
    panel->SetCaption(QStringLiteral("drawn"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Layout"));
    QCOMPARE(recorder.Count(panel, QAccessible::NameChanged), 0);

    SetAccessibleDescriptionText(panel, QStringLiteral("Node A, then Node B"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Node A, then Node B"));
    SetAccessibleDescriptionText(panel, QStringLiteral("Node A, then Node B"));
    QCOMPARE(recorder.Count(panel, QAccessible::DescriptionChanged), 1);

    panel->SetAccessibleRole(QAccessible::Pane);
    QCOMPARE(iface->role(), QAccessible::Pane);
}

QTEST_MAIN(tst_VorlPanels)
#include "tst_vorlpanels.moc"
