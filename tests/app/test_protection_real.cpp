// The disarm PIN and keyboard detection on the real program under the headless X server: Esc,
// the Exit button and a termination signal while armed, the prompt answered with typed keys,
// and keys pressed elsewhere on the desktop.
#include "RealProgram.h"
#include "TempEnvironment.h"
#include "guard/Pin.h"

using namespace gRegistry;

namespace {
const QString ThePin = QStringLiteral("2468");
const QPoint ExitButton(501, 582); // btnExit in the footer, client coordinates

/// The PIN prompt's window, once it shows; empty when none came within the time.
QString pinPrompt(int timeoutMs = 5000)
{
    QString window;
    waitFor([&] {
        window = xdotool({"search", "--onlyvisible", "--name", "^Ostrel - PIN$"});
        return !window.isEmpty();
    }, timeoutMs);
    return window.section('\n', 0, 0);
}

void typeInto(const QString& window, const QString& text)
{
    typeText(window, text);
    pressKey(window, "Return");
}

void storePin()
{
    SettingsStore(SettingsFilePath()).WriteSetting(GuardKey, "PinHash", QString::fromUtf8(Pin::hash(ThePin)));
}
} // namespace

class ProtectionRealTest : public QObject
{
    Q_OBJECT
private slots:
    void escWaitsForTheRightTypedPin()
    {
        TempEnvironment env;
        storePin();
        Program program;
        StartArmed(program);
        QVERIFY(!QTest::currentTestFailed());
        pressKey(program.window, "Escape");
        const QString prompt = pinPrompt();
        QVERIFY2(!prompt.isEmpty(), "Esc showed no PIN prompt");
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));
        QVERIFY(!reportMessages().contains("Alarm - Stoped"));

        typeInto(prompt, "1357");
        QVERIFY2(waitFor([] { return reportMessages().contains("Wrong PIN entered"); }),
                 qPrintable(reportMessages().join(" | ")));
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));
        typeInto(prompt, ThePin);
        QVERIFY2(waitFor([] { return reportMessages().endsWith("Alarm - Stoped"); }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY(waitFor([] { return stored("Alarm Active").isEmpty(); }));
        QVERIFY(pinPrompt(500).isEmpty());
    }

    void theWindowClosesWhileArmedOnlyWithThePinAndASignalEndsItAnyway()
    {
        TempEnvironment env;
        storePin();
        Program program;
        StartArmed(program);
        QVERIFY(!QTest::currentTestFailed());
        program.click(ExitButton);
        QString prompt = pinPrompt();
        QVERIFY2(!prompt.isEmpty(), "Exit showed no PIN prompt");
        // Cancelled: the window stays, armed.
        pressKey(prompt, "Escape");
        QVERIFY(waitFor([] { return pinPrompt(100).isEmpty(); }, 5000));
        QVERIFY(!program.endsWithin(1000));
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));

        program.click(ExitButton);
        prompt = pinPrompt();
        QVERIFY(!prompt.isEmpty());
        typeInto(prompt, ThePin);
        QVERIFY2(program.endsWithin(10000), qPrintable("the right PIN did not close the window: " +
                                                       reportMessages().join(" | ")));
        // Closed, not disarmed: it re-arms at the next start.
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));

        const qsizetype activations = reportMessages().count("Alarm - Activated");
        Program again;
        again.start();
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(waitFor([&] { return reportMessages().count("Alarm - Activated") > activations; }));
        QVERIFY(again.terminate());
        QVERIFY2(reportMessages().endsWith("Alarm - Terminated while armed"),
                 qPrintable(reportMessages().join(" | ")));
        QCOMPARE(stored("Alarm Active"), QStringLiteral("T"));
    }

    void keyboardDetectionHearsTheDesktopButNotThePinPrompt()
    {
        TempEnvironment env;
        storePin();
        SettingsStore(SettingsFilePath()).WriteSetting(StateKey, "ActKeyDetectToggle", "T");
        Program program;
        StartArmed(program);
        QVERIFY(!QTest::currentTestFailed());
        // The arm button asks for the PIN without a key; the PIN typed into the prompt is no
        // trigger.
        program.click(ActivateButton);
        const QString prompt = pinPrompt();
        QVERIFY(!prompt.isEmpty());
        typeInto(prompt, ThePin);
        QVERIFY2(waitFor([] { return reportMessages().endsWith("Alarm - Stoped"); }),
                 qPrintable(reportMessages().join(" | ")));
        QVERIFY(!reportMessages().contains("Keyboard detected"));

        // Armed again, a key pressed on the desktop is one.
        program.click(ActivateButton);
        QVERIFY(waitFor([] { return reportMessages().endsWith("Alarm - Activated"); }));
        xdotool({"key", "a"});
        QVERIFY2(waitFor([] { return reportMessages().contains("Keyboard detected"); }),
                 qPrintable(reportMessages().join(" | ")));
    }
};

QTEST_GUILESS_MAIN(ProtectionRealTest)
#include "test_protection_real.moc"
