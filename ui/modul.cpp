#include "ui/modul.h"

#include "ui/logo.h"
#include "ui/shared_form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <chrono>

namespace qorin::ui {

namespace {

constexpr qint16 kLastCycleValue = 200; // stepped twice per cycle: 100 cycles
constexpr std::chrono::milliseconds kLongestExposureWait{500}; // for all the cycles together

// Ends an event loop when the window system exposes a window.
class ExposureWatcher : public QObject
{
    Q_OBJECT

public:
    ExposureWatcher(QWindow& window, QEventLoop& loop) : m_window(window), m_loop(loop)
    {
        m_window.installEventFilter(this);
    }
    ~ExposureWatcher() override { m_window.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Qt marks the window exposed before it delivers the event.
        if (watched == &m_window && event->type() == QEvent::Expose && m_window.isExposed())
            m_loop.quit();
        return false;
    }

private:
    QWindow& m_window;
    QEventLoop& m_loop;
};

} // namespace

void Modul::Main()
{
    m_exposureDeadline = QDeadlineTimer(kLongestExposureWait);
    m_cycle = 1;
    while (m_cycle <= kLastCycleValue) {
        ++m_cycle;
        showSplashCycle();
        ++m_cycle;
    }
    m_mainWindow = std::make_unique<Tavrin>();
    m_mainWindow->load();
    m_mainWindow->show();
    SharedForm<Logo>::unload();
    // A closed window is destroyed by the event loop, but Qt keeps one closed before the loop
    // has ever run until the program ends: hidden, yet still listed to screen readers.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Shows the splash window and repaints it at once. A window system such as X11 maps a new
// window on its own time, and what is painted before that never reaches the screen; so a
// cycle waits until the window is exposed, for at most 500 ms over all the cycles, and
// every cycle lets the exposure and paint events through. User input stays queued until the
// start-up procedure has returned.
void Modul::showSplashCycle()
{
    Logo& splash = SharedForm<Logo>::instance();
    splash.show();
    waitUntilExposed(splash);
    splash.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Modul::waitUntilExposed(const QWidget& window) const
{
    QWindow& handle = *window.windowHandle();
    if (handle.isExposed() || m_exposureDeadline.hasExpired())
        return;
    QEventLoop loop;
    const ExposureWatcher watcher(handle, loop);
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(m_exposureDeadline.remainingTimeAsDuration());
    QTimer::singleShot(left, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace qorin::ui

#include "modul.moc"
