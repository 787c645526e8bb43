#include "qorin_ui_test.h"
#include "ui/frm_splash.h"
#include "ui/logo.h"
#include "ui/modul.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"
#include "ui/tavrin_surface.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <memory>

using qorin::ui::frmSplash;
using qorin::ui::Logo;
using qorin::ui::Modul;
using qorin::ui::SharedForm;
using qorin::ui::Tavrin;
using qorin::ui::TavrinSurface;
using qorin::ui::test::LoadedTavrin;

// What a screen reader is told about the windows, through the same accessible interfaces that
// Qt's bridge to the desktop's accessibility bus (AT-SPI on Linux) reads.

namespace {

QAccessibleInterface* accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QList<QAccessibleInterface*> childrenOf(QAccessibleInterface* parent)
{
    QList<QAccessibleInterface*> children;
    for (int i = 0; i < parent->childCount(); ++i)
        children << parent->child(i);
    return children;
}

// The application's windows as a screen reader lists them.
QList<QAccessibleInterface*> applicationWindows()
{
    return childrenOf(accessible(qApp));
}

QAccessibleInterface* applicationWindowNamed(const QString& name)
{
    for (QAccessibleInterface* window : applicationWindows())
        if (window->text(QAccessible::Name) == name)
            return window;
    return nullptr;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void fieldsAreNamedForTheirLanguages_data();
    void fieldsAreNamedForTheirLanguages();
    void surfaceListsOnlyTheFieldsNotTheHiddenButton();
    void translationCanBeReadThroughTheTextInterface();
    void menusAreNamedAndDescribed();
    void pictureWindowsAreNamedAndDescribed_data();
    void pictureWindowsAreNamedAndDescribed();
    void aboutWindowSaysWhatItsPictureSays();
    void inputLimitNoteIsAnAlert();
    void afterStartUpOnlyTheMainWindowIsListed();
};

void AccessibilityTest::cleanup()
{
    SharedForm<frmSplash>::unload();
    SharedForm<Logo>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void AccessibilityTest::fieldsAreNamedForTheirLanguages_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("editable");
    QTest::newRow("input") << "A"
                           << "Polish word" << true;
    QTest::newRow("output") << "B"
                            << "Spanish translation" << false;
}

void AccessibilityTest::fieldsAreNamedForTheirLanguages()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    QFETCH(bool, editable);
    LoadedTavrin w;
    QAccessibleInterface* iface = accessible(w.tavrin->findChild<QWidget*>(field));
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->text(QAccessible::Name), name);
    const QString description = iface->text(QAccessible::Description);
    QVERIFY2(description.size() > name.size() && description != name, qPrintable(description));
    QCOMPARE(iface->state().readOnly, !editable);
    QVERIFY(iface->state().focusable);
    QVERIFY(!iface->state().invisible);
    QVERIFY(iface->textInterface());
}

void AccessibilityTest::surfaceListsOnlyTheFieldsNotTheHiddenButton()
{
    LoadedTavrin w;
    QAccessibleInterface* surface = accessible(w.tavrin->findChild<TavrinSurface*>());
    QVERIFY(surface);
    QList<QObject*> listed;
    for (QAccessibleInterface* child : childrenOf(surface)) {
        QVERIFY(child);
        listed << child->object();
        QVERIFY(!child->state().invisible);
        QCOMPARE(child->parent(), surface);
        QCOMPARE(surface->indexOfChild(child), listed.size() - 1);
    }
    const QList<QObject*> fields{w.find<QLineEdit>("A"), w.find<QPlainTextEdit>("B")};
    QCOMPARE(listed, fields);

    // The hidden button has no place among them, and the main window still lists its surface.
    QAccessibleInterface* button = accessible(w.find<QWidget>("Command1"));
    QCOMPARE(surface->indexOfChild(button), -1);
    QVERIFY(childrenOf(accessible(w.tavrin.get())).contains(surface));
}

void AccessibilityTest::translationCanBeReadThroughTheTextInterface()
{
    LoadedTavrin w;
    QTest::keyClicks(w.find<QLineEdit>("A"), "Kot");
    QAccessibleTextInterface* output = accessible(w.find<QPlainTextEdit>("B"))->textInterface();
    w.tick();
    QCOMPARE(output->text(0, output->characterCount()), QString("el gato"));
    QAccessibleTextInterface* input = accessible(w.find<QLineEdit>("A"))->textInterface();
    QCOMPARE(input->text(0, input->characterCount()), QString("Kot"));
}

void AccessibilityTest::menusAreNamedAndDescribed()
{
    LoadedTavrin w;
    QAccessibleInterface* bar = accessible(w.tavrin->menuBar());
    QCOMPARE(bar->role(), QAccessible::MenuBar);
    const struct
    {
        QString menu;
        QString item;
    } expected[] = {{"File", "Exit"}, {"Help", "About"}};
    QCOMPARE(bar->childCount(), int(std::size(expected)));
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface* title = bar->child(i);
        QCOMPARE(title->role(), QAccessible::MenuItem);
        QCOMPARE(title->text(QAccessible::Name), expected[i].menu);
        QCOMPARE(title->childCount(), 1);
        QAccessibleInterface* menu = title->child(0);
        QCOMPARE(menu->role(), QAccessible::PopupMenu);
        QCOMPARE(menu->text(QAccessible::Name), expected[i].menu);
        // The menu's description says what its entry does, naming it.
        QVERIFY(menu->text(QAccessible::Description).startsWith(expected[i].item + " "));
        QCOMPARE(menu->childCount(), 1);
        QCOMPARE(menu->child(0)->role(), QAccessible::MenuItem);
        QCOMPARE(menu->child(0)->text(QAccessible::Name), expected[i].item);
    }
}

void AccessibilityTest::pictureWindowsAreNamedAndDescribed_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("About window") << true << QAccessible::Dialog << "About Qorin";
    QTest::newRow("splash window") << false << QAccessible::Window << "Qorin";
}

// The windows show nothing but a picture and have no caption; a screen reader lists them
// among the program's windows by name and role, and reads what the picture says.
void AccessibilityTest::pictureWindowsAreNamedAndDescribed()
{
    QFETCH(bool, about);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QWidget& window = about ? static_cast<QWidget&>(SharedForm<frmSplash>::instance())
                            : SharedForm<Logo>::instance();
    window.show();
    QVERIFY(window.windowTitle().isEmpty());

    QAccessibleInterface* listed = applicationWindowNamed(name);
    QVERIFY(listed);
    QCOMPARE(listed->object(), &window);
    QCOMPARE(listed->role(), role);
    QVERIFY(!listed->state().invisible);
    QVERIFY(listed->text(QAccessible::Description).size() > name.size());
    QCOMPARE(listed->childCount(), 0); // no controls: everything is in the picture

    // Closed, it leaves the list.
    if (about)
        SharedForm<frmSplash>::unload();
    else
        SharedForm<Logo>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!applicationWindowNamed(name));
}

// The lines lettered on the About picture by tools/make-assets.sh all stand in the window's
// description, in their order.
void AccessibilityTest::aboutWindowSaysWhatItsPictureSays()
{
    QFile script(QString(QORIN_SOURCE_DIR) + "/tools/make-assets.sh");
    QVERIFY(script.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(script.readAll());
    const qsizetype start = text.indexOf("about_picture() {");
    const qsizetype end = text.indexOf("\n}\n", start);
    QVERIFY(start >= 0 && end > start);
    QStringList lines;
    // Each line in single quotes, or in double quotes with the project's version for $version.
    const QRegularExpression annotation(R"re(-annotate [^'"]+(?:'([^']+)'|"([^"]+)"))re");
    for (const auto& match : annotation.globalMatch(text.mid(start, end - start)))
        lines << QString(match.captured(1) + match.captured(2))
                     .replace("$version", QStringLiteral(QORIN_VERSION));
    QCOMPARE(lines.size(), 5);

    SharedForm<frmSplash>::show();
    const QString description =
        accessible(&SharedForm<frmSplash>::instance())->text(QAccessible::Description);
    qsizetype at = 0;
    for (const QString& line : lines) {
        at = description.indexOf(line, at);
        QVERIFY2(at >= 0, qPrintable(line));
    }
}

// Typing into a full input field brings up a note that a screen reader speaks as it appears:
// an alert, listed inside the main window.
void AccessibilityTest::inputLimitNoteIsAnAlert()
{
    LoadedTavrin w;
    auto* A = w.find<QLineEdit>("A");
    A->setText(QString(A->maxLength(), u'a'));
    QTest::keyClicks(A, "b");
    const auto* note = w.find<QLabel>("inputLimitNote");
    QVERIFY(note && note->isVisible());

    QVERIFY(!applicationWindowNamed(note->text())); // not a window of its own
    QAccessibleInterface* alert = nullptr;
    for (QAccessibleInterface* child :
         childrenOf(accessible(w.tavrin->findChild<TavrinSurface*>())))
        if (child->object() == note)
            alert = child;
    QVERIFY(alert);
    QCOMPARE(alert->role(), QAccessible::AlertMessage);
    QCOMPARE(alert->text(QAccessible::Name), note->text());
    QVERIFY(!alert->state().invisible);
    QVERIFY(!alert->state().focusable);
}

// The start-up procedure ends with the splash window gone from the list of windows, though
// the event loop has not run yet.
void AccessibilityTest::afterStartUpOnlyTheMainWindowIsListed()
{
    Modul modul;
    modul.Main();
    const QList<QAccessibleInterface*> windows = applicationWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.first()->object(), modul.mainWindow());
    QCOMPARE(windows.first()->role(), QAccessible::Window);
    QCOMPARE(windows.first()->text(QAccessible::Name), QString("Tavrin Qorin"));
}

QORIN_UI_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
