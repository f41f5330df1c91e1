#include "ipsubnet/CIDRPage.h"

#include <QLabel>

#include "tests/ipsubnet/SubnetAreaTest.h"

using namespace Qt::StringLiterals;

class tst_CIDRPage : public TSubnetAreaTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedInitialDisplay();
    void octetExit_data();
    void octetExit();
    void supernetBitsCrossClasses();
    void classAWithTwentyThreeBits();
    void nothingMarksTheTableDirty();
    void bitModeChosenHereTakesEffectOnLeaving();

private:
    QLineEdit *Octet(int index) const;
    QStringList Octets() const;
};

void tst_CIDRPage::init()
{
    SetUpArea();
    ShowPage(FArea->CIDRTab);
}

void tst_CIDRPage::cleanup()
{
    TearDownArea();
}

QLineEdit *tst_CIDRPage::Octet(int index) const
{
    return FArea->findChild<QLineEdit *>(u"MaskEdit%1"_s.arg(5 + index));
}

QStringList tst_CIDRPage::Octets() const
{
    return {Octet(0)->text(), Octet(1)->text(), Octet(2)->text(), Octet(3)->text()};
}

void tst_CIDRPage::workedInitialDisplay()
{
    QCOMPARE(Octets(), (QStringList{u"192"_s, u"0"_s, u"0"_s, u"1"_s}));
    QCOMPARE(FArea->BitsSpinEdit->Value(), 23);
    QCOMPARE(Caption("NumNetworksPanel"), u"2"_s);
    QCOMPARE(Caption("AllocationPanel"), u"192.0.0.0  -  192.0.1.255"_s);
    QCOMPARE(Caption("RouteMaskPanel"), u"192.0.0.0  /  255.255.254.0"_s);
    QCOMPARE(Caption("HexRouteMaskPanel"), u"C0.00.00.00  /  FF.FF.FE.00"_s);
    QCOMPARE(FArea->AddressTypeRadioGroup->title(), u"Address Prefix"_s);
    QCOMPARE(FArea->BitsLabel->text(), u"&Supernet Bits"_s);
    // The access key of the address label reaches the first octet.
    bool buddyFound = false;
    for (QLabel *label : FArea->CIDRTab->findChildren<QLabel *>())
        if (label->text() == u"&IP Address"_s)
            buddyFound = label->buddy() == Octet(0);
    QVERIFY(buddyFound);

    // Leaving gives the selector and the field back to the subnet.
    ShowPage(FArea->GeneralInfoTab);
    QCOMPARE(FArea->AddressTypeRadioGroup->title(), u"Address Type"_s);
    QCOMPARE(FArea->BitsLabel->text(), u"&Subnet Bits"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 8);
}

void tst_CIDRPage::octetExit_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty first octet") << 0 << QString() << u"1"_s;
    QTest::newRow("300 in the first octet") << 0 << u"300"_s << u"223"_s;
    QTest::newRow("127 in the first octet") << 0 << u"127"_s << u"126"_s;
    QTest::newRow("empty second octet") << 1 << QString() << u"0"_s;
    QTest::newRow("300 in the third octet") << 2 << u"300"_s << u"255"_s;
    QTest::newRow("0 in the last octet") << 3 << u"0"_s << u"0"_s;
    QTest::newRow("255 in the last octet") << 3 << u"255"_s << u"255"_s;
}

void tst_CIDRPage::octetExit()
{
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit *field = Octet(index);
    field->setFocus();
    field->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, typed);
    // Enter applies the field like leaving it.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), shown);
    QCOMPARE(int(FArea->Supernet().GetByte(quint8(index))), shown.toInt());
}

void tst_CIDRPage::supernetBitsCrossClasses()
{
    ClickClass(1);
    QCOMPARE(Octet(0)->text(), u"128"_s);
    SetBits(16);
    SetBits(17);
    QCOMPARE(Octet(0)->text(), u"192"_s);
    QCOMPARE(FArea->Supernet().ClassType(), TIPClassType::icClassC);
    QCOMPARE(CheckedClass(), 2);

    SetBits(3);
    SetBits(2);
    QCOMPARE(Octet(0)->text(), u"128"_s);
    QCOMPARE(FArea->Supernet().ClassType(), TIPClassType::icClassB);
    QCOMPARE(CheckedClass(), 1);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 2);
}

void tst_CIDRPage::classAWithTwentyThreeBits()
{
    ClickClass(0);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 7);
    QCOMPARE(Octet(0)->text(), u"1"_s);
    QCOMPARE(Caption("NumNetworksPanel"), u"2"_s);
}

void tst_CIDRPage::nothingMarksTheTableDirty()
{
    ShowPage(FArea->SubnetHostTab);
    QVERIFY(!FArea->SubnetTableDirty());
    ShowPage(FArea->CIDRTab);
    SetBits(12);
    ClickClass(0);
    TypeOctet(Octet(1), u"7"_s);
    QCOMPARE(Octet(1)->text(), u"7"_s);
    QVERIFY(!FArea->SubnetTableDirty());
    // The subnet model is untouched: class B, 8 subnet bits.
    QCOMPARE(FArea->Subnet().ClassType(), TIPClassType::icClassB);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 8);
}

void tst_CIDRPage::bitModeChosenHereTakesEffectOnLeaving()
{
    SetBits(20);
    FArea->NetworkBitsMenuItem->trigger();
    QVERIFY(FArea->NetworkBitsMenuItem->isChecked());
    // Only the check mark: the page keeps its supernet label, range and count.
    QCOMPARE(FArea->BitsLabel->text(), u"&Supernet Bits"_s);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 1);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 24);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 20);
    QCOMPARE(int(FArea->Supernet().SupernetBits()), 20);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 8);

    ShowPage(FArea->GeneralInfoTab);
    QCOMPARE(FArea->AddressTypeRadioGroup->title(), u"Address Type"_s);
    QCOMPARE(FArea->BitsLabel->text(), u"&Network Bits"_s);
    QCOMPARE(FArea->BitsSpinEdit->Value(), 24);
    QCOMPARE(FArea->BitsSpinEdit->MinValue(), 18);
    QCOMPARE(FArea->BitsSpinEdit->MaxValue(), 30);
    QCOMPARE(int(FArea->Subnet().SubnetBits()), 8);
    QCOMPARE(int(FArea->Supernet().SupernetBits()), 20);
}

QTEST_MAIN(tst_CIDRPage)
#include "tst_cidrpage.moc"
