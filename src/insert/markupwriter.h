#pragma once

#include <QString>
#include <QStringView>

// Escapes a text for a double-quoted attribute value: '"' becomes "&quot;", '<' and '>'
// "&lt;" and "&gt;" (a '>' would end the tag for the lower-case option), a line break a
// space, and '&' "&amp;" unless it begins a character reference ("&copy;", "&#169;",
// "&#xA9;"), which the user wrote on purpose.
QString EscapeAttribute(QStringView value);
// Escapes text between tags: '<', '>' and a '&' that begins no character reference.
QString EscapeText(QStringView text);

// One start tag in the program's style: upper-case names, every value double-quoted.
// Values are trimmed and escaped; an empty one is left out unless kept on purpose.
class TagWriter
{
public:
    explicit TagWriter(QStringView name);

    TagWriter &attr(QStringView name, QStringView value);
    // Written even when empty (ALT="" of a decorative picture).
    TagWriter &attrKept(QStringView name, QStringView value);
    // Written when value >= 0; a negative number means "not given".
    TagWriter &number(QStringView name, int value);
    // An attribute without a value ("DEFER"), written when on.
    TagWriter &flag(QStringView name, bool on);

    // The tag with its closing ">".
    QString text() const { return m_text + QLatin1Char('>'); }

private:
    QString m_text;
};
