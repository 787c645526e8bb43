#pragma once

namespace qorin::ui {

// Watches the start of the window system while the application object is being made. Qt
// reports a window system it cannot start (no display, a display nobody answers on, an
// unknown platform) by a fatal message that ends in an abort and advice to reinstall. While
// a guard holds, Qt's messages are held back; a fatal one is replaced by one line on
// standard error naming the problem, "qorin: cannot open the display ':1'", and the process
// ends with status 1. Once the window system runs, release() passes the held messages on.
class PlatformStartGuard
{
public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;

    void release();

private:
    bool m_holding = false;
};

} // namespace qorin::ui
