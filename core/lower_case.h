#pragma once

#include <string>
#include <string_view>

namespace qorin {

// Lower-cases text one character for one: every capital letter (A-Z, the Polish
// Ą Ć Ę Ł Ń Ó Ś Ź Ż and the capitals of every other script) becomes its small form, every
// other character stays as it is. Surrogate pairs are decoded so capitals outside the Basic
// Multilingual Plane are lowered too; an unpaired surrogate passes through unchanged. The
// result always has the input's length in UTF-16 code units.
std::u16string lowerCaseCopy(std::u16string_view text);

// The same, in place: no buffer of its own.
void lowerCaseInPlace(std::u16string& text);

} // namespace qorin
