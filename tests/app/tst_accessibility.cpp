#include <QTest>

#include <functional>
#include <tuple>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>

#include "app/Main.h"
#include "controls/CalcArea.h"
#include "controls/PageControl.h"
#include "controls/RainbowBar.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "latency/LatencyGraphsPage.h"
#include "latency/NetworkButton.h"
#include "latency/NetworkButtonForm.h"
#include "latency/NetworkSetupPage.h"
#include "prefix/PrefixArea.h"
#include "radix/RadixelArea.h"
#include "tests/common/AccessibilityRecorder.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/WidgetChecks.h"

namespace {

QString AccessibleDescription(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// Shows every page of every calculator in turn and runs `check` on each.
void ForEveryPage(TMainForm &form, const std::function<void()> &check)
{
    for (auto show : {&TMainForm::RadixelCalculatorMenuItemClick, &TMainForm::IPSubnetCalculatorMenuItemClick,
                      &TMainForm::LatencyCalculatorMenuItemClick, &TMainForm::PrefixCalculatorMenuItemClick}) {
        (form.*show)();
        for (TCalcArea *area : form.findChildren<TCalcArea *>()) {
            if (!area->isVisible())
                continue;
            for (int i = 0; i < area->PageControl()->count(); ++i) {
                area->PageControl()->setCurrentIndex(i);
                check();
            }
        }
    }
}

// Moves through the open properties dialog's topology list with the arrow keys.
void PickTopology(TNetworkButtonForm *form, int index)
{
    form->TopologyComboBox->setFocus();
    while (form->TopologyComboBox->currentIndex() < index)
        QTest::keyClick(form->TopologyComboBox, Qt::Key_Down);
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyControlOfEveryPageHasAName();
    void everyDisplayOfEveryPageCanBeRead();
    void displaysAreDescribedByTheirCaptions_data();
    void displaysAreDescribedByTheirCaptions();
    void panelsAnnounceOnlyARealChange();
    void picturesAnnounceOnlyARealChange();
    void everyPageIsReachableFromTheKeyboard();
};

void tst_Accessibility::everyControlOfEveryPageHasAName()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QStringList unnamed;
    ForEveryPage(form, [&] {
        for (QWidget *w : form.findChildren<QWidget *>())
            if (w->isVisible() && IsControl(w) && AccessibleName(w).isEmpty() && !unnamed.contains(Describe(w)))
                unnamed << Describe(w);
    });
    QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("Without an accessible name:\n") + unnamed.join(u'\n')));
}

void tst_Accessibility::everyDisplayOfEveryPageCanBeRead()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QStringList faults;
    int panels = 0;
    ForEveryPage(form, [&] {
        for (QWidget *w : form.findChildren<QWidget *>()) {
            if (!w->isVisible() || IsControl(w) || IsPartOfAControl(w))
                continue;
            panels += qobject_cast<TVorlCustomPanel *>(w) ? 1 : 0;
            const QString fault = DisplayFault(w);
            const QString line = Describe(w) + QStringLiteral(": ") + fault;
            if (!fault.isEmpty() && !faults.contains(line))
                faults << line;
        }
    });
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("Cannot be read:\n") + faults.join(u'\n')));
    // 17 value panels, the layout, the graphs with 3 bars and 3 swatches,
    // the count of subnets of a split.
    QCOMPARE(panels, 17 + 1 + 1 + 3 + 3 + 1);
}

void tst_Accessibility::displaysAreDescribedByTheirCaptions_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("caption");
    // The display's own interface names the caption too (labelled-by): Qt
    // sees only labels beside the display, not those beside its box.
    QTest::addColumn<bool>("labelledBy");
    const QList<std::tuple<const char *, const char *, bool>> rows{
        {"MaxSubnetsPanel", "Max # of Subnets ", true},
        {"MaxHostsPanel", "Max # of Hosts/Subnet", true},
        {"BitMapPanel", "Bit Map (n=network, s=subnet, h=host)", true},
        {"DecClassMaskPanel", "Decimal Class B Mask", true},
        {"HexClassMaskPanel", "Hex Class B Mask", true},
        {"DecMaskPanel", "Decimal Network Mask", true},
        {"HexMaskPanel", "Hex Network Mask", true},
        {"HexAddressPanel", "Hexadecimal", true},
        {"AddressRangePanel", "Subnet Address Allocation Range", true},
        {"SubnetMaskPanel", "Subnet Mask", true},
        {"SubnetIDPanel", "Subnet ID", true},
        {"NetworkIDPanel", "Network ID", true},
        {"HostIDPanel", "Host ID", true},
        {"NumNetworksPanel", "Max # of Supernets", true},
        {"AllocationPanel", "Supernet Address Allocation Range", true},
        {"RouteMaskPanel", "Route/Mask", true},
        {"HexRouteMaskPanel", "Hexadecimal  Route/Mask", true},
        {"RainbowBarA", "A   --> B", true},
        {"RainbowBarB", "A <--   B", true},
        {"RainbowBarAB", "A <--> B", true},
        {"SubnetCountPanel", "Subnets", true},
        // Labels with an access key stay with the input they focus; the
        // octet fields carry the caption in their names.
        {"BitsSpinEdit", "Subnet Bits", true},
        {"MaskEdit1", "IP Address", false},
        {"MaskEdit5", "IP Address", false},
    };
    for (const auto &[display, caption, labelledBy] : rows)
        QTest::newRow(display) << QString::fromLatin1(display) << QString::fromLatin1(caption) << labelledBy;
}

void tst_Accessibility::displaysAreDescribedByTheirCaptions()
{
    QFETCH(QString, display);
    QFETCH(QString, caption);
    QFETCH(bool, labelledBy);
    TTestEnvironment env;
    TMainForm form;
    form.CalcArea<TLatencyArea>();
    form.CalcArea<TPrefixArea>();
    auto *widget = form.findChild<QWidget *>(display);
    QVERIFY(widget);

    QList<QLabel *> labels;
    for (QLabel *label : form.findChildren<QLabel *>())
        if (label->buddy() == widget)
            labels << label;
    QCOMPARE(labels.size(), 1);
    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(labels.first());
    QCOMPARE(label->text(QAccessible::Name), caption);
    const auto labelled = label->relations(QAccessible::Labelled);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.first().first->object(), widget);

    if (labelledBy) {
        const auto describing = QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label);
        QCOMPARE(describing.size(), 1);
        QCOMPARE(describing.first().first, label);
    }
}

void tst_Accessibility::panelsAnnounceOnlyARealChange()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TIPSubnetArea *area = form.CalcArea<TIPSubnetArea>();
    area->DravokPageControl->setCurrentWidget(area->AddressInfoTab);
    TAccessibilityRecorder recorder;

    area->MaskEdit2->selectAll();
    QTest::keyClicks(area->MaskEdit2, QStringLiteral("5"));
    QTest::keyClick(area->MaskEdit2, Qt::Key_Return);
    QCOMPARE(AccessibleName(area->HexAddressPanel), QStringLiteral("80.05.01.01"));
    QCOMPARE(recorder.Count(area->HexAddressPanel, QAccessible::NameChanged), 1);
    QCOMPARE(recorder.Count(area->SubnetMaskPanel, QAccessible::NameChanged), 0);

    // The same address again: the panels are written, nothing changes.
    QTest::keyClick(area->MaskEdit2, Qt::Key_Return);
    QCOMPARE(recorder.Count(area->HexAddressPanel, QAccessible::NameChanged), 1);
}

void tst_Accessibility::picturesAnnounceOnlyARealChange()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.LatencyCalculatorMenuItemClick();
    TLatencyArea *area = form.CalcArea<TLatencyArea>();
    TNetworkSetupPage *setup = area->NetworkSetupTabSheet;
    TCanvasPanel *layout = setup->NetworkSetupPanel;
    QCOMPARE(AccessibleName(layout), QStringLiteral("Network layout"));
    QCOMPARE(AccessibleDescription(layout),
             QStringLiteral("Node A (64 bytes), then <Unknown Topology>, then Node B (1024 bytes)"));
    TAccessibilityRecorder recorder;

    QTest::mouseClick(setup->NewNetworkButton, Qt::LeftButton);
    QCOMPARE(recorder.Count(layout, QAccessible::DescriptionChanged), 1);
    TNetworkButton *first = setup->NetworkButton(area->Chain().Element(1));
    first->PropertiesItem()->trigger();
    TNetworkButtonForm *dialog = area->NetworkButtonForm;
    QVERIFY(dialog);
    PickTopology(dialog, 8);
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    QCOMPARE(AccessibleDescription(layout), QStringLiteral("Node A (64 bytes), then Satellite (0.512 Mbps), then "
                                                           "<Unknown Topology>, then Node B (1024 bytes)"));
    QCOMPARE(recorder.Count(layout, QAccessible::DescriptionChanged), 2);
    QTest::mouseClick(first, Qt::LeftButton);
    QTest::mouseClick(setup->MoveNetworkRightButton, Qt::LeftButton);
    QCOMPARE(AccessibleDescription(layout), QStringLiteral("Node A (64 bytes), then <Unknown Topology>, then "
                                                           "Satellite (0.512 Mbps), then Node B (1024 bytes)"));
    QCOMPARE(recorder.Count(layout, QAccessible::DescriptionChanged), 3);

    TLatencyGraphsPage *graphs = area->LatencyGraphsPage;
    const QList<TRainbowBar *> bars{graphs->RainbowBarA, graphs->RainbowBarB, graphs->RainbowBarAB};
    area->PageControl()->setCurrentWidget(area->LatencyGraphsTabSheet);
    for (TRainbowBar *bar : bars) {
        QVERIFY(AccessibleDescription(bar).startsWith(QStringLiteral("Node A (64 bytes): ")));
        QCOMPARE(recorder.Count(bar, QAccessible::DescriptionChanged), 1);
    }
    // Back to the graphs with nothing changed: nothing to announce.
    area->PageControl()->setCurrentWidget(area->LatencyStatsTabSheet);
    area->PageControl()->setCurrentWidget(area->LatencyGraphsTabSheet);
    for (TRainbowBar *bar : bars)
        QCOMPARE(recorder.Count(bar, QAccessible::DescriptionChanged), 1);
}

void tst_Accessibility::everyPageIsReachableFromTheKeyboard()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        QSKIP("The platform does not activate windows");

    const struct
    {
        Qt::Key Key;
        TCalcArea *Area;
    } calculators[] = {{Qt::Key_H, form.CalcArea<TRadixelArea>()}, {Qt::Key_I, form.CalcArea<TIPSubnetArea>()},
                       {Qt::Key_L, form.CalcArea<TLatencyArea>()}, {Qt::Key_R, form.CalcArea<TPrefixArea>()}};
    for (const auto &calculator : calculators) {
        QTest::keyClick(&form, calculator.Key, Qt::ControlModifier);
        QVERIFY(calculator.Area->isVisible());
        TPageControl *pages = calculator.Area->PageControl();
        pages->setFocus();
        QTRY_VERIFY(pages->hasFocus() || pages->isAncestorOf(QApplication::focusWidget()));
        for (int i = 1; i <= pages->count(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(pages->currentIndex(), i % pages->count());
        }
    }
}

TARVELO_TEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
