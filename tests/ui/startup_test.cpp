#include "qorin_ui_test.h"
#include "ui/logo.h"
#include "ui/modul.h"
#include "ui/platform/platform_start_guard.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>
#include <tuple>

using qorin::ui::Logo;
using qorin::ui::Modul;
using qorin::ui::PlatformStartGuard;
using qorin::ui::SharedForm;
using qorin::ui::Tavrin;
using qorin::ui::test::liveWindows;

namespace {

Q_LOGGING_CATEGORY(lcStartUpTest, "qorin.test.startup")

// What reached the message handler: type, category and text.
using Message = std::tuple<QtMsgType, QString, QString>;

QList<Message>& messagesSeen()
{
    static QList<Message> messages;
    return messages;
}

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    messagesSeen().append({type, QString::fromLatin1(context.category), text});
}

// Watches the whole application while the start-up procedure runs: how often the splash
// window is painted before the main window comes into being, how many of those paints the
// window system asked for by exposing it, and in which order the main window appears and the
// splash window goes.
class StartUpWatcher : public QObject
{
    Q_OBJECT

public:
    int splashPaints = 0;
    int splashExposures = 0;
    int splashPaintsBeforeMainWindow = -1;
    QStringList sequence; // "Tavrin shown", "Logo hidden"

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        const QString name = receiver->objectName();
        if (name == "Logo" && event->type() == QEvent::Paint)
            ++splashPaints;
        if (name == "LogoWindow" && event->type() == QEvent::Expose)
            ++splashExposures;
        if (name == "Tavrin" && splashPaintsBeforeMainWindow < 0)
            splashPaintsBeforeMainWindow = splashPaints;
        if (name == "Tavrin" && event->type() == QEvent::Show)
            sequence << "Tavrin shown";
        if (name == "Logo" && event->type() == QEvent::Hide)
            sequence << "Logo hidden";
        return false;
    }
};

// Presses a key on the splash window the way a keyboard does, through the window system's
// queue, as soon as the splash window has been painted; and counts the key presses that
// reach it.
class KeyDuringStartUp : public QObject
{
    Q_OBJECT

public:
    bool pressed = false;
    int keysSeen = 0;
    int splashPaints = 0;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (receiver->objectName() != "Logo")
            return false;
        if (event->type() == QEvent::KeyPress)
            ++keysSeen;
        if (event->type() == QEvent::Paint) {
            ++splashPaints;
            auto* window = static_cast<QWidget*>(receiver)->windowHandle();
            if (!pressed && window) {
                pressed = true;
                QWindowSystemInterface::handleKeyEvent<
                    QWindowSystemInterface::AsynchronousDelivery>(window, QEvent::KeyPress,
                                                                  Qt::Key_A, Qt::NoModifier, "a");
            }
        }
        return false;
    }
};

// Keeps the window system from ever exposing the splash window, as a window manager that
// never maps it would.
class SplashNeverExposed : public QWindowSystemEventHandler
{
public:
    SplashNeverExposed() { QWindowSystemInterfacePrivate::installWindowSystemEventHandler(this); }
    ~SplashNeverExposed() override
    {
        QWindowSystemInterfacePrivate::removeWindowSystemEventhandler(this);
    }

    bool sendEvent(QWindowSystemInterfacePrivate::WindowSystemEvent* event) override
    {
        if (event->type == QWindowSystemInterfacePrivate::Expose) {
            const auto* expose = static_cast<QWindowSystemInterfacePrivate::ExposeEvent*>(event);
            if (expose->window && expose->window->objectName() == "LogoWindow")
                return true;
        }
        return QWindowSystemEventHandler::sendEvent(event);
    }
};

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void startUpShowsSplashThenOneMainWindow();
    void keysDuringStartUpWaitTillItHasReturned();
    void unexposedSplashHoldsStartUpBrieflyOnly();
    void splashHasItsSettings();
    void keyInSplashUnloadsItButOtherKeysDoNot();
    void heldMessagesArePassedOnInOrderOnceTheStartSucceeds();
};

void StartUpTest::startUpShowsSplashThenOneMainWindow()
{
    StartUpWatcher watcher;
    qApp->installEventFilter(&watcher);
    Modul modul;
    modul.Main();
    qApp->removeEventFilter(&watcher);

    // One repaint per show-and-repaint cycle; any exposure adds a paint of its own.
    QCOMPARE(watcher.splashPaintsBeforeMainWindow - watcher.splashExposures, 100);
    QCOMPARE(watcher.sequence, QStringList({"Tavrin shown", "Logo hidden"}));

    QVERIFY(modul.mainWindow());
    QVERIFY(modul.mainWindow()->isVisible());
    QVERIFY(!SharedForm<Logo>::isLoaded());
    // Destroyed by the procedure itself: no event loop has run yet to do it.
    for (const QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(widget->objectName() != "Logo");
    QCOMPARE(liveWindows("Logo"), 0);
    QCOMPARE(liveWindows("Tavrin"), 1);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "Tavrin")
            QCOMPARE(widget, static_cast<QWidget*>(modul.mainWindow()));
    }

    // The program runs on, tick after tick; nothing brings the splash window back.
    auto* Timer1 = modul.mainWindow()->findChild<QTimer*>("Timer1");
    for (int tick = 0; tick < 3; ++tick) {
        QTimerEvent event(Timer1->timerId());
        QCoreApplication::sendEvent(Timer1, &event);
        QCoreApplication::processEvents();
    }
    QCOMPARE(liveWindows("Logo"), 0);
    QCOMPARE(liveWindows("Tavrin"), 1);
}

// A key pressed on the splash window during start-up neither closes it nor shortens the
// cycles; it is handled only once the start-up procedure has returned.
void StartUpTest::keysDuringStartUpWaitTillItHasReturned()
{
    KeyDuringStartUp watcher;
    qApp->installEventFilter(&watcher);
    Modul modul;
    modul.Main();
    QVERIFY(watcher.pressed);
    QCOMPARE(watcher.keysSeen, 0);
    QVERIFY(watcher.splashPaints >= 100);
    QVERIFY(modul.mainWindow()->isVisible());

    QCoreApplication::processEvents(); // now the key is handled, by the windows there are
    qApp->removeEventFilter(&watcher);
    QCOMPARE(liveWindows("Logo"), 0);
    QVERIFY(!SharedForm<Logo>::isLoaded());
}

// The cycles wait for the splash window to be exposed for at most 500 ms in all: a splash
// that never is must not hold start-up for 500 ms a cycle, 50 s in all.
void StartUpTest::unexposedSplashHoldsStartUpBrieflyOnly()
{
    SplashNeverExposed neverExposed;
    QElapsedTimer clock;
    clock.start();
    Modul modul;
    modul.Main();
    QVERIFY2(clock.elapsed() < 10'000, qPrintable(QString("%1 ms").arg(clock.elapsed())));
    QVERIFY(modul.mainWindow()->isVisible());
    QCOMPARE(liveWindows("Logo"), 0);
}

void StartUpTest::splashHasItsSettings()
{
    Logo& logo = SharedForm<Logo>::instance();
    logo.show();
    QCOMPARE(logo.clientRect().size(), QSize(360, 239));
    QVERIFY(logo.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(logo.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QCOMPARE(logo.minimumSize(), logo.maximumSize());
    QVERIFY(logo.windowTitle().isEmpty());

    const QPoint centre = logo.screen()->availableGeometry().center();
    QVERIFY((logo.geometry().center() - centre).manhattanLength() <= 2);

    const QImage shown = logo.grab().toImage();
    const QImage picture(":/assets/splash.jpg");
    QCOMPARE(picture.size(), QSize(360, 240));
    const QPoint origin = logo.clientRect().topLeft();
    for (const QPoint p : {QPoint(0, 0), QPoint(180, 120), QPoint(359, 238)})
        QCOMPARE(shown.pixelColor(origin + p), picture.pixelColor(p));
    SharedForm<Logo>::unload();
    QCOMPARE(liveWindows("Logo"), 0);
}

void StartUpTest::keyInSplashUnloadsItButOtherKeysDoNot()
{
    Logo& logo = SharedForm<Logo>::instance();
    logo.show();
    QTest::keyClick(&logo, Qt::Key_Left);
    QVERIFY(SharedForm<Logo>::isLoaded());
    QTest::keyClick(&logo, Qt::Key_Q);
    QVERIFY(!SharedForm<Logo>::isLoaded());
    QCOMPARE(liveWindows("Logo"), 0);
}

// Qt's messages while the window system starts are held back; once it runs they reach the
// handler that was there before, every one, in order, with its type and category.
void StartUpTest::heldMessagesArePassedOnInOrderOnceTheStartSucceeds()
{
    messagesSeen().clear();
    const QtMessageHandler before = qInstallMessageHandler(recordMessage);
    const auto restore = qScopeGuard([before] { qInstallMessageHandler(before); });
    {
        char program[] = "qorin";
        char* argv[] = {program, nullptr};
        PlatformStartGuard guard(1, argv); // the offscreen platform: no display to ask
        qWarning("first");
        qCWarning(lcStartUpTest, "second");
        qCritical("third");
        qInfo("fourth");
        QVERIFY(messagesSeen().isEmpty());
        guard.release();
        qWarning("after the start");
    }
    const QList<Message> expected = {{QtWarningMsg, "default", "first"},
                                     {QtWarningMsg, "qorin.test.startup", "second"},
                                     {QtCriticalMsg, "default", "third"},
                                     {QtInfoMsg, "default", "fourth"},
                                     {QtWarningMsg, "default", "after the start"}};
    QCOMPARE(messagesSeen(), expected);
}

QORIN_UI_TEST_MAIN(StartUpTest)
#include "startup_test.moc"
