#include "base/inifile.h"
#include "editor/colorrule.h"
#include "editor/defaultrules.h"

#include <QtTest>

class TstColorRule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colorFromText_data();
    void colorFromText();
    void colorToRgb();
    void begEndLine_data();
    void begEndLine();
    void lineEndLine_data();
    void lineEndLine();
    void emptyEntryHidesLaterLines();
    void drawingTypeChoosesList();
    void keywordTable();
    void paletteCap();
    void assignCopiesPublishedSubset();
    void defaultRules();
    void defaultRulesSkipGroupSections();
};

void TstColorRule::colorFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("bgr");
    QTest::newRow("Navy") << QStringLiteral("Navy") << 0x800000u;
    QTest::newRow(" lime ") << QStringLiteral(" lime ") << 0x00FF00u;
    QTest::newRow("Maroon") << QStringLiteral("MAROON") << 0x000080u;
    QTest::newRow("Fuchsia") << QStringLiteral("fuchsia") << 0xFF00FFu;
    QTest::newRow("#00FF00") << QStringLiteral("#00FF00") << 0x00FF00u;
    QTest::newRow("#FF0000 is red") << QStringLiteral("#FF0000") << 0x0000FFu;
    QTest::newRow("no hash") << QStringLiteral("0000ff") << 0xFF0000u;
    QTest::newRow("$FF") << QStringLiteral("$FF") << 0xFF0000u;
    QTest::newRow("$0000FF") << QStringLiteral("$0000FF") << 0xFF0000u;
    QTest::newRow("-$1") << QStringLiteral("-$1") << 0xFFFFFFFFu;
    QTest::newRow("zzz") << QStringLiteral("zzz") << 0xFFFFFFu;
    QTest::newRow("empty") << QString() << 0xFFFFFFu;
    QTest::newRow("dollar alone") << QStringLiteral("$") << 0xFFFFFFu;
    QTest::newRow("dollar inside") << QStringLiteral("12$3") << 0xFFFFFFu;
    QTest::newRow("name cut to 10") << QStringLiteral("BLUEBLUEBLUE") << 0xFFFFFFu;
    QTest::newRow("9 digits") << QStringLiteral("#123456789") << 0xFFFFFFu;
}

void TstColorRule::colorFromText()
{
    QFETCH(QString, text);
    QFETCH(quint32, bgr);
    QCOMPARE(ColorFromText(text), TColor(bgr));
}

void TstColorRule::colorToRgb()
{
    QCOMPARE(ColorToRgb(0x800000, 0xABCDEF, 0x123456), 0x000080u);
    QCOMPARE(ColorToRgb(clWindow, 0xABCDEF, 0x123456), 0xABCDEFu);
    QCOMPARE(ColorToRgb(clWindowText, 0xABCDEF, 0x123456), 0x123456u);
    QCOMPARE(ColorFromRgb(0x00FF0080), TColor(0x8000FF));
}

void TstColorRule::begEndLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("end");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("<;>;Navy") << QStringLiteral("<;>;Navy") << QStringLiteral("<") << QStringLiteral(">")
                              << 0x800000u;
    QTest::newRow("quote") << QStringLiteral("\";\";Navy") << QStringLiteral("\"") << QStringLiteral("\"")
                           << 0x800000u;
    QTest::newRow("no colour") << QStringLiteral("{;}") << QStringLiteral("{") << QStringLiteral("}")
                               << 0x0000FFu;
    QTest::newRow("blank colour") << QStringLiteral("{;}; ") << QStringLiteral("{") << QStringLiteral("}")
                                  << 0x0000FFu;
    QTest::newRow("</TABLE cut") << QStringLiteral("</TABLE;>;Lime") << QStringLiteral("</TABL")
                                 << QStringLiteral(">") << 0x00FF00u;
    QTest::newRow("long end cut") << QStringLiteral("<!;-------->;Red") << QStringLiteral("<!")
                                  << QStringLiteral("------") << 0x0000FFu;
    QTest::newRow("no end") << QStringLiteral("<;") << QStringLiteral("<") << QString() << 0x0000FFu;
}

void TstColorRule::begEndLine()
{
    QFETCH(QString, line);
    QFETCH(QString, begin);
    QFETCH(QString, end);
    QFETCH(quint32, colour);
    TColorRule r;
    r.setKeyBegEndLst({ line });
    QCOMPARE(r.DelimiterUsed(), 1);
    QCOMPARE(r.Delimiter(0).Begin, begin);
    QCOMPARE(r.Delimiter(0).End, end);
    QCOMPARE(r.Delimiter(0).Color, TColor(colour));
}

void TstColorRule::lineEndLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("begin");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("//;Green") << QStringLiteral("//;Green") << QStringLiteral("//") << 0x008000u;
    QTest::newRow(";;Red") << QStringLiteral(";;Lime") << QStringLiteral(";") << 0x00FF00u;
    QTest::newRow("no semicolon") << QStringLiteral("rem") << QStringLiteral("rem") << 0x0000FFu;
    QTest::newRow("lone semicolon") << QStringLiteral(";") << QStringLiteral(";") << 0x0000FFu;
    QTest::newRow("leading semicolon only") << QStringLiteral(";abc") << QStringLiteral(";abc") << 0x0000FFu;
    QTest::newRow("empty before second") << QStringLiteral(";a;b") << QString() << 0u;
}

void TstColorRule::lineEndLine()
{
    QFETCH(QString, line);
    QFETCH(QString, begin);
    QFETCH(quint32, colour);
    TColorRule r;
    r.setKeyDrawingType(dtBeginLineEnd);
    r.setKeyLineEndLst({ line });
    QCOMPARE(r.DelimiterUsed(), begin.isEmpty() ? 0 : 1);
    QCOMPARE(r.Delimiter(0).Begin, begin);
    if (!begin.isEmpty())
        QCOMPARE(r.Delimiter(0).Color, TColor(colour));
}

void TstColorRule::emptyEntryHidesLaterLines()
{
    TColorRule r;
    r.setKeyBegEndLst({ QStringLiteral("<;>"), QStringLiteral(";x;Red"), QStringLiteral("{;}") });
    QCOMPARE(r.DelimiterUsed(), 1);
    r.setKeyBegEndLst({ QStringLiteral("<;>"), QString(), QStringLiteral("{;}") });
    QCOMPARE(r.DelimiterUsed(), 1);

    QStringList many;
    for (int i = 0; i < 45; ++i)
        many << QStringLiteral("a%1;b").arg(i);
    r.setKeyBegEndLst(many);
    QCOMPARE(r.DelimiterUsed(), TColorRule::DelimiterCount);
    QCOMPARE(r.Delimiter(39).Begin, QStringLiteral("a39"));
}

void TstColorRule::drawingTypeChoosesList()
{
    TColorRule r;
    r.setKeyLineEndLst({ QStringLiteral("//;Lime") });
    r.setKeyBegEndLst({ QStringLiteral("<;>;Navy") });
    QCOMPARE(r.Delimiter(0).Begin, QStringLiteral("<"));
    r.setKeyDrawingType(dtBeginLineEnd);
    QCOMPARE(r.Delimiter(0).Begin, QStringLiteral("//"));
    QCOMPARE(r.Delimiter(0).End, QString());
    r.setKeyDrawingType(dtKeyShow);
    QCOMPARE(r.DelimiterUsed(), 0);
}

void TstColorRule::keywordTable()
{
    TColorRule r;
    r.setDefKeyColor(0x123);
    r.setKeywords({ QStringLiteral("if;Maroon"), QStringLiteral("  else ; maroon "), QString(),
        QStringLiteral("żółw;Lime"), QStringLiteral("new"), QStringLiteral(";Red"),
        QString(40, QLatin1Char('x')) });
    const QVector<TKeyword> &t = r.KeywordTable();
    QCOMPARE(t.size(), 5); // the blank line and the empty keyword give nothing
    QCOMPARE(t[0].Text, QStringLiteral("IF"));
    QCOMPARE(t[1].Text, QStringLiteral("ELSE"));
    QCOMPARE(t[0].Palette, quint8(1));
    QCOMPARE(t[1].Palette, quint8(1));
    QCOMPARE(t[2].Text, QStringLiteral("ŻÓŁW"));
    QCOMPARE(r.KeywordColor(t[2]), TColor(0x00FF00));
    QCOMPARE(r.KeywordColor(t[3]), TColor(0x123)); // DefKeyColor takes a palette entry too
    QCOMPARE(t[3].Palette, quint8(3));
    QCOMPARE(t[4].Text.size(), TColorRule::KeywordLength);

    r.setKeyCase(true);
    QCOMPARE(r.KeywordTable()[0].Text, QStringLiteral("if"));
}

void TstColorRule::paletteCap()
{
    TColorRule r;
    r.setDefKeyColor(0x123456);
    QStringList words;
    for (int i = 1; i <= 45; ++i)
        words << QStringLiteral("k%1;$%2").arg(i).arg(i, 0, 16);
    r.setKeywords(words);
    QCOMPARE(r.Palette().size(), TColorRule::PaletteSize);
    const QVector<TKeyword> &t = r.KeywordTable();
    QCOMPARE(t.size(), 45);
    QCOMPARE(t[40].Palette, quint8(41));
    QCOMPARE(r.KeywordColor(t[40]), TColor(41 << 16));
    // Beyond a full palette a keyword keeps no index and shows in DefKeyColor.
    QCOMPARE(t[41].Palette, quint8(0));
    QCOMPARE(r.KeywordColor(t[44]), TColor(0x123456));
}

void TstColorRule::assignCopiesPublishedSubset()
{
    TColorRule a;
    a.setZOrder(9);
    a.setIntChar(QStringLiteral("x"));
    a.setKeyMaxHeight(4);
    a.setKeyCase(true);
    a.setEnabled(false);
    a.setPartWord(true);
    a.setDefKeyColor(7);
    a.setKeySelColor(8);
    a.setKeyBrushColor(9);
    a.setKeyDrawingType(dtBeginLineEnd);
    a.setKeyLineEndLst({ QStringLiteral("//") });
    a.setKeywords({ QStringLiteral("Abc") });
    a.setWholeNames(true);

    TColorRule b;
    b.Assign(a);
    QCOMPARE(b.ZOrder(), quint8(9));
    QCOMPARE(b.KeyMaxHeight(), 4);
    QVERIFY(b.KeyCase());
    QVERIFY(!b.Enabled());
    QVERIFY(b.PartWord());
    QCOMPARE(b.DefKeyColor(), TColor(7));
    QCOMPARE(b.KeyBrushColor(), TColor(9));
    QCOMPARE(b.KeyDrawingType(), dtBeginLineEnd);
    QVERIFY(b.WholeNames());
    QCOMPARE(b.Delimiter(0).Begin, QStringLiteral("//"));
    QCOMPARE(b.Delimiter(0).Color, TColor(7));
    QCOMPARE(b.KeywordTable()[0].Text, QStringLiteral("Abc"));
    QCOMPARE(b.IntChar(), QString());
    QCOMPARE(b.KeySelColor(), TColor(0xFFFF));

    TDrawRules rules;
    rules.Add().Assign(a);
    rules.Add();
    TDrawRules copy;
    copy.Add();
    copy = rules;
    QCOMPARE(copy.Count(), 2);
    QCOMPARE(copy.Item(0).Delimiter(0).Begin, QStringLiteral("//"));
    QCOMPARE(copy.Item(0).IntChar(), QString());
}

void TstColorRule::defaultRules()
{
    IniFile ini;
    ini.parse(QStringLiteral("[_Tekst]\ncolor=#FF0000\n"
                             "[B]\ngrp=_Tekst\n"
                             "[table]\n"
                             "[Hr]\ngrp=_Brak\n"));
    const TDrawRules rules = BuildDefaultColorRules(ini);
    QCOMPARE(rules.Count(), 5 + 3 + 1);

    QCOMPARE(rules.Item(0).Delimiter(0).Begin, QStringLiteral("<"));
    QCOMPARE(rules.Item(0).ZOrder(), quint8(0));
    QCOMPARE(rules.Item(1).Delimiter(0).Begin, QStringLiteral("\""));
    QCOMPARE(rules.Item(1).ZOrder(), quint8(200));
    QCOMPARE(rules.Item(2).KeyDrawingType(), dtKeyShow);
    QVERIFY(rules.Item(2).PartWord());
    QCOMPARE(rules.Item(2).KeywordColor(rules.Item(2).KeywordTable()[0]), TColor(0x00FF00));
    QCOMPARE(rules.Item(3).ZOrder(), quint8(205));
    QCOMPARE(rules.Item(3).Delimiter(0).Color, TColor(0xFF00FF));
    const TColorRule &script = rules.Item(4);
    QCOMPARE(script.ZOrder(), quint8(201));
    QCOMPARE(script.KeywordTable().size(), 6);
    QCOMPARE(script.KeywordColor(script.KeywordTable()[5]), TColor(128));

    const TColorRule &b = rules.Item(5);
    QCOMPARE(b.DelimiterUsed(), 4);
    QCOMPARE(b.Delimiter(0).Begin, QStringLiteral("<B"));
    QCOMPARE(b.Delimiter(1).Begin, QStringLiteral("</B"));
    QCOMPARE(b.Delimiter(1).Color, TColor(0x0000FF));
    QVERIFY(b.WholeNames());
    QVERIFY(!rules.Item(0).WholeNames());
    // The program's tag rules keep their names whole (a list line would be cut to six).
    const TColorRule &table = rules.Item(6);
    QCOMPARE(table.Delimiter(0).Begin, QStringLiteral("<TABLE"));
    QCOMPARE(table.Delimiter(1).Begin, QStringLiteral("</TABLE"));
    QCOMPARE(table.Delimiter(2).Begin, QStringLiteral("<table"));
    QCOMPARE(table.Delimiter(3).Begin, QStringLiteral("</table"));
    QCOMPARE(table.Delimiter(3).End, QStringLiteral(">"));
    QCOMPARE(table.Delimiter(3).Color, TColor(0x800000)); // no group section: Navy
    QCOMPARE(rules.Item(7).Delimiter(2).Begin, QStringLiteral("<Hr"));
    // Comments last, gray, above the tags' order and below the quoted values'.
    const TColorRule &comment = rules.Item(8);
    QCOMPARE(comment.Delimiter(0).Begin, QStringLiteral("<!--"));
    QCOMPARE(comment.Delimiter(0).End, QStringLiteral("-->"));
    QCOMPARE(comment.Delimiter(0).Color, TColor(0x808080));
    QCOMPARE(comment.ZOrder(), quint8(1));
}

void TstColorRule::defaultRulesSkipGroupSections()
{
    IniFile ini;
    ini.parse(QStringLiteral("[P]\n[_x]\ncolor=Red\n[%y]\nargs=id\n[%z]\n[_w]\n[I]\n"));
    const TDrawRules rules = BuildDefaultColorRules(ini);
    QCOMPARE(rules.Count(), 5 + 2 + 1);
    QCOMPARE(rules.Item(5).Delimiter(0).Begin, QStringLiteral("<P"));
    QCOMPARE(rules.Item(6).Delimiter(0).Begin, QStringLiteral("<I"));
    // The shared instance is built once and keeps its first tags.
    const TDrawRules &shared = DefaultColorRules(ini);
    QCOMPARE(&DefaultColorRules(IniFile()), &shared);
    QCOMPARE(shared.Count(), 8);
}

QTEST_GUILESS_MAIN(TstColorRule)
#include "tst_colorrule.moc"
