#include "PinGate.h"

#include "AlarmTrigger.h"
#include "PinPrompt.h"
#include "guard/Pin.h"
#include "report/ReportLog.h"

#include <algorithm>

PinGate::PinGate(QByteArray pinHash, ReportLog& report, AlarmTrigger& trigger, TimerEngine& timers,
                 PinPrompt& prompt, QObject* parent)
    : QObject(parent), m_pinHash(std::move(pinHash)), m_report(report), m_trigger(trigger),
      m_prompt(prompt), m_wait(timers, 1000)
{
    connect(&m_wait, &Timer::timeout, this, [this] {
        m_wait.setEnabled(false);
        m_prompt.showPinWait(0);
    });
}

void PinGate::pass(std::function<void()> action)
{
    if (!guarding()) {
        action();
        return;
    }
    m_pending = std::move(action);
    m_prompt.openPinPrompt();
}

void PinGate::submit(const QString& pin)
{
    if (!m_pending || waiting())
        return;
    const Pin::Check check = Pin::verify(m_pinHash, pin);
    if (check != Pin::Check::Right) {
        if (check == Pin::Check::Damaged && !std::exchange(m_damageReported, true))
            m_report.AddToReport(QStringLiteral("Stored PIN damaged - no PIN can disarm"));
        wrongPin();
        return;
    }
    m_wrongInARow = 0;
    if (Pin::needsRehash(m_pinHash)) {
        const QByteArray stronger = Pin::hash(pin);
        if (!stronger.isEmpty()) {
            m_pinHash = stronger;
            emit pinRehashed(stronger);
        }
    }
    m_prompt.closePinPrompt();
    std::exchange(m_pending, nullptr)();
}

void PinGate::cancel()
{
    // The prompt closes itself.
    m_pending = nullptr;
}

void PinGate::wrongPin()
{
    ++m_wrongInARow;
    m_report.AddToReport(QStringLiteral("Wrong PIN entered"));
    m_prompt.showWrongPin();
    if (m_wrongInARow == WrongPinsBeforeTrigger)
        m_trigger.ActivateAlarm(QStringLiteral("Disarm attempt with a wrong PIN"));
    if (m_wrongInARow <= WrongPinsBeforeTrigger)
        return;
    // 1 s after the fourth, then twice as long each time.
    const int doublings = std::min(m_wrongInARow - WrongPinsBeforeTrigger - 1, 6);
    const int seconds = std::min(1 << doublings, LongestWaitSeconds);
    m_wait.setInterval(seconds * 1000);
    m_wait.setEnabled(true);
    m_prompt.showPinWait(seconds);
}
