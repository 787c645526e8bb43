#pragma once

#include "ui/platform/platform_start_guard.h"

#include <QApplication>
#include <QPointer>
#include <functional>

class QMessageBox;

namespace qorin::ui {

// The application object: Qt's, plus the program's platform duties. A window system that
// cannot be started is reported in one line, and the program ends with status 1. Any
// exception that escapes a handler of ours is a run-time error: the standard message is
// shown, then the program ends with a non-zero status. And File, Exit ends the program at
// once: the event loop stops and no further handler runs.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    // The program's application object; every window of the program runs under one.
    static Application& instance();

    // Runs the start-up procedure, then the event loop, both under the run-time error
    // report. Returns the program's exit status.
    int run(const std::function<void()>& startUp);

    // Ends the program at once: nothing of ours runs after the current handler returns.
    void endNow();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // The guard holds while Qt's application object starts the window system: it is made
    // before that object, as the argument of this constructor, and released once it runs.
    Application(int& argc, char** argv, PlatformStartGuard&& startGuard);

    template <class Work> bool reportingErrors(const Work& work);
    void reportRunTimeError(const QString& what);
    bool isHeldBack(QObject* receiver, const QEvent* event) const;

    bool m_ended = false;
    QPointer<QMessageBox> m_report;
};

} // namespace qorin::ui
