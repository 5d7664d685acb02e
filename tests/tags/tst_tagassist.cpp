#include "base/textaccess.h"
#include "tags/tagassist.h"
#include "tags/tagdefs.h"

#include <QtTest>

Q_DECLARE_METATYPE(ArgRow)

namespace {

const char *const kDefs = "[%core]\n"
                          "args=ID,CLASS\n"
                          "ID=text;\"\n"
                          "CLASS=text;\"\n"
                          "[IMG]\n"
                          "Info=Obrazek.\n"
                          "args=SRC,%core;BORDER,ISMAP,ALIGN\n"
                          "SRC=file;\"\n"
                          "BORDER=text\n"
                          "ISMAP=bool\n"
                          "ALIGN=choice;\";left,right\n"
                          "ends=0\n"
                          "[TD]\n"
                          "Info=Komórka.\n"
                          "ends=1\n"
                          "[P]\n"
                          "Info=Akapit.\n"
                          "ends=2\n"
                          "[X]\n"
                          "ends=7\n";

} // namespace

class TstTagAssist : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_defs.parse(QString::fromUtf8(kDefs)); }
    void parameterEntries();
    void hintText_data();
    void hintText();
    void needsClosing_data();
    void needsClosing();
    void enterInsertion_data();
    void enterInsertion();
    void leadingIndent_data();
    void leadingIndent();
    void rebuildTag_data();
    void rebuildTag();
    void lowerCaseArgNames_data();
    void lowerCaseArgNames();
    void inTagCase_data();
    void inTagCase();
    void closingForGreater_data();
    void closingForGreater();
    void attributeNameBefore_data();
    void attributeNameBefore();
    void valueInsertion_data();
    void valueInsertion();

private:
    TagDefs m_defs;
};

void TstTagAssist::parameterEntries()
{
    QCOMPARE(ParameterEntries(m_defs, QStringLiteral("img")),
        (QStringList { QStringLiteral("SRC=\"\""), QStringLiteral("ID=\"\""), QStringLiteral("CLASS=\"\""),
            QStringLiteral("BORDER="), QStringLiteral("ISMAP"), QStringLiteral("ALIGN=\"\"") }));
    QVERIFY(ParameterEntries(m_defs, QStringLiteral("TD")).isEmpty());
    QVERIFY(ParameterEntries(m_defs, QStringLiteral("NOSUCH")).isEmpty());
}

void TstTagAssist::hintText_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("hint");
    QTest::newRow("args expanded, space after commas")
        << QStringLiteral("img") << QStringLiteral("IMG: SRC, ID, CLASS, BORDER, ISMAP, ALIGN\nObrazek.");
    QTest::newRow("no args: only Info") << QStringLiteral("TD") << QStringLiteral("Komórka.");
    QTest::newRow("unknown") << QStringLiteral("BLINK") << QString();
    QTest::newRow("closing tag has no section") << QStringLiteral("/TD") << QString();
}

void TstTagAssist::hintText()
{
    QFETCH(QString, tag);
    QFETCH(QString, hint);
    QCOMPARE(HintText(m_defs, tag), hint);
}

void TstTagAssist::needsClosing_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("choice");
    QTest::addColumn<bool>("needs");
    QTest::addColumn<bool>("asked");
    QTest::newRow("ends=1") << QStringLiteral("td") << false << true << false;
    QTest::newRow("ends=0") << QStringLiteral("IMG") << true << false << false;
    QTest::newRow("missing ends") << QStringLiteral("NOSUCH") << true << false << false;
    QTest::newRow("optional, user says yes") << QStringLiteral("P") << true << true << true;
    QTest::newRow("optional, user says no") << QStringLiteral("P") << false << false << true;
    QTest::newRow("other value is optional") << QStringLiteral("X") << false << false << true;
}

void TstTagAssist::needsClosing()
{
    QFETCH(QString, tag);
    QFETCH(bool, choice);
    QFETCH(bool, needs);
    QFETCH(bool, asked);
    QString askedFor;
    const bool got = TagNeedsClosing(m_defs, tag, [&](const QString &name) {
        askedFor = name;
        return choice;
    });
    QCOMPARE(got, needs);
    QCOMPARE(askedFor, asked ? tag : QString());
}

void TstTagAssist::enterInsertion_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("text");
    QTest::newRow("normal") << 0 << false << QStringLiteral("\n  \t");
    QTest::newRow("normal with shift") << 0 << true << QStringLiteral("\n  \t");
    QTest::newRow("list items") << 1 << false << QStringLiteral("\n  \t<LI>");
    QTest::newRow("table cells") << 2 << false << QStringLiteral("</TD>\n  \t<TD>");
    QTest::newRow("table cells, shift: new row")
        << 2 << true << QStringLiteral("</TD>\n  \t</TR><TR>\n  \t<TD>");
}

void TstTagAssist::enterInsertion()
{
    QFETCH(int, mode);
    QFETCH(bool, shift);
    QFETCH(QString, text);
    QCOMPARE(EnterInsertion(mode, shift, QStringLiteral("  \t")), text);
}

void TstTagAssist::leadingIndent_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("indent");
    QTest::newRow("mixed") << QStringLiteral(" \t <td>a b") << QStringLiteral(" \t ");
    QTest::newRow("none") << QStringLiteral("<td>  ") << QString();
    QTest::newRow("only blanks") << QStringLiteral("   ") << QStringLiteral("   ");
    QTest::newRow("empty") << QString() << QString();
}

void TstTagAssist::leadingIndent()
{
    QFETCH(QString, line);
    QFETCH(QString, indent);
    QCOMPARE(LeadingIndent(line), indent);
}

void TstTagAssist::rebuildTag_data()
{
    QTest::addColumn<QList<ArgRow>>("rows");
    QTest::addColumn<QString>("remainder");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<QString>("tag");

    const QList<ArgRow> rows { { QStringLiteral("SRC"), QStringLiteral("Kot Ala.gif"), QStringLiteral("file"),
                                   true },
        { QStringLiteral("border"), QStringLiteral("0"), QStringLiteral("text"), false },
        { QStringLiteral("ISMAP"), QStringLiteral("[tak]"), QStringLiteral("bool"), false },
        { QStringLiteral("ALT"), QString(), QStringLiteral("text"), true },
        { QStringLiteral("NOHREF"), QStringLiteral("[nie]"), QStringLiteral("bool"), false },
        { QStringLiteral("TITLE"), QStringLiteral("a = b"), QStringLiteral("text"), true } };
    QTest::newRow("upper") << rows << QString() << false
                           << QStringLiteral("<IMG SRC=\"Kot Ala.gif\" BORDER=0 ISMAP TITLE=\"a = b\">");
    QTest::newRow("lower keeps values")
        << rows << QString() << true
        << QStringLiteral("<img src=\"Kot Ala.gif\" border=0 ismap title=\"a = b\">");
    QTest::newRow("remainder") << QList<ArgRow> {} << QStringLiteral("DATA-X=\"Ala\" FOO=Bar NOWRAP") << false
                               << QStringLiteral("<IMG DATA-X=\"Ala\" FOO=Bar NOWRAP>");
    QTest::newRow("remainder, lower names only")
        << QList<ArgRow> {} << QStringLiteral("DATA-X=\"Ala Ma\" FOO=Bar NOWRAP") << true
        << QStringLiteral("<img data-x=\"Ala Ma\" foo=Bar nowrap>");
    QTest::newRow("nothing set") << QList<ArgRow> { rows.at(3), rows.at(4) } << QString() << false
                                 << QStringLiteral("<IMG>");
    const QString longValue(400, QLatin1Char('v'));
    QTest::newRow("no length cut") << QList<ArgRow> {
        { QStringLiteral("ALT"), longValue, QStringLiteral("text"), true }
    } << QString() << false << QStringLiteral("<IMG ALT=\"") + longValue + QStringLiteral("\">");
}

void TstTagAssist::rebuildTag()
{
    QFETCH(QList<ArgRow>, rows);
    QFETCH(QString, remainder);
    QFETCH(bool, lower);
    QFETCH(QString, tag);
    QCOMPARE(RebuildTag(QStringLiteral("<IMG>"), rows, remainder, lower), tag);
}

void TstTagAssist::lowerCaseArgNames_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("all forms") << QStringLiteral("A=\"X Y=Z\" B=Q C") << QStringLiteral("a=\"X Y=Z\" b=Q c");
    QTest::newRow("unterminated quote") << QStringLiteral("A=\"X Y") << QStringLiteral("a=\"X Y");
    QTest::newRow("polish") << QStringLiteral("ŻÓŁW=Ą") << QStringLiteral("żółw=Ą");
    QTest::newRow("empty value") << QStringLiteral("A=\"\" B") << QStringLiteral("a=\"\" b");
}

void TstTagAssist::lowerCaseArgNames()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(LowerCaseArgNames(in), out);
}

void TstTagAssist::inTagCase_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("text");
    QTest::newRow("lower") << QStringLiteral("section") << QStringLiteral("href=\"\"");
    QTest::newRow("upper") << QStringLiteral("A") << QStringLiteral("HREF=\"\"");
    QTest::newRow("digits follow letters") << QStringLiteral("h1") << QStringLiteral("href=\"\"");
    QTest::newRow("mixed reads as upper") << QStringLiteral("Section") << QStringLiteral("HREF=\"\"");
    QTest::newRow("doctype") << QStringLiteral("!doctype") << QStringLiteral("href=\"\"");
}

void TstTagAssist::inTagCase()
{
    QFETCH(QString, tag);
    QFETCH(QString, text);
    QCOMPARE(InTagCase(QStringLiteral("Href=\"\""), tag), text);
}

void TstTagAssist::closingForGreater_data()
{
    QTest::addColumn<QString>("text"); // ends with the typed ">"
    QTest::addColumn<QString>("closing");
    QTest::newRow("upper") << QStringLiteral("<TD>") << QStringLiteral("</TD>");
    QTest::newRow("lower, as typed") << QStringLiteral("x <td class=\"a\">") << QStringLiteral("</td>");
    QTest::newRow("mixed, as typed") << QStringLiteral("<Td>") << QStringLiteral("</Td>");
    QTest::newRow("void") << QStringLiteral("<img src=\"a.png\">") << QString();
    QTest::newRow("closes itself") << QStringLiteral("<td/>") << QString();
    QTest::newRow("closing tag") << QStringLiteral("</td>") << QString();
    QTest::newRow("optional, asked") << QStringLiteral("<p>") << QStringLiteral("</p>");
    QTest::newRow("in a comment") << QStringLiteral("<!-- <td>") << QString();
    QTest::newRow("after a comment") << QStringLiteral("<!-- <td> --><td>") << QStringLiteral("</td>");
    QTest::newRow("in a script") << QStringLiteral("<script>if (a<td>") << QString();
    QTest::newRow("after a script") << QStringLiteral("<script>x<td></script><td>")
                                    << QStringLiteral("</td>");
    QTest::newRow("comment end") << QStringLiteral("<!-- td -->") << QString();
    QTest::newRow("doctype") << QStringLiteral("<!DOCTYPE html>") << QString();
}

void TstTagAssist::closingForGreater()
{
    QFETCH(QString, text);
    QFETCH(QString, closing);
    const StringTextAccess access(text);
    QCOMPARE(ClosingForGreater(m_defs, access, int(text.size()) - 1, [](const QString &) { return true; }),
        closing);
}

void TstTagAssist::attributeNameBefore_data()
{
    QTest::addColumn<QString>("text"); // the position is its end
    QTest::addColumn<QString>("name");
    QTest::newRow("after the tag name") << QStringLiteral("<input type") << QStringLiteral("type");
    QTest::newRow("after a value") << QStringLiteral("<a href=\"x\" target") << QStringLiteral("target");
    QTest::newRow("on the next line") << QStringLiteral("<a\n  rel") << QStringLiteral("rel");
    QTest::newRow("the tag's own name") << QStringLiteral("<input") << QString();
    QTest::newRow("after a space") << QStringLiteral("<input ") << QString();
    QTest::newRow("after =") << QStringLiteral("<input type=") << QString();
}

void TstTagAssist::attributeNameBefore()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    const StringTextAccess access(text);
    QCOMPARE(AttributeNameBefore(access, int(text.size())), name);
}

void TstTagAssist::valueInsertion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QString>("result"); // "|" marks the caret after the choice
    // The list opened just after "=", at 12.
    QTest::newRow("nothing typed") << QStringLiteral("<input type=>") << 12 << true
                                   << QStringLiteral("<input type=\"email\"|>");
    QTest::newRow("quote typed") << QStringLiteral("<input type=\">") << 13 << true
                                 << QStringLiteral("<input type=\"email\"|>");
    QTest::newRow("between the quotes of the entry")
        << QStringLiteral("<input type=\"\">") << 13 << true << QStringLiteral("<input type=\"email\"|>");
    QTest::newRow("part of the value typed")
        << QStringLiteral("<input type=\"em\">") << 15 << true << QStringLiteral("<input type=\"email\"|>");
    QTest::newRow("unquoted kind") << QStringLiteral("<input type=e>") << 13 << false
                                   << QStringLiteral("<input type=email|>");
}

void TstTagAssist::valueInsertion()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, quoted);
    QFETCH(QString, result);
    const StringTextAccess access(text);
    const ValueEdit edit = ValueInsertion(access, 12, caret, QStringLiteral("email"), quoted);
    QString out = text;
    out.replace(edit.start, edit.length, edit.text);
    out.insert(edit.caret, QLatin1Char('|'));
    QCOMPARE(out, result);
    QCOMPARE(TypedValuePrefix(access, 12, caret), text.mid(12, caret - 12).remove(QLatin1Char('"')));
}

QTEST_GUILESS_MAIN(TstTagAssist)
#include "tst_tagassist.moc"
