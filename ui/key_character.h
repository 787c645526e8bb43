#pragma once

#include <QKeyEvent>
#include <optional>

namespace qorin::ui {

// The character code a key press produces, if it produces one: letters, digits, Enter,
// Escape, Backspace and the like do; arrows, function keys and modifiers alone do not.
std::optional<qint16> keyCharacter(const QKeyEvent& event);

} // namespace qorin::ui
