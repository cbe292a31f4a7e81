#include "AlarmFixture.h"

#include <QElapsedTimer>
#include <QTest>

class AlarmEnduranceTest : public QObject
{
    Q_OBJECT
private slots:
    void fortyEightHoursOfTriggersEveryTwoSecondsStayWithinTheRules()
    {
        QElapsedTimer wall;
        wall.start();
        AlarmFixture f;
        f.addSound("a.wav");
        f.addSound("b.wav");
        f.tunables.set(Tunable::spnActivationDelay, 0);
        f.armAndWait();
        const qsizetype activationLines = f.report.ReportLines().size();

        const qint64 hours = 48;
        const qint64 triggers = hours * 3600 / 2;
        qsizetype longestQueue = 0;
        qint64 accepted = 0;
        for (qint64 i = 0; i < triggers; ++i) {
            const bool free = f.queue.isEmpty() && !f.playback.IsPlaying() &&
                              !f.controller.TimTempMute().isEnabled();
            const qsizetype linesBefore = f.report.ReportLines().size();
            f.controller.ActivateAlarm(QStringLiteral("Mouse detected"));
            const bool taken = f.controller.TimTempMute().isEnabled() && free;
            QVERIFY2(taken == free, "a trigger was taken while sounding or muted, or refused while free");
            accepted += taken;
            QVERIFY(f.report.ReportLines().size() - linesBefore <= (taken ? 1 : 0));
            longestQueue = std::max(longestQueue, f.queue.entries().size());
            f.clock.advance(2000);
            longestQueue = std::max(longestQueue, f.queue.entries().size());
        }

        // Default sliders: a burst has 51 to 100 sounds, and a new one only starts when the
        // last has ended.
        QVERIFY2(longestQueue <= 100, qPrintable(QString::number(longestQueue)));
        QVERIFY2(accepted > hours * 3600 / 130, qPrintable(QString::number(accepted)));
        // Equal lines within the same minute are written once: at most one line a minute.
        const qsizetype lines = f.report.ReportLines().size();
        QVERIFY2(lines - activationLines <= hours * 60 + 1, qPrintable(QString::number(lines)));
        QVERIFY(lines - activationLines <= accepted);
        QCOMPARE(ReadReportFile(f.report.filePath()), f.report.ReportLines());

        f.controller.ActActivateToggleExecute();
        QVERIFY(f.queue.isEmpty());
        QVERIFY(!f.playback.IsPlaying());
        qInfo("48 h of virtual time: %lld triggers, %lld accepted, %lld report lines, %lld ms wall",
              triggers, accepted, qlonglong(lines), wall.elapsed());
    }
};

QTEST_GUILESS_MAIN(AlarmEnduranceTest)
#include "test_alarm_endurance.moc"
