// Compiles the Windows version resource with mingw-w64's resource compiler, as a Windows
// build does. Where the cross tools are missing the test cannot run, and says so: CTest
// reports it as skipped, not passed.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class VersionResourceTest : public QObject
{
    Q_OBJECT

private slots:
    void compilesWithWindres();
};

void VersionResourceTest::compilesWithWindres()
{
    // windres preprocesses with the cross compiler's preprocessor and its Windows headers.
    const QString windres = QStandardPaths::findExecutable("x86_64-w64-mingw32-windres");
    if (windres.isEmpty() || QStandardPaths::findExecutable("x86_64-w64-mingw32-gcc").isEmpty())
        QSKIP("mingw-w64 binutils and compiler are not installed");
    QTemporaryDir out;
    QProcess process;
    process.start(windres, {QORIN_RESOURCE_SCRIPT, "-O", "coff", "-o", out.filePath("qorin.res")});
    QVERIFY(process.waitForFinished(30000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    QVERIFY(QFile(out.filePath("qorin.res")).size() > 1000);
}

QTEST_GUILESS_MAIN(VersionResourceTest)
#include "version_resource_test.moc"
