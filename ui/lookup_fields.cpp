#include "ui/lookup_fields.h"

#include "core/lookup_pass.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>

namespace qorin::ui {

LookupFields::LookupFields(QLineEdit& input, QPlainTextEdit& output)
    : m_input(input), m_output(output)
{
}

void LookupFields::runPass()
{
    const auto showAfterPass = qScopeGuard([this] { showOutput(); });
    runLookupPass(*this);
}

std::u16string LookupFields::readInput()
{
    return m_input.text().toStdU16String();
}

std::u16string LookupFields::readOutput()
{
    return m_written;
}

void LookupFields::writeOutput(std::u16string_view text)
{
    m_written = text;
}

void LookupFields::showOutput()
{
    if (m_written == m_shown)
        return;
    m_output.setPlainText(QString::fromStdU16String(m_written));
    m_shown = m_written;
}

} // namespace qorin::ui
