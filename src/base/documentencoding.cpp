#include "base/documentencoding.h"

QString LineBreakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CrLf:
        return QStringLiteral("CR LF");
    case LineBreak::Lf:
        return QStringLiteral("LF");
    case LineBreak::Cr:
        return QStringLiteral("CR");
    }
    return QString();
}

LineBreak LineBreakCounts::majority(LineBreak none) const
{
    if (crLf == 0 && lf == 0 && cr == 0)
        return none;
    if (crLf >= lf && crLf >= cr)
        return LineBreak::CrLf;
    return lf >= cr ? LineBreak::Lf : LineBreak::Cr;
}

QString DocumentEncoding::statusName() const
{
    switch (codePage) {
    case Windows1250:
        return QStringLiteral("Win");
    case Iso8859_2:
        return QStringLiteral("ISO");
    case Utf8:
        return QStringLiteral("UTF-8");
    case Utf16LE:
        return QStringLiteral("UTF-16LE");
    case Utf16BE:
        return QStringLiteral("UTF-16BE");
    }
    return QString();
}

QString DocumentEncoding::charsetName() const
{
    switch (codePage) {
    case Windows1250:
        return QStringLiteral("windows-1250");
    case Iso8859_2:
        return QStringLiteral("iso-8859-2");
    case Utf8:
        return QStringLiteral("utf-8");
    case Utf16LE:
    case Utf16BE:
        return QStringLiteral("utf-16");
    }
    return QString();
}
