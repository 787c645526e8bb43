#include "modul.h"

#include "logo.h"
#include "shared_form.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWindow>
#include <chrono>

namespace qorin::ui {

namespace {

constexpr qint16 kLastCycleValue = 200; // stepped twice per cycle: 100 cycles
constexpr std::chrono::milliseconds kLongestExposureWait{500};

} // namespace

void Modul::Main()
{
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
}

// Shows the splash window and repaints it at once. A window system such as X11 maps a new
// window on its own time, and what is painted before that never reaches the screen; so the
// first cycle waits, a bounded time, until the window is exposed, and every cycle lets the
// exposure and paint events through. User input stays queued until the start-up procedure
// has returned.
void Modul::showSplashCycle()
{
    Logo& splash = SharedForm<Logo>::instance();
    splash.show();
    waitUntilExposed(splash);
    splash.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Modul::waitUntilExposed(const QWidget& window)
{
    const QDeadlineTimer deadline(kLongestExposureWait);
    while (!window.windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(1);
    }
}

} // namespace qorin::ui
