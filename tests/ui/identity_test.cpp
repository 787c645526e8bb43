#include "qorin_ui_test.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString textOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString assetText(const QString& name)
{
    return textOf(QString(QORIN_SOURCE_DIR) + "/assets/" + name);
}

// The project's version (say 1.2.3.4) as Windows' resource numbers spell it ("1,2,3,4") and as
// its strings and the application object do: the minor number in two digits, the patch and
// tweak numbers in two each ("1.02.0304").
QString versionNumbers()
{
    return QString(QORIN_VERSION).replace('.', ',');
}

QString versionText()
{
    const QStringList n = QString(QORIN_VERSION).split('.');
    return n[0] + '.' + n[1].rightJustified(2, '0') + '.' + n[2].rightJustified(2, '0') +
           n[3].rightJustified(2, '0');
}

} // namespace

class IdentityTest : public QObject
{
    Q_OBJECT

private slots:
    void applicationObjectCarriesNameAndVersion();
    void versionResourceFields_data();
    void versionResourceFields();
    void desktopEntryIsValid();
};

void IdentityTest::applicationObjectCarriesNameAndVersion()
{
    QCOMPARE(QCoreApplication::applicationName(), QString("Qorin"));
    QCOMPARE(QString(QORIN_VERSION).count('.'), 3);
    QCOMPARE(QCoreApplication::applicationVersion(), versionText());
}

void IdentityTest::versionResourceFields_data()
{
    QTest::addColumn<QString>("pattern");
    const QString numbers = versionNumbers();
    const QString text = QRegularExpression::escape(versionText());
    QTest::newRow("file version numbers") << R"(\nFILEVERSION )" + numbers + R"(\n)";
    QTest::newRow("product version numbers") << R"(\nPRODUCTVERSION )" + numbers + R"(\n)";
    QTest::newRow("one US English Unicode string table")
        << R"(BLOCK "StringFileInfo"\s*BEGIN\s*(//[^\n]*\s*)?BLOCK "040904B0")";
    QTest::newRow("translation") << R"(VALUE "Translation", 0x0409, 1200)";
    QTest::newRow("FileVersion") << R"(VALUE "FileVersion", ")" + text + '"';
    QTest::newRow("ProductVersion") << R"(VALUE "ProductVersion", ")" + text + '"';
    QTest::newRow("FileDescription") << R"(VALUE "FileDescription", "Tavrin")";
    QTest::newRow("ProductName") << R"(VALUE "ProductName", "Tavrin")";
    QTest::newRow("InternalName") << R"(VALUE "InternalName", "Qorin")";
    QTest::newRow("OriginalFilename") << R"(VALUE "OriginalFilename", "Qorin\.exe")";
    QTest::newRow("CompanyName") << R"(VALUE "CompanyName", "[^"]+")";
    QTest::newRow("LegalCopyright") << R"(VALUE "LegalCopyright", "[^"]+")";
    QTest::newRow("program icon") << R"(\nIDI_ICON1 ICON "[^"]*/assets/qorin\.ico"\n)";
}

void IdentityTest::versionResourceFields()
{
    QFETCH(QString, pattern);
    const QString resource = textOf(QORIN_RESOURCE_SCRIPT);
    QVERIFY(!resource.isEmpty());
    QVERIFY2(QRegularExpression(pattern).match(resource).hasMatch(), qPrintable(pattern));
    QCOMPARE(resource.count("BLOCK \"0"), 1); // exactly one string table
}

void IdentityTest::desktopEntryIsValid()
{
#ifdef Q_OS_WIN
    QSKIP("the desktop entry is for Linux desktops");
#endif
    const QString entry = assetText("qorin.desktop");
    QVERIFY(entry.contains("\nName=Qorin\n"));
    QVERIFY(entry.contains("\nIcon=qorin\n"));
    QVERIFY(entry.contains(QRegularExpression("\nComment=[^\n]*Polish[^\n]*Spanish")));

    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    QVERIFY2(!validate.isEmpty(), "desktop-file-validate (desktop-file-utils) is missing");
    QProcess process;
    process.start(validate, {QString(QORIN_SOURCE_DIR) + "/assets/qorin.desktop"});
    QVERIFY(process.waitForFinished(30000));
    const QByteArray complaints = process.readAllStandardOutput() + process.readAllStandardError();
    QVERIFY2(process.exitCode() == 0 && complaints.isEmpty(), complaints.constData());
}

QORIN_UI_TEST_MAIN(IdentityTest)
#include "identity_test.moc"
