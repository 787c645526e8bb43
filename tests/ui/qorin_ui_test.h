#pragma once

// What the UI test programs share: their main(), the main window loaded and shown with its
// named controls, ticks of its lookup timer, typing as a keyboard does, and the top-level
// windows that exist.

#include "ui/frm_splash.h"
#include "ui/platform/accessibility.h"
#include "ui/platform/application.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <memory>

// Runs a Qt Test object under the program's own application object, with the program's
// accessibility set-up, so the windows find the platform layer they run on.
#define QORIN_UI_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        qorin::ui::Application application(argc, argv);                                            \
        qorin::ui::installAccessibility();                                                         \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

namespace qorin::ui::test {

// The main window, loaded and shown, with its named controls.
struct LoadedTavrin
{
    std::unique_ptr<Tavrin> tavrin = std::make_unique<Tavrin>();
    QLineEdit* A = nullptr;
    QPlainTextEdit* B = nullptr;
    QTimer* Timer1 = nullptr;

    LoadedTavrin()
    {
        tavrin->load();
        tavrin->show();
        A = find<QLineEdit>("A");
        B = find<QPlainTextEdit>("B");
        Timer1 = find<QTimer>("Timer1");
    }

    template <class T> T* find(const char* name) const { return tavrin->findChild<T*>(name); }

    // Ticks of `Timer1`, each the timer event its interval would bring, sent at once and
    // through the application object as the event loop sends it. A stopped timer gets none.
    void tick(int ticks = 1) const
    {
        for (int i = 0; i < ticks && Timer1->isActive(); ++i) {
            QTimerEvent event(Timer1->timerId());
            QCoreApplication::sendEvent(Timer1, &event);
        }
    }
};

// Types text the way a keyboard does, Polish letters included (QTest::keyClicks takes
// Latin-1 only).
inline void typeInto(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// The top-level windows of this object name that exist, loaded or on their way out (those
// deleted later are deleted first).
inline int liveWindows(const QString& name)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == name;
    return count;
}

// Opens About as Help, About does, and gives it the focus.
inline frmSplash& openAbout()
{
    SharedForm<frmSplash>::setVisible(true);
    frmSplash& about = SharedForm<frmSplash>::instance();
    about.activateWindow();
    return about;
}

} // namespace qorin::ui::test
