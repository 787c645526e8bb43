#include "qorin_ui_test.h"
#include "ui/frm_splash.h"
#include "ui/shared_form.h"

#include <QImage>

using qorin::ui::frmSplash;
using qorin::ui::SharedForm;
using qorin::ui::test::liveWindows;
using qorin::ui::test::openAbout;

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void opensAtItsStoredPositionWithItsSettings();
    void showsTheAboutPictureUnscaled();
    void openingTwiceGivesOneWindow();
    void mouseClosesIt_data();
    void mouseClosesIt();
    void characterKeysCloseIt_data();
    void characterKeysCloseIt();
    void otherKeysLeaveItOpen_data();
    void otherKeysLeaveItOpen();
    void reopensAfreshAtItsStoredPosition();
    void unloadWhenNotLoadedDoesNothing();
    void openingAndClosingManyTimesLeavesNothingBehind();
};

void AboutTest::cleanup()
{
    SharedForm<frmSplash>::unload();
    QCOMPARE(liveWindows("frmSplash"), 0);
}

void AboutTest::opensAtItsStoredPositionWithItsSettings()
{
    frmSplash& about = openAbout();
    QVERIFY(about.isVisible());
    // Client area 4170 x 3150 twips, its top-left corner at (4530, 4545) twips.
    QCOMPARE(about.clientRect().size(), QSize(278, 210));
    QCOMPARE(about.mapToGlobal(about.clientRect().topLeft()), QPoint(302, 303));
    QCOMPARE(about.size(), QSize(280, 212)); // with its single-line border

    const Qt::WindowFlags flags = about.windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint)); // no title bar
    QVERIFY(!flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(about.windowTitle().isEmpty());
    QVERIFY(!about.windowIcon().isNull());
    QCOMPARE(about.cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(about.cursor().pixmap().size(), QSize(32, 32));
}

void AboutTest::showsTheAboutPictureUnscaled()
{
    frmSplash& about = openAbout();
    const QImage shown = about.grab().toImage();
    const QImage picture(":/assets/about.jpg");
    QCOMPARE(picture.size(), QSize(278, 210));
    const QPoint origin = about.clientRect().topLeft();
    for (const QPoint p : {QPoint(0, 0), QPoint(139, 105), QPoint(277, 209), QPoint(50, 150)})
        QCOMPARE(shown.pixelColor(origin + p), picture.pixelColor(p));
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black)); // the border
}

void AboutTest::openingTwiceGivesOneWindow()
{
    frmSplash& first = openAbout();
    frmSplash& second = openAbout();
    QCOMPARE(&first, &second);
    QCOMPARE(liveWindows("frmSplash"), 1);
}

void AboutTest::mouseClosesIt_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("where");
    QTest::newRow("click in the middle") << false << Qt::LeftButton << QPoint(140, 100);
    QTest::newRow("click near a corner") << false << Qt::LeftButton << QPoint(5, 5);
    QTest::newRow("double-click") << true << Qt::LeftButton << QPoint(200, 50);
    QTest::newRow("right click") << false << Qt::RightButton << QPoint(140, 100);
    QTest::newRow("middle click") << false << Qt::MiddleButton << QPoint(60, 150);
}

void AboutTest::mouseClosesIt()
{
    QFETCH(bool, doubleClick);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, where);
    frmSplash& about = openAbout();
    if (doubleClick)
        QTest::mouseDClick(&about, button, {}, where);
    else
        QTest::mouseClick(&about, button, {}, where);
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
    QCOMPARE(liveWindows("frmSplash"), 0);
}

// Each key with its modifiers and the text a keyboard gives it.
void AboutTest::characterKeysCloseIt_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("letter") << int(Qt::Key_A) << none << "a";
    QTest::newRow("capital") << int(Qt::Key_A) << shift << "A";
    QTest::newRow("digit") << int(Qt::Key_7) << none << "7";
    QTest::newRow("Polish letter") << int(Qt::Key_unknown) << none << "ż";
    QTest::newRow("AltGr+a on X11") << int(Qt::Key_unknown) << int(Qt::GroupSwitchModifier) << "ą";
    QTest::newRow("AltGr+a on Windows (Ctrl+Alt)")
        << int(Qt::Key_unknown) << int(Qt::ControlModifier | Qt::AltModifier) << "ą";
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << "\x01";
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "\r";
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b";
    QTest::newRow("space") << int(Qt::Key_Space) << none << " ";
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t";
    QTest::newRow("Shift+Tab, as X11 gives it") << int(Qt::Key_Backtab) << shift << "";
    QTest::newRow("Shift+Tab, with its character") << int(Qt::Key_Backtab) << shift << "\t";
}

void AboutTest::characterKeysCloseIt()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    frmSplash& about = openAbout();
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(&about, &press);
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
    QCOMPARE(liveWindows("frmSplash"), 0);
}

// Each key is sent with the text a keyboard gives it: Delete comes with the DEL control
// character, yet produces no character in a field.
// Alt with a letter is a menu key: it gives no character, though X11 sends the letter along.
void AboutTest::otherKeysLeaveItOpen_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    const int none = Qt::NoModifier;
    QTest::newRow("arrow") << int(Qt::Key_Left) << none << "";
    QTest::newRow("function key") << int(Qt::Key_F1) << none << "";
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << "";
    QTest::newRow("Alt alone") << int(Qt::Key_Alt) << int(Qt::AltModifier) << "";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "\x7f";
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier) << "a";
    QTest::newRow("Alt+Shift+A") << int(Qt::Key_A) << int(Qt::AltModifier | Qt::ShiftModifier)
                                 << "A";
    QTest::newRow("Alt+7") << int(Qt::Key_7) << int(Qt::AltModifier) << "7";
}

void AboutTest::otherKeysLeaveItOpen()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    frmSplash& about = openAbout();
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(&about, &press);
    QVERIFY(SharedForm<frmSplash>::isLoaded());
    QVERIFY(about.isVisible());
}

void AboutTest::reopensAfreshAtItsStoredPosition()
{
    frmSplash& first = openAbout();
    first.move(10, 10);
    QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(liveWindows("frmSplash"), 0);

    frmSplash& second = openAbout();
    QCOMPARE(second.mapToGlobal(second.clientRect().topLeft()), QPoint(302, 303));
    QVERIFY(second.isVisible());
}

void AboutTest::unloadWhenNotLoadedDoesNothing()
{
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
    SharedForm<frmSplash>::unload();
    QVERIFY(!SharedForm<frmSplash>::isLoaded());
    QCOMPARE(liveWindows("frmSplash"), 0);
}

void AboutTest::openingAndClosingManyTimesLeavesNothingBehind()
{
    const qsizetype before = QApplication::allWidgets().size();
    for (int i = 0; i < 1000; ++i) {
        frmSplash& about = openAbout();
        if (i % 2)
            QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(50, 50));
        else
            SharedForm<frmSplash>::unload();
        QVERIFY(liveWindows("frmSplash") <= 1);
    }
    QCOMPARE(liveWindows("frmSplash"), 0);
    QCOMPARE(QApplication::allWidgets().size(), before);
}

QORIN_UI_TEST_MAIN(AboutTest)
#include "about_test.moc"
