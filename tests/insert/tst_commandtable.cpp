#include "insert/commandtable.h"

#include <QSet>
#include <QTest>
#include <optional>

Q_DECLARE_METATYPE(InsertMode)

class TestCommandTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableShape();
    void fixedTexts_data();
    void fixedTexts();
    void computedTexts_data();
    void computedTexts();
    void menus();
};

namespace {

const InsertCommand &row(const char *name)
{
    const int i = findInsertCommand(QString::fromLatin1(name));
    if (i < 0)
        qFatal("no command %s", name);
    return insertCommands()[size_t(i)];
}

} // namespace

void TestCommandTable::tableShape()
{
    const auto &table = insertCommands();
    QCOMPARE(insertPageNames().size(), 12);
    QVector<int> perPage(12, 0);
    QSet<QString> names;
    QSet<QString> shortcuts;
    for (const InsertCommand &c : table) {
        QVERIFY2(c.handler.endsWith(QLatin1String("Click")), qPrintable(c.handler));
        QVERIFY2(!names.contains(c.objectName), qPrintable(c.objectName));
        names.insert(c.objectName);
        QVERIFY2(!c.caption.isEmpty() && !c.hint.isEmpty(), qPrintable(c.objectName));
        if (!c.shortcut.isEmpty()) {
            QVERIFY2(!shortcuts.contains(c.shortcut), qPrintable(c.shortcut));
            shortcuts.insert(c.shortcut);
        }
        if (c.place == InsertPlace::ToolTab) {
            QVERIFY2(c.page >= 0 && c.page < 12, qPrintable(c.objectName));
            ++perPage[c.page];
            // A button with a handler of its own is named after it.
            if (c.handler != QLatin1String("BtnLtClick"))
                QCOMPARE(c.objectName + QLatin1String("Click"), c.handler);
        } else {
            QCOMPARE(c.page, -1);
        }
        // Texts are kept with single-character line breaks.
        QVERIFY(!c.opening.contains(u'\r') && !c.closing.contains(u'\r'));
        const bool modeRow = c.objectName == QLatin1String("BtnUL") || c.objectName == QLatin1String("BTnOL")
            || c.objectName == QLatin1String("BtnTblStart");
        QCOMPARE(c.entryMode != -1, modeRow);
    }
    for (int page = 0; page < 12; ++page)
        QVERIFY2(perPage[page] > 0, qPrintable(insertPageNames()[page]));
    QCOMPARE(row("BtnUL").entryMode, 1);
    QCOMPARE(row("BTnOL").entryMode, 1);
    QCOMPARE(row("BtnTblStart").entryMode, 2);
    QCOMPARE(row("Btn_BClick").shortcut, QStringLiteral("Ctrl+B"));
    QCOMPARE(row("Wstawjeszczeraz1").kind, InsertKind::Repeat);
    QCOMPARE(row("BtnWstawJRaz").kind, InsertKind::Repeat);

    // The "HTML5" page inserts the sectioning, media and interactive elements.
    QCOMPARE(insertPageNames().last(), QStringLiteral("HTML5"));
    QString html5;
    for (const InsertCommand &c : table)
        if (c.page == 11)
            html5 += c.opening + c.closing;
    for (const char *name : { "SECTION", "ARTICLE", "NAV", "HEADER", "FOOTER", "MAIN", "ASIDE", "FIGURE",
             "FIGCAPTION", "PICTURE", "VIDEO", "AUDIO", "DETAILS", "SUMMARY", "MARK", "TIME", "DIALOG" })
        QVERIFY2(html5.contains(QStringLiteral("<%1").arg(QLatin1String(name)))
                && html5.contains(QStringLiteral("</%1>").arg(QLatin1String(name))),
            name);
    QVERIFY(html5.contains(QStringLiteral("<SOURCE ")));
}

void TestCommandTable::fixedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<InsertMode>("mode");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    auto add = [](const char *name, InsertMode mode, const QString &o, const QString &c) {
        QTest::newRow(name) << QString::fromLatin1(name) << mode << o << c;
    };
    const InsertMode P = InsertMode::Pair, B = InsertMode::Block, T = InsertMode::Plain;
    add("Podst_HRClick", P, QStringLiteral("<HR>"), QString());
    add("Btn_UClick", P, QStringLiteral("<U>"), QStringLiteral("</U>"));
    add("S1Click", P, QStringLiteral("<STRONG>"), QStringLiteral("</STRONG>"));
    add("N23Click", P, QStringLiteral("<!--"), QStringLiteral("-->"));
    add("Btn_minus1Click", P, QStringLiteral("<FONT SIZE=-1>"), QStringLiteral("</FONT>"));
    add("Btn_H6Click", P, QStringLiteral("<H6>"), QStringLiteral("</H6>"));
    add("Btn_CourierClick", P, QStringLiteral("<FONT FACE=\"Courier New,Courier\">"),
        QStringLiteral("</FONT>"));
    add("SpeedButton9Click", P, QStringLiteral("\n<LI>"), QString());
    add("BtnULClick", P, QStringLiteral("<UL>\n<LI>"), QStringLiteral("\n</UL>"));
    add("BtnDLClick", P, QStringLiteral("<DL>"), QStringLiteral("\n</DL>"));
    add("BtnTblStartClick", P, QStringLiteral("<TABLE BORDER=\"2\">\n<TR>\n<TD>"),
        QStringLiteral("\n</TD>\n</TR>\n</TABLE>"));
    add("BtnFSetClick", P, QStringLiteral("<FRAMESET>\n"), QStringLiteral("</FRAMESET>"));
    add("SpeedButton1Click", P, QStringLiteral("<BASE TARGET=\""), QStringLiteral("\">"));
    add("BtnFormClick", B, QStringLiteral("<FORM>"), QStringLiteral("</FORM>"));
    add("BtnFrmFileClick", P, QStringLiteral("<INPUT TYPE=\"file\">"), QString());
    add("BtnScriptClick", B, QStringLiteral("<SCRIPT>\n<!--"), QStringLiteral("\n//-->\n</SCRIPT>"));
    add("BtnStyleClick", B, QStringLiteral("<STYLE TYPE=\"text/css\">"), QStringLiteral("</STYLE>"));
    add("btnLinkClick", P, QStringLiteral("<LINK REL=\"Stylesheet\" TYPE=\"text/css\" HREF=\""),
        QStringLiteral("\">"));
    add("BtnSSIIncludeClick", P, QStringLiteral("<!--#include virtual=\""), QStringLiteral("\" -->"));
    add("BtnPhpClick", P, QStringLiteral("<?PHP \n"), QStringLiteral("\n?>"));
    add("BtnAspEchoClick", P, QStringLiteral("<%= "), QStringLiteral(" %>"));
    add("WstawdeklaracjWin1Click", P,
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">"),
        QString());
    add("WstawdeklaracjUTF81Click", P,
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">"), QString());
    add("BtnNbspClick", T, QStringLiteral("&nbsp;"), QString());
    add("BtnTM", T, QStringLiteral("&trade;"), QString());
    add("BtnQuote", T, QStringLiteral("&quot;"), QString());
}

void TestCommandTable::fixedTexts()
{
    QFETCH(QString, name);
    QFETCH(InsertMode, mode);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const int i = findInsertCommand(name);
    QVERIFY(i >= 0);
    const ResolvedInsertion r = resolveCommand(insertCommands()[size_t(i)], InsertSettings());
    QCOMPARE(r.mode, mode);
    QCOMPARE(r.opening, opening);
    QCOMPARE(r.closing, closing);
}

void TestCommandTable::computedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closingParagraph");
    QTest::addColumn<QString>("alignTemplate"); // empty: the default
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<InsertMode>("mode");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    const std::optional<QString> none;
    const InsertMode P = InsertMode::Pair, T = InsertMode::Plain, N = InsertMode::None;
    auto row = [](const char *tag, const char *name, bool para, const QString &tpl,
                   const std::optional<QString> &a, InsertMode m, const QString &o, const QString &c) {
        QTest::newRow(tag) << QString::fromLatin1(name) << para << tpl << a << m << o << c;
    };
    row("paragraph without closing", "Btn_PClick", false, {}, none, P, QStringLiteral("<P>"), QString());
    row("paragraph with closing", "Btn_PClick", true, {}, none, P, QStringLiteral("<P>"),
        QStringLiteral("</P>"));
    row("left default", "BTN_LeftClick", false, {}, none, P, QStringLiteral("<DIV ALIGN=\"Left\">"),
        QStringLiteral("</DIV>"));
    row("centre CENTER", "Btn_CenterClick", false, QStringLiteral("<CENTER>"), none, P,
        QStringLiteral("<CENTER>"), QStringLiteral("</CENTER>"));
    row("right P, option off", "Btn_RightClick", false, QStringLiteral("<P ALIGN=\"Right\">"), none, P,
        QStringLiteral("<P ALIGN=\"Right\">"), QString());
    row("right P, option on", "Btn_RightClick", true, QStringLiteral("<P ALIGN=\"Right\">"), none, P,
        QStringLiteral("<P ALIGN=\"Right\">"), QStringLiteral("</P>"));
    row("lower-case template", "BTN_LeftClick", false, QStringLiteral("<div align=\"left\">"), none, P,
        QStringLiteral("<div align=\"left\">"), QStringLiteral("</DIV>"));
    row("tag item", "ZnacznikBLOCKQUOTE", false, {}, none, P, QStringLiteral("<BLOCKQUOTE>"),
        QStringLiteral("</BLOCKQUOTE>"));
    row("tag item, Tag 1", "ZnacznikWBR", false, {}, none, P, QStringLiteral("<WBR>"), QString());
    row("SSI include", "SSIinclude", false, {}, none, P, QStringLiteral("<!--include"),
        QStringLiteral(" -->"));
    row("SSI flastmod", "SSIflastmod", false, {}, none, P, QStringLiteral("<!--flastmod"),
        QStringLiteral(" -->"));
    row("entity menu nbsp", "Encjanbsp", false, {}, none, T, QStringLiteral("&nbsp;"), QString());
    row("entity menu mdash", "Encjamdash", false, {}, none, T, QStringLiteral("&mdash;"), QString());
    row("anchor", "BtnAnchorClick", false, {}, QStringLiteral("cel"), P, QStringLiteral("<A NAME=\"cel\">"),
        QStringLiteral("</A>"));
    row("anchor cancelled", "BtnAnchorClick", false, {}, none, N, QString(), QString());
    row("mail", "BtnMailClick", false, {}, QStringLiteral("ja@example.pl"), P,
        QStringLiteral("<A HREF=\"mailto:ja@example.pl\">"), QStringLiteral("</A>"));
    row("alert", "BtnAlertClick", false, {}, QStringLiteral("Uwaga!"), P,
        QStringLiteral("alert(\"Uwaga!\");"), QString());
    row("confirm", "BtnConfirmClick", false, {}, QString(), P, QStringLiteral("confirm(\"\");"), QString());
    row("tag as style", "BtnWstawJakoStylClick", false, {}, QStringLiteral("TD"), P, QStringLiteral("\nTD {"),
        QStringLiteral("}"));
    row("tag as style, no tag", "BtnWstawJakoStylClick", false, {}, QString(), N, QString(), QString());
    row("repeat", "Wstawjeszczeraz1", false, {}, none, N, QString(), QString());
}

void TestCommandTable::computedTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, closingParagraph);
    QFETCH(QString, alignTemplate);
    QFETCH(std::optional<QString>, answer);
    QFETCH(InsertMode, mode);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    InsertSettings s;
    s.closingParagraph = closingParagraph;
    if (!alignTemplate.isEmpty())
        s.alignLeft = s.alignCenter = s.alignRight = alignTemplate;
    const int i = findInsertCommand(name);
    QVERIFY(i >= 0);
    const ResolvedInsertion r = resolveCommand(insertCommands()[size_t(i)], s, answer);
    QCOMPARE(r.mode, mode);
    QCOMPARE(r.opening, opening);
    QCOMPARE(r.closing, closing);
}

void TestCommandTable::menus()
{
    int tags = 0, single = 0, ssi = 0, entities = 0;
    for (const InsertCommand &c : insertCommands()) {
        switch (c.place) {
        case InsertPlace::TagMenu:
            ++tags;
            single += c.tag == 1;
            QCOMPARE(c.handler, QStringLiteral("ADRESS1Click"));
            break;
        case InsertPlace::SsiMenu:
            ++ssi;
            QVERIFY(c.clearsAutoInterpretation);
            QVERIFY(c.caption.startsWith(QLatin1String("<!--")) && c.caption.endsWith(QLatin1String(" -->")));
            break;
        case InsertPlace::EntityMenu: {
            ++entities;
            const QString text = resolveCommand(c, InsertSettings()).opening;
            QVERIFY2(text.startsWith(u'&') && text.endsWith(u';') && !text.startsWith(QLatin1String("&&")),
                qPrintable(text));
            break;
        }
        default:
            QVERIFY(!c.clearsAutoInterpretation);
        }
    }
    QCOMPARE(tags, 73);
    QCOMPARE(single, 13);
    QCOMPARE(ssi, 12);
    QCOMPARE(entities, 12);
    QCOMPARE(alignmentChoices(Alignment::Center).size(), 3);
    QCOMPARE(alignmentChoices(Alignment::Left).first(), InsertSettings().alignLeft);
}

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
