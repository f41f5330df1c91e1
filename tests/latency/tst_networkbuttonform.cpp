#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/VorlGlobal.h"
#include "controls/BetterSpinEdit.h"
#include "latency/NetworkButtonForm.h"
#include "tests/common/TestEnvironment.h"

using namespace Qt::StringLiterals;
using K = TNetworkButtonKind;

Q_DECLARE_METATYPE(TNetworkButtonKind)

namespace {

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Gives a network the values it would have after an earlier OK.
void SetNetwork(TNetworkElement &network, K kind, const QString &name, int topologyIndex, double bandwidth,
                qint32 propDelay)
{
    network.SetNetworkButtonKind(kind);
    network.NetworkName = name;
    network.TopologyIndex = qint16(topologyIndex);
    network.Bandwidth = bandwidth;
    network.PropDelay = propDelay;
}

// The reasons of the focus-out events a widget receives.
class TFocusOutRecorder final : public QObject
{
public:
    explicit TFocusOutRecorder(QObject *watched) { watched->installEventFilter(this); }
    QList<Qt::FocusReason> Reasons;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            Reasons << static_cast<QFocusEvent *>(event)->reason();
        return false;
    }
};

} // namespace

class tst_NetworkButtonForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layoutAndBuddies();
    void satelliteForANewNetwork();
    void topologyDefaults_data();
    void topologyDefaults();
    void t1ToT3KeepsChoicesAndDelay();
    void typedCustomTopology();
    void typedListedNameKeepsOther();
    void emptyTopologyShowsUnknown();
    void leavingTheBoxesRunsTheirExit();
    void anotherWindowIsNoExit_data();
    void anotherWindowIsNoExit();
    void typedBandwidthIsAppended();
    void bandwidthKeyFilter();
    void bandwidthEditingKeys_data();
    void bandwidthEditingKeys();
    void emptyBandwidthBecomesZero();
    void okKeepsTheValuesLeftAlone_data();
    void okKeepsTheValuesLeftAlone();
    void invalidBandwidthStoresNothing_data();
    void invalidBandwidthStoresNothing();
    void nodeB();
    void applyStaysOpenCancelStoresNothing();
    void escapeCancels();
    void loadingANetwork_data();
    void loadingANetwork();
    void onlyTheSelectedItemCounts();
    void releasedElementIsNoLongerEdited();
    void offeredTopologies_data();
    void offeredTopologies();
    void offeredBandwidths();

private:
    // Moves through the topology list with the arrow keys, as a user would,
    // until `index` is selected.
    void PickTopology(int index);
    void TypeInto(QComboBox *box, const QString &text);
    void SaveGrab(const QString &name);

    std::unique_ptr<TTestEnvironment> FEnvironment;
    TNetworkButtonForm *FForm = nullptr;
    TNetworkElement *FNetwork = nullptr;
    QComboBox *FTopology = nullptr;
    QComboBox *FBandwidth = nullptr;
    TBetterSpinEdit *FPropDelay = nullptr;
};

void tst_NetworkButtonForm::initTestCase()
{
    FEnvironment = std::make_unique<TTestEnvironment>();
}

void tst_NetworkButtonForm::init()
{
    FForm = new TNetworkButtonForm;
    FNetwork = new TNetworkElement;
    FTopology = FForm->findChild<QComboBox *>(u"TopologyComboBox"_s);
    FBandwidth = FForm->findChild<QComboBox *>(u"BandwidthComboBox"_s);
    FPropDelay = FForm->findChild<TBetterSpinEdit *>(u"PropDelaySpinEdit"_s);
    QVERIFY(FTopology && FBandwidth && FPropDelay);
}

void tst_NetworkButtonForm::cleanup()
{
    delete FForm;
    delete FNetwork;
}

void tst_NetworkButtonForm::PickTopology(int index)
{
    FTopology->setFocus();
    while (FTopology->currentIndex() < index)
        QTest::keyClick(FTopology, Qt::Key_Down);
    while (FTopology->currentIndex() > index)
        QTest::keyClick(FTopology, Qt::Key_Up);
    QCOMPARE(FForm->SelectedTopologyIndex(), index);
}

void tst_NetworkButtonForm::TypeInto(QComboBox *box, const QString &text)
{
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, text);
}

void tst_NetworkButtonForm::SaveGrab(const QString &name)
{
    const QString folder = qEnvironmentVariable("TARVELO_GRAB_DIR");
    if (!folder.isEmpty())
        FForm->grab().save(folder + u'/' + name + u".png"_s);
}

void tst_NetworkButtonForm::layoutAndBuddies()
{
    const auto label = [this](const char *name) { return FForm->findChild<QLabel *>(QLatin1String(name)); };
    QCOMPARE(label("Label1")->buddy(), FTopology);
    QCOMPARE(label("Label2")->buddy(), FBandwidth);
    QCOMPARE(label("PropDelayLabel")->buddy(), FPropDelay);
    QCOMPARE(label("ProcessTimeLabel")->buddy(), FForm->ProcessTimeSpinEdit);
    QCOMPARE(label("PacketSizeLabel")->buddy(), FForm->PacketSizeSpinEdit);
    QCOMPARE(FTopology->currentText(), u"<Unknown Topology>"_s);
    QCOMPARE(FBandwidth->currentText(), u"0"_s);
    QVERIFY(!FForm->Kind());
    // Every caption fits its label, and the label its panel, at the design font.
    for (QLabel *l : FForm->findChildren<QLabel *>()) {
        const int text = l->fontMetrics().horizontalAdvance(l->text().remove(u'&'));
        QVERIFY2(text <= l->width() && l->x() + text <= l->parentWidget()->width(), qPrintable(l->text()));
    }
    // The topology box shows every text it offers whole: its line edit keeps
    // 2 pixels each side and 1 for the cursor, and scrolls a wider text.
    FForm->EditNetworkButton(FNetwork);
    QLineEdit *edit = FTopology->lineEdit();
    QStringList texts{u"<Unknown Topology>"_s};
    for (const TTopology &topology : TopologyTable())
        texts << topology.Text;
    for (const QString &text : std::as_const(texts))
        QVERIFY2(edit->fontMetrics().horizontalAdvance(text) + 5 <= edit->width(), qPrintable(text));
    QVERIFY(FTopology->geometry().right() < FTopology->parentWidget()->width());
}

void tst_NetworkButtonForm::satelliteForANewNetwork()
{
    QSignalSpy applied(FForm, &TNetworkButtonForm::OnApply);
    FForm->EditNetworkButton(FNetwork);
    QVERIFY(FForm->isVisible());
    QCOMPARE(FForm->windowTitle(), u"<Unknown Topology> Properties"_s);
    PickTopology(8);
    QCOMPARE(FTopology->currentText(), u"Satellite"_s);
    QCOMPARE(FForm->Kind(), std::optional(K::nbSatellite));
    QCOMPARE(FForm->windowTitle(), u"Satellite Properties"_s);
    SaveGrab(u"networkbuttonform-satellite"_s);

    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(applied.size(), 1);
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbSatellite);
    QCOMPARE(FNetwork->NetworkName, u"Satellite"_s);
    QCOMPARE(FNetwork->Bandwidth, 0.512);
    QCOMPARE(FNetwork->PropDelay, 270);
    QCOMPARE(FNetwork->TopologyIndex, qint16(8));
    QCOMPARE(FNetwork->DisplayName(), u"Satellite (0.512 Mbps)"_s);
}

void tst_NetworkButtonForm::topologyDefaults_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("bandwidth");
    QTest::addColumn<bool>("delayEnabled");
    QTest::addColumn<int>("delay");
    QTest::newRow("Ethernet") << 4 << QStringList{u"10"_s, u"100"_s, u"1000"_s} << "10" << false << 0;
    QTest::newRow("Token Ring") << 12 << QStringList{u"4"_s, u"16"_s} << "16" << false << 0;
    QTest::newRow("56-Switched") << 0 << QStringList{u"0.056"_s} << "0.056" << true << 10;
    QTest::newRow("Frame Relay") << 6 << WanBandwidthList() << "1.544" << true << 20;
    QTest::newRow("SMDS") << 9 << QStringList{u"44.736"_s} << "44.736" << true << 1;
    QTest::newRow("Satellite") << 8 << WanBandwidthList() << "0.512" << true << 270;
}

void tst_NetworkButtonForm::topologyDefaults()
{
    QFETCH(int, index);
    QFETCH(QStringList, choices);
    QFETCH(QString, bandwidth);
    QFETCH(bool, delayEnabled);
    QFETCH(int, delay);
    FForm->EditNetworkButton(FNetwork);
    FPropDelay->SetValue(1234);
    PickTopology(index);
    QCOMPARE(Items(FBandwidth), choices);
    QCOMPARE(FBandwidth->currentText(), bandwidth);
    QCOMPARE(FPropDelay->isEnabled(), delayEnabled);
    QCOMPARE(FForm->PropDelayLabel->isEnabled(), delayEnabled);
    QCOMPARE(FPropDelay->Value(), delay);
}

void tst_NetworkButtonForm::t1ToT3KeepsChoicesAndDelay()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(10);
    QCOMPARE(FBandwidth->currentText(), u"1.544"_s);
    FPropDelay->SetValue(7);
    FBandwidth->addItem(u"12.5"_s); // as typed earlier
    PickTopology(11);
    QCOMPARE(FForm->Kind(), std::optional(K::nbTCarrier));
    QCOMPARE(FBandwidth->currentText(), u"44.736"_s);
    QCOMPARE(FBandwidth->count(), WanBandwidthList().size() + 1);
    QCOMPARE(FPropDelay->Value(), 7);
    QCOMPARE(FForm->windowTitle(), u"T3 Properties"_s);
}

void tst_NetworkButtonForm::typedCustomTopology()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(10);
    FTopology->lineEdit()->selectAll();
    QTest::keyClicks(FTopology, u"My"_s);
    QCOMPARE(FForm->Kind(), std::optional(K::nbOther));
    QCOMPARE(FForm->SelectedTopologyIndex(), -1);
    QCOMPARE(FBandwidth->currentText(), u"0"_s);
    QCOMPARE(FBandwidth->count(), FullBandwidthList().size());
    QCOMPARE(FPropDelay->Value(), 10);
    QCOMPARE(FForm->windowTitle(), u"My Properties"_s);

    // Every keystroke resets the bandwidth text.
    TypeInto(FBandwidth, u"25"_s);
    QTest::keyClicks(FTopology, u" WAN"_s);
    QCOMPARE(FBandwidth->currentText(), u"0"_s);
    QCOMPARE(FForm->windowTitle(), u"My WAN Properties"_s);

    QTest::keyClick(FTopology, Qt::Key_Return);
    QCOMPARE(FTopology->count(), 15);
    QCOMPARE(FTopology->itemText(14), u"My WAN"_s);
    QCOMPARE(FForm->SelectedTopologyIndex(), 14);
    QVERIFY(FForm->isVisible()); // Enter stays in the box

    TypeInto(FBandwidth, u"2"_s);
    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QCOMPARE(FNetwork->NetworkName, u"My WAN"_s);
    QCOMPARE(FNetwork->TopologyIndex, qint16(14));
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbOther);
    QCOMPARE(FNetwork->DisplayName(), u"My WAN (2 Mbps)"_s);

    // The name stays in the list; picking it again means nbOther.
    PickTopology(4);
    PickTopology(14);
    QCOMPARE(FForm->Kind(), std::optional(K::nbOther));
}

void tst_NetworkButtonForm::typedListedNameKeepsOther()
{
    FForm->EditNetworkButton(FNetwork);
    TypeInto(FTopology, u"Ethernet"_s);
    QCOMPARE(FForm->Kind(), std::optional(K::nbOther));
    QTest::keyClick(FTopology, Qt::Key_Enter);
    QCOMPARE(FTopology->count(), 14);
    QCOMPARE(FForm->SelectedTopologyIndex(), 4);
    QCOMPARE(FForm->Kind(), std::optional(K::nbOther));
    FForm->ButtonClick(FForm->OKButton);
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbOther);
    QCOMPARE(FNetwork->TopologyIndex, qint16(4));
    QCOMPARE(FNetwork->NetworkName, u"Ethernet"_s);
}

void tst_NetworkButtonForm::emptyTopologyShowsUnknown()
{
    FForm->EditNetworkButton(FNetwork);
    FTopology->lineEdit()->selectAll();
    QTest::keyClick(FTopology, Qt::Key_Delete);
    QTest::keyClick(FTopology, Qt::Key_Return);
    QCOMPARE(FTopology->currentText(), u"<Unknown Topology>"_s);
    QCOMPARE(FTopology->count(), 14);
    QTest::keyClick(FTopology, Qt::Key_Return);
    QCOMPARE(FTopology->count(), 14); // never added as a name
}

void tst_NetworkButtonForm::leavingTheBoxesRunsTheirExit()
{
    FForm->EditNetworkButton(FNetwork);
    TypeInto(FTopology, u"Campus"_s);
    TypeInto(FBandwidth, u"3.5"_s);
    // Opening a box's own list is no exit.
    QFocusEvent toPopup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(FTopology, &toPopup);
    QCoreApplication::sendEvent(FBandwidth, &toPopup);
    QCOMPARE(FTopology->count(), 14);
    QCOMPARE(FBandwidth->findText(u"3.5"_s), -1);
    QFocusEvent away(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(FTopology, &away);
    QCoreApplication::sendEvent(FBandwidth, &away);
    QCOMPARE(FTopology->itemText(14), u"Campus"_s);
    QCOMPARE(FForm->SelectedTopologyIndex(), 14);
    QVERIFY(FBandwidth->findText(u"3.5"_s) >= 0);
}

void tst_NetworkButtonForm::anotherWindowIsNoExit_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::newRow("topology") << "TopologyComboBox" << "Camp";
    QTest::newRow("bandwidth") << "BandwidthComboBox" << "12.7";
}

void tst_NetworkButtonForm::anotherWindowIsNoExit()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    auto *combo = FForm->findChild<QComboBox *>(box);
    QVERIFY(combo);
    FForm->EditNetworkButton(FNetwork);
    PickTopology(10);
    // Qt reports a window switch to the focus widget as a focus-out with
    // ActiveWindowFocusReason; that takes windows the platform activates.
    FForm->activateWindow();
    if (!QTest::qWaitForWindowActive(FForm))
        QSKIP("The platform does not activate windows");
    combo->setFocus(Qt::TabFocusReason);
    TypeInto(combo, typed);
    const int items = combo->count();

    TFocusOutRecorder focusOut(combo);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(focusOut.Reasons, QList<Qt::FocusReason>{Qt::ActiveWindowFocusReason});
    QCOMPARE(combo->count(), items);
    QCOMPARE(combo->currentText(), typed);

    // Back in the dialog the box has the focus again; Tab leaves it.
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm));
    QVERIFY(combo->hasFocus());
    QTest::keyClick(combo, Qt::Key_Tab);
    QCOMPARE(focusOut.Reasons.last(), Qt::TabFocusReason);
    QCOMPARE(combo->count(), items + 1);
    QCOMPARE(combo->itemText(items), typed);
}

void tst_NetworkButtonForm::typedBandwidthIsAppended()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(10);
    TypeInto(FBandwidth, u"12.5"_s);
    QTest::keyClick(FBandwidth, Qt::Key_Return);
    QCOMPARE(FBandwidth->count(), WanBandwidthList().size() + 1);
    QCOMPARE(FBandwidth->itemText(FBandwidth->count() - 1), u"12.5"_s);
    QCOMPARE(FBandwidth->currentText(), u"12.5"_s);
    QVERIFY(FForm->isVisible());
    QTest::keyClick(FBandwidth, Qt::Key_Return);
    QCOMPARE(FBandwidth->count(), WanBandwidthList().size() + 1); // only once
    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QCOMPARE(FNetwork->Bandwidth, 12.5);
    QCOMPARE(FNetwork->DisplayName(), u"T1 (12.5 Mbps)"_s);
}

void tst_NetworkButtonForm::bandwidthKeyFilter()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(4);
    TypeInto(FBandwidth, u"1a2 b.-x3,"_s);
    QCOMPARE(FBandwidth->currentText(), u"12.3"_s);
    // The topology box takes any text.
    TypeInto(FTopology, u"X-1 a"_s);
    QCOMPARE(FTopology->currentText(), u"X-1 a"_s);
}

void tst_NetworkButtonForm::bandwidthEditingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keyText"); // as the platform delivers it
    QTest::addColumn<int>("cursor");      // before the key
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("cursorAfter");
    QTest::newRow("Delete, text DEL (X11)") << int(Qt::Key_Delete) << u"\x7f"_s << 0 << u"2.5"_s << 0;
    QTest::newRow("Delete, no text") << int(Qt::Key_Delete) << QString() << 0 << u"2.5"_s << 0;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << u"\b"_s << 4 << u"12."_s << 3;
    QTest::newRow("Backspace at the start") << int(Qt::Key_Backspace) << u"\b"_s << 0 << u"12.5"_s << 0;
    QTest::newRow("End") << int(Qt::Key_End) << QString() << 0 << u"12.5"_s << 4;
}

void tst_NetworkButtonForm::bandwidthEditingKeys()
{
    QFETCH(int, key);
    QFETCH(QString, keyText);
    QFETCH(int, cursor);
    QFETCH(QString, expected);
    QFETCH(int, cursorAfter);
    FForm->EditNetworkButton(FNetwork);
    PickTopology(4);
    TypeInto(FBandwidth, u"12.5"_s);
    FBandwidth->lineEdit()->setCursorPosition(cursor);
    QTest::sendKeyEvent(QTest::Click, FBandwidth, Qt::Key(key), keyText, Qt::NoModifier);
    QCOMPARE(FBandwidth->currentText(), expected);
    QCOMPARE(FBandwidth->lineEdit()->cursorPosition(), cursorAfter);
}

void tst_NetworkButtonForm::emptyBandwidthBecomesZero()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(4);
    FBandwidth->lineEdit()->selectAll();
    QTest::keyClick(FBandwidth, Qt::Key_Delete);
    QCOMPARE(FBandwidth->currentText(), QString());
    QTest::keyClick(FBandwidth, Qt::Key_Return);
    QCOMPARE(FBandwidth->currentText(), u"0"_s);
    QCOMPARE(FBandwidth->count(), 3); // "0" is never a choice

    // OK by its access key leaves the focus in the box, so no exit ran yet.
    FBandwidth->setEditText(QString());
    FForm->ButtonClick(FForm->OKButton);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(FNetwork->Bandwidth, 0.0);
    QCOMPARE(FNetwork->NetworkName, u"Ethernet"_s);
}

void tst_NetworkButtonForm::okKeepsTheValuesLeftAlone_data()
{
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // empty: the box is left alone
    QTest::addColumn<double>("stored");
    const double pi = 3.14159265358979;
    QTest::newRow("more digits than shown") << 1.5444444 << "1.54444" << "" << 1.5444444;
    QTest::newRow("shown with an exponent") << 12345678.9 << "1.23457E7" << "" << 12345678.9;
    QTest::newRow("tiny rate") << 1.23456789e-7 << "1.23457E-7" << "" << 1.23456789e-7;
    QTest::newRow("typed over") << pi << "3.14159" << "3.1" << 3.1;
    QTest::newRow("typed as shown") << pi << "3.14159" << "3.14159" << pi;
}

void tst_NetworkButtonForm::okKeepsTheValuesLeftAlone()
{
    QFETCH(double, bandwidth);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(double, stored);
    SetNetwork(*FNetwork, K::nbFrameRelay, u"Frame Relay"_s, 6, bandwidth, std::numeric_limits<qint32>::max());
    FForm->EditNetworkButton(FNetwork);
    QCOMPARE(FBandwidth->currentText(), shown);
    if (!typed.isEmpty())
        TypeInto(FBandwidth, typed);
    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QVERIFY(!FForm->isVisible());
    // Exactly, not to within QCOMPARE's tolerance for doubles.
    QVERIFY2(FNetwork->Bandwidth == stored, qPrintable(QString::number(FNetwork->Bandwidth, 'g', 17)));
    QCOMPARE(FNetwork->PropDelay, std::numeric_limits<qint32>::max());
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbFrameRelay);
    QCOMPARE(FNetwork->TopologyIndex, qint16(6));
}

void tst_NetworkButtonForm::invalidBandwidthStoresNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("lone point") << ".";
    QTest::newRow("pasted text") << "ten";
    QTest::newRow("pasted negative") << "-1.544";
}

void tst_NetworkButtonForm::invalidBandwidthStoresNothing()
{
    QFETCH(QString, text);
    QSignalSpy applied(FForm, &TNetworkButtonForm::OnApply);
    FForm->EditNetworkButton(FNetwork);
    PickTopology(8);
    // The key filter passes these characters, or they come from the clipboard.
    FBandwidth->setEditText(text);
    try {
        FForm->ButtonClick(FForm->OKButton);
        QFAIL("accepted");
    } catch (const TVorlError &e) {
        QCOMPARE(e.Message(), u"'%1' is not a valid floating point value"_s.arg(text));
    }
    QVERIFY(FForm->isVisible());
    QCOMPARE(applied.size(), 0);
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(FNetwork->NetworkName, u"<Unknown Topology>"_s);
    QCOMPARE(FNetwork->PropDelay, 0);
    QCOMPARE(FNetwork->DisplayName(), u"<Unknown Topology>"_s);
}

void tst_NetworkButtonForm::nodeB()
{
    TNetworkElement node;
    node.SetNetworkButtonKind(K::nbTowerCPU);
    node.NetworkName = u"Node B"_s;
    node.PacketSize = 1024;
    node.ProcessTime = 3;
    FForm->EditNetworkButton(&node);
    QVERIFY(FForm->StationPanel->isVisible());
    QVERIFY(!FForm->NetworkPanel->isVisible());
    QCOMPARE(FForm->windowTitle(), u"Node B Properties"_s);
    QCOMPARE(FForm->height(), TNetworkButtonForm::NodeClientHeight);
    QCOMPARE(FForm->OKButton->y(), 104);
    QCOMPARE(FForm->PacketSizeSpinEdit->Value(), 1024);
    QCOMPARE(FForm->ProcessTimeSpinEdit->Value(), 3);
    SaveGrab(u"networkbuttonform-nodeb"_s);

    FForm->PacketSizeSpinEdit->selectAll();
    QTest::keyClicks(FForm->PacketSizeSpinEdit, u"2048"_s);
    FForm->ProcessTimeSpinEdit->SetValue(20);
    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QCOMPARE(node.PacketSize, 2048);
    QCOMPARE(node.ProcessTime, 20);
    QCOMPARE(node.DisplayName(), u"Node B (2048 bytes)"_s);
    QCOMPARE(node.NetworkButtonKind(), K::nbTowerCPU);

    // Back to a network: the taller layout again.
    FForm->EditNetworkButton(FNetwork);
    QCOMPARE(FForm->height(), TNetworkButtonForm::NetworkClientHeight);
    QCOMPARE(FForm->OKButton->y(), 136);
    QVERIFY(FForm->NetworkPanel->isVisible());
    QVERIFY(!FForm->StationPanel->isVisible());
}

void tst_NetworkButtonForm::applyStaysOpenCancelStoresNothing()
{
    QSignalSpy applied(FForm, &TNetworkButtonForm::OnApply);
    FForm->EditNetworkButton(FNetwork);
    PickTopology(10);
    QTest::mouseClick(FForm->ApplyButton, Qt::LeftButton);
    QVERIFY(FForm->isVisible());
    QCOMPARE(applied.size(), 1);
    QCOMPARE(FNetwork->NetworkName, u"T1"_s);

    PickTopology(11);
    QTest::mouseClick(FForm->CancelButton, Qt::LeftButton);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(applied.size(), 1);
    QCOMPARE(FNetwork->NetworkName, u"T1"_s);
    QCOMPARE(FNetwork->Bandwidth, 1.544);
}

void tst_NetworkButtonForm::escapeCancels()
{
    FForm->EditNetworkButton(FNetwork);
    PickTopology(4);
    QTest::keyClick(FForm, Qt::Key_Escape);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbUnknownNetwork);
}

void tst_NetworkButtonForm::loadingANetwork_data()
{
    QTest::addColumn<TNetworkButtonKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("topologyIndex");
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<int>("propDelay");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("delayEnabled");
    // The first load configures the dialog fully; the element's delay wins over the kind's default.
    QTest::newRow("first load, own delay") << K::nb56Switched << "56-Switched" << 0 << 0.056 << 33
                                           << QStringList{u"0.056"_s} << 0 << true;
    QTest::newRow("listed name, kind Other kept") << K::nbOther << "Ethernet" << 4 << 10.0 << 0
                                                  << FullBandwidthList() << 9 << true;
    QTest::newRow("LAN kind, fixed delay") << K::nbEthernet << "Ethernet" << 4 << 100.0 << 0
                                           << QStringList{u"10"_s, u"100"_s, u"1000"_s} << 1 << false;
    QTest::newRow("unlisted rate appended") << K::nbTCarrier << "T1" << 10 << 12.5 << 5
                                            << WanBandwidthList() + QStringList{u"12.5"_s} << 9 << true;
}

void tst_NetworkButtonForm::loadingANetwork()
{
    QFETCH(TNetworkButtonKind, kind);
    QFETCH(QString, name);
    QFETCH(int, topologyIndex);
    QFETCH(double, bandwidth);
    QFETCH(int, propDelay);
    QFETCH(QStringList, choices);
    QFETCH(int, choice);
    QFETCH(bool, delayEnabled);
    TNetworkElement element;
    SetNetwork(element, kind, name, topologyIndex, bandwidth, propDelay);
    FForm->EditNetworkButton(&element);
    QCOMPARE(FForm->Kind(), std::optional(kind));
    QCOMPARE(FTopology->currentIndex(), topologyIndex);
    QCOMPARE(FTopology->currentText(), name);
    QCOMPARE(FForm->SelectedTopologyIndex(), topologyIndex);
    QCOMPARE(Items(FBandwidth), choices);
    QCOMPARE(FBandwidth->currentIndex(), choice);
    QCOMPARE(FPropDelay->Value(), propDelay);
    QCOMPARE(FPropDelay->isEnabled(), delayEnabled);
    QCOMPARE(FForm->windowTitle(), name + u" Properties"_s);
}

void tst_NetworkButtonForm::onlyTheSelectedItemCounts()
{
    // Loading another element never stores anything into the one shown before.
    FForm->EditNetworkButton(FNetwork);
    PickTopology(4);
    TNetworkElement other;
    SetNetwork(other, K::nbSatellite, u"Satellite"_s, 8, 0.512, 270);
    FForm->EditNetworkButton(&other);
    QCOMPARE(FNetwork->NetworkButtonKind(), K::nbUnknownNetwork);
    QCOMPARE(FForm->EditedElement(), &other);
    QCOMPARE(FForm->SelectedTopologyIndex(), 8);
}

// The chain's element left while the dialog had it: OK and Apply store
// nowhere, and only say that they ran.
void tst_NetworkButtonForm::releasedElementIsNoLongerEdited()
{
    QSignalSpy applied(FForm, &TNetworkButtonForm::OnApply);
    auto element = std::make_unique<TNetworkElement>();
    FForm->EditNetworkButton(element.get());
    TNetworkElement other;
    FForm->ReleaseElement(&other);
    FForm->ReleaseElement(nullptr);
    QCOMPARE(FForm->EditedElement(), element.get());
    FForm->ReleaseElement(element.get());
    QCOMPARE(FForm->EditedElement(), nullptr);
    element.reset();

    PickTopology(10);
    QTest::mouseClick(FForm->ApplyButton, Qt::LeftButton);
    QCOMPARE(applied.size(), 1);
    QTest::mouseClick(FForm->OKButton, Qt::LeftButton);
    QCOMPARE(applied.size(), 2);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(FNetwork->DisplayName(), UnknownTopologyName);

    // The next element loaded is edited again.
    FForm->EditNetworkButton(FNetwork);
    QCOMPARE(FForm->EditedElement(), FNetwork);
}

void tst_NetworkButtonForm::offeredTopologies_data()
{
    QTest::addColumn<QStringList>("names"); // offered in this order
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<QStringList>("appended");
    QTest::newRow("listed") << QStringList{u"T1"_s, u"X.25"_s} << QList<int>{10, 13} << QStringList();
    QTest::newRow("typed in an earlier run, once")
        << QStringList{u"Campus fibre"_s, u"T3"_s, u"Campus fibre"_s} << QList<int>{14, 11, 14}
        << QStringList{u"Campus fibre"_s};
    QTest::newRow("case counts") << QStringList{u"ethernet"_s} << QList<int>{14} << QStringList{u"ethernet"_s};
    QTest::newRow("no topology") << QStringList{QString(), u"<Unknown Topology>"_s} << QList<int>{-1, -1}
                                 << QStringList();
}

void tst_NetworkButtonForm::offeredTopologies()
{
    QFETCH(QStringList, names);
    QFETCH(QList<int>, indexes);
    QFETCH(QStringList, appended);
    QSignalSpy changed(FTopology, &QComboBox::currentIndexChanged);
    for (qsizetype i = 0; i < names.size(); ++i)
        QCOMPARE(FForm->OfferTopology(names.at(i)), indexes.at(i));
    QCOMPARE(Items(FTopology).mid(14), appended);
    // Offering is no choice: the box still shows what it showed.
    QCOMPARE(FTopology->currentText(), UnknownTopologyName);
    QCOMPARE(changed.size(), 0);
    QVERIFY(!FForm->Kind());
}

void tst_NetworkButtonForm::offeredBandwidths()
{
    FForm->SetKind(K::nbTCarrier);
    for (const QString &text : {u"0"_s, u"1.544"_s, u"12.5"_s, u"12.5"_s})
        FForm->OfferBandwidth(text);
    QCOMPARE(Items(FBandwidth), WanBandwidthList() + QStringList{u"12.5"_s});
    // Loading a network of the same kind keeps the offered rate.
    SetNetwork(*FNetwork, K::nbTCarrier, u"T1"_s, 10, 12.5, 5);
    FForm->EditNetworkButton(FNetwork);
    QCOMPARE(FBandwidth->currentIndex(), WanBandwidthList().size());
    QCOMPARE(FBandwidth->count(), WanBandwidthList().size() + 1);
}

QTEST_MAIN(tst_NetworkButtonForm)
#include "tst_networkbuttonform.moc"
