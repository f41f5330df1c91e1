#include <QTest>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>

#include "app/SettingsStore.h"
#include "controls/Beep.h"
#include "controls/Spin.h"
#include "tests/ipsubnet/DravokTestHelpers.h"
#include "tests/ipsubnet/IPAddressTestHelpers.h"
#include "tests/ipsubnet/SubnetAreaTest.h"

using namespace Qt::StringLiterals;

namespace {

const QString DravokKey = MainSettingsKey + u"\\Dravok"_s;

} // namespace

class tst_IPSubnetArea : public TSubnetAreaTest
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstRun();
    void workedAddressDisplay();
    void firstOctetEntry_data();
    void firstOctetEntry();
    void otherOctetEntry_data();
    void otherOctetEntry();
    void enterAppliesWithoutLeaving();
    void windowShortcutsBeatTheFields_data();
    void windowShortcutsBeatTheFields();
    void focusMovesOnAtThreeCharacters();
    void classClicks_data();
    void classClicks();
    void modeSwitchShowsNetworkBits();
    void modeSwitchKeepsTheAddress();
    void rfc1878OffRaisesOneBitToTwo();
    void rfc1878OffOnTheCidrPageWaitsForASubnetPage_data();
    void rfc1878OffOnTheCidrPageWaitsForASubnetPage();
    void steppingTheBitsField();
    void typedBitsApplyBeforeAClickedPageShows_data();
    void typedBitsApplyBeforeAClickedPageShows();
    void cidrPageTakesTheSelectorAndField();
    void settingsRoundTrip();
    void corruptedSubkey_data();
    void corruptedSubkey();
    void textFitsItsControls();
};

void tst_IPSubnetArea::init()
{
    SetUpArea();
    FArea->LoadSettings();
}

void tst_IPSubnetArea::cleanup()
{
    TearDownArea();
}

void tst_IPSubnetArea::firstRun()
{
    QVERIFY(FArea->SubnetBitsMenuItem->isChecked());
    QVERIFY(!FArea->RFC1878MenuItem->isChecked());
    QCOMPARE(FArea->DravokPageControl->ActivePage(), FArea->GeneralInfoTab);
    QCOMPARE(CheckedClass(), 1);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 8);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 2);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 14);
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.0.0.1"_s);

    QCOMPARE(Caption("MaxSubnetsPanel"), u"254"_s);
    QCOMPARE(Caption("MaxHostsPanel"), u"254"_s);
    QCOMPARE(Caption("BitMapPanel"), u"10nnnnnn.nnnnnnnn.ssssssss.hhhhhhhh"_s);
    QCOMPARE(FArea->DecClassMaskLabel->text(), u"Decimal Class B Mask"_s);
    QCOMPARE(FArea->HexClassMaskLabel->text(), u"Hex Class B Mask"_s);
    QCOMPARE(Caption("DecClassMaskPanel"), u"255.255.0.0"_s);
    QCOMPARE(Caption("HexClassMaskPanel"), u"FF.FF.00.00"_s);
    QCOMPARE(Caption("DecMaskPanel"), u"255.255.255.0"_s);
    QCOMPARE(Caption("HexMaskPanel"), u"FF.FF.FF.00"_s);

    ShowPage(FArea->AddressInfoTab);
    QCOMPARE(FArea->MaskEdit1->text(), u"128"_s);
    QCOMPARE(FArea->MaskEdit4->text(), u"1"_s);
    QCOMPARE(FEnvironment->ReadSettingsFile(), QByteArray());
}

void tst_IPSubnetArea::workedAddressDisplay()
{
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit2, u"5"_s);
    TypeOctet(FArea->MaskEdit3, u"3"_s);
    TypeOctet(FArea->MaskEdit4, u"7"_s);
    QCOMPARE(Caption("HexAddressPanel"), u"80.05.03.07"_s);
    QCOMPARE(Caption("AddressRangePanel"), u"128.5.3.1  -  128.5.3.254"_s);
    QCOMPARE(Caption("SubnetMaskPanel"), u"255.255.255.0"_s);
    QCOMPARE(Caption("SubnetIDPanel"), u"0.0.3.0"_s);
    QCOMPARE(Caption("NetworkIDPanel"), u"128.5.3.0"_s);
    QCOMPARE(Caption("HostIDPanel"), u"0.0.0.7"_s);

    ShowPage(FArea->GeneralInfoTab);
    FArea->RFC1878MenuItem->trigger();
    QVERIFY(FArea->Subnet().RFC1878());
    QCOMPARE(Caption("MaxSubnetsPanel"), u"256"_s);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 1);
}

void tst_IPSubnetArea::firstOctetEntry_data()
{
    QTest::addColumn<bool>("networkMode");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("classIndex");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("subnet bits, 10 gives class A") << false << 10 << u"10"_s << u"10"_s
        << 0 << 10 << 10 << 2 << 22;
    QTest::newRow("network bits, 10 keeps /26") << true << 26 << u"10"_s << u"10"_s
        << 0 << 26 << 18 << 10 << 30;
    QTest::newRow("subnet bits, 200 gives class C") << false << 10 << u"200"_s << u"200"_s
        << 2 << 6 << 6 << 2 << 6;
    QTest::newRow("network bits, 200 keeps /26") << true << 26 << u"200"_s << u"200"_s
        << 2 << 26 << 2 << 26 << 30;
    QTest::newRow("127 shows 126") << false << 8 << u"127"_s << u"126"_s << 0 << 8 << 8 << 2 << 22;
    QTest::newRow("0 shows 1") << false << 8 << u"0"_s << u"1"_s << 0 << 8 << 8 << 2 << 22;
    QTest::newRow("240 shows 223") << false << 8 << u"240"_s << u"223"_s << 2 << 6 << 6 << 2 << 6;
    QTest::newRow("999 shows 223") << false << 8 << u"999"_s << u"223"_s << 2 << 6 << 6 << 2 << 6;
    QTest::newRow("empty shows 1") << false << 8 << QString() << u"1"_s << 0 << 8 << 8 << 2 << 22;
}

void tst_IPSubnetArea::firstOctetEntry()
{
    QFETCH(bool, networkMode);
    QFETCH(int, bits);
    QFETCH(QString, typed);
    if (networkMode)
        FArea->NetworkBitsMenuItem->trigger();
    SetBits(bits);
    QCOMPARE(FArea->BitsSpinEdit->Value(), bits);
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit1, typed);

    QTEST(FArea->MaskEdit1->text(), "shown");
    QTEST(CheckedClass(), "classIndex");
    QTEST(FArea->BitsSpinEdit->Value(), "field");
    QTEST(int(FArea->Subnet().SubnetBits()), "subnetBits");
    QTEST(FArea->BitsSpinEdit->MinValue(), "minimum");
    QTEST(FArea->BitsSpinEdit->MaxValue(), "maximum");
    QCOMPARE(CheckedClass(), int(FArea->Subnet().ClassType()));
    QCOMPARE(FArea->BitsLabel->text(), networkMode ? u"&Network Bits"_s : u"&Subnet Bits"_s);
    QCOMPARE(Caption("HexAddressPanel"), FArea->Subnet().HexText());
}

void tst_IPSubnetArea::otherOctetEntry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("address");
    QTest::newRow("last octet 0 shows 1") << 3 << u"0"_s << u"128.0.5.1"_s;
    QTest::newRow("last octet 255 shows 254") << 3 << u"255"_s << u"128.0.5.254"_s;
    QTest::newRow("last octet empty shows 1") << 3 << QString() << u"128.0.5.1"_s;
    QTest::newRow("second octet 999 shows 255") << 1 << u"999"_s << u"128.255.5.9"_s;
    QTest::newRow("second octet empty shows 0") << 1 << QString() << u"128.0.5.9"_s;
    QTest::newRow("third octet 0 is clamped up") << 2 << u"0"_s << u"128.0.1.1"_s;
    QTest::newRow("third octet 255 is clamped down") << 2 << u"255"_s << u"128.0.254.254"_s;
}

void tst_IPSubnetArea::otherOctetEntry()
{
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, address);
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit3, u"5"_s);
    TypeOctet(FArea->MaskEdit4, u"9"_s);
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.0.5.9"_s);

    QLineEdit *fields[] = {FArea->MaskEdit1, FArea->MaskEdit2, FArea->MaskEdit3, FArea->MaskEdit4};
    TypeOctet(fields[index], typed);
    QCOMPARE(FArea->Subnet().DecimalText(), address);
    const QStringList octets = address.split(u'.');
    for (int i = 0; i < 4; ++i)
        QCOMPARE(fields[i]->text(), octets.at(i));
    QVERIFY(FArea->SubnetTableDirty());
}

void tst_IPSubnetArea::enterAppliesWithoutLeaving()
{
    ShowPage(FArea->AddressInfoTab);
    if (!ActivateWindow())
        QSKIP("The platform did not activate the window");
    FArea->MaskEdit3->setFocus(Qt::TabFocusReason);
    QVERIFY(FArea->MaskEdit3->hasFocus());
    QTest::keyClicks(FArea->MaskEdit3, u"7"_s);
    QTest::keyClick(FArea->MaskEdit3, Qt::Key_Enter);
    QVERIFY(FArea->MaskEdit3->hasFocus());
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.0.7.1"_s);
    QCOMPARE(Caption("NetworkIDPanel"), u"128.0.7.0"_s);
    QCOMPARE(BeepCount(), 0);
}

void tst_IPSubnetArea::windowShortcutsBeatTheFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");

    // The main window's Ctrl+X is Exit and its Ctrl+C the Copy command,
    // whichever field has the focus.
    for (const char *field : {"BitsSpinEdit", "MaskEdit1", "MaskEdit4"}) {
        QTest::addRow("Ctrl+X in %s", field) << QString::fromLatin1(field) << int(Qt::Key_X);
        QTest::addRow("Ctrl+C in %s", field) << QString::fromLatin1(field) << int(Qt::Key_C);
    }
}

void tst_IPSubnetArea::windowShortcutsBeatTheFields()
{
    QFETCH(QString, field);
    QFETCH(int, key);

    auto *action = new QAction(FArea.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
    FArea->addAction(action);
    QSignalSpy spy(action, &QAction::triggered);
    ShowPage(FArea->AddressInfoTab);
    if (!ActivateWindow())
        QSKIP("Shortcuts need an active window");
    auto *edit = FArea->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    const QString before = edit->text();
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(edit->text(), before);
}

void tst_IPSubnetArea::focusMovesOnAtThreeCharacters()
{
    ShowPage(FArea->AddressInfoTab);
    if (!ActivateWindow())
        QSKIP("The platform did not activate the window");
    FArea->MaskEdit1->setFocus(Qt::TabFocusReason);
    QVERIFY(FArea->MaskEdit1->hasFocus());
    // Focus in by Tab selects the field, so typing replaces it.
    QTest::keyClicks(FArea->MaskEdit1, u"172"_s);
    QTRY_VERIFY(FArea->MaskEdit2->hasFocus());
    // Leaving the first octet applied it.
    QCOMPARE(FArea->Subnet().GetByte(0), quint8(172));
    QTest::keyClicks(FArea->MaskEdit2, u"16"_s);
    QVERIFY(FArea->MaskEdit2->hasFocus());
    QTest::keyClick(FArea->MaskEdit2, Qt::Key_Tab);
    QTRY_VERIFY(FArea->MaskEdit3->hasFocus());
    QCOMPARE(FArea->Subnet().DecimalText(), u"172.16.1.1"_s);
    QTest::keyClicks(FArea->MaskEdit3, u"100"_s);
    QTRY_VERIFY(FArea->MaskEdit4->hasFocus());
    QTest::keyClicks(FArea->MaskEdit4, u"200"_s);
    QTRY_VERIFY(FArea->MaskEdit1->hasFocus());
    QCOMPARE(FArea->Subnet().DecimalText(), u"172.16.100.200"_s);
    QCOMPARE(FArea->MaskEdit4->text(), u"200"_s);
}

void tst_IPSubnetArea::classClicks_data()
{
    QTest::addColumn<bool>("networkMode");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("firstOctet");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("subnet bits, B to C cuts to 6") << false << 10 << 2 << 6 << 192 << 2 << 6;
    QTest::newRow("subnet bits, B to A keeps 10") << false << 10 << 0 << 10 << 1 << 2 << 22;
    QTest::newRow("network bits, B /24 to C gives /26") << true << 24 << 2 << 26 << 192 << 26 << 30;
    QTest::newRow("network bits, B /24 to A keeps /24") << true << 24 << 0 << 24 << 1 << 10 << 30;
    QTest::newRow("network bits, B /18 to A keeps /18") << true << 18 << 0 << 18 << 1 << 10 << 30;
}

void tst_IPSubnetArea::classClicks()
{
    QFETCH(bool, networkMode);
    QFETCH(int, bits);
    QFETCH(int, clicked);
    if (networkMode)
        FArea->NetworkBitsMenuItem->trigger();
    SetBits(bits);
    ClickClass(clicked);
    QCOMPARE(int(FArea->Subnet().ClassType()), clicked);
    QTEST(FArea->BitsSpinEdit->Value(), "field");
    QTEST(int(FArea->Subnet().GetByte(0)), "firstOctet");
    QTEST(FArea->BitsSpinEdit->MinValue(), "minimum");
    QTEST(FArea->BitsSpinEdit->MaxValue(), "maximum");
    QCOMPARE(FArea->BitsSpinEdit->Value(),
             networkMode ? FArea->Subnet().NetworkBits() + FArea->Subnet().SubnetBits()
                         : int(FArea->Subnet().SubnetBits()));
    QCOMPARE(Caption("BitMapPanel"), FArea->Subnet().BitMap());

    // Back to class B: the field keeps its count where class B allows it.
    const int field = FArea->BitsSpinEdit->Value();
    ClickClass(1);
    QCOMPARE(FArea->BitsSpinEdit->Value(), networkMode ? qBound(18, field, 30) : qBound(2, field, 14));
}

void tst_IPSubnetArea::modeSwitchShowsNetworkBits()
{
    FArea->NetworkBitsMenuItem->trigger();
    QCOMPARE(FArea->BitsLabel->text(), u"&Network Bits"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 24);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 18);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 30);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 8);

    FArea->RFC1878MenuItem->trigger();
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 17);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 30);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 24);

    FArea->SubnetBitsMenuItem->trigger();
    QCOMPARE(FArea->BitsLabel->text(), u"&Subnet Bits"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 8);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 1);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 14);
}

// The field holds a count of the old mode while the range changes; that
// count must not narrow the subnet even for a moment, which would pull the
// address into the narrower allocation range.
void tst_IPSubnetArea::modeSwitchKeepsTheAddress()
{
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit2, u"5"_s);
    TypeOctet(FArea->MaskEdit3, u"1"_s);
    TypeOctet(FArea->MaskEdit4, u"1"_s);
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.5.1.1"_s);
    FArea->NetworkBitsMenuItem->trigger();
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.5.1.1"_s);
    FArea->SubnetBitsMenuItem->trigger();
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.5.1.1"_s);

    // Coming back from the CIDR page (field 1 to 24) does not either.
    FArea->NetworkBitsMenuItem->trigger();
    ShowPage(FArea->CIDRTab);
    SetBits(2);
    ShowPage(FArea->AddressInfoTab);
    QCOMPARE(FArea->Subnet().DecimalText(), u"128.5.1.1"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 24);
    QCOMPARE(FArea->MaskEdit3->text(), u"1"_s);
}

void tst_IPSubnetArea::rfc1878OffRaisesOneBitToTwo()
{
    FArea->RFC1878MenuItem->trigger();
    QVERIFY(FArea->RFC1878MenuItem->isChecked());
    SetBits(1);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 1);
    QCOMPARE(Caption("MaxSubnetsPanel"), u"2"_s);
    FArea->RFC1878MenuItem->trigger();
    QVERIFY(!FArea->Subnet().RFC1878());
    QCOMPARE(FArea->BitsSpinEdit->Value(), 2);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 2);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 2);
    QCOMPARE(Caption("MaxSubnetsPanel"), u"2"_s);
    QCOMPARE(Caption("BitMapPanel"), u"10nnnnnn.nnnnnnnn.sshhhhhh.hhhhhhhh"_s);
}

void tst_IPSubnetArea::rfc1878OffOnTheCidrPageWaitsForASubnetPage_data()
{
    QTest::addColumn<bool>("networkMode");
    QTest::addColumn<int>("field");
    QTest::newRow("subnet bits") << false << 2;
    QTest::newRow("network bits") << true << 18;
}

// The CIDR page keeps the field for the supernet: the subnet keeps its one
// bit (and the store gets it) until a subnet page shows the field again.
void tst_IPSubnetArea::rfc1878OffOnTheCidrPageWaitsForASubnetPage()
{
    QFETCH(bool, networkMode);
    if (networkMode)
        FArea->NetworkBitsMenuItem->trigger();
    FArea->RFC1878MenuItem->trigger();
    SetBits(networkMode ? 17 : 1);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 1);
    ShowPage(FArea->CIDRTab);
    FArea->RFC1878MenuItem->trigger();
    QVERIFY(!FArea->Subnet().RFC1878());
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 1);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 23);
    FArea->SaveSettings();
    {
        TRegKey key;
        QVERIFY(key.OpenKey(DravokKey, false));
        QCOMPARE(key.ReadInteger(u"SubnetBits"_s), 1);
    }

    ShowPage(FArea->GeneralInfoTab);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 2);
    QTEST(FArea->BitsSpinEdit->Value(), "field");
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), networkMode ? 18 : 2);
    QCOMPARE(Caption("MaxSubnetsPanel"), u"2"_s);
}

void tst_IPSubnetArea::steppingTheBitsField()
{
    TSpinButton *pair = FArea->BitsSpinEdit->SpinButtons();
    QTest::mouseClick(pair->UpButton(), Qt::LeftButton);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 9);
    QCOMPARE(Caption("MaxSubnetsPanel"), u"510"_s);
    QCOMPARE(Caption("MaxHostsPanel"), u"126"_s);
    QTest::keyClick(FArea->BitsSpinEdit, Qt::Key_Down);
    QTest::keyClick(FArea->BitsSpinEdit, Qt::Key_Down);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 7);
    QCOMPARE(Caption("DecMaskPanel"), u"255.255.254.0"_s);
    QTest::keyClick(FArea->BitsSpinEdit, Qt::Key_PageUp);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 14);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 14);
    QCOMPARE(Caption("HexMaskPanel"), u"FF.FF.FF.FC"_s);
    SetBits(40);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 14);
    QCOMPARE(FArea->Subnet().ClassType(), TIPClassType::icClassB);
}

void tst_IPSubnetArea::typedBitsApplyBeforeAClickedPageShows_data()
{
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("toPage");
    QTest::addColumn<int>("subnetBits");
    QTest::addColumn<int>("supernetBits");
    QTest::addColumn<int>("shown");

    QTest::newRow("subnet bits, General Info to Address Info") << 0 << 1 << 12 << 23 << 12;
    QTest::newRow("subnet bits, General Info to CIDR") << 0 << 3 << 12 << 23 << 23;
    QTest::newRow("supernet bits, CIDR to General Info") << 3 << 0 << 8 << 12 << 8;
}

void tst_IPSubnetArea::typedBitsApplyBeforeAClickedPageShows()
{
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(int, subnetBits);
    QFETCH(int, supernetBits);
    QFETCH(int, shown);

    QTabBar *tabs = FArea->DravokPageControl->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(fromPage).center());
    if (!ActivateWindow())
        QSKIP("The platform did not activate the window");
    FArea->BitsSpinEdit->setFocus(Qt::TabFocusReason);
    QVERIFY(FArea->BitsSpinEdit->hasFocus());
    // Typed, not yet committed: leaving the field for the page's tab
    // commits it on the page it was typed for.
    QTest::keyClicks(FArea->BitsSpinEdit, u"12"_s);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(toPage).center());
    QCOMPARE(FArea->DravokPageControl->currentIndex(), toPage);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), subnetBits);
    QCOMPARE(int(FArea->Supernet().SupernetBits()), supernetBits);
    QCOMPARE(FArea->BitsSpinEdit->Value(), shown);
    QCOMPARE(FArea->BitsSpinEdit->text(), QString::number(shown));
}

// The CIDR page drives the supernet model; the subnet's count, class and
// field come back unchanged on leaving it.
void tst_IPSubnetArea::cidrPageTakesTheSelectorAndField()
{
    SetBits(10);
    ShowPage(FArea->CIDRTab);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 1);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 24);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 23);
    QCOMPARE(CheckedClass(), 2);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 10);

    SetBits(17);
    QCOMPARE(int(FArea->Supernet().SupernetBits()), 17);
    SetBits(16);
    QCOMPARE(FArea->Supernet().ClassType(), TIPClassType::icClassC);
    ClickClass(0);
    QCOMPARE(FArea->Supernet().ClassType(), TIPClassType::icClassA);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 7);
    QCOMPARE(FArea->Subnet().ClassType(), TIPClassType::icClassB);

    FArea->NetworkBitsMenuItem->trigger();
    ShowPage(FArea->GeneralInfoTab);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 26);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 18);
    QCOMPARE(CheckedClass(), 1);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 10);
}

void tst_IPSubnetArea::settingsRoundTrip()
{
    FArea->NetworkBitsMenuItem->trigger();
    FArea->RFC1878MenuItem->trigger();
    ClickClass(0);
    SetBits(27);
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit1, u"10"_s);
    TypeOctet(FArea->MaskEdit2, u"20"_s);
    TypeOctet(FArea->MaskEdit4, u"33"_s);
    ShowPage(FArea->CIDRTab);
    QLineEdit *supernetFields[] = {FArea->CIDRTab->MaskEdit5, FArea->CIDRTab->MaskEdit6,
                                   FArea->CIDRTab->MaskEdit7, FArea->CIDRTab->MaskEdit8};
    for (int i = 0; i < 4; ++i)
        TypeOctet(supernetFields[i], i < 2 ? (i == 0 ? u"192"_s : u"168"_s) : u"0"_s);
    QCOMPARE(FArea->Supernet().DecimalText(), u"192.168.0.0"_s);
    const quint32 subnetAddress = FArea->Subnet().GetValue();
    QCOMPARE(TIPAddress::FormatDecimal(subnetAddress), u"10.20.0.33"_s);
    FArea->SaveSettings();
    {
        TRegKey key;
        QVERIFY(key.OpenKey(DravokKey, false));
        QCOMPARE(key.GetDataType(u"UseSubnetBits"_s), TStoreType::stInteger);
        QCOMPARE(key.ReadInteger(u"UseSubnetBits"_s), 0);
        QCOMPARE(key.ReadInteger(u"UseRFC1878"_s), 1);
        QCOMPARE(key.GetDataType(u"AddressType"_s), TStoreType::stText);
        QCOMPARE(key.ReadString(u"AddressType"_s), u"A"_s);
        QCOMPARE(key.ReadInteger(u"SubnetBits"_s), 19);
        QCOMPARE(quint32(key.ReadInteger(u"SubnetAddress"_s)), subnetAddress);
        QCOMPARE(quint32(key.ReadInteger(u"SupernetAddress"_s)), 0xC0A80000u);
    }

    FArea.reset();
    TSettingsStore::ResetInstance();
    FArea = CreateArea();
    FArea->LoadSettings();
    QVERIFY(FArea->NetworkBitsMenuItem->isChecked());
    QVERIFY(FArea->RFC1878MenuItem->isChecked());
    QCOMPARE(FArea->BitsLabel->text(), u"&Network Bits"_s);
    QCOMPARE(CheckedClass(), 0);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 19);
    QCOMPARE(FArea->Subnet().GetValue(), subnetAddress);
    QCOMPARE(FArea->Supernet().DecimalText(), u"192.168.0.0"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 27);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 9);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 30);
    QCOMPARE(FArea->DravokPageControl->ActivePage(), FArea->GeneralInfoTab);
    QCOMPARE(Caption("DecMaskPanel"), u"255.255.255.224"_s);
}

void tst_IPSubnetArea::corruptedSubkey_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("subnetBits");

    QTest::newRow("class letter Q") << u"AddressType"_s << QVariant(u"Q"_s)
        << u"Range check error"_s << u"128.0.1.1"_s << 8;
    QTest::newRow("empty class letter") << u"AddressType"_s << QVariant(QString())
        << u"Failed to get data for 'AddressType'"_s << u"128.0.1.1"_s << 8;
    QTest::newRow("class letter as number") << u"AddressType"_s << QVariant(2)
        << u"Invalid data type for 'AddressType'"_s << u"128.0.1.1"_s << 8;
    QTest::newRow("subnet bits as text") << u"SubnetBits"_s << QVariant(u"12"_s)
        << u"Invalid data type for 'SubnetBits'"_s << u"192.0.1.5"_s << 6;
    QTest::newRow("subnet bits 300") << u"SubnetBits"_s << QVariant(300)
        << u"Range check error"_s << u"192.0.1.5"_s << 6;
    QTest::newRow("subnet bits -1") << u"SubnetBits"_s << QVariant(-1)
        << u"Range check error"_s << u"192.0.1.5"_s << 6;
    QTest::newRow("subnet address missing") << u"SubnetAddress"_s << QVariant()
        << u"Failed to get data for 'SubnetAddress'"_s << u"192.0.1.5"_s << 6;
    QTest::newRow("supernet address missing") << u"SupernetAddress"_s << QVariant()
        << u"Failed to get data for 'SupernetAddress'"_s << u"200.1.2.5"_s << 6;
    QTest::newRow("subnet address with first octet 0") << u"SubnetAddress"_s
        << QVariant(0x00450205) << QString() << u"1.69.2.5"_s << 6;
    QTest::newRow("subnet bits 0") << u"SubnetBits"_s << QVariant(0)
        << QString() << u"200.1.2.129"_s << 2;
}

// Every row starts from a good subkey (network-bits mode, RFC 1878 off,
// class C, 6 bits, 200.1.2.5) and spoils one value.
void tst_IPSubnetArea::corruptedSubkey()
{
    QFETCH(QString, value);
    QFETCH(QVariant, stored);
    QFETCH(QString, message);
    FArea.reset();
    WriteDravokSubkey(*FEnvironment, {false, false, u'C', 6, 0xC8010205, 0xC0000001}, value, stored);

    FArea = std::make_unique<TIPSubnetArea>();
    QCOMPARE(ErrorOf([this] { FArea->LoadSettings(); }), message);
    // The values read before the bad one stay applied.
    QVERIFY(FArea->NetworkBitsMenuItem->isChecked());
    QCOMPARE(FArea->BitsLabel->text(), u"&Network Bits"_s);
    QTEST(FArea->Subnet().DecimalText(), "address");
    QTEST(int(FArea->Subnet().SubnetBits()), "subnetBits");
    // The display follows what was applied.
    QCOMPARE(FArea->BitsSpinEdit->Value(), FArea->Subnet().NetworkBits() + FArea->Subnet().SubnetBits());
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), FArea->Subnet().NetworkBits() + 2);
    QCOMPARE(CheckedClass(), int(FArea->Subnet().ClassType()));
    QCOMPARE(Caption("BitMapPanel"), FArea->Subnet().BitMap());
}

// Every caption must fit its control at the design font; set
// TARVELO_GRAB_DIR to look at the pages as PNG files.
void tst_IPSubnetArea::textFitsItsControls()
{
    // Long values: class A with RFC 1878 and 1 subnet bit.
    FArea->RFC1878MenuItem->trigger();
    FArea->NetworkBitsMenuItem->trigger();
    ShowPage(FArea->AddressInfoTab);
    TypeOctet(FArea->MaskEdit1, u"100"_s);
    TypeOctet(FArea->MaskEdit2, u"200"_s);
    TypeOctet(FArea->MaskEdit3, u"188"_s);
    TypeOctet(FArea->MaskEdit4, u"254"_s);
    SetBits(9);
    const QString grabDir = qEnvironmentVariable("TARVELO_GRAB_DIR");
    for (QWidget *page : QList<QWidget *>{FArea->GeneralInfoTab, FArea->AddressInfoTab, FArea->SubnetHostTab, FArea->CIDRTab}) {
        ShowPage(page);
        if (!grabDir.isEmpty())
        {
            // Twice the size as well, to see single pixels.
            const QPixmap picture = FArea->grab();
            picture.save(QDir(grabDir).filePath(page->objectName() + u".png"_s));
            picture.scaled(picture.size() * 2).save(QDir(grabDir).filePath(page->objectName() + u"-x2.png"_s));
        }
        for (QLabel *label : FArea->findChildren<QLabel *>()) {
            if (!label->isVisibleTo(FArea.get()))
                continue;
            QVERIFY2(label->sizeHint().width() <= label->width()
                         && label->geometry().right() < label->parentWidget()->width()
                         && label->geometry().bottom() < label->parentWidget()->height(),
                     qPrintable(label->text()));
        }
        for (TVorlCustomPanel *panel : FArea->findChildren<TVorlCustomPanel *>()) {
            if (!panel->isVisibleTo(FArea.get()))
                continue;
            const int textWidth = panel->fontMetrics().horizontalAdvance(panel->Caption());
            QVERIFY2(textWidth + 2 * panel->CaptionPadding() <= panel->GetInnerRect().width(),
                     qPrintable(panel->objectName() + u": "_s + panel->Caption()));
            QVERIFY2(panel->geometry().bottom() < page->height(), qPrintable(panel->objectName()));
        }
        QVERIFY(FArea->DravokPageControl->tabBar()->sizeHint().width() <= FArea->DravokPageControl->width());
        for (QRadioButton *item : FArea->AddressTypeRadioGroup->findChildren<QRadioButton *>())
            QVERIFY2(item->sizeHint().width() <= item->width(), qPrintable(item->text()));
        for (QLineEdit *field : FArea->AddressEdit->findChildren<QLineEdit *>()) {
            const int textWidth = field->fontMetrics().horizontalAdvance(u"888"_s);
            QVERIFY(textWidth + 4 <= field->width());
        }
    }
}

QTEST_MAIN(tst_IPSubnetArea)
#include "tst_ipsubnetarea.moc"
