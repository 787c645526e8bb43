#include "ui/platform/application.h"

#include <QMessageBox>
#include <QWidget>
#include <exception>

namespace qorin::ui {

namespace {

constexpr int kRunTimeErrorStatus = 1;

// The top-level window an object belongs to, if any.
const QWidget* windowOf(const QObject* object)
{
    for (; object; object = object->parent()) {
        if (object->isWidgetType())
            return static_cast<const QWidget*>(object)->window();
    }
    return nullptr;
}

} // namespace

Application::Application(int& argc, char** argv)
    : Application(argc, argv, PlatformStartGuard(argc, argv))
{
}

Application::Application(int& argc, char** argv, PlatformStartGuard&& startGuard)
    : QApplication(argc, argv)
{
    startGuard.release(); // the window system runs
    setApplicationName(QStringLiteral("Qorin"));
    setApplicationVersion(QStringLiteral(QORIN_VERSION_TEXT));
}

// Runs the work; an exception that escapes it is reported as a run-time error, which ends
// the program. Returns whether the work ran to its end.
template <class Work> bool Application::reportingErrors(const Work& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        reportRunTimeError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportRunTimeError(QStringLiteral("unknown error"));
    }
    return false;
}

Application& Application::instance()
{
    auto* application = qobject_cast<Application*>(QCoreApplication::instance());
    Q_ASSERT(application);
    return *application;
}

int Application::run(const std::function<void()>& startUp)
{
    return reportingErrors(startUp) ? exec() : kRunTimeErrorStatus;
}

void Application::endNow()
{
    m_ended = true;
    exit(0);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    if (m_ended || isHeldBack(receiver, event))
        return false;
    bool handled = true;
    reportingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

// While the run-time error message is up, the program's windows get no timer ticks: the
// failed program must not go on working behind the message.
bool Application::isHeldBack(QObject* receiver, const QEvent* event) const
{
    if (!m_report || event->type() != QEvent::Timer)
        return false;
    const QWidget* window = windowOf(receiver);
    return window && window != m_report;
}

void Application::reportRunTimeError(const QString& what)
{
    if (m_report || m_ended)
        return; // already ending because of an earlier error
    const QString text = QStringLiteral("Run-time error:\n\n%1").arg(what);
    QMessageBox box(QMessageBox::Critical, applicationName(), text, QMessageBox::Ok);
    m_report = &box;
    box.exec();
    m_ended = true;
    exit(kRunTimeErrorStatus);
}

} // namespace qorin::ui
