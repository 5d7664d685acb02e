#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/insertion.h"
#include "insert/linkmarkup.h"
#include "insert/markupwriter.h"
#include "insert/pagemarkup.h"
#include "insert/scriptmarkup.h"
#include "insert/tablemarkup.h"
#include "testsupport.h"

#include <QTest>

Q_DECLARE_METATYPE(InsertMode)

// The core builders of the insertion dialogs: fields in, the texts the common insertion
// rule puts round the selection out.
class TestMarkupBuilders : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void escaping_data();
    void escaping();
    void builders_data();
    void builders();
    void lowerCaseKeepsValues_data();
    void lowerCaseKeepsValues();
    void tables_data();
    void tables();
    void table20x10();
    void colours_data();
    void colours();
    void keywords();
    void dateTexts();
    void dialogStateRoundTrip();
};

void TestMarkupBuilders::escaping_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Ala ma kota"
                           << "Ala ma kota"
                           << "Ala ma kota";
    QTest::newRow("quotes") << "\"cytat\" i 'apostrof'"
                            << "&quot;cytat&quot; i 'apostrof'"
                            << "\"cytat\" i 'apostrof'";
    QTest::newRow("ampersand") << "AT&T & co"
                               << "AT&amp;T &amp; co"
                               << "AT&amp;T &amp; co";
    QTest::newRow("references kept") << "&copy; &#169; &#xA9; &oacute;"
                                     << "&copy; &#169; &#xA9; &oacute;"
                                     << "&copy; &#169; &#xA9; &oacute;";
    QTest::newRow("no reference") << "&; &#; &#x; &nbsp &1a;"
                                  << "&amp;; &amp;#; &amp;#x; &amp;nbsp &amp;1a;"
                                  << "&amp;; &amp;#; &amp;#x; &amp;nbsp &amp;1a;";
    QTest::newRow("angle brackets") << "a<b>c"
                                    << "a&lt;b&gt;c"
                                    << "a&lt;b&gt;c";
    QTest::newRow("line break") << "jeden\ndwa"
                                << "jeden dwa"
                                << "jeden\ndwa";
    QTest::newRow("query string") << "a.php?x=1&y=\"2\""
                                  << "a.php?x=1&amp;y=&quot;2&quot;"
                                  << "a.php?x=1&amp;y=\"2\"";
}

void TestMarkupBuilders::escaping()
{
    QFETCH(QString, in);
    QFETCH(QString, attribute);
    QFETCH(QString, text);
    QCOMPARE(EscapeAttribute(in), attribute);
    QCOMPARE(EscapeText(in), text);
}

void TestMarkupBuilders::builders_data()
{
    QTest::addColumn<ResolvedInsertion>("built");
    QTest::addColumn<InsertMode>("mode");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    const auto row = [](const char *name, const ResolvedInsertion &r, InsertMode mode, const char *opening,
                         const char *closing) {
        QTest::newRow(name) << r << mode << QString::fromUtf8(opening) << QString::fromUtf8(closing);
    };
    const auto P = InsertMode::Pair;
    const auto B = InsertMode::Block;

    BodyFields body { QStringLiteral("#000080"), QStringLiteral("white"), QStringLiteral("#0000FF"),
        QStringLiteral("purple"), QStringLiteral("red"), QStringLiteral("tło & \"wzór\".png"), 10, 0 };
    row("body", BuildBody(body), B,
        "<BODY TEXT=\"#000080\" BGCOLOR=\"white\" LINK=\"#0000FF\" VLINK=\"purple\" ALINK=\"red\" "
        "BACKGROUND=\"tło &amp; &quot;wzór&quot;.png\" LEFTMARGIN=\"10\" MARGINWIDTH=\"10\" TOPMARGIN=\"0\" "
        "MARGINHEIGHT=\"0\">\n",
        "</BODY>");
    row("body empty", BuildBody(BodyFields()), B, "<BODY>\n", "</BODY>");
    body = BodyFields();
    body.background = QStringLiteral("  ");
    row("body blanks left out", BuildBody(body), B, "<BODY>\n", "</BODY>");

    HeadFields head { QStringLiteral("Łódź & okolice <nowe>"), QStringLiteral("Opis \"strony\""),
        QStringLiteral("zamki,  Łódź , ,ZAMKI, góry"), QStringLiteral("Jan Kowalski"),
        QStringLiteral("styl.css"), true };
    row("head iso", BuildHead(head, true), B,
        "<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">\n"
        "<TITLE>Łódź &amp; okolice &lt;nowe&gt;</TITLE>\n"
        "<META NAME=\"description\" CONTENT=\"Opis &quot;strony&quot;\">\n"
        "<META NAME=\"keywords\" CONTENT=\"zamki, Łódź, góry\">\n"
        "<META NAME=\"author\" CONTENT=\"Jan Kowalski\">\n"
        "<LINK REL=\"Stylesheet\" TYPE=\"text/css\" HREF=\"styl.css\">\n",
        "</HEAD>");
    row("head windows-1250, title only", BuildHead({ QStringLiteral("Tytuł") }, false), B,
        "<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">\n"
        "<TITLE>Tytuł</TITLE>\n",
        "</HEAD>");
    HeadFields emptyHead;
    emptyHead.charset = false;
    emptyHead.keywords = QStringLiteral(" , ,");
    row("head empty", BuildHead(emptyHead, true), B, "<HEAD>\n", "</HEAD>");

    row("link address",
        BuildLink({ LinkKind::Address, QStringLiteral("a.php?x=1&y=2"), QStringLiteral("Dalej >>"),
            QStringLiteral("Następna \"strona\""), QStringLiteral("_blank") }),
        P,
        "<A HREF=\"a.php?x=1&amp;y=2\" TITLE=\"Następna &quot;strona&quot;\" TARGET=\"_blank\">Dalej "
        "&gt;&gt;",
        "</A>");
    row("link over selection", BuildLink({ LinkKind::Address, QStringLiteral("b.html") }), P,
        "<A HREF=\"b.html\">", "</A>");
    row("mail", BuildLink({ LinkKind::Mail, QStringLiteral(" jan@example.pl ") }), P,
        "<A HREF=\"mailto:jan@example.pl\">", "</A>");
    row("mail given whole",
        BuildLink({ LinkKind::Mail, QStringLiteral("MAILTO:jan@example.pl?subject=a&b") }), P,
        "<A HREF=\"MAILTO:jan@example.pl?subject=a&amp;b\">", "</A>");
    row("anchor", BuildLink({ LinkKind::Anchor, QStringLiteral("#rozdział 2") }), P,
        "<A HREF=\"#rozdzia%C5%82%202\">", "</A>");

    ImageFields image { QStringLiteral("obrazki/kot.png"), QStringLiteral("Kot \"Mruczek\" & pies"), false,
        120, 80, 0, QStringLiteral("Left") };
    row("image", BuildImage(image), P,
        "<IMG SRC=\"obrazki/kot.png\" ALT=\"Kot &quot;Mruczek&quot; &amp; pies\" WIDTH=\"120\" HEIGHT=\"80\" "
        "BORDER=\"0\" ALIGN=\"Left\">",
        "");
    row("image decorative", BuildImage({ QStringLiteral("kreska.gif"), QStringLiteral("kreska"), true }), P,
        "<IMG SRC=\"kreska.gif\" ALT=\"\">", "");
    row("image without alt or sizes", BuildImage({ QStringLiteral("a.png") }), P, "<IMG SRC=\"a.png\">", "");

    row("meta name", BuildMeta({ MetaKind::Name, QStringLiteral("robots"), QStringLiteral("index, follow") }),
        P, "<META NAME=\"robots\" CONTENT=\"index, follow\">", "");
    row("meta http-equiv",
        BuildMeta(
            { MetaKind::HttpEquiv, QStringLiteral("Refresh"), QStringLiteral("5; URL=a.php?x=1&y=\"2\"") }),
        P, "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"5; URL=a.php?x=1&amp;y=&quot;2&quot;\">", "");
    row("meta empty content kept", BuildMeta({ MetaKind::Name, QStringLiteral("keywords") }), P,
        "<META NAME=\"keywords\" CONTENT=\"\">", "");

    ScriptFields script;
    row("script inline", BuildScript(script), B, "<SCRIPT TYPE=\"text/javascript\">\n<!--\n",
        "//-->\n</SCRIPT>");
    script.hideInComment = false;
    script.defer = true; // only for a file
    row("script inline bare", BuildScript(script), B, "<SCRIPT TYPE=\"text/javascript\">\n", "</SCRIPT>");
    script = { true, QStringLiteral("js/menu.js?v=1&b=2"), QString(), true, true, true };
    row("script from file", BuildScript(script), B, "<SCRIPT SRC=\"js/menu.js?v=1&amp;b=2\" DEFER ASYNC>",
        "</SCRIPT>");

    StyleFields style;
    style.fromFile = true;
    style.file = QStringLiteral("style/główny.css");
    style.media = QStringLiteral("print");
    row("style from file", BuildStyle(style), P,
        "<LINK REL=\"Stylesheet\" TYPE=\"text/css\" HREF=\"style/główny.css\" MEDIA=\"print\">", "");
    style = StyleFields();
    style.selector = QStringLiteral("P.uwaga");
    style.font = QStringLiteral("\"Times New Roman\", serif");
    style.size = QStringLiteral("12pt");
    style.colour = QStringLiteral("#800000");
    style.align = QStringLiteral("center");
    row("style inline", BuildStyle(style), B,
        "<STYLE TYPE=\"text/css\">\nP.uwaga {\n  font-family: \"Times New Roman\", serif;\n  font-size: "
        "12pt;\n"
        "  color: #800000;\n  text-align: center;\n}\n",
        "</STYLE>");
    style = StyleFields();
    style.colour = QStringLiteral("red; } BODY { display: none");
    style.background = QStringLiteral("</STYLE><SCRIPT>");
    row("style values cannot break out", BuildStyle(style), B,
        "<STYLE TYPE=\"text/css\">\nBODY {\n  color: red  BODY  display: none;\n"
        "  background-color: /STYLESCRIPT;\n}\n",
        "</STYLE>");
}

void TestMarkupBuilders::builders()
{
    QFETCH(ResolvedInsertion, built);
    QFETCH(InsertMode, mode);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QCOMPARE(built.mode, mode);
    QCOMPARE(built.opening, opening);
    QCOMPARE(built.closing, closing);
}

void TestMarkupBuilders::lowerCaseKeepsValues_data()
{
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("lower");
    // A ">" or a quote in a value must not end the tag early, or the attributes after it
    // would stay upper case.
    QTest::newRow("image")
        << BuildImage({ QStringLiteral("A.PNG"), QStringLiteral("x > \"Y\""), false, 1, 2, -1,
                          QStringLiteral("Left") })
               .opening
        << "<img src=\"A.PNG\" alt=\"x &gt; &quot;Y&quot;\" width=\"1\" height=\"2\" align=\"Left\">";
    QTest::newRow("link with text") << BuildLink(
        { LinkKind::Address, QStringLiteral("A.HTML"), QStringLiteral("Tekst <B>"), QStringLiteral("1>0"),
            QStringLiteral("_TOP") })
                                           .opening
                                    << "<a href=\"A.HTML\" title=\"1&gt;0\" target=\"_TOP\">Tekst &lt;B&gt;";
    QTest::newRow("head")
        << BuildHead({ QStringLiteral("TYTUŁ"), QString(), QString(), QString(), QString(), true }, true)
               .opening
        << "<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">\n"
           "<title>TYTUŁ</title>\n";
    QTest::newRow("style rule kept") << BuildStyle(StyleFields()).opening
                                     << "<style type=\"text/css\">\nBODY {\n}\n";
    QTest::newRow("script")
        << BuildScript({ true, QStringLiteral("A.JS"), QStringLiteral("text/javascript"), true }).opening
        << "<script type=\"text/javascript\" src=\"A.JS\" defer>";
}

void TestMarkupBuilders::lowerCaseKeepsValues()
{
    QFETCH(QString, opening);
    QFETCH(QString, lower);
    QCOMPARE(LowerCaseTags(opening), lower);
}

void TestMarkupBuilders::tables_data()
{
    QTest::addColumn<ResolvedInsertion>("built");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");

    TableFields one;
    one.rows = 1;
    one.columns = 1;
    one.border = -1;
    QTest::newRow("1x1") << BuildTable(one, false) << "<TABLE>\n  <TR>\n    <TD>"
                         << "    </TD>\n  </TR>\n</TABLE>";
    one.placeholder = true;
    QTest::newRow("1x1 placeholder, caret after it")
        << BuildTable(one, false) << "<TABLE>\n  <TR>\n    <TD>&nbsp;"
        << "    </TD>\n  </TR>\n</TABLE>";
    QTest::newRow("1x1 placeholder, selection instead")
        << BuildTable(one, true) << "<TABLE>\n  <TR>\n    <TD>"
        << "    </TD>\n  </TR>\n</TABLE>";

    TableFields t;
    t.rows = 2;
    t.columns = 2;
    t.headerRow = true;
    t.headerColumn = true;
    t.caption = QStringLiteral("Ceny & \"promocje\"");
    t.border = 0;
    t.padding = 4;
    t.spacing = 0;
    t.width = QStringLiteral("80%");
    t.align = QStringLiteral("Center");
    t.placeholder = true;
    t.placeholderText = QStringLiteral("-");
    t.indent = 1;
    QTest::newRow("2x2 headers, caption, indented from the line")
        << BuildTable(t, true, QStringLiteral("\t"))
        << "\t<TABLE BORDER=\"0\" CELLPADDING=\"4\" CELLSPACING=\"0\" WIDTH=\"80%\" ALIGN=\"Center\">\n"
           "\t <CAPTION>Ceny &amp; \"promocje\"</CAPTION>\n"
           "\t <TR>\n\t  <TH>"
        << "\t  </TH>\n\t  <TH>-</TH>\n\t </TR>\n"
           "\t <TR>\n\t  <TH>-</TH>\n\t  <TD>-</TD>\n\t </TR>\n\t</TABLE>";

    FrameFields frames;
    frames.frames = { { QStringLiteral("200"), QStringLiteral("menu"), QStringLiteral("menu.html") },
        { QString(), QStringLiteral("treść"), QStringLiteral("a b.html") } };
    frames.noFramesText = QStringLiteral("Bez ramek.");
    QTest::newRow("frames in columns")
        << BuildFrames(frames)
        << "<FRAMESET COLS=\"200,*\">\n  <FRAME NAME=\"menu\" SRC=\"menu.html\">\n"
           "  <FRAME NAME=\"treść\" SRC=\"a b.html\">\n  <NOFRAMES>\n  <BODY>\n  Bez ramek."
        << "  </BODY>\n  </NOFRAMES>\n</FRAMESET>";
    frames.columns = false;
    frames.noFrames = false;
    frames.indent = 0;
    frames.frames
        = { { QStringLiteral("30%"), QString(), QString() }, { QStringLiteral("2*"), QString(), QString() } };
    QTest::newRow("frames in rows, no NOFRAMES")
        << BuildFrames(frames, QStringLiteral("  ")) << "  <FRAMESET ROWS=\"30%,2*\">\n  <FRAME>\n  <FRAME>"
        << "  </FRAMESET>";
}

void TestMarkupBuilders::tables()
{
    QFETCH(ResolvedInsertion, built);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QCOMPARE(built.mode, InsertMode::Block);
    QCOMPARE(built.opening, opening);
    QCOMPARE(built.closing, closing);
}

// The large one is counted rather than written out.
void TestMarkupBuilders::table20x10()
{
    TableFields t;
    t.rows = 20;
    t.columns = 10;
    t.headerRow = true;
    t.placeholder = true;
    const ResolvedInsertion r = BuildTable(t, false);
    const QString all = r.opening + QStringLiteral("\n") + r.closing;
    QCOMPARE(all.count(QStringLiteral("<TR>")), 20);
    QCOMPARE(all.count(QStringLiteral("</TR>")), 20);
    QCOMPARE(all.count(QStringLiteral("<TH>&nbsp;")), 10);
    QCOMPARE(all.count(QStringLiteral("<TD>&nbsp;</TD>")), 190);
    QCOMPARE(all.count(QLatin1Char('\n')), 1 + 20 * 12 + 1);
    QVERIFY(r.opening.endsWith(QStringLiteral("<TR>\n    <TH>&nbsp;")));
    QVERIFY(r.closing.startsWith(QStringLiteral("    </TH>\n    <TH>&nbsp;</TH>\n")));
    QVERIFY(r.closing.endsWith(QStringLiteral("    <TD>&nbsp;</TD>\n  </TR>\n</TABLE>")));
    // Beyond the wizard's limits the counts are held to them.
    t.rows = 100000;
    t.columns = 0;
    const ResolvedInsertion big = BuildTable(t, false);
    QCOMPARE((big.opening + big.closing).count(QStringLiteral("<TR>")), TableFields::MaxRows);
    QCOMPARE((big.opening + big.closing).count(QStringLiteral("<TH>")), 1);
}

void TestMarkupBuilders::colours_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out"); // "!" for not a colour
    QTest::newRow("hex") << "#1a2b3c"
                         << "#1A2B3C";
    QTest::newRow("short hex") << "#fc0"
                               << "#FFCC00";
    QTest::newRow("hex without #") << "00ff00"
                                   << "#00FF00";
    QTest::newRow("name") << " Navy "
                          << "navy";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("three digits need #") << "fc0"
                                         << "!";
    QTest::newRow("unknown name") << "orange"
                                  << "!";
    QTest::newRow("not hex") << "#12345g"
                             << "!";
    QTest::newRow("quote") << "red\""
                           << "!";
}

void TestMarkupBuilders::colours()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    const std::optional<QString> c = NormalizeColour(in);
    QCOMPARE(c.has_value(), out != QLatin1String("!"));
    if (c)
        QCOMPARE(*c, out);
}

void TestMarkupBuilders::keywords()
{
    QCOMPARE(ParseKeywordList(QStringLiteral("; komentarz\r\n  góry \r\n\r\n# też\r\nmorze\n")),
        QStringList({ QStringLiteral("góry"), QStringLiteral("morze") }));
    QCOMPARE(JoinKeywords({ QStringLiteral(" a "), QString(), QStringLiteral("B"), QStringLiteral("A") }),
        QStringLiteral("a, B"));

    bool ok = false;
    const QStringList shipped
        = ReadKeywordList(testsupport::sourcePath(QStringLiteral("konfiguracja/keywords.txt")), &ok);
    QVERIFY(ok);
    QVERIFY(shipped.size() > 50);
    QVERIFY(shipped.contains(QStringLiteral("strona domowa")));
    QVERIFY(shipped.contains(QStringLiteral("Łódź")));
    for (const QString &word : shipped)
        QVERIFY2(!word.startsWith(u';') && word == word.trimmed(), qPrintable(word));
    QCOMPARE(JoinKeywords(shipped).split(QStringLiteral(", ")).size(), shipped.size());

    ReadKeywordList(QStringLiteral("/nonexistent/keywords.txt"), &ok);
    QVERIFY(!ok);
}

void TestMarkupBuilders::dateTexts()
{
    // Monday, and a Sunday in September: the names come from the program's own tables.
    const QDateTime monday(QDate(2024, 5, 6), QTime(14, 5, 9), Qt::OffsetFromUTC, 2 * 3600);
    QCOMPARE(DateTexts(monday),
        QStringList({ QStringLiteral("06.05.2024"), QStringLiteral("6 maja 2024"),
            QStringLiteral("6 maja 2024 r."), QStringLiteral("poniedziałek, 6 maja 2024"),
            QStringLiteral("Poniedziałek, 6 maja 2024 r., godz. 14:05"), QStringLiteral("Maj 2024"),
            QStringLiteral("2024-05-06"), QStringLiteral("06.05.2024, 14:05"), QStringLiteral("14:05"),
            QStringLiteral("14:05:09"), QStringLiteral("2024-05-06T14:05:09+02:00"),
            QStringLiteral("Mon, 06 May 2024 12:05:09 GMT") }));
    const QStringList sunday = DateTexts(QDateTime(QDate(2023, 9, 3), QTime(0, 0), Qt::UTC));
    QCOMPARE(sunday.at(3), QStringLiteral("niedziela, 3 września 2023"));
    QCOMPARE(sunday.at(5), QStringLiteral("Wrzesień 2023"));
    QCOMPARE(sunday.at(10), QStringLiteral("2023-09-03T00:00:00Z"));
}

namespace {

template <class F> void roundTrip(const F &changed)
{
    MarkoraSettings settings;
    F read;
    ReadDialogFields(settings, read);
    QVERIFY(read == F()); // nothing stored: the defaults
    QVERIFY(!(changed == F()));
    WriteDialogFields(settings, changed);
    ReadDialogFields(settings, read);
    QVERIFY(read == changed);
}

} // namespace

void TestMarkupBuilders::dialogStateRoundTrip()
{
    roundTrip(BodyFields {
        QStringLiteral("#000000"), {}, {}, {}, QStringLiteral("red"), QStringLiteral("a, b.png"), 5, -1 });
    roundTrip(
        HeadFields { QStringLiteral("Tytuł, z przecinkiem"), {}, QStringLiteral("a, b"), {}, {}, false });
    roundTrip(LinkFields {
        LinkKind::Anchor, QStringLiteral("góra"), QString(), QStringLiteral("t"), QStringLiteral("_top") });
    roundTrip(ImageFields {
        QStringLiteral("a.png"), QStringLiteral("A"), true, 10, 20, 0, QStringLiteral("Right") });
    roundTrip(MetaFields { MetaKind::HttpEquiv, QStringLiteral("Refresh"), QStringLiteral("5") });
    roundTrip(DateFields { 7 });
    roundTrip(ScriptFields { true, QStringLiteral("a.js"), QString(), true, false, false });
    StyleFields style;
    style.selector = QStringLiteral("H1");
    style.font = QStringLiteral("Arial, sans-serif");
    roundTrip(style);
    TableFields table;
    table.rows = 20;
    table.columns = 10;
    table.placeholderText = QString();
    roundTrip(table);
    FrameFields frames;
    frames.frames = { { QStringLiteral("1*"), QStringLiteral("a"), QStringLiteral("a.html") } };
    frames.noFrames = false;
    roundTrip(frames);

    // Values edited by hand out of range read as the defaults; the place too.
    MarkoraSettings settings;
    settings.writeInt(DialogSections::Table.toString(), QStringLiteral("SpWiersze.Value"), 0);
    settings.writeInt(DialogSections::Table.toString(), QStringLiteral("SpWciecie.Value"), 99);
    TableFields read;
    ReadDialogFields(settings, read);
    QCOMPARE(read.rows, TableFields().rows);
    QCOMPARE(read.indent, TableFields().indent);
    settings.writeString(
        DialogSections::Link.toString(), QStringLiteral("CbRodzaj.ItemIndex"), QStringLiteral("7"));
    LinkFields link;
    ReadDialogFields(settings, link);
    QCOMPARE(link.kind, LinkKind::Address);
    DialogPlace place { 10, -20 };
    place.write(settings, DialogSections::Image);
    QCOMPARE(DialogPlace::read(settings, DialogSections::Image).top, -20);
    settings.writeInt(DialogSections::Image.toString(), QStringLiteral("Left"), 99999);
    QCOMPARE(DialogPlace::read(settings, DialogSections::Image).left, DialogPlace::NoPlace);
}

QTEST_GUILESS_MAIN(TestMarkupBuilders)
#include "tst_markupbuilders.moc"
