#pragma once

#include <QStringView>

// Character references inside page text, as far as checking words needs them.
namespace HtmlEntities {

// Characters of a reference "&...;" that starts at text[pos] ('&' and ';' included): a
// name of letters and digits, "#" and decimal digits, or "#x" and hex digits, closed by
// ';' within 32 characters. 0 when none starts there.
int ReferenceLength(QStringView text, qsizetype pos);

// The code point a reference stands for, given what is between '&' and ';' ("zdot",
// "#380", "#x17C"). Names are those of HTML for the letters of Latin-1, Latin
// Extended-A and Greek, the soft hyphen, the no-break space and the five markup
// characters; numbers may name any character but a surrogate or 0. 0 for anything else.
char32_t Decode(QStringView reference);

} // namespace HtmlEntities
