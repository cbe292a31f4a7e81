#include "Greeting.h"

#include "settings/gRegistry.h"

GreetingRecord::GreetingRecord(SettingsStore& store, const QString& keyPath, const QString& valueName)
    : m_store(store), m_keyPath(keyPath), m_valueName(valueName)
{
}

bool GreetingRecord::seen() const
{
    return !m_store.ReadSetting(m_keyPath, m_valueName).isEmpty();
}

void GreetingRecord::markSeen()
{
    m_store.WriteSetting(m_keyPath, m_valueName, QStringLiteral("T"));
}

QString ThanksLine(const QString& productName)
{
    return QStringLiteral("Thank you using ") + productName + QLatin1Char('!');
}
