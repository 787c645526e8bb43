#pragma once

#include <QKeyEvent>
#include <optional>

namespace qorin::ui {

// The character code a key press produces, if it produces one: letters, digits, Enter,
// Escape, Backspace, Tab and Shift+Tab and the like do; arrows, function keys, modifiers
// alone and Alt with a letter (a menu key) do not.
std::optional<qint16> keyCharacter(const QKeyEvent& event);

// Whether the key is pressed with Alt as a menu key: Alt held, with or without Shift. AltGr
// is not Alt: on X11 it is a modifier of its own, on Windows it arrives as Ctrl+Alt; both
// type the letters of the keyboard's third level, such as the Polish ą ż ź.
bool isMenuKeyChord(const QKeyEvent& event);

} // namespace qorin::ui
