#pragma once

#include <QObject>

class QSocketNotifier;

/// SIGTERM, SIGINT and SIGHUP, brought to the main thread: the handler only writes the signal's
/// number into a pipe, and the main thread reads it when the pipe has data, so the program can
/// end through its normal close instead of dying mid-save. One per process.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    /// Main thread: from now on the three signals are reported, not fatal.
    explicit TerminationSignals(QObject* parent = nullptr);
    /// Main thread: the signals take their default action again.
    ~TerminationSignals() override;

signals:
    /// Main thread: the signal that asked the program to end.
    void terminationRequested(int signal);

private:
    /// Main thread: the pipe has data.
    void readSignals();

    QSocketNotifier* m_notifier; // child
};
