#include "services/htmlentities.h"

#include <QHash>
#include <QString>

namespace {
constexpr int kMaxReference = 32;

// Runs of consecutive code points and their names; nullptr where HTML names none.
struct NamedRun
{
    char32_t first;
    std::initializer_list<const char *> names;
};

const QHash<QString, char32_t> &namedReferences()
{
    static const QHash<QString, char32_t> table = [] {
        const NamedRun runs[] = {
            { 0x22, { "quot" } },
            { 0x26, { "amp", "apos" } },
            { 0x3C, { "lt", nullptr, "gt" } },
            { 0xA0, { "nbsp" } },
            { 0xAD, { "shy" } },
            { 0xC0,
                { "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave",
                    "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde", "Ograve",
                    "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute", "Ucirc",
                    "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml",
                    "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute",
                    "icirc", "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide",
                    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml" } },
            { 0x100,
                { "Amacr", "amacr", "Abreve", "abreve", "Aogon", "aogon", "Cacute", "cacute", "Ccirc",
                    "ccirc", "Cdot", "cdot", "Ccaron", "ccaron", "Dcaron", "dcaron", "Dstrok", "dstrok",
                    "Emacr", "emacr", nullptr, nullptr, "Edot", "edot", "Eogon", "eogon", "Ecaron", "ecaron",
                    "Gcirc", "gcirc", "Gbreve", "gbreve", "Gdot", "gdot", "Gcedil", nullptr, "Hcirc", "hcirc",
                    "Hstrok", "hstrok", "Itilde", "itilde", "Imacr", "imacr", nullptr, nullptr, "Iogon",
                    "iogon", "Idot", "imath", "IJlig", "ijlig", "Jcirc", "jcirc", "Kcedil", "kcedil",
                    "kgreen", "Lacute", "lacute", "Lcedil", "lcedil", "Lcaron", "lcaron", "Lmidot", "lmidot",
                    "Lstrok", "lstrok", "Nacute", "nacute", "Ncedil", "ncedil", "Ncaron", "ncaron", "napos",
                    "ENG", "eng", "Omacr", "omacr", nullptr, nullptr, "Odblac", "odblac", "OElig", "oelig",
                    "Racute", "racute", "Rcedil", "rcedil", "Rcaron", "rcaron", "Sacute", "sacute", "Scirc",
                    "scirc", "Scedil", "scedil", "Scaron", "scaron", "Tcedil", "tcedil", "Tcaron", "tcaron",
                    "Tstrok", "tstrok", "Utilde", "utilde", "Umacr", "umacr", "Ubreve", "ubreve", "Uring",
                    "uring", "Udblac", "udblac", "Uogon", "uogon", "Wcirc", "wcirc", "Ycirc", "ycirc", "Yuml",
                    "Zacute", "zacute", "Zdot", "zdot", "Zcaron", "zcaron" } },
            { 0x131, { "inodot" } },
            { 0x391,
                { "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa",
                    "Lambda", "Mu", "Nu", "Xi", "Omicron", "Pi", "Rho", nullptr, "Sigma", "Tau", "Upsilon",
                    "Phi", "Chi", "Psi", "Omega" } },
            { 0x3B1,
                { "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa",
                    "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigmaf", "sigma", "tau", "upsilon",
                    "phi", "chi", "psi", "omega" } },
        };
        QHash<QString, char32_t> t;
        for (const NamedRun &run : runs) {
            char32_t c = run.first;
            for (const char *name : run.names) {
                if (name)
                    t.insert(QString::fromLatin1(name), c);
                ++c;
            }
        }
        return t;
    }();
    return table;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAsciiAlnum(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}
} // namespace

namespace HtmlEntities {

int ReferenceLength(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size() || text[pos] != u'&')
        return 0;
    qsizetype i = pos + 1;
    const qsizetype end = std::min(text.size(), pos + kMaxReference);
    if (i < end && text[i] == u'#') {
        ++i;
        const bool hex = i < end && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digits = i;
        while (i < end && (hex ? isHexDigit(text[i]) : (text[i] >= u'0' && text[i] <= u'9')))
            ++i;
        if (i == digits)
            return 0;
    } else {
        const qsizetype name = i;
        while (i < end && isAsciiAlnum(text[i]))
            ++i;
        if (i == name)
            return 0;
    }
    return i < end && text[i] == u';' ? int(i - pos + 1) : 0;
}

char32_t Decode(QStringView reference)
{
    if (reference.startsWith(u'#')) {
        QStringView digits = reference.mid(1);
        int base = 10;
        if (digits.startsWith(u'x') || digits.startsWith(u'X')) {
            digits = digits.mid(1);
            base = 16;
        }
        if (digits.isEmpty() || digits.size() > 8)
            return 0;
        bool ok = false;
        const uint value = digits.toUInt(&ok, base);
        if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return 0;
        return char32_t(value);
    }
    return namedReferences().value(reference.toString(), 0);
}

} // namespace HtmlEntities
