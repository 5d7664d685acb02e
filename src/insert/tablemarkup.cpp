#include "insert/tablemarkup.h"

#include "insert/markupwriter.h"

#include <algorithm>

#define S(x) QStringLiteral(x)

namespace {

bool allDigits(QStringView t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Lines of a block, each at its level.
class Lines
{
public:
    Lines(const QString &base, int indent)
        : m_base(base)
        , m_step(std::clamp(indent, 0, 8), QLatin1Char(' '))
    {
    }
    void add(int level, const QString &line) { m_text += prefix(level) + line + QLatin1Char('\n'); }
    // Text with no line break after it (where the selection follows).
    void open(int level, const QString &text) { m_text += prefix(level) + text; }
    QString prefix(int level) const { return m_base + m_step.repeated(level); }
    QString take()
    {
        QString t = m_text;
        m_text.clear();
        return t;
    }

private:
    QString m_base;
    QString m_step;
    QString m_text;
};

} // namespace

bool TableFields::operator==(const TableFields &o) const
{
    return rows == o.rows && columns == o.columns && headerRow == o.headerRow
        && headerColumn == o.headerColumn && caption == o.caption && border == o.border
        && padding == o.padding && spacing == o.spacing && width == o.width && align == o.align
        && placeholder == o.placeholder && placeholderText == o.placeholderText && indent == o.indent;
}

bool IsHtmlLength(QStringView text)
{
    const QStringView t = text.trimmed();
    return allDigits(t.endsWith(u'%') ? t.chopped(1) : t);
}

QStringList TableAlignments() { return { QString(), S("Left"), S("Center"), S("Right") }; }

ResolvedInsertion BuildTable(const TableFields &f, bool selectionGoesIn, const QString &baseIndent)
{
    const int rows = std::clamp(f.rows, 1, TableFields::MaxRows);
    const int columns = std::clamp(f.columns, 1, TableFields::MaxColumns);
    const QString filler = f.placeholder ? f.placeholderText : QString();
    TagWriter table(u"TABLE");
    table.number(u"BORDER", f.border)
        .number(u"CELLPADDING", f.padding)
        .number(u"CELLSPACING", f.spacing)
        .attr(u"WIDTH", f.width)
        .attr(u"ALIGN", f.align);

    Lines lines(baseIndent, f.indent);
    lines.add(0, table.text());
    if (!f.caption.trimmed().isEmpty())
        lines.add(1, S("<CAPTION>") + EscapeText(f.caption.trimmed()) + S("</CAPTION>"));
    QString opening;
    for (int r = 0; r < rows; ++r) {
        lines.add(1, S("<TR>"));
        for (int c = 0; c < columns; ++c) {
            const QString cell = (f.headerRow && r == 0) || (f.headerColumn && c == 0) ? S("TH") : S("TD");
            if (r == 0 && c == 0) {
                lines.open(
                    2, QLatin1Char('<') + cell + QLatin1Char('>') + (selectionGoesIn ? QString() : filler));
                opening = lines.take();
                // Block insertion puts the closing on a line of its own.
                lines.open(2, S("</") + cell + S(">\n"));
            } else {
                lines.add(2,
                    QLatin1Char('<') + cell + QLatin1Char('>') + filler + S("</") + cell + QLatin1Char('>'));
            }
        }
        lines.add(1, S("</TR>"));
    }
    lines.open(0, S("</TABLE>"));
    return { InsertMode::Block, opening, lines.take() };
}

bool FrameEntry::operator==(const FrameEntry &o) const
{
    return size == o.size && name == o.name && source == o.source;
}

bool FrameFields::operator==(const FrameFields &o) const
{
    return columns == o.columns && frames == o.frames && noFrames == o.noFrames
        && noFramesText == o.noFramesText && indent == o.indent;
}

bool IsFrameSize(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.endsWith(u'*'))
        return t.size() == 1 || allDigits(t.chopped(1));
    return IsHtmlLength(t);
}

ResolvedInsertion BuildFrames(const FrameFields &f, const QString &baseIndent)
{
    QStringList sizes;
    for (const FrameEntry &e : f.frames)
        sizes << (e.size.trimmed().isEmpty() ? S("*") : e.size.trimmed());
    Lines lines(baseIndent, f.indent);
    lines.add(
        0, TagWriter(u"FRAMESET").attr(f.columns ? u"COLS" : u"ROWS", sizes.join(QLatin1Char(','))).text());
    for (const FrameEntry &e : f.frames)
        lines.add(1, TagWriter(u"FRAME").attr(u"NAME", e.name).attr(u"SRC", e.source).text());
    if (!f.noFrames) {
        QString opening = lines.take();
        opening.chop(1); // the block's line break stands before the closing
        return { InsertMode::Block, opening, baseIndent + S("</FRAMESET>") };
    }
    lines.add(1, S("<NOFRAMES>"));
    lines.add(1, S("<BODY>"));
    lines.open(1, f.noFramesText.trimmed());
    const QString opening = lines.take();
    lines.add(1, S("</BODY>"));
    lines.add(1, S("</NOFRAMES>"));
    lines.open(0, S("</FRAMESET>"));
    return { InsertMode::Block, opening, lines.take() };
}
