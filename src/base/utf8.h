#pragma once

#include "base/documentencoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// UTF-8 as RFC 3629 defines it: no overlong forms, no encoded surrogates, nothing
// above U+10FFFF. Every function reads the bytes once, front to back; runs of ASCII go
// sixteen bytes at a time, so large files cost little more than copying them.
namespace Utf8 {

struct Check
{
    bool valid = true;
    // At least one character took more than one byte (only meaningful when valid).
    bool multiByte = false;
    // Where the first sequence that cannot be read starts (a byte that cannot start
    // one, or the lead byte of one that goes wrong or is cut off by the end); -1 when
    // valid.
    qsizetype errorOffset = -1;
};

Check check(QByteArrayView bytes);

// Decodes into *text with CR LF and lone CR turned into '\n' (each kind counted in
// *breaks when given) and every tab replaced by tabSpaces spaces (0 keeps tabs). False
// when the bytes are not UTF-8: *errorOffset then gets the first byte that is not, and
// *text is unspecified.
bool decodeText(QByteArrayView bytes, QString *text, int tabSpaces = 0, LineBreakCounts *breaks = nullptr,
    qsizetype *errorOffset = nullptr);

// The characters as they are (line breaks untouched); nothing when not UTF-8.
std::optional<QString> decode(QByteArrayView bytes);

// Every character as it is, '\n' written as lineBreak. A surrogate without its pair
// cannot be written in UTF-8: it becomes U+FFFD, counted in *replaced when given.
QByteArray encode(QStringView text, LineBreak lineBreak = LineBreak::Lf, int *replaced = nullptr);

} // namespace Utf8
