#include "modul.h"

#include "logo.h"
#include "shared_form.h"

#include <QCoreApplication>

namespace qorin::ui {

namespace {

constexpr qint16 kLastCycleValue = 200; // stepped twice per cycle: 100 cycles

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
// window on its own time, and a picture painted before that is lost; so the exposure and
// paint events that have arrived are let through as well. User input stays queued until the
// start-up procedure has returned.
void Modul::showSplashCycle()
{
    Logo& splash = SharedForm<Logo>::instance();
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace qorin::ui
