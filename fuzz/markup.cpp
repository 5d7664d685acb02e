// The insertion dialogs' markup and the relative-path rule: whatever the user types, a
// value stays inside its quotes (so the lower-case option changes the names only), and a
// link holds no character an address must not hold as it is. The input is two texts
// separated by a NUL byte: a value, and a path (also the document's path, with its name).
#include "fuzzsupport.h"

#include "insert/insertion.h"
#include "insert/linkmarkup.h"
#include "insert/relativepath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<QByteArray> parts = fuzz::split(data, size, '\0', 2);
    const QString value = fuzz::fromWtf8(parts[0].constData(), size_t(parts[0].size()));
    const QString path
        = parts.size() > 1 ? fuzz::fromWtf8(parts[1].constData(), size_t(parts[1].size())) : QString();

    ImageFields f;
    f.source = value;
    f.alt = value;
    f.align = QStringLiteral("Left");
    const QString tag = BuildImage(f).opening;
    // One tag: its only ">" is the last character, and its quotes pair up.
    FUZZ_CHECK(tag.startsWith(QLatin1String("<IMG")) && tag.indexOf(QLatin1Char('>')) == tag.size() - 1);
    FUZZ_CHECK(tag.count(QLatin1Char('"')) % 2 == 0);
    FUZZ_CHECK(tag.lastIndexOf(QLatin1Char('<')) == 0);
    // Lower-cased, the values are as they were and the last attribute's name changed.
    const QString lower = LowerCaseTags(tag);
    FUZZ_CHECK(lower.size() == tag.size());
    FUZZ_CHECK(lower.endsWith(QLatin1String("align=\"Left\">")));
    const QStringList values = tag.split(QLatin1Char('"'));
    const QStringList lowerValues = lower.split(QLatin1Char('"'));
    FUZZ_CHECK(values.size() == lowerValues.size());
    for (qsizetype i = 1; i < values.size(); i += 2)
        FUZZ_CHECK(values[i] == lowerValues[i]);

    for (const QString &document :
        { QString(), path + QStringLiteral("/a.html"), QStringLiteral("/x/y/a.html") }) {
        const LinkPath link = RelativeLink(document, path);
        for (const QChar c : link.href)
            FUZZ_CHECK(c.unicode() > 32 && c.unicode() < 127 && c != u'"' && c != u'#' && c != u'?'
                && c != u'<' && c != u'>' && c != u'\\');
        FUZZ_CHECK((link.kind == LinkPathKind::Relative) != link.href.startsWith(QLatin1String("file:")));
        FUZZ_CHECK(link.kind != LinkPathKind::Unsaved || document.isEmpty());
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
