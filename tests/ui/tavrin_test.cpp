#include "qorin_ui_test.h"
#include "ui/field_note.h"
#include "ui/frm_splash.h"
#include "ui/logo.h"
#include "ui/menu_keys.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"
#include "ui/tavrin_surface.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QTimerEvent>
#include <memory>

using qorin::ui::Application;
using qorin::ui::FieldNote;
using qorin::ui::frmSplash;
using qorin::ui::Logo;
using qorin::ui::MenuKeys;
using qorin::ui::PictureForm;
using qorin::ui::SharedForm;
using qorin::ui::Tavrin;
using qorin::ui::TavrinSurface;
using qorin::ui::test::LoadedTavrin;
using qorin::ui::test::typeInto;

namespace {

bool near(const QColor& actual, const QColor& expected, int tolerance = 8)
{
    return qAbs(actual.red() - expected.red()) <= tolerance &&
           qAbs(actual.green() - expected.green()) <= tolerance &&
           qAbs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace

class TavrinTest : public QObject
{
    Q_OBJECT

private slots:
    void typingShowsTranslationWithoutKeyOrClick_data();
    void typingShowsTranslationWithoutKeyOrClick();
    void clearingInputEmptiesOutput();
    void passesGoOnWhileMinimised();
    void millionCharacterPasteKeepsWindowWorking();
    void inputLimitNoteKeepsClearOfTheBadge_data();
    void inputLimitNoteKeepsClearOfTheBadge();
    void inputLimitNoteIsPartOfTheWindowAndGoesByItself();
    void altWithALetterTypesNothing_data();
    void altWithALetterTypesNothing();
    void f10OpensTheMenusAndEscapeLeavesThem();
    void altSelectsTheMenuBarAsBefore();
    void awkwardInputMatchesNothingAndHarmsNothing_data();
    void awkwardInputMatchesNothingAndHarmsNothing();
    void selectionInOutputSurvivesTicks();
    void keyboardSelectsAndCopiesPartOfTheTranslation_data();
    void keyboardSelectsAndCopiesPartOfTheTranslation();
    void fieldsHaveTheirDesignSettings();
    void fontsAreRequestedAsDesigned();
    void tabMovesBetweenInputAndOutputOnly();
    void buttonIsHiddenAndNotDefault();
    void windowIsFixedWithoutMaximiseAndCentred();
    void menuTreeHasPlainEntries();
    void timerTicksEvery200ms();
    void surfaceItemsAreListedBackToFront();
    void surfaceIsPaintedInOrder();
    void aboutOpensOnceAndWindowStaysUsable();
    void closingTakesAboutWindowAlongAndStopsTimer();
    void closingAnUnloadedWindowIsHarmless();
    void childrenAreFoundByTheirClass();
    void everyClassHasItsOwnMetaObject_data();
    void everyClassHasItsOwnMetaObject();
};

void TavrinTest::typingShowsTranslationWithoutKeyOrClick_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("translation");
    QTest::newRow("capital first letter") << "Kot"
                                          << "el gato";
    QTest::newRow("Polish capitals") << "ABAŻUR"
                                     << "el pantalla";
    QTest::newRow("reflexive verb") << "kąpać się"
                                    << "bańarse";
    QTest::newRow("last row of the table") << "szambo"
                                           << "el pozo negro";
    QTest::newRow("no such headword") << "kotx"
                                      << "";
}

void TavrinTest::typingShowsTranslationWithoutKeyOrClick()
{
    QFETCH(QString, typed);
    QFETCH(QString, translation);
    LoadedTavrin w;
    typeInto(w.A, typed);
    QVERIFY(w.B->toPlainText().isEmpty()); // typing runs no pass; the next tick does
    w.tick();
    QCOMPARE(w.B->toPlainText(), translation);
    // It stays there tick after tick.
    w.tick(2);
    QCOMPARE(w.B->toPlainText(), translation);
}

void TavrinTest::clearingInputEmptiesOutput()
{
    LoadedTavrin w;
    QTest::keyClicks(w.A, "obok");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("cerca de"));
    w.A->selectAll();
    QTest::keyClick(w.A, Qt::Key_Backspace);
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString());
}

void TavrinTest::passesGoOnWhileMinimised()
{
    LoadedTavrin w;
    w.tavrin->showMinimized();
    QVERIFY(w.Timer1->isActive());
    w.A->setText("osada");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("la población"));
}

// The input field takes what fits of a paste of a million characters and says so; what it
// held stays, and a key typed when it is full is refused the same way.
void TavrinTest::millionCharacterPasteKeepsWindowWorking()
{
    LoadedTavrin w;
    QString huge;
    while (huge.size() < 1'000'000)
        huge += QString::number(huge.size()) + QString::fromUtf16(u"Żółw ");
    QGuiApplication::clipboard()->setText(huge);
    w.A->setText("kot");
    w.A->setCursorPosition(1);
    w.A->paste();
    constexpr int kLongest = 10'000;
    QCOMPARE(w.A->text(), "k" + huge.left(kLongest - 3) + "ot");
    auto* note = w.tavrin->findChild<QLabel*>("inputLimitNote");
    QVERIFY(note && note->isVisible());
    QVERIFY2(note->text().contains("10"), qPrintable(note->text()));
    QCOMPARE(note->window(), w.tavrin.get()); // drawn inside the main window
    QCOMPARE(note->mapTo(w.tavrin.get(), QPoint()),
             w.A->mapTo(w.tavrin.get(), QPoint(0, w.A->height())));
    note->hide();

    QTest::keyClicks(w.A, "x"); // pressed and let go: the note stays
    QCOMPARE(w.A->text().size(), kLongest);
    QVERIFY(note->isVisible());
    w.tick(3); // passes over the longest input
    QCOMPARE(w.B->toPlainText(), QString());

    w.A->clear();
    QTest::keyClicks(w.A, "dla");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("para"));
}

void TavrinTest::inputLimitNoteKeepsClearOfTheBadge_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("the program's font") << QFont();
    QFont wide("DejaVu Sans", 11);
    QTest::newRow("a wide face, as a desktop theme gives") << wide;
    wide.setBold(true);
    wide.setPointSize(14);
    QTest::newRow("large and bold") << wide;
    QTest::newRow("very large") << QFont("Liberation Serif", 22);
}

// Whatever the font, the note below the full input field stays left of the "POLSKI" badge,
// inside the window, and shows all its text.
void TavrinTest::inputLimitNoteKeepsClearOfTheBadge()
{
    QFETCH(QFont, font);
    LoadedTavrin w;
    auto* note = w.tavrin->findChild<QLabel*>("inputLimitNote");
    const auto* surface = w.tavrin->findChild<TavrinSurface*>();
    QVERIFY(note && surface);
    note->setFont(font);
    w.A->setText(QString(w.A->maxLength(), u'a'));
    QTest::keyClicks(w.A, "b");
    QVERIFY(note->isVisible());

    const QRect placed(note->mapTo(surface, QPoint()), note->size());
    const QRect badge = surface->inputBadge().geometry;
    QVERIFY(!badge.isEmpty());
    QVERIFY2(!placed.intersects(badge), qPrintable(QString("note at %1,%2 %3x%4")
                                                       .arg(placed.x())
                                                       .arg(placed.y())
                                                       .arg(placed.width())
                                                       .arg(placed.height())));
    QVERIFY(surface->rect().contains(placed));
    QCOMPARE(placed.topLeft(), w.A->geometry().bottomLeft() + QPoint(0, 1));
    const QRect text = QFontMetrics(note->font())
                           .boundingRect(QRect(QPoint(), note->contentsRect().size() - QSize(4, 0)),
                                         Qt::TextWordWrap, note->text());
    QVERIFY2(text.height() <= note->contentsRect().height(),
             qPrintable(QString("text %1 high, room %2")
                            .arg(text.height())
                            .arg(note->contentsRect().height())));
}

// The note is a part of the main window, not a window of its own: it hides with the window
// and comes back with it, takes no focus, and goes by itself after 5 s.
void TavrinTest::inputLimitNoteIsPartOfTheWindowAndGoesByItself()
{
    LoadedTavrin w;
    QVERIFY(QTest::qWaitForWindowActive(w.tavrin.get()));
    auto* note = w.tavrin->findChild<QLabel*>("inputLimitNote");
    auto* hideTimer = note->findChild<QTimer*>("hideTimer");
    QVERIFY(hideTimer);
    w.A->setText(QString(w.A->maxLength(), u'a'));
    QTest::keyClicks(w.A, "b");
    QVERIFY(note->isVisible());
    // It goes by itself five seconds after it was shown: its timer's own event, sent at once.
    QVERIFY(hideTimer->isActive());
    QVERIFY(hideTimer->isSingleShot());
    QCOMPARE(hideTimer->interval(), 5'000);
    QVERIFY(!note->isWindow());
    QCOMPARE(note->focusPolicy(), Qt::NoFocus);
    QCOMPARE(QApplication::focusWidget(), w.A);
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY(window == w.tavrin.get() || !window->isVisible());

    w.tavrin->hide();
    QVERIFY(!note->isVisible());
    w.tavrin->show();
    QVERIFY(note->isVisible());

    QTimerEvent event(hideTimer->timerId());
    QCoreApplication::sendEvent(hideTimer, &event);
    QVERIFY(!note->isVisible());
    QVERIFY(!hideTimer->isActive());
}

void TavrinTest::altWithALetterTypesNothing_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    const int alt = Qt::AltModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Alt+F") << alt << "f"
                           << "";
    QTest::newRow("Alt+H") << alt << "h"
                           << "";
    QTest::newRow("Alt+Shift+F") << (alt | shift) << "F"
                                 << "";
    QTest::newRow("Alt+7") << alt << "7"
                           << "";
    QTest::newRow("Alt+ą (an AltGr letter, Alt held too)") << alt << "ą"
                                                           << "";
    QTest::newRow("AltGr+a on X11") << int(Qt::GroupSwitchModifier) << "ą"
                                    << "ą";
    QTest::newRow("AltGr+Shift+z on X11") << (int(Qt::GroupSwitchModifier) | shift) << "Ż"
                                          << "Ż";
    QTest::newRow("AltGr+x on Windows (Ctrl+Alt)") << (int(Qt::ControlModifier) | alt) << "ź"
                                                   << "ź";
    QTest::newRow("plain letter") << int(Qt::NoModifier) << "f"
                                  << "f";
    QTest::newRow("Shift+letter") << shift << "F"
                                  << "F";
}

// Alt with a letter is a menu key: it types nothing into the input field, so the
// translation stays. AltGr types the Polish letters.
void TavrinTest::altWithALetterTypesNothing()
{
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, typed);
    LoadedTavrin w;
    typeInto(w.A, "kot");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::KeyboardModifiers(modifiers), text);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(w.A, &press);
    QApplication::sendEvent(w.A, &release);
    QCOMPARE(w.A->text(), "kot" + typed);
}

// F10 opens the first menu, as on GNOME and KDE; arrows and Enter choose, and Escape (or F10
// again) leaves the menus, the keys going back to the input field.
void TavrinTest::f10OpensTheMenusAndEscapeLeavesThem()
{
    LoadedTavrin w;
    QVERIFY(QTest::qWaitForWindowActive(w.tavrin.get()));
    QMenuBar* bar = w.tavrin->menuBar();
    auto* file = w.tavrin->findChild<QMenu*>("File");
    auto* help = w.tavrin->findChild<QMenu*>("Help");
    QCOMPARE(QApplication::focusWidget(), w.A);

    for (const Qt::Key leave : {Qt::Key_Escape, Qt::Key_F10}) {
        QTest::keyClick(w.A, Qt::Key_F10);
        QTRY_VERIFY(file->isVisible());
        QCOMPARE(bar->activeAction(), file->menuAction());
        QTest::keyClick(file, leave);
        QTRY_VERIFY(!file->isVisible());
        QCOMPARE(bar->activeAction(), nullptr);
        QCOMPARE(QApplication::focusWidget(), w.A);
        QTest::keyClicks(QApplication::focusWidget(), "k");
    }
    QCOMPARE(w.A->text(), QString("kk"));

    // F10, Right to Help (its first entry chosen), Enter: About.
    QSignalSpy about(w.tavrin->findChild<QAction*>("mnuInfo"), &QAction::triggered);
    QTest::keyClick(w.A, Qt::Key_F10);
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Right);
    QTRY_VERIFY(help->isVisible());
    QTest::keyClick(help, Qt::Key_Return);
    QCOMPARE(about.count(), 1);
    QVERIFY(SharedForm<frmSplash>::isLoaded());
    SharedForm<frmSplash>::unload();
}

// Alt pressed and let go selects the menu bar, as Qt does; in a menu opened from there,
// Escape goes back to the menu bar, and a second Escape leaves it.
void TavrinTest::altSelectsTheMenuBarAsBefore()
{
    LoadedTavrin w;
    QVERIFY(QTest::qWaitForWindowActive(w.tavrin.get()));
    QMenuBar* bar = w.tavrin->menuBar();
    auto* file = w.tavrin->findChild<QMenu*>("File");
    QTest::keyPress(w.A, Qt::Key_Alt);
    QTest::keyRelease(w.A, Qt::Key_Alt, Qt::AltModifier);
    QTRY_VERIFY(bar->hasFocus());
    QTest::keyClick(bar, Qt::Key_Down);
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
    QVERIFY(bar->hasFocus());
    QCOMPARE(bar->activeAction(), file->menuAction());
    QTest::keyClick(bar, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), w.A);
}

void TavrinTest::awkwardInputMatchesNothingAndHarmsNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("lone high surrogate") << QString::fromUtf16(u"kot") + QChar(0xD800);
    QTest::newRow("lone low surrogate") << QChar(0xDC00) + QString::fromUtf16(u"kot");
    QTest::newRow("control characters") << QString::fromUtf16(u"k\u0001o\u0007t\u001B");
    QTest::newRow("right-to-left marks") << QString::fromUtf16(u"\u200Fkot\u202E");
    QTest::newRow("decomposed ą does not match ą") << QString::fromUtf16(u"ka\u0328pac\u0301");
    QTest::newRow("supplementary-plane capitals") << QString::fromUtf16(u"\U00010400\U0001E900KOT");
    QTest::newRow("zero-width space inside a headword") << QString::fromUtf16(u"ko\u200Bt");
    QTest::newRow("tab and newline") << QString::fromUtf16(u"kot\t\n");
}

// Text that no row can match: the output stays empty, and the window goes on translating.
void TavrinTest::awkwardInputMatchesNothingAndHarmsNothing()
{
    QFETCH(QString, input);
    LoadedTavrin w;
    typeInto(w.A, "kot");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("el gato"));
    w.A->setText(input);
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString());
    w.tick(2);
    QCOMPARE(w.B->toPlainText(), QString());

    w.A->clear();
    typeInto(w.A, "kąpać");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("bańar"));
}

void TavrinTest::selectionInOutputSurvivesTicks()
{
    LoadedTavrin w;
    QTest::keyClicks(w.A, "apteka");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("la farmacia, la botica"));

    QTextCursor cursor = w.B->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    w.B->setTextCursor(cursor);
    QSignalSpy textChanges(w.B, &QPlainTextEdit::textChanged);

    w.tick(5); // each tick writes the output twice
    QCOMPARE(w.B->textCursor().selectedText(), QString("farmacia"));
    QCOMPARE(textChanges.count(), 0);
}

// The translation's text can be selected from the keyboard, in part, and copied.
void TavrinTest::keyboardSelectsAndCopiesPartOfTheTranslation_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("selected");
    // From the start of "la farmacia, la botica".
    QTest::newRow("Shift+Right twice") << QKeySequence("Shift+Right, Shift+Right") << "la";
    QTest::newRow("Right three times, then Shift+End")
        << QKeySequence("Right, Right, Right, Shift+End") << "farmacia, la botica";
    QTest::newRow("Ctrl+End, then Shift+Left")
        << QKeySequence("Ctrl+End, Shift+Left, Shift+Left") << "ca";
    QTest::newRow("Shift+Ctrl+Right") << QKeySequence("Shift+Ctrl+Right") << "la ";
}

void TavrinTest::keyboardSelectsAndCopiesPartOfTheTranslation()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, selected);
    LoadedTavrin w;
    QTest::keyClicks(w.A, "apteka");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("la farmacia, la botica"));
    QGuiApplication::clipboard()->clear();

    w.B->setFocus();
    QTest::keySequence(w.B, QKeySequence(Qt::CTRL | Qt::Key_Home));
    for (int i = 0; i < keys.count(); ++i)
        QTest::keySequence(w.B, QKeySequence(keys[i]));
    QCOMPARE(w.B->textCursor().selectedText(), selected);
    QTest::keySequence(w.B, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);

    w.tick(3); // the passes leave the selection as it is
    QCOMPARE(w.B->textCursor().selectedText(), selected);
}

void TavrinTest::fieldsHaveTheirDesignSettings()
{
    LoadedTavrin w;
    QCOMPARE(w.A->geometry(), QRect(48, 48, 377, 25));
    QCOMPARE(w.B->geometry(), QRect(48, 120, 377, 113));
    QVERIFY(w.A->text().isEmpty());
    QVERIFY(w.B->toPlainText().isEmpty());
    QCOMPARE(w.A->maxLength(), 10'000);

    for (QWidget* field : {static_cast<QWidget*>(w.A), static_cast<QWidget*>(w.B)}) {
        QCOMPARE(field->palette().color(QPalette::Base), QColor(255, 255, 192));
        QCOMPARE(field->palette().color(QPalette::Text), QColor(0, 0, 0));
    }

    QVERIFY(w.B->isReadOnly());
    QVERIFY(w.B->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    QCOMPARE(w.B->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(w.B->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(w.B->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(w.B->toolTip(), QString("Translation"));
    QCOMPARE(w.B->viewport()->cursor().shape(), Qt::ArrowCursor);

    // The user cannot type into the output.
    w.B->setFocus();
    QTest::keyClicks(w.B, "xyz");
    QVERIFY(w.B->toPlainText().isEmpty());
}

void TavrinTest::fontsAreRequestedAsDesigned()
{
    LoadedTavrin w;
    const auto* Command1 = w.tavrin->findChild<QPushButton*>("Command1");
    const auto* surface = w.tavrin->findChild<TavrinSurface*>();
    QVERIFY(Command1 && surface);

    struct Expected
    {
        QFont font;
        QString family;
        qreal points;
        bool bold;
    };
    const Expected expected[] = {
        {w.A->font(), "Times New Roman", 14.25, false},
        {w.B->font(), "Times New Roman", 14.25, false},
        {Command1->font(), "Times New Roman", 18.0, true},
        {surface->labelFont(), "MS Serif", 9.75, true},
    };
    for (const Expected& e : expected) {
        QCOMPARE(e.font.families().value(0), e.family);
        QCOMPARE(e.font.pointSizeF(), e.points);
        QCOMPARE(e.font.bold(), e.bold);
        // Whatever face stands in, it can show every Polish letter.
        const QFontMetrics metrics(e.font);
        for (QChar letter : QString("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ"))
            QVERIFY2(metrics.inFont(letter), qPrintable(QString("missing %1").arg(letter)));
    }
}

void TavrinTest::tabMovesBetweenInputAndOutputOnly()
{
    LoadedTavrin w;
    QVERIFY(QTest::qWaitForWindowActive(w.tavrin.get()));
    QCOMPARE(QApplication::focusWidget(), w.A);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.B);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.A);
}

void TavrinTest::buttonIsHiddenAndNotDefault()
{
    LoadedTavrin w;
    const auto* Command1 = w.tavrin->findChild<QPushButton*>("Command1");
    QVERIFY(Command1);
    QVERIFY(!Command1->isVisible());
    QCOMPARE(Command1->text(), QString("?"));
    QCOMPARE(Command1->geometry(), QRect(384, 16, 41, 28));
    QVERIFY(!Command1->isDefault());
    QVERIFY(!Command1->autoDefault());
    QVERIFY(!Command1->icon().isNull());
    QCOMPARE(Command1->palette().color(QPalette::Button), QColor(255, 238, 170));
    // Return in the input field clicks nothing.
    QSignalSpy clicks(Command1, &QPushButton::clicked);
    QTest::keyClick(w.A, Qt::Key_Return);
    QCOMPARE(clicks.count(), 0);
}

void TavrinTest::windowIsFixedWithoutMaximiseAndCentred()
{
    LoadedTavrin w;
    const Qt::WindowFlags flags = w.tavrin->windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(w.tavrin->windowTitle(), QString("Tavrin Qorin"));
    QVERIFY(!w.tavrin->windowIcon().isNull());
    QCOMPARE(w.tavrin->minimumSize(), w.tavrin->maximumSize());
    QCOMPARE(w.tavrin->centralWidget()->size(), QSize(474, 292));
    QCOMPARE(w.tavrin->centralWidget()->y(), w.tavrin->menuBar()->height());

    // Centred when loaded, before the window system has put its frame around it; the frame
    // may shift it by its own width.
    const QPoint screenCentre = w.tavrin->screen()->availableGeometry().center();
    const QPoint offCentre = w.tavrin->frameGeometry().center() - screenCentre;
    const QPoint frame = w.tavrin->geometry().topLeft() - w.tavrin->frameGeometry().topLeft();
    QVERIFY2(offCentre.manhattanLength() <= frame.manhattanLength() + 2,
             qPrintable(QString("off centre by %1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TavrinTest::menuTreeHasPlainEntries()
{
    LoadedTavrin w;
    const QList<QAction*> bar = w.tavrin->menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    const QStringList barTexts{bar[0]->text(), bar[1]->text()};
    QCOMPARE(barTexts, QStringList({"File", "Help"}));

    const struct
    {
        QString menu;
        QString item;
        QString itemName;
    } tree[] = {{"File", "Exit", "Exit"}, {"Help", "About", "mnuInfo"}};
    for (const auto& entry : tree) {
        const auto* menu = w.tavrin->findChild<QMenu*>(entry.menu);
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        const QAction* item = menu->actions().first();
        QCOMPARE(item->text(), entry.item);
        QCOMPARE(item->objectName(), entry.itemName);
        QVERIFY(!item->isSeparator());
        QVERIFY(!item->isCheckable());
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(item->isEnabled() && item->isVisible());
        QVERIFY(!item->text().contains('&'));
    }
    for (const QAction* action : bar)
        QVERIFY(!action->text().contains('&'));
}

// The one test that lets the real timer run: it ticks every 200 ms from the moment the
// window is loaded, and each tick runs a pass.
void TavrinTest::timerTicksEvery200ms()
{
    QElapsedTimer sinceLoad;
    sinceLoad.start();
    Tavrin tavrin;
    tavrin.load(); // loaded, not shown: the timer runs already
    const auto* Timer1 = tavrin.findChild<QTimer*>("Timer1");
    QVERIFY(Timer1);
    QCOMPARE(Timer1->interval(), 200);
    QVERIFY(Timer1->isActive());
    QVERIFY(!Timer1->isSingleShot());
    QVERIFY(!tavrin.isVisible());

    QSignalSpy ticks(Timer1, &QTimer::timeout);
    tavrin.findChild<QLineEdit*>("A")->setText("kot");
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 5000);
    // Three ticks take three intervals at least; Qt lets a timer fire up to 5 % early.
    QVERIFY2(sinceLoad.elapsed() >= 3 * 190, qPrintable(QString::number(sinceLoad.elapsed())));
    QCOMPARE(tavrin.findChild<QPlainTextEdit*>("B")->toPlainText(), QString("el gato"));
}

void TavrinTest::surfaceItemsAreListedBackToFront()
{
    LoadedTavrin w;
    const auto* surface = w.tavrin->findChild<TavrinSurface*>();
    QVERIFY(surface);
    const struct
    {
        QString name;
        QRect geometry;
    } expected[] = {
        {"Image1", {8, 0, 460, 285}},  {"Shape4", {52, 125, 377, 113}},
        {"Shape3", {52, 53, 377, 25}}, {"Shape5", {320, 72, 80, 18}},
        {"Label2", {327, 73, 67, 17}}, {"Shape6", {321, 232, 80, 18}},
        {"ŃŃ", {322, 232, 81, 17}},    {"Shape1", {7, 1, 461, 285}},
    };
    QCOMPARE(surface->items().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QCOMPARE(surface->items()[i].name, expected[i].name);
        QCOMPARE(surface->items()[i].geometry, expected[i].geometry);
    }
    QCOMPARE(surface->items()[4].text, QString("POLSKI"));
    QCOMPARE(surface->items()[6].text, QString::fromUtf16(u"ESPA\u0143OL"));
    // The input field's badge is the one behind "POLSKI".
    QCOMPARE(&surface->inputBadge(), &surface->items()[3]);
    QCOMPARE(surface->inputBadge().name, QString("Shape5"));
}

void TavrinTest::surfaceIsPaintedInOrder()
{
    LoadedTavrin w;
    auto* surface = w.tavrin->findChild<TavrinSurface*>();
    const QImage image = surface->grab().toImage();
    const QColor darkOrange(192, 128, 0);

    // The frame lies over the picture.
    QVERIFY(near(image.pixelColor(7, 150), Qt::black));
    QVERIFY(near(image.pixelColor(466, 150), Qt::black));
    // The shadows show along the right edges of the fields.
    QVERIFY(near(image.pixelColor(427, 60), darkOrange));
    QVERIFY(near(image.pixelColor(427, 200), darkOrange));
    // The badges with their borders.
    QVERIFY(near(image.pixelColor(360, 89), Qt::black));
    QVERIFY(near(image.pixelColor(322, 80), darkOrange));
    // The background picture between the frame's edges: warm colours.
    const QColor picture = image.pixelColor(20, 150);
    QVERIFY(picture.red() > 180 && picture.blue() < 120);
    // The margin left of the picture shows the window's own background.
    QVERIFY(near(image.pixelColor(2, 150), w.tavrin->palette().color(QPalette::Window)));
    // Yellow lettering lies over each badge.
    for (const QRect label : {QRect(327, 73, 67, 17), QRect(322, 232, 81, 17)}) {
        int yellow = 0;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x)
                yellow += near(image.pixelColor(x, y), QColor(255, 255, 0), 40);
        QVERIFY2(yellow > 20, qPrintable(QString("yellow pixels: %1").arg(yellow)));
    }
}

void TavrinTest::aboutOpensOnceAndWindowStaysUsable()
{
    LoadedTavrin w;
    auto* about = w.tavrin->findChild<QAction*>("mnuInfo");
    about->trigger();
    about->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        open += widget->objectName() == "frmSplash" && widget->isVisible();
    QCOMPARE(open, 1);
    QVERIFY(SharedForm<frmSplash>::instance().parent() == nullptr); // shown without an owner

    QTest::keyClicks(w.A, "ile");
    w.tick();
    QCOMPARE(w.B->toPlainText(), QString("Cuánto"));
    SharedForm<frmSplash>::unload();
}

void TavrinTest::closingTakesAboutWindowAlongAndStopsTimer()
{
    LoadedTavrin w;
    w.tavrin->findChild<QAction*>("mnuInfo")->trigger();
    QVERIFY(SharedForm<frmSplash>::isLoaded());
    w.tavrin->close();
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
    QVERIFY(!w.tavrin->findChild<QTimer*>("Timer1")->isActive());
}

// Closing a window that was never loaded does what closing does, without a timer to stop.
void TavrinTest::closingAnUnloadedWindowIsHarmless()
{
    SharedForm<frmSplash>::setVisible(true);
    {
        Tavrin tavrin;
        tavrin.close();
        QVERIFY(!tavrin.findChild<QTimer*>("Timer1"));
    }
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
}

// A child looked up by its class is of that class, whatever was made before it.
void TavrinTest::childrenAreFoundByTheirClass()
{
    Tavrin tavrin;
    auto* before = new QWidget(&tavrin); // made before any control
    tavrin.load();
    const auto* surface = tavrin.findChild<TavrinSurface*>();
    QVERIFY(surface);
    QCOMPARE(surface->objectName(), QString("TavrinSurface"));
    QCOMPARE(qobject_cast<TavrinSurface*>(before), nullptr);
    QCOMPARE(tavrin.findChild<FieldNote*>()->objectName(), QString("inputLimitNote"));
    QCOMPARE(tavrin.findChildren<TavrinSurface*>().size(), 1);
}

void TavrinTest::everyClassHasItsOwnMetaObject_data()
{
    QTest::addColumn<const QMetaObject*>("meta");
    QTest::addColumn<QString>("name");
    QTest::addColumn<const QMetaObject*>("base");
    QTest::newRow("Tavrin") << &Tavrin::staticMetaObject << "qorin::ui::Tavrin"
                            << &QMainWindow::staticMetaObject;
    QTest::newRow("TavrinSurface") << &TavrinSurface::staticMetaObject << "qorin::ui::TavrinSurface"
                                   << &QWidget::staticMetaObject;
    QTest::newRow("FieldNote") << &FieldNote::staticMetaObject << "qorin::ui::FieldNote"
                               << &QLabel::staticMetaObject;
    QTest::newRow("MenuKeys") << &MenuKeys::staticMetaObject << "qorin::ui::MenuKeys"
                              << &QObject::staticMetaObject;
    QTest::newRow("PictureForm") << &PictureForm::staticMetaObject << "qorin::ui::PictureForm"
                                 << &QWidget::staticMetaObject;
    QTest::newRow("frmSplash") << &frmSplash::staticMetaObject << "qorin::ui::frmSplash"
                               << &PictureForm::staticMetaObject;
    QTest::newRow("Logo") << &Logo::staticMetaObject << "qorin::ui::Logo"
                          << &PictureForm::staticMetaObject;
    QTest::newRow("Application") << &Application::staticMetaObject << "qorin::ui::Application"
                                 << &QApplication::staticMetaObject;
}

// Each class of ours derived from QObject has a meta-object of its own, so qobject_cast and
// findChild tell it from its base class.
void TavrinTest::everyClassHasItsOwnMetaObject()
{
    QFETCH(const QMetaObject*, meta);
    QFETCH(QString, name);
    QFETCH(const QMetaObject*, base);
    QCOMPARE(QString(meta->className()), name);
    QCOMPARE(meta->superClass(), base);
}

QORIN_UI_TEST_MAIN(TavrinTest)
#include "tavrin_test.moc"
