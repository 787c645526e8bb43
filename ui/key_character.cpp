#include "key_character.h"

namespace qorin::ui {

std::optional<qint16> keyCharacter(const QKeyEvent& event)
{
    const QString text = event.text();
    // Delete reports itself as a character on some systems but produces none.
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    return static_cast<qint16>(text.at(0).unicode());
}

} // namespace qorin::ui
