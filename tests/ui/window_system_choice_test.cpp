// The choice of window system, and the question whether its display answers, before the
// application object exists, over the environments users start Qorin in. Needs an X display
// that answers, named by DISPLAY: the desktop tests run it on theirs.
#include "ui/platform/display_probe.h"
#include "ui/platform/window_system_choice.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

using qorin::ui::preferX11OnWayland;
using qorin::ui::unansweredDisplay;

namespace {

// The variables the choice reads, and the one it may set.
const QList<QByteArray> kVariables = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                                      "DISPLAY", "XDG_RUNTIME_DIR"};

// Sets the variables above to these values, in their order; an empty value unsets one.
void setVariables(const QList<QByteArray>& values)
{
    for (qsizetype i = 0; i < kVariables.size(); ++i) {
        if (values[i].isEmpty())
            qunsetenv(kVariables[i].constData());
        else
            qputenv(kVariables[i].constData(), values[i]);
    }
}

// The program's argument count and vector, as main() gets them: "qorin" and the arguments.
class Arguments
{
public:
    explicit Arguments(const QStringList& arguments)
    {
        m_texts.push_back("qorin");
        for (const QString& argument : arguments)
            m_texts.push_back(argument.toLocal8Bit());
        for (QByteArray& text : m_texts)
            m_vector.push_back(text.data());
        m_vector.push_back(nullptr);
    }

    int count() const { return static_cast<int>(m_texts.size()); }
    char** vector() { return m_vector.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<char*> m_vector;
};

// A display number no X server answers on.
QByteArray silentDisplay()
{
    for (int n = 400; n < 600; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return ":" + QByteArray::number(n);
    }
    return ":599";
}

} // namespace

class WindowSystemChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void platformFollowsTheSession_data();
    void platformFollowsTheSession();
    void displayThatDoesNotAnswerIsNamed_data();
    void displayThatDoesNotAnswerIsNamed();

private:
    QByteArray displayFor(const QString& which) const;

    QByteArray m_display;
    QList<QByteArray> m_saved;
};

// The X display of a row: "answers" is the test's own, "silent" one nobody answers on, "" none.
QByteArray WindowSystemChoiceTest::displayFor(const QString& which) const
{
    if (which == "answers")
        return m_display;
    return which == "silent" ? silentDisplay() : QByteArray();
}

void WindowSystemChoiceTest::initTestCase()
{
    m_display = qgetenv("DISPLAY");
    if (m_display.isEmpty())
        QFAIL("needs an X display that answers, named by DISPLAY");
    for (const QByteArray& name : kVariables)
        m_saved.append(qgetenv(name.constData()));
}

void WindowSystemChoiceTest::cleanup()
{
    setVariables(m_saved);
}

void WindowSystemChoiceTest::platformFollowsTheSession_data()
{
    // The X display as displayFor() reads it.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QString>("xDisplay");
    QTest::addColumn<QByteArray>("chosen");

    const QStringList none;
    QTest::newRow("GNOME or KDE on Wayland, with XWayland")
        << none << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << "answers"
        << QByteArray("xcb");
    QTest::newRow("Wayland named only by the session type")
        << none << QByteArray() << QByteArray() << QByteArray("wayland") << "answers"
        << QByteArray("xcb");
    QTest::newRow("Wayland named only by its display")
        << none << QByteArray() << QByteArray("wayland-0") << QByteArray() << "answers"
        << QByteArray("xcb");
    QTest::newRow("Wayland without an X server") << none << QByteArray() << QByteArray("wayland-0")
                                                 << QByteArray("wayland") << "" << QByteArray();
    QTest::newRow("Wayland whose X display does not answer")
        << none << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << "silent"
        << QByteArray();
    QTest::newRow("an X11 session")
        << none << QByteArray() << QByteArray() << QByteArray("x11") << "answers" << QByteArray();
    QTest::newRow("platform named by QT_QPA_PLATFORM")
        << none << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray("wayland")
        << "answers" << QByteArray("wayland");
    QTest::newRow("another platform named by QT_QPA_PLATFORM")
        << none << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray("wayland")
        << "answers" << QByteArray("offscreen");
    QTest::newRow("platform named by -platform")
        << QStringList{"-platform", "wayland"} << QByteArray() << QByteArray("wayland-0")
        << QByteArray("wayland") << "answers" << QByteArray();
    QTest::newRow("platform named by --platform")
        << QStringList{"--platform", "wayland"} << QByteArray() << QByteArray("wayland-0")
        << QByteArray("wayland") << "answers" << QByteArray();
}

void WindowSystemChoiceTest::platformFollowsTheSession()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, sessionType);
    QFETCH(QString, xDisplay);
    QFETCH(QByteArray, chosen);

    setVariables(
        {platform, waylandDisplay, sessionType, displayFor(xDisplay), qgetenv("XDG_RUNTIME_DIR")});
    Arguments argv(arguments);

    preferX11OnWayland(argv.count(), argv.vector());
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), chosen);
}

void WindowSystemChoiceTest::displayThatDoesNotAnswerIsNamed_data()
{
    // The display as in the table above; "%1" in the line stands for the silent one. Where
    // the session is a Wayland one, its compositor's socket "wayland-qorin-none" is closed.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<bool>("waylandSession");
    QTest::addColumn<QString>("xDisplay");
    QTest::addColumn<QString>("line");

    const QStringList none;
    const QString noCompositor =
        "qorin: cannot connect to the Wayland display 'wayland-qorin-none'";
    QTest::newRow("X11, answering") << none << QByteArray() << false << "answers"
                                    << "";
    QTest::newRow("X11 named, answering") << none << QByteArray("xcb") << true << "answers"
                                          << "";
    QTest::newRow("X11, no DISPLAY") << none << QByteArray() << false << ""
                                     << "qorin: cannot open the display: DISPLAY is not set";
    QTest::newRow("X11, silent") << none << QByteArray() << false << "silent"
                                 << "qorin: cannot open the display '%1'";
    QTest::newRow("X11 with options, silent")
        << none << QByteArray("xcb:nograb") << false << "silent"
        << "qorin: cannot open the display '%1'";
    QTest::newRow("-display names a silent one")
        << QStringList{"-display", "%1"} << QByteArray() << false << "answers"
        << "qorin: cannot open the display '%1'";
    QTest::newRow("Wayland named, no compositor")
        << none << QByteArray("wayland") << true << "answers" << noCompositor;
    QTest::newRow("-platform wayland, no compositor")
        << QStringList{"-platform", "wayland"} << QByteArray() << true << "answers" << noCompositor;
    QTest::newRow("offscreen: nothing to ask") << none << QByteArray("offscreen") << false << ""
                                               << "";
    QTest::newRow("a list: Qt tries each") << none << QByteArray("wayland;xcb") << true << ""
                                           << "";
    QTest::newRow("none named in a Wayland session: Qt tries Wayland, then X11")
        << none << QByteArray() << true << ""
        << "";
}

void WindowSystemChoiceTest::displayThatDoesNotAnswerIsNamed()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, platform);
    QFETCH(bool, waylandSession);
    QFETCH(QString, xDisplay);
    QFETCH(QString, line);

    const QByteArray silent = silentDisplay();
    QTemporaryDir runtime; // no compositor's socket in it
    setVariables({platform, waylandSession ? "wayland-qorin-none" : QByteArray(), QByteArray(),
                  displayFor(xDisplay), QFile::encodeName(runtime.path())});
    Arguments argv(arguments.replaceInStrings("%1", QString::fromLatin1(silent)));

    QCOMPARE(unansweredDisplay(argv.count(), argv.vector()),
             QString(line).replace("%1", QString::fromLatin1(silent)));
}

QTEST_APPLESS_MAIN(WindowSystemChoiceTest)
#include "window_system_choice_test.moc"
