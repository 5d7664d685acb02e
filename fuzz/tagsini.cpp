// tags.ini: the INI reader, the tag definitions with their "%" groups and cycle
// reports, and the colour rules built from the sections. The input is the file's text.
#include "checkruns.h"
#include "fuzzsupport.h"

#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "tags/tagdefs.h"

#include <QSet>

namespace {

// The non-"%" items of a section's own "args".
int ownArgs(const TagDefs &defs, const QString &section)
{
    int n = 0;
    for (const QString &item : TagDefs::splitFields(defs.rawArgs(section)))
        n += item.startsWith(QLatin1Char('%')) ? 0 : 1;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    TagDefs defs;
    defs.parse(text);
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;

    int lastLine = 0;
    for (const TagDefs::Problem &p : defs.problems()) {
        FUZZ_CHECK(p.line >= 1 && p.line <= lines && p.line >= lastLine);
        FUZZ_CHECK(p.text.contains(QStringLiteral("linia %1:").arg(p.line)));
        lastLine = p.line;
    }
    TagDefs::problemsReport(defs.problems());

    const QStringList sections = defs.ini().sections();
    QSet<QString> lowerNames;
    for (const QString &s : sections) {
        FUZZ_CHECK(!lowerNames.contains(s.toLower()));
        lowerNames.insert(s.toLower());
    }
    // The first sections only: a long chain of groups would make checking every one
    // quadratic, and the first ones already walk it whole.
    for (const QString &section : sections.mid(0, 8)) {
        for (const QString &key : defs.ini().keys(section))
            FUZZ_CHECK(defs.ini().line(section, key) >= 1 && defs.ini().line(section, key) <= lines);
        const QStringList args = defs.args(section);
        const QStringList groups = defs.argGroups(section);
        // Each group is taken once: the arguments are the section's own and each
        // reached group's own, nothing twice.
        int expected = ownArgs(defs, section);
        QSet<QString> seen;
        for (const QString &g : groups) {
            FUZZ_CHECK(g.startsWith(QLatin1Char('%')));
            FUZZ_CHECK(!seen.contains(g.toLower()) && g.compare(section, Qt::CaseInsensitive) != 0);
            seen.insert(g.toLower());
            expected += ownArgs(defs, g);
        }
        FUZZ_CHECK(args.size() == expected);
        const QList<TagArg> list = defs.argList(section);
        FUZZ_CHECK(list.size() == args.size());
        for (int i = 0; i < args.size(); ++i) {
            FUZZ_CHECK(!args.at(i).startsWith(QLatin1Char('%')) && list.at(i).name == args.at(i));
            // The one-walk list agrees with the single look-up (the first few suffice).
            if (i < 8) {
                const ArgDescriptor d = defs.argDescriptor(section, args.at(i));
                FUZZ_CHECK(d.found == list.at(i).desc.found && d.kind == list.at(i).desc.kind
                    && d.quoted == list.at(i).desc.quoted && d.extra == list.at(i).desc.extra);
                d.choices();
                d.fileFilter();
            }
        }
        defs.info(section);
        defs.ends(section);
        defs.clr(section);
        defs.groupColor(defs.grp(section));
    }

    // The editor's rules from these sections, over the file's own text.
    TDrawRules rules = BuildDefaultColorRules(defs.ini());
    rules.RebuildIfNeeded();
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    TColorEngine engine;
    fuzz::checkRuns(engine.Run(in), 0, int(text.size()));
    return 0;
}

// A chain of 50,000 groups, deeper than any call stack can follow, and closed into a
// cycle at its end.
std::vector<QByteArray> fuzz::GeneratedInputs()
{
    QByteArray chain = "[T]\nInfo=x\nargs=%g0\n";
    constexpr int kLength = 50000;
    for (int k = 0; k < kLength; ++k)
        chain += "[%g" + QByteArray::number(k) + "]\nargs=A" + QByteArray::number(k) + ",%g"
            + QByteArray::number((k + 1) % kLength) + "\nA" + QByteArray::number(k) + "=text\n";
    return { chain };
}
