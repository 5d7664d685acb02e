#pragma once

#include <QStringView>

// Character references inside page text, as far as checking words needs them.
namespace CharacterReference {

// Characters of a reference "&...;" that starts at text[pos] ('&' and ';' included): a
// name of letters and digits, "#" and decimal digits, or "#x" and hex digits, closed by
// ';' within 32 characters. 0 when none starts there.
int Length(QStringView text, qsizetype pos);

// The code point a reference stands for, given what is between '&' and ';' ("zdot",
// "#380", "#x17C"): any name of HTML's table that stands for one character, any number
// but a surrogate or 0. 0 for anything else.
char32_t Decode(QStringView reference);

} // namespace CharacterReference
