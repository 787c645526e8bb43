#pragma once

#include "ui/tavrin.h"

#include <QDeadlineTimer>
#include <QtGlobal>
#include <memory>

namespace qorin::ui {

// The program's start-up module: shows the splash window for a fixed number of
// show-and-repaint cycles, then creates, loads and shows the one main window, closes the
// splash window and returns. The main window it creates lives as long as the module.
class Modul
{
public:
    // The start-up procedure.
    void Main();

    // The one main window, once the start-up procedure has made it.
    Tavrin* mainWindow() const { return m_mainWindow.get(); }

private:
    void showSplashCycle();
    void waitUntilExposed(const QWidget& window) const;

    qint16 m_cycle = 0;
    QDeadlineTimer m_exposureDeadline;
    std::unique_ptr<Tavrin> m_mainWindow;
};

} // namespace qorin::ui
