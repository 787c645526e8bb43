#include "ui/field_note.h"

#include "ui/platform/accessibility.h"

#include <QFontMetrics>
#include <QTimer>

namespace qorin::ui {

namespace {

constexpr int kShownFor = 5000; // milliseconds

} // namespace

FieldNote::FieldNote(QWidget* field, int widest)
    : QLabel(field->parentWidget()), m_field(field), m_widest(widest)
{
    presentToScreenReaders(*this, ScreenReaderRole::Alert);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    m_hideTimer = new QTimer(this);
    m_hideTimer->setObjectName(QStringLiteral("hideTimer"));
    m_hideTimer->setSingleShot(true);
    m_hideTimer->setInterval(kShownFor);
    connect(m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void FieldNote::showNote(const QString& text)
{
    setText(text);
    // On one line when it fits, else wrapped at the widest it may be, whatever the font.
    const int frame = 2 * (margin() + frameWidth());
    const int oneLine = QFontMetrics(font()).horizontalAdvance(text) + frame + 1;
    const int width = qMin(oneLine, m_widest);
    setGeometry(m_field->x(), m_field->geometry().bottom() + 1, width, heightForWidth(width));
    raise();
    show();
    m_hideTimer->start();
}

} // namespace qorin::ui
