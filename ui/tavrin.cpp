#include "ui/tavrin.h"

#include "ui/design_fonts.h"
#include "ui/field_note.h"
#include "ui/frm_splash.h"
#include "ui/lookup_fields.h"
#include "ui/menu_keys.h"
#include "ui/platform/application.h"
#include "ui/platform/window_manager.h"
#include "ui/shared_form.h"
#include "ui/tavrin_surface.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace qorin::ui {

namespace {

constexpr int kTimer1Interval = 200; // milliseconds

// The input field holds any headword hundreds of times over, but not without end: Qt lays
// out and paints a field's whole line on every key and every blink of the caret, so a
// million characters cost about a quarter of a second a key and a quarter of a core while
// idle. At this length a key costs a few milliseconds and the idle window almost nothing.
constexpr int kLongestInput = 10'000; // characters

// The note that the input field is full keeps this far from the badge to the field's right.
constexpr int kNoteGap = 4; // logical pixels

const QColor kFieldBackground(255, 255, 192);
const QColor kFieldText(0, 0, 0);
const QColor kButtonFace(255, 238, 170);

void setColours(QWidget& widget, QPalette::ColorRole backgroundRole, const QColor& background,
                QPalette::ColorRole textRole, const QColor& text)
{
    QPalette palette = widget.palette();
    palette.setColor(backgroundRole, background);
    palette.setColor(textRole, text);
    widget.setPalette(palette);
}

} // namespace

Tavrin::Tavrin()
{
    setObjectName(QStringLiteral("Tavrin"));
}

Tavrin::~Tavrin() = default;

void Tavrin::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setWindowTitle(QStringLiteral("Tavrin Qorin"));
    setWindowIcon(QIcon(QStringLiteral(":/assets/qorin.ico")));
    // A fixed single border: minimise and close, no maximise, no resizing (on Windows the
    // thin border of a fixed-size window, which has no sizing frame; elsewhere it changes
    // nothing).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    createMenus();
    new MenuKeys(menuBar(), {A, B}); // owned by the menu bar
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    centreOnScreen(*this, expectedFrameMargins(*this));
    Timer1->start();
}

void Tavrin::setVisible(bool visible)
{
    if (visible)
        load();
    QMainWindow::setVisible(visible);
}

void Tavrin::createControls()
{
    m_surface = new TavrinSurface(this);
    setCentralWidget(m_surface);

    A = new QLineEdit(m_surface);
    A->setObjectName(QStringLiteral("A"));
    A->setGeometry(twipsRect(720, 720, 5655, 375));
    A->setFont(timesNewRoman(14.25));
    setColours(*A, QPalette::Base, kFieldBackground, QPalette::Text, kFieldText);
    A->setMaxLength(kLongestInput);
    // The badges under the fields say which language each holds; a screen reader hears it
    // from the fields' names.
    A->setAccessibleName(QStringLiteral("Polish word"));
    A->setAccessibleDescription(QStringLiteral(
        "Type a Polish word or phrase; its Spanish translation follows as you type."));
    // Below the field, left of its badge "POLSKI": wrapped to fit there in any font.
    m_inputLimitNote =
        new FieldNote(A, m_surface->inputBadge().geometry.left() - kNoteGap - A->x());
    m_inputLimitNote->setObjectName(QStringLiteral("inputLimitNote"));
    connect(A, &QLineEdit::inputRejected, this, &Tavrin::showInputLimit);

    Command1 = new QPushButton(QStringLiteral("?"), m_surface);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(5760, 240, 615, 420));
    Command1->setFont(timesNewRoman(18, true));
    setColours(*Command1, QPalette::Button, kButtonFace, QPalette::ButtonText, kFieldText);
    Command1->setIcon(QIcon(QStringLiteral(":/assets/command1.ico")));
    Command1->setIconSize(QSize(32, 32));
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    Command1->setVisible(false); // never shown: the timer is the only trigger
    connect(Command1, &QPushButton::clicked, this, &Tavrin::Command1_Click);

    B = new QPlainTextEdit(m_surface);
    B->setObjectName(QStringLiteral("B"));
    B->setGeometry(twipsRect(720, 1800, 5655, 1695));
    B->setFont(timesNewRoman(14.25));
    setColours(*B, QPalette::Base, kFieldBackground, QPalette::Text, kFieldText);
    B->setReadOnly(true);
    B->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    B->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    B->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    B->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    B->setUndoRedoEnabled(false);
    B->setTabChangesFocus(true);
    B->setToolTip(QStringLiteral("Translation"));
    B->setAccessibleName(QStringLiteral("Spanish translation"));
    B->setAccessibleDescription(QStringLiteral("The Spanish translation of the Polish word."));
    B->viewport()->setCursor(Qt::ArrowCursor);

    m_lookupFields = std::make_unique<LookupFields>(*A, *B);

    setTabOrder(A, Command1);
    setTabOrder(Command1, B);
    A->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimer1Interval);
    connect(Timer1, &QTimer::timeout, this, &Tavrin::Timer1_Timer);
}

void Tavrin::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File"));
    file->setAccessibleName(QStringLiteral("File"));
    file->setAccessibleDescription(QStringLiteral("Exit ends Qorin."));
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, &Tavrin::Exit_Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help"));
    help->setAccessibleName(QStringLiteral("Help"));
    help->setAccessibleDescription(
        QStringLiteral("About shows the program's name, its authors and its version."));
    QAction* about = help->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuInfo"));
    connect(about, &QAction::triggered, this, &Tavrin::mnuInfo_Click);
}

// Text beyond the input field's length was not taken in, from a paste or a key: the user is
// told so beside the field. What the field held stays as it was.
void Tavrin::showInputLimit()
{
    m_inputLimitNote->showNote(
        QStringLiteral("This field holds at most %L1 characters.").arg(kLongestInput));
}

void Tavrin::Timer1_Timer()
{
    Command1_Click();
}

void Tavrin::Command1_Click()
{
    m_lookupFields->runPass();
}

void Tavrin::mnuInfo_Click()
{
    SharedForm<frmSplash>::setVisible(true);
}

void Tavrin::Exit_Click()
{
    SharedForm<frmSplash>::unload();
    Application::instance().endNow();
}

void Tavrin::Form_Unload()
{
    SharedForm<frmSplash>::unload();
}

void Tavrin::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    // The window unloads; its timer, which loading made, goes with it.
    if (Timer1)
        Timer1->stop();
}

} // namespace qorin::ui
