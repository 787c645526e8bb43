#include "ui/platform/platform_start_guard.h"

#include "ui/platform/display_probe.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qorin::ui {

namespace {

constexpr int kStartFailureStatus = 1;

struct HeldMessage
{
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

struct Held
{
    std::mutex mutex;
    QtMessageHandler previous = nullptr;
    QList<HeldMessage> messages;
    QString problem;
};

Held& held()
{
    static Held instance;
    return instance;
}

// The line that names the platform that went wrong, from a message Qt gave before its fatal
// one.
QString problemFrom(const QString& category, const QString& message)
{
    static const QRegularExpression noPlugin(
        QStringLiteral("^Could not find the Qt platform plugin \"([^\"]*)\""));
    static const QRegularExpression pluginFailed(
        QStringLiteral("^Could not load the Qt platform plugin \"([^\"]*)\""));

    if (category == QLatin1String("qt.qpa.plugin")) {
        if (const auto match = noPlugin.match(message); match.hasMatch())
            return QStringLiteral("qorin: no such window system platform: '%1'")
                .arg(match.captured(1));
        if (const auto match = pluginFailed.match(message); match.hasMatch())
            return QStringLiteral("qorin: cannot start the window system platform '%1'")
                .arg(match.captured(1));
    }
    return {};
}

[[noreturn]] void endWith(const QString& problem)
{
    const QByteArray line = problem.toLocal8Bit() + '\n';
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    std::_Exit(kStartFailureStatus); // nothing of the half-made application may run
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    Held& h = held();
    std::unique_lock lock(h.mutex);
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    if (h.problem.isEmpty())
        h.problem = problemFrom(category, text);
    if (type == QtFatalMsg)
        endWith(h.problem.isEmpty() ? QStringLiteral("qorin: cannot start the window system")
                                    : h.problem);
    h.messages.append({type, context.file, context.line, context.function, context.category, text});
}

} // namespace

PlatformStartGuard::PlatformStartGuard(int argc, char** argv) : m_holding(true)
{
    if (const QString problem = unansweredDisplay(argc, argv); !problem.isEmpty())
        endWith(problem);
    Held& h = held();
    std::unique_lock lock(h.mutex);
    h.previous = qInstallMessageHandler(holdMessage);
}

PlatformStartGuard::~PlatformStartGuard()
{
    release();
}

void PlatformStartGuard::release()
{
    if (!m_holding)
        return;
    m_holding = false;
    closeProbeConnection(); // the window system has its own connection now
    Held& h = held();
    QList<HeldMessage> messages;
    {
        std::unique_lock lock(h.mutex);
        qInstallMessageHandler(h.previous);
        messages.swap(h.messages);
        h.problem.clear();
    }
    for (const HeldMessage& m : messages) {
        const QMessageLogContext context(m.file.constData(), m.line, m.function.constData(),
                                         m.category.constData());
        h.previous(m.type, context, m.text);
    }
}

} // namespace qorin::ui
