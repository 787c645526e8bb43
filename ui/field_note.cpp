#include "field_note.h"

namespace qorin::ui {

namespace {

constexpr int kShownFor = 5000; // milliseconds

} // namespace

FieldNote::FieldNote(QWidget* field)
    : QLabel(field, Qt::ToolTip), m_field(field)
{
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kShownFor);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void FieldNote::showNote(const QString& text)
{
    setText(text);
    adjustSize();
    move(m_field->mapToGlobal(QPoint(0, m_field->height())));
    show();
    raise();
    m_hideTimer.start();
}

} // namespace qorin::ui
