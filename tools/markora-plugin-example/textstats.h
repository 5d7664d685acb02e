#pragma once

#include <QStringView>

// What the example plug-in counts in a document.
struct TextStats
{
    int words = 0; // runs of letters and digits in the text between tags
    int tags = 0; // opening and closing tags ("<P>", "</P>", "<BR>")
    int comments = 0; // "<!-- ... -->"
    int characters = 0; // every character of the document
};

// Counts an HTML text. Inside a tag nothing is a word (a ">" inside a quoted value does
// not end the tag); comments, "<!DOCTYPE ...>", "<?...?>" and the contents of SCRIPT and
// STYLE elements hold no words; a "<" that starts no tag is text. An entity reference
// ("&oacute;", "&#243;") counts as a letter, so "Zaż&oacute;łć" is one word; a tag ends a word.
TextStats countText(QStringView html);
