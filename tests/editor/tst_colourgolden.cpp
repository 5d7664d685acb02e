// Colouring golden files: each page of tests/editor/input/ is coloured over its whole text
// by the engine with the editor's default rules and the shipped tags.ini, and the runs
// are compared with tests/editor/reference/<page>.runs, one run a line:
//
//     position length colour "text"
//
// (position and length in UTF-16 code units, the colour as one of the 16 basic names or
// #RRGGBB, the text the run covers, shortened when long). Tabs are coloured as the editor
// draws them, in the background colour (White here). After a change that is meant to
// colour differently, run the test with MARKORA_REGENERATE_GOLDEN=1 to write the
// references again, and read their diff before committing it.
#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "tags/tagdefs.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

QString inputDir() { return testsupport::sourcePath(QStringLiteral("tests/editor/input")); }
QString referenceDir() { return testsupport::sourcePath(QStringLiteral("tests/editor/reference")); }

bool regenerating() { return qEnvironmentVariableIntValue("MARKORA_REGENERATE_GOLDEN") == 1; }

// The file's lines, "\r\n" read as "\n"; a file that cannot be read gives a null string.
QString readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString colourName(TColor c)
{
    static const char *const names[] = { "Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal",
        "Gray", "Silver", "Red", "Lime", "Yellow", "Blue", "Fuchsia", "Aqua", "White" };
    for (const char *name : names)
        if (ColorFromText(QString::fromLatin1(name)) == c)
            return QString::fromLatin1(name);
    if (c & 0x80000000u)
        return QStringLiteral("system:%1").arg(c & 0xFFu);
    return QLatin1Char('#')
        + QStringLiteral("%1").arg(ColorToRgb(c, 0, 0), 6, 16, QLatin1Char('0')).toUpper();
}

// The covered text, quoted, with line breaks, tabs, quotes and backslashes escaped; a
// long run keeps its two ends.
QString excerpt(QStringView text)
{
    const qsizetype keep = 24;
    const QString shown = text.size() <= 2 * keep + 3
        ? text.toString()
        : text.left(keep).toString() + QStringLiteral("...") + text.right(keep).toString();
    QString out = QStringLiteral("\"");
    for (const QChar c : shown) {
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QStringList colourRuns(const QString &text, const TDrawRules &rules)
{
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.WantTabs = true;
    in.FontColor = 0x000000;
    in.BackColor = 0xFFFFFF;
    TColorEngine engine;
    QStringList lines;
    for (const TKeyDescr &k : engine.Run(in)) {
        const int length = k.EndChar - k.BeginChar + 1;
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(k.BeginChar)
                     .arg(length)
                     .arg(colourName(k.Color), excerpt(QStringView(text).mid(k.BeginChar, length)));
    }
    return lines;
}

QStringList fileNames(const QString &dir, const QString &pattern)
{
    return QDir(dir).entryList({ pattern }, QDir::Files, QDir::Name);
}

} // namespace

class TstColourGolden : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageMatchesReference_data();
    void pageMatchesReference();
    void everyReferenceHasItsPage();

private:
    TDrawRules m_rules;
};

void TstColourGolden::initTestCase()
{
    TagDefs defs;
    QVERIFY(defs.load(testsupport::sourcePath(QStringLiteral("konfiguracja/tags.ini"))));
    m_rules = BuildDefaultColorRules(defs.ini());
    m_rules.RebuildIfNeeded();
}

void TstColourGolden::pageMatchesReference_data()
{
    QTest::addColumn<QString>("page");
    const QStringList pages = fileNames(inputDir(), QStringLiteral("*.html"));
    QVERIFY(pages.size() >= 5);
    for (const QString &page : pages)
        QTest::newRow(qPrintable(page)) << page;
}

void TstColourGolden::pageMatchesReference()
{
    QFETCH(QString, page);
    const QString text = readText(QDir(inputDir()).filePath(page));
    QVERIFY(!text.isEmpty());
    const QStringList actual = colourRuns(text, m_rules);
    QVERIFY(!actual.isEmpty());
    const QString reference
        = QDir(referenceDir()).filePath(QFileInfo(page).completeBaseName() + QStringLiteral(".runs"));

    if (regenerating()) {
        QDir().mkpath(referenceDir());
        QFile f(reference);
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(reference));
        f.write((actual.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        qInfo("written %s", qPrintable(reference));
        return;
    }

    const QString stored = readText(reference);
    QVERIFY2(!stored.isNull(),
        qPrintable(QStringLiteral("no reference %1: run with MARKORA_REGENERATE_GOLDEN=1").arg(reference)));
    const QStringList expected = stored.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const QString got = actual.value(i, QStringLiteral("(no run)"));
        const QString want = expected.value(i, QStringLiteral("(no run)"));
        QVERIFY2(got == want,
            qPrintable(QStringLiteral("%1, line %2:\n   actual: %3\n expected: %4\n"
                                      "(MARKORA_REGENERATE_GOLDEN=1 writes the references again)")
                           .arg(reference)
                           .arg(i + 1)
                           .arg(got, want)));
    }
}

// A page that was renamed or removed leaves no reference behind (regenerating removes it).
void TstColourGolden::everyReferenceHasItsPage()
{
    const QStringList pages = fileNames(inputDir(), QStringLiteral("*.html"));
    for (const QString &runs : fileNames(referenceDir(), QStringLiteral("*.runs"))) {
        const QString page = QFileInfo(runs).completeBaseName() + QStringLiteral(".html");
        if (regenerating() && !pages.contains(page)) {
            QVERIFY(QFile::remove(QDir(referenceDir()).filePath(runs)));
            qInfo("removed %s", qPrintable(runs));
            continue;
        }
        QVERIFY2(
            pages.contains(page), qPrintable(runs + QStringLiteral(" has no page in tests/editor/input")));
    }
}

QTEST_GUILESS_MAIN(TstColourGolden)
#include "tst_colourgolden.moc"
