#pragma once

#include <QString>

class SettingsStore;

/// Whether this user has seen the first-run greeting, kept as a value under a settings key: the
/// greeting shows while the value is missing or empty.
class GreetingRecord
{
public:
    GreetingRecord(SettingsStore& store, const QString& keyPath, const QString& valueName);

    bool seen() const;
    void markSeen();

private:
    SettingsStore& m_store;
    QString m_keyPath;
    QString m_valueName;
};

/// The greeting's thanks line for the product.
QString ThanksLine(const QString& productName);
