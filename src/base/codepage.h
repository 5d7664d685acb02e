#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The two 8-bit code pages documents are stored in, as complete tables. Decoding
// never fails: a byte the code page leaves undefined maps to the code point of the
// same value and encodes back to that byte, so any file survives a load and save.
namespace CodePage {

enum Id { Windows1250, Iso8859_2 };

QString decode(QByteArrayView bytes, Id id);
// Characters the code page cannot hold are written as "&#N;" (N decimal); their
// count goes to *unmappable when given.
QByteArray encode(QStringView text, Id id, int *unmappable = nullptr);

char16_t toUnicode(unsigned char byte, Id id);
// The byte for c, or -1 when the code page cannot hold it.
int fromUnicode(char16_t c, Id id);

} // namespace CodePage
