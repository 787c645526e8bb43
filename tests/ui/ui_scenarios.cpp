// Scenarios that end the program, each run in a process of its own by ending_test. Each one
// drives the real windows under the real application object and prints what it saw as
// key=value lines after the event loop has ended.

#include "core/lookup_pass.h"
#include "ui/frm_splash.h"
#include "ui/platform/application.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <qpa/qwindowsysteminterface.h>
#include <stdexcept>
#include <thread>

using namespace qorin::ui;

namespace {

// Counts the close events and timer ticks a window gets after a given moment.
class Watcher : public QObject
{
    Q_OBJECT

public:
    int closeEvents = 0;
    int ticksAfterEnd = 0;
    bool ended = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            ++closeEvents;
        return false;
    }
};

int endingScenario(Application& application, bool openAbout, bool viaExit)
{
    Tavrin tavrin;
    tavrin.load();
    tavrin.show();
    Watcher watcher;
    tavrin.installEventFilter(&watcher);
    auto* timer = tavrin.findChild<QTimer*>("Timer1");
    QObject::connect(timer, &QTimer::timeout, [&] { watcher.ticksAfterEnd += watcher.ended; });
    if (openAbout)
        QTimer::singleShot(100, [&] { tavrin.findChild<QAction*>("mnuInfo")->trigger(); });
    QTimer::singleShot(500, [&] {
        std::printf("about-loaded-before=%d\n", SharedForm<frmSplash>::isLoaded());
        watcher.ended = true;
        if (viaExit)
            tavrin.findChild<QAction*>("Exit")->trigger();
        else
            tavrin.close();
    });
    const int status = application.exec();
    std::printf("status=%d\nclose-events=%d\nticks-after-end=%d\nabout-loaded=%d\n", status,
                watcher.closeEvents, watcher.ticksAfterEnd, SharedForm<frmSplash>::isLoaded());
    int aboutWindows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        aboutWindows += widget->objectName() == "frmSplash" && widget->isVisible();
    std::printf("about-visible=%d\n", aboutWindows);
    return status;
}

// File, Exit chosen with Enter in the open File menu, and queued behind that key in the window
// system's queue, as a quick user or a busy machine leaves them, a letter for the input field
// and a request to close the main window. The queue is handled in one go; once Exit has
// ended the program, neither reaches a handler.
int exitWithInputQueuedScenario(Application& application)
{
    Tavrin tavrin;
    tavrin.load();
    tavrin.show();
    Watcher watcher;
    tavrin.installEventFilter(&watcher);
    auto* A = tavrin.findChild<QLineEdit*>("A");
    auto* file = tavrin.findChild<QMenu*>("File");
    QTimer::singleShot(300, [&] {
        file->popup(tavrin.mapToGlobal(QPoint(0, 20)));
        file->setActiveAction(tavrin.findChild<QAction*>("Exit"));
        using Queued = QWindowSystemInterface::AsynchronousDelivery;
        QWindowSystemInterface::handleKeyEvent<Queued>(file->windowHandle(), QEvent::KeyPress,
                                                       Qt::Key_Return, Qt::NoModifier, "\r");
        QWindowSystemInterface::handleKeyEvent<Queued>(tavrin.windowHandle(), QEvent::KeyPress,
                                                       Qt::Key_X, Qt::NoModifier, "x");
        QWindowSystemInterface::handleCloseEvent<Queued>(tavrin.windowHandle());
        watcher.ended = true;
    });
    const int status = application.exec();
    std::printf("status=%d\nclose-events=%d\ninput=%s\nabout-loaded=%d\n", status,
                watcher.closeEvents, qPrintable(A->text()), SharedForm<frmSplash>::isLoaded());
    return status;
}

// A pair of fields whose input fails on its second read.
class FailingFields : public qorin::TextFields
{
public:
    std::u16string readInput() override
    {
        if (++m_reads == 2)
            throw std::runtime_error("input field lost");
        return u"kot";
    }
    std::u16string readOutput() override { return m_output; }
    void writeOutput(std::u16string_view text) override { m_output = text; }

private:
    int m_reads = 0;
    std::u16string m_output;
};

// Answers the run-time error message from outside, as a user would, once it has been up
// for a while: long enough for several ticks of the timer to fall due.
class MessageAnswerer
{
public:
    explicit MessageAnswerer(Application& application)
        : m_thread([this, &application] { answer(application); })
    {
    }
    ~MessageAnswerer()
    {
        m_done = true;
        m_thread.join();
    }

private:
    void answer(Application& application)
    {
        QElapsedTimer upFor;
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            QMetaObject::invokeMethod(
                &application,
                [&upFor] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    if (!box)
                        return;
                    if (!upFor.isValid())
                        upFor.start();
                    if (upFor.elapsed() < 1200)
                        return;
                    std::printf("title=%s\ntext=%s\n", qPrintable(box->windowTitle()),
                                qPrintable(box->text().replace('\n', ' ')));
                    std::fflush(stdout);
                    box->accept();
                },
                Qt::QueuedConnection);
        }
    }

    std::atomic<bool> m_done = false;
    std::thread m_thread;
};

// A field fails in a pass started by a one-off timer. While the message is up, Timer1's
// ticks are held back: no pass of the failed program runs behind it. (A pass that Timer1
// itself starts keeps its own timer from ticking again until it returns.)
int failureScenario(Application& application)
{
    Tavrin tavrin;
    tavrin.load();
    tavrin.show();
    FailingFields fields;
    bool failed = false;
    int ticksWhileReported = 0;
    auto* timer = tavrin.findChild<QTimer*>("Timer1");
    QObject::connect(timer, &QTimer::timeout, [&] { ticksWhileReported += failed; });
    QTimer::singleShot(300, [&] {
        failed = true;
        qorin::runLookupPass(fields);
    });
    MessageAnswerer answerer(application);
    const int status = application.exec();
    std::printf("status=%d\nticks-while-reported=%d\n", status, ticksWhileReported);
    return status;
}

// The start-up procedure fails: the message is shown, then the program ends with status 1
// without entering the event loop.
int startUpFailureScenario(Application& application)
{
    MessageAnswerer answerer(application);
    const int status = application.run([] {
        Tavrin tavrin;
        tavrin.load();
        tavrin.show();
        throw std::runtime_error("main window lost");
    });
    std::printf("status=%d\n", status);
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    const char* scenario = argc > 1 ? argv[1] : "";
    if (!std::strcmp(scenario, "exit"))
        return endingScenario(application, false, true);
    if (!std::strcmp(scenario, "exit-with-about"))
        return endingScenario(application, true, true);
    if (!std::strcmp(scenario, "close-with-about"))
        return endingScenario(application, true, false);
    if (!std::strcmp(scenario, "exit-with-input-queued"))
        return exitWithInputQueuedScenario(application);
    if (!std::strcmp(scenario, "field-failure"))
        return failureScenario(application);
    if (!std::strcmp(scenario, "start-up-failure"))
        return startUpFailureScenario(application);
    std::fprintf(stderr, "unknown scenario\n");
    return 2;
}

#include "ui_scenarios.moc"
