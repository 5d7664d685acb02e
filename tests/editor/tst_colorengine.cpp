#include "base/inifile.h"
#include "editor/colorengine.h"
#include "editor/defaultrules.h"

#include <QtTest>

namespace {

// One letter per character for the colour a run gives it, '.' where no run lands.
QChar letterOf(TColor c)
{
    switch (c) {
    case 0x800000:
        return QLatin1Char('N');
    case 0x00FF00:
        return QLatin1Char('L');
    case 0x000080:
        return QLatin1Char('M');
    case 0xFF00FF:
        return QLatin1Char('F');
    case 0x0000FF:
        return QLatin1Char('R');
    case 0xFF0000:
        return QLatin1Char('B');
    case 0x008000:
        return QLatin1Char('G');
    case 0xFFFFFF:
        return QLatin1Char('W');
    case 0x000000:
        return QLatin1Char('K');
    case clWindow:
        return QLatin1Char('w');
    default:
        return QLatin1Char('?');
    }
}

QString colourMap(int length, int base, const std::vector<TKeyDescr> &runs)
{
    QString map(length, QLatin1Char('.'));
    for (const TKeyDescr &k : runs)
        for (int i = k.BeginChar; i <= k.EndChar; ++i)
            map[i - base] = letterOf(k.Color);
    return map;
}

TColorRule &addBegEnd(TDrawRules &rules, const QStringList &lines, quint8 z = 0)
{
    TColorRule &r = rules.Add();
    r.setZOrder(z);
    r.setKeyBegEndLst(lines);
    return r;
}

TDrawRules htmlRules() { return BuildDefaultColorRules(IniFile()); }

// Named rule sets for the data-driven rows.
TDrawRules ruleSet(const QString &name)
{
    TDrawRules rules;
    if (name == QLatin1String("html"))
        return htmlRules();
    if (name == QLatin1String("quote-first")) {
        // The quote rule comes first but outranks the later tag rule by ZOrder.
        addBegEnd(rules, { QStringLiteral("\";\";Red") }, 200);
        addBegEnd(rules, { QStringLiteral("<;>;Navy") });
    } else if (name == QLatin1String("equal-later-wins")) {
        addBegEnd(rules, { QStringLiteral("<;>;Navy") });
        addBegEnd(rules, { QStringLiteral("<b;>;Red") });
    } else if (name == QLatin1String("equal-earlier-loses")) {
        addBegEnd(rules, { QStringLiteral("<b;>;Red") });
        addBegEnd(rules, { QStringLiteral("<;>;Navy") });
    } else if (name == QLatin1String("cut")) {
        addBegEnd(rules, { QStringLiteral("</TABLE;>;Lime") });
    } else if (name == QLatin1String("hidden")) {
        addBegEnd(rules, { QStringLiteral("<;>;Navy"), QStringLiteral("bad"), QStringLiteral("{;};Red") });
    } else if (name == QLatin1String("tie")) {
        // Two begins at one position: the lower table index wins.
        addBegEnd(rules, { QStringLiteral("<;>;Navy"), QStringLiteral("<!;-->;Green") });
    } else if (name == QLatin1String("line-end")) {
        TColorRule &r = rules.Add();
        r.setKeyDrawingType(dtBeginLineEnd);
        r.setKeyLineEndLst({ QStringLiteral("//;Green"), QStringLiteral("#;Lime") });
    } else if (name == QLatin1String("keycase")) {
        TColorRule &r = rules.Add();
        r.setKeyDrawingType(dtKeyShow);
        r.setKeyCase(true);
        r.setKeywords({ QStringLiteral("if;Lime") });
    } else if (name == QLatin1String("polish")) {
        TColorRule &r = rules.Add();
        r.setKeyDrawingType(dtKeyShow);
        r.setKeywords({ QStringLiteral("źle;Lime"), QStringLiteral("ß;Red") });
    } else if (name == QLatin1String("whole")) {
        // The program's own tag rules: whole names, HEAD after HEADER as a file may have them.
        for (const char *line : { "<A;>;Red|</A;>;Red", "<HEADER;>;Lime|</HEADER;>;Lime",
                 "<HEAD;>;Blue|</HEAD;>;Blue", "</TABLE;>;Green", "x:A;>;Red" }) {
            TColorRule &r = rules.Add();
            r.setWholeNames(true);
            r.setKeyBegEndLst(QString::fromLatin1(line).split(QLatin1Char('|')));
        }
    } else if (name == QLatin1String("disabled")) {
        addBegEnd(rules, { QStringLiteral("<;>;Navy") }).setEnabled(false);
    }
    return rules;
}

} // namespace

class TstColorEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colouring_data();
    void colouring();
    void selectionAndTabs_data();
    void selectionAndTabs();
    void hotSpots_data();
    void hotSpots();
    void eventDraw_data();
    void eventDraw();
    void redrawAlwaysCaretLine();
    void mergedRuns();
    void baseOffsetAndClipping();
    void buffersReused();
};

void TstColorEngine::colouring_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString html = QStringLiteral("html");
    QTest::newRow("<b> navy") << html << QStringLiteral("<b>") << QStringLiteral("NNN");
    QTest::newRow("<b unclosed") << html << QStringLiteral("<b x") << QStringLiteral("....");
    QTest::newRow("unclosed keeps earlier") << html << QStringLiteral("<i>x<b") << QStringLiteral("NNN...");
    QTest::newRow("tag over lines") << html << QStringLiteral("<a\nb>") << QStringLiteral("NNNNN");
    QTest::newRow("quoted value") << html << QStringLiteral("<a b=\"c\">") << QStringLiteral("NNNNNNNNN");
    QTest::newRow("style block") << html << QStringLiteral("<p>{a:b}") << QStringLiteral("NNNFFFFF");
    QTest::newRow("if inside elif") << html << QStringLiteral("elif if") << QStringLiteral(".....MM");
    QTest::newRow("ampersand everywhere") << html << QStringLiteral("a&b &x;&") << QStringLiteral(".L..L..L");
    QTest::newRow("keyword case") << html << QStringLiteral("IF Else") << QStringLiteral("MM.MMMM");
    QTest::newRow("= after letter") << html << QStringLiteral("a=b c = d") << QStringLiteral("......M..");
    QTest::newRow("@ is a letter") << html << QStringLiteral("@if if@ [if]")
                                   << QStringLiteral(".........MM.");
    QTest::newRow("quote beats tag by order")
        << QStringLiteral("quote-first") << QStringLiteral("<a=\"x\">") << QStringLiteral("NNNRRRN");
    QTest::newRow("equal order later wins")
        << QStringLiteral("equal-later-wins") << QStringLiteral("<b><i>") << QStringLiteral("RRRNNN");
    QTest::newRow("equal order earlier loses")
        << QStringLiteral("equal-earlier-loses") << QStringLiteral("<b>") << QStringLiteral("NNN");
    QTest::newRow("</TABLE cut to </TABL")
        << QStringLiteral("cut") << QStringLiteral("</TABLx>") << QStringLiteral("LLLLLLLL");
    QTest::newRow("entry-less line hides later")
        << QStringLiteral("hidden") << QStringLiteral("{a}<b>") << QStringLiteral("...NNN");
    QTest::newRow("lower index wins a tie")
        << QStringLiteral("tie") << QStringLiteral("<!-- a -->") << QStringLiteral("NNNNNNNNNN");
    QTest::newRow("line end") << QStringLiteral("line-end") << QStringLiteral("a // b\nc#d")
                              << QStringLiteral("..GGGG..LL");
    QTest::newRow("line end two on a line")
        << QStringLiteral("line-end") << QStringLiteral("// #\n#") << QStringLiteral("GGGG.L");
    QTest::newRow("case-sensitive keywords")
        << QStringLiteral("keycase") << QStringLiteral("IF if") << QStringLiteral("...LL");
    QTest::newRow("Polish letters any case")
        << QStringLiteral("polish") << QStringLiteral("ŹLE źle ß") << QStringLiteral("LLL.LLL.R");
    const QString whole = QStringLiteral("whole");
    QTest::newRow("whole: <A is not <ABBR")
        << whole << QStringLiteral("<ABBR><A>") << QStringLiteral("......RRR");
    QTest::newRow("whole: name ends at space, / or line")
        << whole << QStringLiteral("<A x><A/><A\n>") << QStringLiteral("RRRRRRRRRRRRR");
    QTest::newRow("whole: </HEAD is not </HEADER")
        << whole << QStringLiteral("</HEADER></HEAD>") << QStringLiteral("LLLLLLLLLBBBBBBB");
    QTest::newRow("whole: delimiters not cut")
        << whole << QStringLiteral("</TABLx></TABLE>") << QStringLiteral("........GGGGGGGG");
    QTest::newRow("whole: case as written") << whole << QStringLiteral("<a>") << QStringLiteral("...");
    QTest::newRow("whole: a name not after <")
        << whole << QStringLiteral("x:AB>x:A>") << QStringLiteral(".....RRRR");
    QTest::newRow("disabled rule") << QStringLiteral("disabled") << QStringLiteral("<b>")
                                   << QStringLiteral("...");
}

void TstColorEngine::colouring()
{
    QFETCH(QString, rules);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const TDrawRules set = ruleSet(rules);
    TColorPassInput in;
    in.Text = text;
    in.Rules = &set;
    TColorEngine engine;
    QCOMPARE(colourMap(int(text.size()), 0, engine.Run(in)), expected);
}

void TstColorEngine::selectionAndTabs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<bool>("wantTabs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selection over rules")
        << QStringLiteral("<b>\"x\"") << 1 << 5 << false << QStringLiteral("NRRRRR");
    QTest::newRow("empty selection") << QStringLiteral("<b>") << 1 << 0 << false << QStringLiteral("NNN");
    QTest::newRow("tab in background") << QStringLiteral("<\t>") << 0 << 0 << true << QStringLiteral("NWN");
    QTest::newRow("tab beats selection") << QStringLiteral("<\t>") << 0 << 3 << true << QStringLiteral("RWR");
    QTest::newRow("tabs not accepted") << QStringLiteral("<\t>") << 0 << 0 << false << QStringLiteral("NNN");
}

void TstColorEngine::selectionAndTabs()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(bool, wantTabs);
    QFETCH(QString, expected);
    const TDrawRules rules = htmlRules();
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.SelStart = selStart;
    in.SelLength = selLength;
    in.WantTabs = wantTabs;
    in.BackColor = 0xFFFFFF;
    TColorEngine engine;
    const std::vector<TKeyDescr> &runs = engine.Run(in);
    QCOMPARE(colourMap(int(text.size()), 0, runs), expected);
    for (const TKeyDescr &k : runs)
        if (text.at(k.BeginChar) == QLatin1Char('\t') && wantTabs)
            QCOMPARE(k.Order, OrderTab);
}

void TstColorEngine::hotSpots_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QChar b(30), e(31);
    QTest::newRow("one spot") << (QStringLiteral("a") + b + QStringLiteral("hot") + e + QStringLiteral("b"))
                              << QStringLiteral(".wBBBw.");
    QTest::newRow("missing end keeps earlier")
        << (b + QStringLiteral("x") + e + b + QStringLiteral("yy") + b) << QStringLiteral("wBw....");
    QTest::newRow("empty spot") << (QString(b) + e) << QStringLiteral("ww");
    QTest::newRow("markers over a tag")
        << (QStringLiteral("<") + b + QStringLiteral("a") + e + QStringLiteral(">"))
        << QStringLiteral("NwBwN");
}

void TstColorEngine::hotSpots()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const TDrawRules rules = htmlRules();
    THotSpot hs;
    hs.Active = true;
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.HotSpot = &hs;
    TColorEngine engine;
    QCOMPARE(colourMap(int(text.size()), 0, engine.Run(in)), expected);

    hs.Active = false;
    QVERIFY(!colourMap(int(text.size()), 0, engine.Run(in)).contains(QLatin1Char('w')));
}

void TstColorEngine::eventDraw_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("claimed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ColorLimMax 0") << 0 << 2 << QStringLiteral("........");
    QTest::newRow("two runs") << 4 << 2 << QStringLiteral(".LL..RR.");
    QTest::newRow("one of two") << 4 << 1 << QStringLiteral(".LL.....");
    QTest::newRow("count beyond the array") << 2 << 50 << QStringLiteral(".LL..RR.");
}

void TstColorEngine::eventDraw()
{
    QFETCH(int, limit);
    QFETCH(int, claimed);
    QFETCH(QString, expected);
    TDrawRules rules;
    TColorRule &r = rules.Add();
    r.setKeyDrawingType(dtEventDraw);
    r.setZOrder(7);
    QString seen;
    int calls = 0;
    const TDrawEvent onDraw
        = [&](const TColorRule &sender, QStringView from, TKeyDescr *a, int capacity, int &itemsCount) {
              ++calls;
              QCOMPARE(&sender, &rules.Item(0));
              QCOMPARE(capacity, limit);
              QCOMPARE(itemsCount, 0);
              seen = from.toString();
              a[0] = TKeyDescr { 1, 2, 0x00FF00, 0, 0, 0 };
              if (capacity > 1)
                  a[1] = TKeyDescr { 5, 6, 0x0000FF, 9, 0, 0 };
              itemsCount = claimed;
          };
    const QString text = QStringLiteral("abcdefgh");
    TColorPassInput in;
    in.Text = text;
    in.Base = 100;
    in.Rules = &rules;
    in.OnDraw = &onDraw;
    in.ColorLimMax = limit;
    TColorEngine engine;
    const std::vector<TKeyDescr> &runs = engine.Run(in);
    QCOMPARE(colourMap(int(text.size()), 100, runs), expected);
    QCOMPARE(calls, limit > 0 ? 1 : 0);
    if (limit > 0) {
        QCOMPARE(seen, text);
        QCOMPARE(runs.front().BeginChar, 101);
        QCOMPARE(runs.front().Order, quint8(7)); // order 0 takes the rule's ZOrder
        if (runs.size() > 1)
            QCOMPARE(runs[1].Order, quint8(9));
    }
    in.OnDraw = nullptr;
    QVERIFY(engine.Run(in).empty());
}

void TstColorEngine::redrawAlwaysCaretLine()
{
    const QString text = QStringLiteral("x\nab<i>cd");
    const TDrawRules rules = htmlRules();
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.RedrawAlways = true;
    in.FontColor = 0x000000;
    in.CaretLineStart = 2;
    in.CaretPos = 8;
    TColorEngine engine;
    QCOMPARE(colourMap(int(text.size()), 0, engine.Run(in)), QStringLiteral("..KKNNNK."));
    in.RedrawAlways = false;
    QCOMPARE(colourMap(int(text.size()), 0, engine.Run(in)), QStringLiteral("....NNN.."));
}

void TstColorEngine::mergedRuns()
{
    // Cells become runs again: equal neighbours join, a change of order splits
    // even at one colour, never-set cells are left out.
    const QString text = QStringLiteral("<a=\"b\"> x <i>");
    const TDrawRules rules = htmlRules();
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.SelStart = 12;
    in.SelLength = 1;
    TColorEngine engine;
    const std::vector<TKeyDescr> runs = engine.Run(in);
    const std::vector<TKeyDescr> expected = {
        { 0, 2, 0x800000, 0, 0, 0 },
        { 3, 5, 0x800000, 200, 0, 0 },
        { 6, 6, 0x800000, 0, 0, 0 },
        { 10, 11, 0x800000, 0, 0, 0 },
        { 12, 12, 0x0000FF, OrderSelection, 0, 0 },
    };
    QCOMPARE(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i)
        QVERIFY2(runs[i] == expected[i], qPrintable(QStringLiteral("run %1").arg(i)));

    // Keyword runs carry the keyword flag.
    const QString js = QStringLiteral("var x");
    in.Text = js;
    in.SelLength = 0;
    const std::vector<TKeyDescr> &kw = engine.Run(in);
    QCOMPARE(kw.size(), size_t(1));
    QCOMPARE(kw[0].Keyword, quint8(1));
    QCOMPARE(kw[0].Order, quint8(201));
}

void TstColorEngine::baseOffsetAndClipping()
{
    // A stretch taken from the middle of a document: positions are the document's,
    // and a selection reaching outside is cut to the stretch.
    const QString text = QStringLiteral("<b>\nx");
    const TDrawRules rules = htmlRules();
    TColorPassInput in;
    in.Text = text;
    in.Base = 1000;
    in.Rules = &rules;
    in.SelStart = 990;
    in.SelLength = 12;
    TColorEngine engine;
    const std::vector<TKeyDescr> &runs = engine.Run(in);
    QCOMPARE(colourMap(int(text.size()), 1000, runs), QStringLiteral("RRN.."));
    QCOMPARE(runs.front().BeginChar, 1000);
    QCOMPARE(runs.back().EndChar, 1002);
}

void TstColorEngine::buffersReused()
{
    // A long pass followed by a short one must not leak the long one's cells.
    const TDrawRules rules = htmlRules();
    TColorEngine engine;
    const QString longText = QStringLiteral("<b>") + QString(5000, QLatin1Char('x')) + QStringLiteral("<i>");
    TColorPassInput in;
    in.Text = longText;
    in.Rules = &rules;
    QCOMPARE(engine.Run(in).size(), size_t(2));
    const QString shortText = QStringLiteral("ab<");
    in.Text = shortText;
    QVERIFY(engine.Run(in).empty());
    in.Text = QStringView();
    QVERIFY(engine.Run(in).empty());
}

QTEST_GUILESS_MAIN(TstColorEngine)
#include "tst_colorengine.moc"
