#include "ui/key_character.h"

namespace qorin::ui {

namespace {

constexpr qint16 kTab = 9;

} // namespace

std::optional<qint16> keyCharacter(const QKeyEvent& event)
{
    if (isMenuKeyChord(event))
        return std::nullopt;
    // Shift+Tab gives the Tab character too, though some systems report it with no text.
    if (event.key() == Qt::Key_Backtab)
        return kTab;
    const QString text = event.text();
    // Delete reports itself as a character on some systems but produces none.
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    return static_cast<qint16>(text.at(0).unicode());
}

bool isMenuKeyChord(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier);
}

} // namespace qorin::ui
