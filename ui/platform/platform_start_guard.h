#pragma once

namespace qorin::ui {

// Watches the start of the window system while the application object is being made. Qt
// reports a window system it cannot start by a fatal message that ends in an abort and advice
// to reinstall. So the guard first asks whether the display answers (unansweredDisplay); if
// none does, it says so in one line on standard error, "qorin: cannot open the display ':1'",
// and the process ends with status 1. Then, while it holds, Qt's messages are held back; a
// fatal one (an unknown platform, one that cannot start) is replaced by one line naming the
// problem, and the process ends with status 1. Once the window system runs, release() passes
// the held messages on. `argc` and `argv` are the program's, as Qt will read them.
class PlatformStartGuard
{
public:
    PlatformStartGuard(int argc, char** argv);
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;

    void release();

private:
    bool m_holding = false;
};

} // namespace qorin::ui
