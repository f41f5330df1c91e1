#pragma once

// A settings store held in memory, standing in for the Windows registry in
// tests: it is not the settings file, it takes every value as it is written,
// and it outlives the program's "restarts" within a test. Install it with
// TStoreBackend::OverrideUser().

#include <map>
#include <utility>
#include <vector>

#include "app/SettingsStore.h"

class TMemoryStore final : public TStoreBackend
{
public:
    bool KeyExists(const QString &path) const override { return FKeys.count(Folded(path)) > 0; }

    bool CreateKey(const QString &path) override
    {
        QString sub;
        for (const QString &part : path.split(u'\\', Qt::SkipEmptyParts)) {
            sub = sub.isEmpty() ? part : sub + u'\\' + part;
            FKeys[Folded(sub)];
        }
        return !sub.isEmpty();
    }

    QStringList ValueNames(const QString &path) const override
    {
        QStringList names;
        const auto key = FKeys.find(Folded(path));
        if (key != FKeys.end())
            for (const auto &[n, v] : key->second)
                names << n;
        return names;
    }

    bool Save() override { return true; }

protected:
    std::optional<TStoreValue> ReadStoredValue(const QString &path, const QString &name) const override
    {
        const auto key = FKeys.find(Folded(path));
        if (key != FKeys.end())
            for (const auto &[n, v] : key->second)
                if (n.compare(name, Qt::CaseInsensitive) == 0)
                    return v;
        return std::nullopt;
    }

    bool WriteStoredValue(const QString &path, const QString &name, const TStoreValue &value) override
    {
        if (!CreateKey(path))
            return false;
        auto &values = FKeys[Folded(path)];
        for (auto &[n, v] : values)
            if (n.compare(name, Qt::CaseInsensitive) == 0) {
                v = value;
                return true;
            }
        values.emplace_back(name, value);
        return true;
    }

private:
    static QString Folded(const QString &path)
    {
        return path.split(u'\\', Qt::SkipEmptyParts).join(u'\\').toCaseFolded();
    }

    std::map<QString, std::vector<std::pair<QString, TStoreValue>>> FKeys;
};
