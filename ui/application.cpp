#include "application.h"

#include <QMessageBox>
#include <QWidget>
#include <cstdio>
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

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Qorin"));
    setApplicationVersion(QStringLiteral("4.09.0005"));
}

Application& Application::instance()
{
    auto* application = dynamic_cast<Application*>(QCoreApplication::instance());
    Q_ASSERT(application);
    return *application;
}

int Application::run(const std::function<void()>& startUp)
{
    try {
        startUp();
    } catch (const std::exception& error) {
        reportRunTimeError(QString::fromUtf8(error.what()));
        return kRunTimeErrorStatus;
    } catch (...) {
        reportRunTimeError(QStringLiteral("unknown error"));
        return kRunTimeErrorStatus;
    }
    return exec();
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
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportRunTimeError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportRunTimeError(QStringLiteral("unknown error"));
    }
    return true;
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
    std::fprintf(stderr, "%s: %s\n", qPrintable(applicationName()),
                 qPrintable(QString(text).replace(QStringLiteral("\n\n"), QStringLiteral(" "))));
    QMessageBox box(QMessageBox::Critical, applicationName(), text, QMessageBox::Ok);
    m_report = &box;
    box.exec();
    m_ended = true;
    exit(kRunTimeErrorStatus);
}

} // namespace qorin::ui
