#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <vector>

// One code table: the codes of the eighteen Polish letters in a code page, in the
// order Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż. A code of 0 means the table lacks it.
struct TConvData
{
    QString name;
    std::array<unsigned char, 18> codes {};
};

// The letters in table order, and the built-in tail-less table ("ACELNOSZZacelnoszz").
inline constexpr int kConvLetters = 18;
TConvData PolskawyTable();

struct ZnakiReadResult
{
    // The entries in file order (an entry with a bad code is still here).
    std::vector<TConvData> entries;
    // "Błąd w pliku znaki.txt, linia N." for each faulty line, in file order.
    QStringList errors;
    bool openFailed = false;
};

// Reads a znaki.txt table file (Windows-1250 text). Lines are counted from 1, comments
// included, and read up to 255 characters. ";" starts a comment line; blank lines are
// skipped. An entry is a name in double quotes and 18 integer codes separated by spaces
// (or quotes); the low 8 bits of each are kept. A missing or non-integer code ends the
// line: the codes after it stay 0 and the line's error is reported.
ZnakiReadResult ReadZnaki(const QString &path);
// The same for text already in memory (lines separated by '\n').
ZnakiReadResult ParseZnaki(QStringView text);

// The tables by name: the file's entries in order, the built-in one last. Names match
// regardless of letter case; the first match wins.
class ConvLookup
{
public:
    ConvLookup() = default;
    explicit ConvLookup(std::vector<TConvData> fileEntries);

    const TConvData *find(const QString &name) const;
    const std::vector<TConvData> &entries() const { return m_entries; }
    // Entries read from the file (all but the built-in one).
    int fileCount() const { return int(m_entries.size()) - 1; }

private:
    std::vector<TConvData> m_entries { PolskawyTable() };
};

// Recodes the Polish letters of text from table `from` to table `to`. Works on the
// Windows-1250 bytes of each character: positions 1..18 are tested in order and each
// match sets the result to the target code (a later match overrides an earlier one),
// in one pass. The text keeps its length. Characters outside Windows-1250, codes 0 in
// the source and matches whose target code is 0 are left as they are, so a damaged
// table never turns a letter into NUL.
QString ConvertPolish(QStringView text, const TConvData &from, const TConvData &to);

// The byte rule alone: maps a Windows-1250 byte. Exposed for the table display and tests.
unsigned char ConvertByte(unsigned char byte, const TConvData &from, const TConvData &to);
