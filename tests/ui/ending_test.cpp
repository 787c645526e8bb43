#include "qorin_ui_test.h"

#include <QProcess>

namespace {

struct Run
{
    int exitCode = -1;
    QMap<QString, QString> seen;
};

Run runScenario(const QString& name)
{
    QProcess process;
    // In text mode, so that the lines read the same where a program ends them with CR LF.
    process.start(UI_SCENARIOS, {name}, QIODevice::ReadOnly | QIODevice::Text);
    Run run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            run.seen.insert(line.left(equals), line.mid(equals + 1));
    }
    return run;
}

} // namespace

class EndingTest : public QObject
{
    Q_OBJECT

private slots:
    void programEnds_data();
    void programEnds();
    void exitStopsWhatIsQueuedBehindIt();
    void failureIsReportedAndEndsTheProgram_data();
    void failureIsReportedAndEndsTheProgram();
};

void EndingTest::programEnds_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("aboutBefore");
    QTest::addColumn<QString>("closeEvents");
    QTest::newRow("File, Exit, About never opened") << "exit"
                                                    << "0"
                                                    << "0";
    QTest::newRow("File, Exit, About open") << "exit-with-about"
                                            << "1"
                                            << "0";
    QTest::newRow("closing the main window, About open") << "close-with-about"
                                                         << "1"
                                                         << "1";
}

// Every way of ending closes the About window and ends the program with status 0; File, Exit
// does it at once: no close event for the main window, no further tick.
void EndingTest::programEnds()
{
    QFETCH(QString, scenario);
    QFETCH(QString, aboutBefore);
    QFETCH(QString, closeEvents);
    const Run run = runScenario(scenario);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.seen.value("status"), QString("0"));
    QCOMPARE(run.seen.value("about-loaded-before"), aboutBefore);
    QCOMPARE(run.seen.value("close-events"), closeEvents);
    QCOMPARE(run.seen.value("ticks-after-end"), QString("0"));
    QCOMPARE(run.seen.value("about-loaded"), QString("0"));
    QCOMPARE(run.seen.value("about-visible"), QString("0"));
}

// File, Exit ends the program at once: a key and a close request already queued behind the
// key that chose it reach no handler, so nothing is typed and the main window's unload
// handler does not run.
void EndingTest::exitStopsWhatIsQueuedBehindIt()
{
    const Run run = runScenario("exit-with-input-queued");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.seen.value("status"), QString("0"));
    QCOMPARE(run.seen.value("input"), QString(""));
    QCOMPARE(run.seen.value("close-events"), QString("0"));
}

void EndingTest::failureIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("error");
    QTest::newRow("a field fails in a pass") << "field-failure"
                                             << "input field lost";
    QTest::newRow("start-up fails") << "start-up-failure"
                                    << "main window lost";
}

// The standard message names the error; once it is answered the program ends with status 1.
// While it is up, the timer's ticks are held back: the failed program does not go on.
void EndingTest::failureIsReportedAndEndsTheProgram()
{
    QFETCH(QString, scenario);
    QFETCH(QString, error);
    const Run run = runScenario(scenario);
    QCOMPARE(run.seen.value("title"), QString("Qorin"));
    QVERIFY2(run.seen.value("text").startsWith("Run-time error"),
             qPrintable(run.seen.value("text")));
    QVERIFY(run.seen.value("text").contains(error));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.seen.value("status"), QString("1"));
    if (scenario == "field-failure")
        QCOMPARE(run.seen.value("ticks-while-reported"), QString("0"));
}

QORIN_UI_TEST_MAIN(EndingTest)
#include "ending_test.moc"
