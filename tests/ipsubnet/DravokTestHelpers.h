#pragma once

// Writing the IP subnet calculator's "Dravok" subkey as a damaged store may
// hold it, for the settings and area tests.

#include <QTest>
#include <QVariant>

#include "ipsubnet/SubnetSettings.h"
#include "tests/common/TestEnvironment.h"

// Writes the six values of `good`, then replaces value `spoiled` by
// `stored`: text for a QString, an integer for an int, removed for an
// invalid QVariant. The user's store reads the file again when next used.
inline void WriteDravokSubkey(TTestEnvironment &environment, const TSubnetSettings &good,
                              const QString &spoiled = {}, const QVariant &stored = {})
{
    {
        TRegKey key;
        QVERIFY(key.OpenKey(SubnetSettingsKey, true));
        key.WriteInteger(QStringLiteral("UseSubnetBits"), good.UseSubnetBits ? 1 : 0);
        key.WriteInteger(QStringLiteral("UseRFC1878"), good.UseRFC1878 ? 1 : 0);
        key.WriteString(QStringLiteral("AddressType"), QString(good.AddressType));
        key.WriteInteger(QStringLiteral("SubnetBits"), good.SubnetBits);
        key.WriteInteger(QStringLiteral("SubnetAddress"), qint32(good.SubnetAddress));
        key.WriteInteger(QStringLiteral("SupernetAddress"), qint32(good.SupernetAddress));
        if (stored.typeId() == QMetaType::QString)
            key.WriteString(spoiled, stored.toString());
        else if (stored.isValid())
            key.WriteInteger(spoiled, stored.toInt());
        key.CloseKey();
    }
    if (!spoiled.isEmpty() && !stored.isValid()) {
        // The file again without the value.
        QByteArray kept;
        for (const QByteArray &line : environment.ReadSettingsFile().split('\n'))
            if (!line.startsWith(QByteArray('"' + spoiled.toLatin1() + '"')))
                kept += line + '\n';
        environment.WriteSettingsFile(kept);
    }
    TSettingsStore::ResetInstance();
}
