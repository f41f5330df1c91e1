#include <QTest>

#include "prefix/PrefixSettings.h"
#include "tests/common/MemoryStore.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TStoreValue)

namespace {

void StoreGoodValues(TMemoryStore &store)
{
    store.WriteValue(PrefixSettingsKey, u"Entry"_s, TStoreValue::FromText(u"2001:db8::/32"_s));
    store.WriteValue(PrefixSettingsKey, u"SplitLength"_s, TStoreValue::FromInteger(40));
    store.WriteValue(PrefixSettingsKey, u"GoTo"_s, TStoreValue::FromText(u"4,000,000"_s));
    store.WriteValue(PrefixSettingsKey, u"Plan"_s, TStoreValue::FromText(u"Core 4\nEdge 8"_s));
    store.WriteValue(PrefixSettingsKey, u"Summary"_s, TStoreValue::FromText(u"10.0.0.0/8 # all"_s));
    store.WriteValue(PrefixSettingsKey, u"Page"_s, TStoreValue::FromInteger(2));
}

} // namespace

// The "Prefix" subkey: read without trusting it, written whole.
class tst_PrefixSettings : public QObject
{
    Q_OBJECT
private slots:
    void noSubkeyReadsNothing();
    void goodValuesAreRead();
    void missingValuesKeepTheirDefaults();
    void badValueKeepsItsDefaultAndTheOthers_data();
    void badValueKeepsItsDefaultAndTheOthers();
    void writeThenRead();
    void overlongTextKeepsTheLinesThatFit_data();
    void overlongTextKeepsTheLinesThatFit();
};

void tst_PrefixSettings::noSubkeyReadsNothing()
{
    TMemoryStore store;
    QVERIFY(!ReadPrefixSettings(store));
}

void tst_PrefixSettings::goodValuesAreRead()
{
    TMemoryStore store;
    StoreGoodValues(store);
    const std::optional<TPrefixSettings> settings = ReadPrefixSettings(store);
    QVERIFY(settings);
    QCOMPARE(settings->Entry, u"2001:db8::/32"_s);
    QCOMPARE(settings->SplitLength, 40);
    QCOMPARE(settings->GoTo, u"4,000,000"_s);
    QCOMPARE(settings->Plan, u"Core 4\nEdge 8"_s);
    QCOMPARE(settings->Summary, u"10.0.0.0/8 # all"_s);
    QCOMPARE(settings->Page, 2);
    QCOMPARE(settings->Problems, QStringList());
}

void tst_PrefixSettings::missingValuesKeepTheirDefaults()
{
    TMemoryStore store;
    store.CreateKey(PrefixSettingsKey);
    store.WriteValue(PrefixSettingsKey, u"Page"_s, TStoreValue::FromInteger(3));
    const std::optional<TPrefixSettings> settings = ReadPrefixSettings(store);
    QVERIFY(settings);
    const TPrefixSettings defaults;
    QCOMPARE(settings->Entry, defaults.Entry);
    QCOMPARE(settings->Plan, defaults.Plan);
    QCOMPARE(settings->SplitLength, 0);
    QCOMPARE(settings->Page, 3);
    QCOMPARE(settings->Problems, QStringList());
}

void tst_PrefixSettings::badValueKeepsItsDefaultAndTheOthers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TStoreValue>("value");
    const auto text = [](const QString &t) { return TStoreValue::FromText(t); };
    const auto integer = [](qint32 i) { return TStoreValue::FromInteger(i); };
    QTest::newRow("entry as an integer") << u"Entry"_s << integer(24);
    QTest::newRow("entry of two lines") << u"Entry"_s << text(u"10.0.0.0/8\n10.0.0.0/9"_s);
    QTest::newRow("entry longer than its field") << u"Entry"_s << text(QString(101, u'1'));
    QTest::newRow("split length as text") << u"SplitLength"_s << text(u"24"_s);
    QTest::newRow("split length past 128") << u"SplitLength"_s << integer(129);
    QTest::newRow("split length below 0") << u"SplitLength"_s << integer(-1);
    QTest::newRow("split length absurd") << u"SplitLength"_s << integer(INT_MIN);
    QTest::newRow("go to longer than its field") << u"GoTo"_s << text(QString(61, u'9'));
    QTest::newRow("go to with a line break") << u"GoTo"_s << text(u"1\r"_s);
    QTest::newRow("plan as binary") << u"Plan"_s << TStoreValue::FromBinary("Sales 120");
    QTest::newRow("plan past the store's text") << u"Plan"_s
                                                << text(QString(TPrefixSettings::MaxStoredTextLength + 1, u'x'));
    TStoreValue untyped = TStoreValue::FromBinary("x");
    untyped.Type = TStoreType::stUntyped;
    QTest::newRow("summary untyped") << u"Summary"_s << untyped;
    QTest::newRow("page 4") << u"Page"_s << integer(4);
    QTest::newRow("page as text") << u"Page"_s << text(u"1"_s);
}

void tst_PrefixSettings::badValueKeepsItsDefaultAndTheOthers()
{
    QFETCH(QString, name);
    QFETCH(TStoreValue, value);
    TMemoryStore store;
    StoreGoodValues(store);
    store.WriteValue(PrefixSettingsKey, name, value);
    const std::optional<TPrefixSettings> settings = ReadPrefixSettings(store);
    QVERIFY(settings);
    QCOMPARE(settings->Problems, QStringList{u"Invalid data type for '%1'"_s.arg(name)});
    const TPrefixSettings defaults;
    QCOMPARE(settings->Entry, name == u"Entry" ? defaults.Entry : u"2001:db8::/32"_s);
    QCOMPARE(settings->SplitLength, name == u"SplitLength" ? 0 : 40);
    QCOMPARE(settings->GoTo, name == u"GoTo" ? QString() : u"4,000,000"_s);
    QCOMPARE(settings->Plan, name == u"Plan" ? defaults.Plan : u"Core 4\nEdge 8"_s);
    QCOMPARE(settings->Summary, name == u"Summary" ? defaults.Summary : u"10.0.0.0/8 # all"_s);
    QCOMPARE(settings->Page, name == u"Page" ? 0 : 2);
}

void tst_PrefixSettings::writeThenRead()
{
    TMemoryStore store;
    TPrefixSettings settings;
    settings.Entry = u"  10.1.2.3 255.255.224.0 "_s;
    settings.SplitLength = 128;
    settings.GoTo = u"340282366920938463463374607431768211456"_s;
    settings.Plan = QString();
    settings.Summary = u"::/0\r\n0.0.0.0/0"_s;
    settings.Page = 3;
    WritePrefixSettings(settings, store);
    QCOMPARE(store.ReadValue(PrefixSettingsKey, u"SplitLength"_s)->Type, TStoreType::stInteger);
    QCOMPARE(store.ReadValue(PrefixSettingsKey, u"Plan"_s)->Type, TStoreType::stText);
    const std::optional<TPrefixSettings> read = ReadPrefixSettings(store);
    QVERIFY(read);
    QCOMPARE(read->Entry, settings.Entry);
    QCOMPARE(read->SplitLength, 128);
    QCOMPARE(read->GoTo, settings.GoTo);
    QCOMPARE(read->Plan, QString());
    QCOMPARE(read->Summary, settings.Summary);
    QCOMPARE(read->Page, 3);
    QCOMPARE(read->Problems, QStringList());
}

void tst_PrefixSettings::overlongTextKeepsTheLinesThatFit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    const int max = TPrefixSettings::MaxStoredTextLength;
    const QString line = u"10.0.0.0/8\n"_s;  // 11 characters
    const QString lines = line.repeated(max / 11);
    QTest::newRow("fits") << lines << lines;
    QTest::newRow("exactly the limit") << QString(max, u'1') << QString(max, u'1');
    QTest::newRow("lines past the limit") << lines + line + line << lines.chopped(1);
    QTest::newRow("one line past the limit") << QString(max + 1, u'1') << QString(max, u'1');
}

void tst_PrefixSettings::overlongTextKeepsTheLinesThatFit()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    TMemoryStore store;
    TPrefixSettings settings;
    settings.Summary = text;
    settings.Plan = text;
    WritePrefixSettings(settings, store);
    const std::optional<TPrefixSettings> read = ReadPrefixSettings(store);
    QCOMPARE(read->Summary, stored);
    QCOMPARE(read->Plan, stored);
    QCOMPARE(read->Problems, QStringList());
}

QTEST_APPLESS_MAIN(tst_PrefixSettings)
#include "tst_prefixsettings.moc"
