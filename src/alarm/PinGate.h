#pragma once

#include "core/Timer.h"

#include <QByteArray>
#include <QObject>
#include <functional>

class AlarmTrigger;
class PinPrompt;
class ReportLog;

/// Stands between the user and whatever would end an armed period (disarming, closing) while a
/// disarm PIN is set: the action waits behind the prompt until the right PIN comes. Wrong PINs
/// in a row are reported; the third is a trigger, and every further one makes the prompt wait
/// twice as long as the last, from 1 s up to 60 s. Without a PIN every action passes at once.
class PinGate : public QObject
{
    Q_OBJECT
public:
    static constexpr int WrongPinsBeforeTrigger = 3;
    static constexpr int LongestWaitSeconds = 60;

    PinGate(QByteArray pinHash, ReportLog& report, AlarmTrigger& trigger, TimerEngine& timers,
            PinPrompt& prompt, QObject* parent = nullptr);

    bool guarding() const { return !m_pinHash.isEmpty(); }
    void setPinHash(const QByteArray& pinHash) { m_pinHash = pinHash; }
    const QByteArray& pinHash() const { return m_pinHash; }

    /// Runs the action now when no PIN is set; else opens the prompt, and the action runs after
    /// the right PIN. A later request while the prompt is open takes the earlier one's place.
    void pass(std::function<void()> action);
    /// The PIN typed into the prompt; ignored while the prompt waits.
    void submit(const QString& pin);
    /// The prompt closed without a PIN: nothing happens, and the count of wrong PINs stays.
    void cancel();
    bool waiting() const { return m_wait.isEnabled(); }
    int wrongInARow() const { return m_wrongInARow; }

signals:
    /// The right PIN came with a hash made under weaker limits than today's: the new hash.
    void pinRehashed(const QByteArray& pinHash);

private:
    void wrongPin();

    QByteArray m_pinHash;
    ReportLog& m_report;
    AlarmTrigger& m_trigger;
    PinPrompt& m_prompt;
    Timer m_wait;
    std::function<void()> m_pending;
    int m_wrongInARow = 0;
    bool m_damageReported = false;
};
