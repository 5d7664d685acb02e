// Colouring: colour texts, the rule lists (keywords, begin-end and line-end pairs),
// and the pass over a text with the editor's own rules plus the fuzzed ones. One
// engine is reused, as a control does, and must give what a fresh one gives. Input:
// a flag byte, a byte for the positions, then text, keywords, begin-end and line-end
// lines and event runs, separated by NUL bytes.
#include "checkruns.h"
#include "fuzzsupport.h"

#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "tags/tagdefs.h"

#include <cstring>

#ifndef MARKORA_SOURCE_DIR
#define MARKORA_SOURCE_DIR "."
#endif

namespace {

// The editor's rules from the shipped tags.ini, built once.
const TDrawRules &shippedRules()
{
    static const TDrawRules rules = [] {
        TagDefs defs;
        defs.load(QStringLiteral(MARKORA_SOURCE_DIR "/konfiguracja/tags.ini"));
        TDrawRules r = BuildDefaultColorRules(defs.ini());
        r.RebuildIfNeeded();
        return r;
    }();
    return rules;
}

QStringList lines(const QByteArray &part) { return QString::fromUtf8(part).split(QLatin1Char('\n')); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const uint8_t where = data[1];
    const std::vector<QByteArray> parts = fuzz::split(data + 2, size - 2, '\0', 5);
    const QString text = QString::fromUtf8(parts[0]);
    const int len = int(text.size());

    for (const QString &line : lines(parts[1]) + lines(parts[2])) {
        const TColor c = ColorFromText(line);
        if (!(c & 0x80000000u))
            FUZZ_CHECK(ColorFromRgb(ColorToRgb(c, 0, 0)) == (c & 0xFFFFFFu));
    }

    TDrawRules rules = shippedRules();
    TColorRule &keywords = rules.Add();
    keywords.setKeyDrawingType(dtKeyShow);
    keywords.setKeyCase(flags & 1);
    keywords.setPartWord(flags & 2);
    keywords.setZOrder(quint8(where % 251)); // below the selection
    keywords.setKeywords(lines(parts[1]));
    TColorRule &pairs = rules.Add();
    pairs.setKeyBegEndLst(lines(parts[2]));
    pairs.setZOrder(quint8((where >> 1) % 251));
    TColorRule &toLineEnd = rules.Add();
    toLineEnd.setKeyDrawingType(dtBeginLineEnd);
    toLineEnd.setKeyLineEndLst(lines(parts[3]));
    TColorRule &events = rules.Add();
    events.setKeyDrawingType(dtEventDraw);
    rules.RebuildIfNeeded();
    for (int r = 0; r < rules.Count(); ++r) {
        const TColorRule &rule = rules.Item(r);
        FUZZ_CHECK(rule.DelimiterUsed() >= 0 && rule.DelimiterUsed() <= TColorRule::DelimiterCount);
        // Rule lists as written are cut to six characters; the program's tag rules keep
        // their names whole.
        const int longest = rule.WholeNames() ? 1024 : TColorRule::DelimiterLength;
        for (int d = 0; d < rule.DelimiterUsed(); ++d)
            FUZZ_CHECK(!rule.Delimiter(d).Begin.isEmpty() && rule.Delimiter(d).Begin.size() <= longest
                && rule.Delimiter(d).End.size() <= longest);
        FUZZ_CHECK(rule.Palette().size() <= TColorRule::PaletteSize);
        for (const TKeyword &k : rule.KeywordTable())
            FUZZ_CHECK(!k.Text.isEmpty() && k.Text.size() <= TColorRule::KeywordLength
                && k.Palette <= rule.Palette().size());
    }

    // The handler hands back whatever the input says, positions and count included.
    const QByteArray eventBytes = parts[4];
    const TDrawEvent onDraw = [&](const TColorRule &, QStringView, TKeyDescr *a, int capacity, int &count) {
        const int n = int(eventBytes.size() / 8);
        for (int i = 0; i < n && i < capacity; ++i) {
            qint32 v[2];
            std::memcpy(v, eventBytes.constData() + 8 * i, 8);
            a[i].BeginChar = v[0] % (len + 2) - 1;
            a[i].EndChar = v[1] % (len + 2) - 1;
            a[i].Color = quint32(i * 0x10101);
            a[i].Order = quint8(i);
        }
        count = int(eventBytes.size()) - 3;
    };

    THotSpot hot;
    hot.Active = flags & 4;
    TColorPassInput in;
    in.Text = text;
    in.Base = (flags & 8) ? 1000 : 0;
    in.CaretLineStart = in.Base + (len ? where % (len + 1) : 0);
    in.CaretPos = in.CaretLineStart + (len ? (where / 3) % (len + 1 - (in.CaretLineStart - in.Base)) : 0);
    in.SelStart = in.Base + (len ? (where * 7) % (len + 1) : 0);
    in.SelLength = len ? (where * 13) % (len + 1 - (in.SelStart - in.Base)) : 0;
    in.HotSpot = &hot;
    in.WantTabs = flags & 16;
    in.RedrawAlways = flags & 32;
    in.Rules = &rules;
    in.OnDraw = &onDraw;
    in.ColorLimMax = (flags & 64) ? 4 : 64;

    static TColorEngine reused; // keeps its buffers from every earlier input
    const std::vector<TKeyDescr> runs = reused.Run(in);
    fuzz::checkRuns(runs, in.Base, len);
    TColorEngine fresh;
    FUZZ_CHECK(fresh.Run(in) == runs);
    if (in.SelLength > 0) {
        // The selection is on top of everything but shown tabs.
        int covered = 0;
        for (const TKeyDescr &k : runs)
            if (k.Order == OrderSelection)
                covered += k.EndChar - k.BeginChar + 1;
        const qsizetype tabs
            = in.WantTabs ? text.mid(in.SelStart - in.Base, in.SelLength).count(QLatin1Char('\t')) : 0;
        FUZZ_CHECK(covered == in.SelLength - tabs);
    }
    return 0;
}

// A page of one long line, with tags, quoted values and entities all along.
std::vector<QByteArray> fuzz::GeneratedInputs()
{
    QByteArray line;
    while (line.size() < (1 << 20))
        line += "<TABLE border=\"1\"><TR><TD class=x>&nbsp;ala</TD></TR></TABLE>\t{x} ";
    const char tail[] = "\0TD;Red\nala\0<;>;Blue\0//;Green\0";
    return { QByteArray("\x1f\x35", 2) + line + QByteArray(tail, sizeof(tail) - 1) };
}
