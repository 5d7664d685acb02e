#include "tags/tagdefs.h"

#include "testsupport.h"

#include <QSet>
#include <QtTest>

#include <array>
#include <cmath>

namespace {

const char *const kSample = "[_Tabele]\n"
                            "color=#008080\n"
                            "[_Bad]\n"
                            "color=seledynowy\n"
                            "[%core]\n"
                            "args=ID;CLASS , %more\n"
                            "ID=text;\"\n"
                            "CLASS=text\n"
                            "[%more]\n"
                            "args=LANG,%core\n"
                            "LANG=choice;\";pl, en ,,de\n"
                            "[TABLE]\n"
                            "Info=Tabela.\n"
                            "args=BORDER,%core;WIDTH,%missing\n"
                            "BORDER=text\n"
                            "WIDTH=text;\"\n"
                            "CLASS=color;\"\n"
                            "ends=1\n"
                            "grp=_Tabele\n"
                            "clr=clMaroon\n"
                            "[P]\n"
                            "ends=2\n"
                            "clr=fioletowy\n"
                            "[IMG]\n"
                            "args=SRC\n"
                            "SRC=file;\";Obrazy (*.gif)\n"
                            "ends=x\n";

// Tags whose "ends" is not 1 in the shipped file.
const QStringList kEmpty = { QStringLiteral("BR"), QStringLiteral("IMG"), QStringLiteral("HR"),
    QStringLiteral("INPUT"), QStringLiteral("META"), QStringLiteral("LINK"), QStringLiteral("BASE"),
    QStringLiteral("AREA"), QStringLiteral("PARAM"), QStringLiteral("COL"), QStringLiteral("FRAME"),
    QStringLiteral("ISINDEX"), QStringLiteral("BASEFONT"), QStringLiteral("WBR"), QStringLiteral("!DOCTYPE"),
    QStringLiteral("NEXTID"), QStringLiteral("EMBED"), QStringLiteral("SOURCE"), QStringLiteral("TRACK"),
    QStringLiteral("BGSOUND"), QStringLiteral("KEYGEN"), QStringLiteral("SPACER") };
const QStringList kOptionalEnd = { QStringLiteral("P"), QStringLiteral("LI"), QStringLiteral("DT"),
    QStringLiteral("DD"), QStringLiteral("TR"), QStringLiteral("TD"), QStringLiteral("TH"),
    QStringLiteral("OPTION"), QStringLiteral("THEAD"), QStringLiteral("TBODY"), QStringLiteral("TFOOT"),
    QStringLiteral("COLGROUP"), QStringLiteral("HTML"), QStringLiteral("HEAD"), QStringLiteral("BODY"),
    QStringLiteral("CAPTION"), QStringLiteral("OPTGROUP"), QStringLiteral("RP"), QStringLiteral("RT"),
    QStringLiteral("RB"), QStringLiteral("RTC") };

// The elements of the current HTML standard and the obsolete ones the file keeps, with
// "ends" as the standard's syntax gives it: void 0, end tag that may be omitted 2, else 1.
enum class Kind { Html, NoGlobals, Obsolete }; // NoGlobals: the doctype and the MathML/SVG roots
struct ElementSet
{
    const char *names;
    int ends;
    Kind kind;
};
const ElementSet kElements[] = {
    { "AREA BASE BR COL EMBED HR IMG INPUT LINK META SOURCE TRACK WBR", 0, Kind::Html },
    { "BODY CAPTION COLGROUP DD DT HEAD HTML LI OPTGROUP OPTION P RP RT TBODY TD TFOOT TH THEAD TR", 2,
        Kind::Html },
    { "A ABBR ADDRESS ARTICLE ASIDE AUDIO B BDI BDO BLOCKQUOTE BUTTON CANVAS CITE CODE DATA DATALIST DEL "
      "DETAILS DFN DIALOG DIV DL EM FIELDSET FIGCAPTION FIGURE FOOTER FORM H1 H2 H3 H4 H5 H6 HEADER HGROUP I "
      "IFRAME INS KBD LABEL LEGEND MAIN MAP MARK MENU METER NAV NOSCRIPT OBJECT OL OUTPUT PICTURE PRE "
      "PROGRESS Q RUBY S SAMP SCRIPT SEARCH SECTION SELECT SELECTEDCONTENT SLOT SMALL SPAN STRONG STYLE SUB "
      "SUMMARY SUP TABLE TEMPLATE TEXTAREA TIME TITLE U UL VAR VIDEO",
        1, Kind::Html },
    { "!DOCTYPE", 0, Kind::NoGlobals },
    { "MATH SVG", 1, Kind::NoGlobals },
    { "BASEFONT BGSOUND FRAME ISINDEX KEYGEN NEXTID PARAM SPACER", 0, Kind::Obsolete },
    { "RB RTC", 2, Kind::Obsolete },
    { "ACRONYM APPLET BIG BLINK CENTER DIR FONT FRAMESET LISTING MARQUEE MENUITEM MULTICOL NOBR NOEMBED "
      "NOFRAMES PLAINTEXT STRIKE TT XMP",
        1, Kind::Obsolete },
};

// Global attributes and the event handlers of every HTML element; BODY adds the window's.
const char *const kGlobalAttributes
    = "ACCESSKEY AUTOCAPITALIZE AUTOCORRECT AUTOFOCUS CLASS CONTENTEDITABLE DIR DRAGGABLE ENTERKEYHINT "
      "HIDDEN ID INERT INPUTMODE IS ITEMID ITEMPROP ITEMREF ITEMSCOPE ITEMTYPE LANG NONCE POPOVER SLOT "
      "SPELLCHECK STYLE TABINDEX TITLE TRANSLATE WRITINGSUGGESTIONS ONABORT ONAUXCLICK ONBEFOREINPUT "
      "ONBEFOREMATCH ONBEFORETOGGLE ONBLUR ONCANCEL ONCANPLAY ONCANPLAYTHROUGH ONCHANGE ONCLICK ONCLOSE "
      "ONCOMMAND ONCONTEXTLOST ONCONTEXTMENU ONCONTEXTRESTORED ONCOPY ONCUECHANGE ONCUT ONDBLCLICK "
      "ONDRAG ONDRAGEND ONDRAGENTER ONDRAGLEAVE ONDRAGOVER ONDRAGSTART ONDROP ONDURATIONCHANGE "
      "ONEMPTIED ONENDED ONERROR ONFOCUS ONFORMDATA ONINPUT ONINVALID ONKEYDOWN ONKEYPRESS ONKEYUP "
      "ONLOAD ONLOADEDDATA ONLOADEDMETADATA ONLOADSTART ONMOUSEDOWN ONMOUSEENTER ONMOUSELEAVE "
      "ONMOUSEMOVE ONMOUSEOUT ONMOUSEOVER ONMOUSEUP ONPASTE ONPAUSE ONPLAY ONPLAYING ONPROGRESS "
      "ONRATECHANGE ONRESET ONRESIZE ONSCROLL ONSCROLLEND ONSECURITYPOLICYVIOLATION ONSEEKED ONSEEKING "
      "ONSELECT ONSLOTCHANGE ONSTALLED ONSUBMIT ONSUSPEND ONTIMEUPDATE ONTOGGLE ONVOLUMECHANGE "
      "ONWAITING ONWEBKITANIMATIONEND ONWEBKITANIMATIONITERATION ONWEBKITANIMATIONSTART "
      "ONWEBKITTRANSITIONEND ONWHEEL";
const char *const kWindowHandlers
    = "ONAFTERPRINT ONBEFOREPRINT ONBEFOREUNLOAD ONHASHCHANGE ONLANGUAGECHANGE ONMESSAGE ONMESSAGEERROR "
      "ONOFFLINE ONONLINE ONPAGEHIDE ONPAGEREVEAL ONPAGESHOW ONPAGESWAP ONPOPSTATE ONREJECTIONHANDLED "
      "ONSTORAGE ONUNHANDLEDREJECTION ONUNLOAD";

QStringList words(const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

QStringList elementNames()
{
    QStringList out;
    for (const ElementSet &set : kElements)
        out << words(set.names);
    return out;
}

// CIE L*a*b* of an sRGB colour (D65), for the colour distance between groups.
std::array<double, 4> labAndLuminance(quint32 rgb)
{
    auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double r = linear((rgb >> 16) & 0xFF), g = linear((rgb >> 8) & 0xFF), b = linear(rgb & 0xFF);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return { 116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z)), y };
}

QString name(const char *prefix, int i) { return QLatin1String(prefix) + QString::number(i); }

// [T] pulls in %d0; each %dK names %dK+1 twice around its own attribute AK, down to
// %dL with LEAF: expanded naively, LEAF appears 2^L times.
QString diamond(int levels)
{
    QString text = QStringLiteral("[T]\nInfo=t\nargs=%d0\n");
    for (int k = 0; k < levels; ++k)
        text += QStringLiteral("[%1]\nargs=%2,%3;%2\n").arg(name("%d", k), name("%d", k + 1), name("A", k));
    return text + QStringLiteral("[%1]\nargs=LEAF\n").arg(name("%d", levels));
}

QStringList diamondArgs(int levels)
{
    QStringList out { QStringLiteral("LEAF") };
    for (int k = levels - 1; k >= 0; --k)
        out << name("A", k);
    return out;
}

// [T] pulls in %g0; each %gK holds AK and names %gK+1; the last names %g0 again when
// closed, on line 2 * length + 2.
QString chain(int length, bool closed)
{
    QString text = QStringLiteral("[T]\nargs=%g0\n");
    for (int k = 0; k < length; ++k)
        text += QStringLiteral("[%1]\nargs=%2,%3\n")
                    .arg(name("%g", k), name("A", k),
                        k + 1 < length ? name("%g", k + 1)
                            : closed   ? name("%g", 0)
                                       : QString());
    return text;
}

} // namespace

class TstTagDefs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void tagNamesSkipGroups();
    void argsExpansion();
    void groupsExpandOnce_data();
    void groupsExpandOnce();
    void longChainOfGroups_data();
    void longChainOfGroups();
    void cyclesReportedWithLine_data();
    void cyclesReportedWithLine();
    void problemsReportIsCut();
    void descriptors_data();
    void descriptors();
    void endsAndColours();
    void colorFromName_data();
    void colorFromName();

    void shippedFileResolves();
    void shippedFileCoversHtml401();
    void shippedEnds();
    void offeredArgsOwnFirst_data();
    void offeredArgsOwnFirst();
    void openAttributes_data();
    void openAttributes();
    void shippedElements_data();
    void shippedElements();
    void shippedSections_data();
    void shippedSections();
    void sharedFindsTheFileBesideTheProgram();

private:
    TagDefs m_sample;
    TagDefs m_shipped;
};

void TstTagDefs::initTestCase()
{
    m_sample.parse(QString::fromUtf8(kSample));
    QVERIFY(m_shipped.load(testsupport::sourcePath(QStringLiteral("konfiguracja/tags.ini"))));
}

void TstTagDefs::tagNamesSkipGroups()
{
    QCOMPARE(m_sample.tagNames(),
        (QStringList { QStringLiteral("TABLE"), QStringLiteral("P"), QStringLiteral("IMG") }));
    QVERIFY(m_sample.hasTag(QStringLiteral("table")));
    QVERIFY(!m_sample.hasTag(QStringLiteral("%core")));
    QVERIFY(!m_sample.hasTag(QStringLiteral("_Tabele")));
}

void TstTagDefs::argsExpansion()
{
    // "," and ";" both separate; groups expand in place; the cycle %core -> %more ->
    // %core stops; a missing group gives nothing.
    QCOMPARE(m_sample.args(QStringLiteral("table")),
        (QStringList { QStringLiteral("BORDER"), QStringLiteral("ID"), QStringLiteral("CLASS"),
            QStringLiteral("LANG"), QStringLiteral("WIDTH") }));
    QCOMPARE(m_sample.argGroups(QStringLiteral("TABLE")),
        (QStringList { QStringLiteral("%core"), QStringLiteral("%more"), QStringLiteral("%missing") }));
    QCOMPARE(m_sample.args(QStringLiteral("%more")),
        (QStringList { QStringLiteral("LANG"), QStringLiteral("ID"), QStringLiteral("CLASS") }));
    QVERIFY(m_sample.args(QStringLiteral("P")).isEmpty());
    QVERIFY(m_sample.args(QStringLiteral("NOSUCH")).isEmpty());
    QCOMPARE(m_sample.info(QStringLiteral("P")), QString());
}

void TstTagDefs::groupsExpandOnce_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("groups");
    QTest::newRow("group named twice") << QStringLiteral("[T]\nargs=%a,X,%A\n[%a]\nargs=Y\n")
                                       << QStringList { QStringLiteral("Y"), QStringLiteral("X") } << 1;
    QTest::newRow("diamond, 3 levels") << diamond(3) << diamondArgs(3) << 4;
    // Naively 2^30 expansions: this row would never end.
    QTest::newRow("diamond, 30 levels") << diamond(30) << diamondArgs(30) << 31;
}

void TstTagDefs::groupsExpandOnce()
{
    QFETCH(QString, file);
    QFETCH(QStringList, args);
    QFETCH(int, groups);
    TagDefs d;
    d.parse(file);
    QCOMPARE(d.args(QStringLiteral("T")), args);
    QCOMPARE(d.argGroups(QStringLiteral("T")).size(), groups);
    QCOMPARE(d.argList(QStringLiteral("T")).size(), args.size());
    QVERIFY(d.problems().isEmpty());
}

void TstTagDefs::longChainOfGroups_data()
{
    QTest::addColumn<bool>("closed");
    QTest::newRow("open chain") << false;
    QTest::newRow("chain closed into a cycle") << true;
}

void TstTagDefs::longChainOfGroups()
{
    // Deeper than any call stack can follow.
    QFETCH(bool, closed);
    constexpr int kLength = 50000;
    TagDefs d;
    d.parse(chain(kLength, closed));
    const QStringList args = d.args(QStringLiteral("T"));
    QCOMPARE(args.size(), kLength);
    QCOMPARE(args.first(), QStringLiteral("A0"));
    QCOMPARE(args.last(), name("A", kLength - 1));
    const QList<TagArg> list = d.argList(QStringLiteral("T"));
    QCOMPARE(list.size(), kLength);
    QCOMPARE(list.last().name, args.last());
    if (closed) {
        QCOMPARE(d.problems().size(), 1);
        QCOMPARE(d.problems().first().line, 2 * kLength + 2);
    } else {
        QVERIFY(d.problems().isEmpty());
    }
}

void TstTagDefs::cyclesReportedWithLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("tableArgs");
    const QString table = QStringLiteral("[TABLE]\nInfo=Tabela.\nargs=BORDER,%core\nBORDER=text\n");
    QTest::newRow("group names itself")
        << QStringLiteral("[%core]\nargs=ID,%CORE,%core\nID=text\n") + table
        << QStringList { QStringLiteral("Błąd w pliku tags.ini, linia 2: grupa %core wstawia samą siebie.") }
        << QStringList { QStringLiteral("BORDER"), QStringLiteral("ID") };
    QTest::newRow("two groups name each other")
        << table + QStringLiteral("; comment\n[%core]\nargs=ID,%more\n\n[%more]\nargs=LANG,%core\n")
        << QStringList { QStringLiteral(
               "Błąd w pliku tags.ini, linia 10: grupa %core wstawia samą siebie przez [%more].") }
        << QStringList { QStringLiteral("BORDER"), QStringLiteral("ID"), QStringLiteral("LANG") };
    QTest::newRow("one line, each cycle once")
        << QStringLiteral("[%b]\nargs=%a\n[%a]\nargs=%b,%a,%B\n") + table
            + QStringLiteral("[%core]\nargs=%b\n")
        << QStringList { QStringLiteral("Błąd w pliku tags.ini, linia 4: grupa %a wstawia samą siebie."),
               QStringLiteral("Błąd w pliku tags.ini, linia 4: grupa %b wstawia samą siebie przez [%a].") }
        << QStringList { QStringLiteral("BORDER") };
    QTest::newRow("cycle behind the tag")
        << QStringLiteral("[%a]\nargs=%b\n[%b]\nargs=X,%a\n") + table + QStringLiteral("[%core]\nargs=%a\n")
        << QStringList { QStringLiteral(
               "Błąd w pliku tags.ini, linia 4: grupa %a wstawia samą siebie przez [%b].") }
        << QStringList { QStringLiteral("BORDER"), QStringLiteral("X") };
}

void TstTagDefs::cyclesReportedWithLine()
{
    QFETCH(QString, file);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, tableArgs);
    TagDefs d;
    d.parse(file);
    QStringList texts;
    for (const TagDefs::Problem &p : d.problems()) {
        texts << p.text;
        QVERIFY(p.text.contains(QStringLiteral("linia %1:").arg(p.line)));
    }
    QCOMPARE(texts, problems);
    // The rest of the file still works.
    QCOMPARE(d.args(QStringLiteral("TABLE")), tableArgs);
    QCOMPARE(d.info(QStringLiteral("TABLE")), QStringLiteral("Tabela."));
    QCOMPARE(d.argList(QStringLiteral("TABLE")).first().desc.kind, QStringLiteral("text"));
}

void TstTagDefs::problemsReportIsCut()
{
    QString file;
    for (int i = 0; i < 12; ++i)
        file += QStringLiteral("[%1]\nargs=%1\n").arg(name("%g", i));
    TagDefs d;
    d.parse(file);
    QCOMPARE(d.problems().size(), 12);
    const QStringList lines = TagDefs::problemsReport(d.problems()).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.first(), QStringLiteral("Błąd w pliku tags.ini, linia 2: grupa %g0 wstawia samą siebie."));
    QCOMPARE(lines.last(), QStringLiteral("Dalszych błędów: 2."));
    QVERIFY(TagDefs::problemsReport({}).isEmpty());
}

void TstTagDefs::descriptors_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("filter");

    QTest::newRow("own key, unquoted") << QStringLiteral("TABLE") << QStringLiteral("border") << true
                                       << QStringLiteral("text") << false << QStringList() << QString();
    QTest::newRow("own key overrides the group")
        << QStringLiteral("TABLE") << QStringLiteral("CLASS") << true << QStringLiteral("color") << true
        << QStringList() << QString();
    QTest::newRow("from a group") << QStringLiteral("TABLE") << QStringLiteral("ID") << true
                                  << QStringLiteral("text") << true << QStringList() << QString();
    QTest::newRow("choice from a nested group")
        << QStringLiteral("TABLE") << QStringLiteral("LANG") << true << QStringLiteral("choice") << true
        << QStringList { QStringLiteral("pl"), QStringLiteral("en"), QStringLiteral("de") } << QString();
    QTest::newRow("file filter") << QStringLiteral("IMG") << QStringLiteral("SRC") << true
                                 << QStringLiteral("file") << true << QStringList()
                                 << QStringLiteral("Obrazy (*.gif)");
    QTest::newRow("not reachable from P") << QStringLiteral("P") << QStringLiteral("ID") << false << QString()
                                          << false << QStringList() << QString();
}

void TstTagDefs::descriptors()
{
    QFETCH(QString, tag);
    QFETCH(QString, arg);
    QFETCH(bool, found);
    QFETCH(QString, kind);
    QFETCH(bool, quoted);
    QFETCH(QStringList, choices);
    QFETCH(QString, filter);
    const ArgDescriptor d = m_sample.argDescriptor(tag, arg);
    QCOMPARE(d.found, found);
    QCOMPARE(d.kind, kind);
    QCOMPARE(d.quoted, quoted);
    QCOMPARE(d.choices(), choices);
    QCOMPARE(d.fileFilter(), filter);
    QCOMPARE(d.isKnownKind(), found);
}

void TstTagDefs::endsAndColours()
{
    QCOMPARE(m_sample.ends(QStringLiteral("TABLE")), 1);
    QCOMPARE(m_sample.ends(QStringLiteral("p")), 2);
    QCOMPARE(m_sample.ends(QStringLiteral("IMG")), 0); // not a number
    QCOMPARE(m_sample.ends(QStringLiteral("NOSUCH")), 0);
    QCOMPARE(m_sample.grp(QStringLiteral("TABLE")), QStringLiteral("_Tabele"));
    QCOMPARE(m_sample.grp(QStringLiteral("P")), QStringLiteral("_Format"));
    QCOMPARE(m_sample.clr(QStringLiteral("TABLE")), quint32(0x800000));
    QCOMPARE(m_sample.clr(QStringLiteral("P")), quint32(0)); // unknown name: black
    QCOMPARE(m_sample.groupColor(QStringLiteral("_Tabele")), quint32(0x008080));
    QCOMPARE(m_sample.groupColor(QStringLiteral("_Bad")), quint32(0x000080));
    QCOMPARE(m_sample.groupColor(QStringLiteral("_Format")), quint32(0x000080));
}

void TstTagDefs::colorFromName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("rgb");
    QTest::newRow("clNavy") << QStringLiteral("clNavy") << true << quint32(0x000080);
    QTest::newRow("Teal") << QStringLiteral(" Teal ") << true << quint32(0x008080);
    QTest::newRow("FUCHSIA") << QStringLiteral("FUCHSIA") << true << quint32(0xFF00FF);
    QTest::newRow("#A0522D") << QStringLiteral("#A0522D") << true << quint32(0xA0522D);
    QTest::newRow("#12345") << QStringLiteral("#12345") << false << quint32(0);
    QTest::newRow("#GGGGGG") << QStringLiteral("#GGGGGG") << false << quint32(0);
    QTest::newRow("cl") << QStringLiteral("cl") << false << quint32(0);
    QTest::newRow("orange") << QStringLiteral("orange") << false << quint32(0);
}

void TstTagDefs::colorFromName()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    QFETCH(quint32, rgb);
    quint32 got = 0;
    QCOMPARE(TagDefs::colorFromName(name, &got), ok);
    if (ok)
        QCOMPARE(got, rgb);
}

void TstTagDefs::shippedFileResolves()
{
    const TagDefs &d = m_shipped;
    QVERIFY(d.problems().isEmpty());
    const QStringList sections = d.ini().sections();
    QSet<QString> groupNames;
    for (const QString &s : sections)
        if (s.startsWith(QLatin1Char('_'))) {
            quint32 rgb = 0;
            QVERIFY2(TagDefs::colorFromName(d.ini().value(s, QStringLiteral("color")), &rgb), qPrintable(s));
            groupNames.insert(s.toLower());
        }
    QVERIFY(groupNames.size() >= 8);
    // Every "%" item names a section, directly or in a group.
    for (const QString &s : sections)
        for (const QString &item : TagDefs::splitFields(d.rawArgs(s)))
            if (item.startsWith(QLatin1Char('%')))
                QVERIFY2(d.ini().hasSection(item), qPrintable(s + QStringLiteral(": ") + item));

    for (const QString &tag : d.tagNames()) {
        QVERIFY2(!d.info(tag).isEmpty(), qPrintable(tag));
        const int ends = d.ini().value(tag, QStringLiteral("ends")).toInt();
        QVERIFY2(d.ini().hasKey(tag, QStringLiteral("ends")) && ends >= 0 && ends <= 2, qPrintable(tag));
        QVERIFY2(groupNames.contains(d.grp(tag).toLower()), qPrintable(tag));
        if (d.ini().hasKey(tag, QStringLiteral("clr"))) {
            quint32 rgb = 0;
            QVERIFY2(
                TagDefs::colorFromName(d.ini().value(tag, QStringLiteral("clr")), &rgb), qPrintable(tag));
        }
        const QStringList args = d.args(tag);
        const QList<TagArg> list = d.argList(tag);
        QCOMPARE(list.size(), args.size());
        QSet<QString> seen;
        for (int i = 0; i < args.size(); ++i) {
            const QString &arg = args.at(i);
            const QString where = tag + QLatin1Char(',') + arg;
            QVERIFY2(!seen.contains(arg.toUpper()), qPrintable(QStringLiteral("twice: ") + where));
            seen.insert(arg.toUpper());
            const ArgDescriptor desc = d.argDescriptor(tag, arg);
            // The one-walk list agrees with the single look-up.
            QCOMPARE(list.at(i).name, arg);
            QCOMPARE(list.at(i).desc.kind, desc.kind);
            QCOMPARE(list.at(i).desc.quoted, desc.quoted);
            QCOMPARE(list.at(i).desc.extra, desc.extra);
            QVERIFY2(desc.found, qPrintable(QStringLiteral("no key: ") + where));
            QVERIFY2(desc.isKnownKind(), qPrintable(QStringLiteral("kind: ") + where));
            if (desc.kind == QLatin1String("choice"))
                QVERIFY2(desc.choices().size() >= 1, qPrintable(where));
            if (desc.kind == QLatin1String("bool"))
                QVERIFY2(!desc.quoted, qPrintable(where));
        }
    }
}

void TstTagDefs::shippedFileCoversHtml401()
{
    const QString all = QStringLiteral(
        "A ABBR ACRONYM ADDRESS APPLET AREA B BASE BASEFONT BDO BIG BLOCKQUOTE BODY BR BUTTON CAPTION "
        "CENTER CITE CODE COL COLGROUP DD DEL DFN DIR DIV DL DT EM FIELDSET FONT FORM FRAME FRAMESET H1 H2 "
        "H3 H4 H5 H6 HEAD HR HTML I IFRAME IMG INPUT INS ISINDEX KBD LABEL LEGEND LI LINK MAP MENU META "
        "NOFRAMES NOSCRIPT OBJECT OL OPTGROUP OPTION P PARAM PRE Q S SAMP SCRIPT SELECT SMALL SPAN STRIKE "
        "STRONG STYLE SUB SUP TABLE TBODY TD TEXTAREA TFOOT TH THEAD TITLE TR TT U UL VAR "
        "NOBR WBR LISTING PLAINTEXT XMP");
    for (const QString &tag : all.split(QLatin1Char(' ')))
        QVERIFY2(m_shipped.hasTag(tag) && m_shipped.tagNames().contains(tag), qPrintable(tag));
    // A few attributes that the inspector must offer with the right kind.
    QCOMPARE(
        m_shipped.argDescriptor(QStringLiteral("IMG"), QStringLiteral("SRC")).kind, QStringLiteral("file"));
    QCOMPARE(m_shipped.argDescriptor(QStringLiteral("INPUT"), QStringLiteral("CHECKED")).kind,
        QStringLiteral("bool"));
    QVERIFY(m_shipped.argDescriptor(QStringLiteral("INPUT"), QStringLiteral("TYPE"))
                .choices()
                .contains(QStringLiteral("checkbox")));
    QCOMPARE(m_shipped.argDescriptor(QStringLiteral("BODY"), QStringLiteral("BGCOLOR")).kind,
        QStringLiteral("color"));
    QVERIFY(m_shipped.args(QStringLiteral("TD")).contains(QStringLiteral("ONCLICK")));
}

void TstTagDefs::shippedEnds()
{
    for (const QString &tag : m_shipped.tagNames()) {
        const int expected = kEmpty.contains(tag) ? 0 : kOptionalEnd.contains(tag) ? 2 : 1;
        QVERIFY2(m_shipped.ends(tag) == expected, qPrintable(tag));
    }
}

void TstTagDefs::offeredArgsOwnFirst_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("first");
    QTest::newRow("INPUT") << QStringLiteral("INPUT") << QStringLiteral("TYPE");
    QTest::newRow("a") << QStringLiteral("a") << QStringLiteral("HREF");
    QTest::newRow("VIDEO") << QStringLiteral("VIDEO") << QStringLiteral("SRC");
    QTest::newRow("BODY") << QStringLiteral("BODY") << QStringLiteral("BACKGROUND");
    QTest::newRow("SECTION, no own") << QStringLiteral("SECTION") << QStringLiteral("ID");
}

void TstTagDefs::offeredArgsOwnFirst()
{
    // The shipped file names the global groups first; the lists offer the tag's own.
    QFETCH(QString, tag);
    QFETCH(QString, first);
    const QList<TagArg> offered = m_shipped.offeredArgs(tag);
    QStringList names, fileOrder = m_shipped.args(tag);
    for (const TagArg &a : offered)
        names << a.name;
    QCOMPARE(names.first(), first);
    for (int i = 1; i < offered.size(); ++i)
        QVERIFY2(int(offered.at(i - 1).scope) <= int(offered.at(i).scope), qPrintable(names.at(i)));
    for (const TagArg &a : offered) {
        if (a.scope == ArgScope::Handler)
            QVERIFY2(a.name.startsWith(QLatin1String("ON")), qPrintable(a.name));
        if (QStringList { QStringLiteral("ID"), QStringLiteral("CLASS"), QStringLiteral("HIDDEN") }.contains(
                a.name))
            QCOMPARE(int(a.scope), int(ArgScope::Shared));
    }
    QVERIFY(offered.last().name.startsWith(QLatin1String("ON")));
    names.sort();
    fileOrder.sort();
    QCOMPARE(names, fileOrder);
}

void TstTagDefs::openAttributes_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<bool>("known");
    QTest::newRow("data-id") << QStringLiteral("section") << QStringLiteral("data-id") << true;
    QTest::newRow("aria-label") << QStringLiteral("NAV") << QStringLiteral("ARIA-LABEL") << true;
    QTest::newRow("role") << QStringLiteral("div") << QStringLiteral("role") << true;
    QTest::newRow("data- alone") << QStringLiteral("div") << QStringLiteral("data-") << false;
    QTest::newRow("database") << QStringLiteral("div") << QStringLiteral("database") << false;
    QTest::newRow("unknown tag") << QStringLiteral("path") << QStringLiteral("data-x") << false;
}

void TstTagDefs::openAttributes()
{
    QFETCH(QString, tag);
    QFETCH(QString, arg);
    QFETCH(bool, known);
    const ArgDescriptor d = m_shipped.argDescriptor(tag, arg);
    QCOMPARE(d.found, known);
    if (known) {
        QCOMPARE(d.kind, QStringLiteral("text"));
        QVERIFY(d.quoted);
    }
}

void TstTagDefs::shippedElements_data()
{
    QTest::addColumn<int>("ends");
    QTest::addColumn<int>("kind");
    for (const ElementSet &set : kElements)
        for (const QString &name : words(set.names))
            QTest::newRow(qPrintable(name)) << set.ends << int(set.kind);
}

void TstTagDefs::shippedElements()
{
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QFETCH(int, ends);
    QFETCH(int, kind);
    QVERIFY(m_shipped.tagNames().contains(tag));
    const QString info = m_shipped.info(tag);
    QVERIFY(!info.isEmpty());
    QCOMPARE(m_shipped.ends(tag), ends);
    const bool obsolete = kind == int(Kind::Obsolete);
    QCOMPARE(info.contains(QStringLiteral("Przestarzał")), obsolete);
    const quint32 clr = m_shipped.clr(tag);
    QVERIFY(obsolete ? clr == 0x800000 || clr == 0x808080 : clr == 0);
    if (kind != int(Kind::Html))
        return;
    QStringList wanted = words(kGlobalAttributes);
    if (tag == QLatin1String("BODY"))
        wanted << words(kWindowHandlers);
    const QStringList args = m_shipped.args(tag);
    for (const QString &arg : wanted)
        QVERIFY2(args.contains(arg), qPrintable(arg));
}

void TstTagDefs::shippedSections_data()
{
    QTest::addColumn<QString>("section");
    for (const QString &s : m_shipped.ini().sections())
        QTest::newRow(qPrintable(s)) << s;
}

void TstTagDefs::shippedSections()
{
    QFETCH(QString, section);
    const IniFile &ini = m_shipped.ini();
    if (section.startsWith(QLatin1Char('_'))) {
        // Legible on the editor's white background (4.5:1) and told apart from every
        // other group at a glance (CIE76 distance of at least 20).
        quint32 rgb = 0;
        QVERIFY(TagDefs::colorFromName(ini.value(section, QStringLiteral("color")), &rgb));
        const auto own = labAndLuminance(rgb);
        QVERIFY2(1.05 / (own[3] + 0.05) >= 4.5, qPrintable(QString::number(rgb, 16)));
        for (const QString &other : ini.sections()) {
            quint32 otherRgb = 0;
            if (!other.startsWith(QLatin1Char('_')) || other == section
                || !TagDefs::colorFromName(ini.value(other, QStringLiteral("color")), &otherRgb))
                continue;
            const auto lab = labAndLuminance(otherRgb);
            const double distance = std::hypot(own[0] - lab[0], own[1] - lab[1], own[2] - lab[2]);
            QVERIFY2(distance >= 20, qPrintable(other));
        }
    } else if (section.startsWith(QLatin1Char('%'))) {
        // No group pulls itself in, however deep.
        QStringList pending { section }, seen;
        while (!pending.isEmpty()) {
            const QString group = pending.takeFirst();
            for (const QString &item : TagDefs::splitFields(m_shipped.rawArgs(group))) {
                if (!item.startsWith(QLatin1Char('%')))
                    continue;
                QVERIFY2(ini.hasSection(item), qPrintable(item));
                QVERIFY2(item.compare(section, Qt::CaseInsensitive) != 0, qPrintable(group));
                if (!seen.contains(item, Qt::CaseInsensitive)) {
                    seen << item;
                    pending << item;
                }
            }
        }
        if (ini.hasKey(section, QStringLiteral("clr"))) {
            quint32 rgb = 0;
            QVERIFY(TagDefs::colorFromName(ini.value(section, QStringLiteral("clr")), &rgb));
        }
    } else {
        QVERIFY2(elementNames().contains(section), "not in the list of elements");
        QVERIFY(ini.hasSection(m_shipped.grp(section)));
        for (const QString &arg : m_shipped.args(section)) {
            const ArgDescriptor d = m_shipped.argDescriptor(section, arg);
            if (d.kind == QLatin1String("choice"))
                QVERIFY2(d.choices().size() >= 2, qPrintable(arg));
        }
    }
}

void TstTagDefs::sharedFindsTheFileBesideTheProgram()
{
    // Test programs run from the build's bin folder, where the data files are copied.
    const TagDefs &d = TagDefs::shared();
    QVERIFY(d.ini().isLoaded());
    QVERIFY(d.hasTag(QStringLiteral("TABLE")));
    QCOMPARE(&TagDefs::shared(), &d);
}

QTEST_GUILESS_MAIN(TstTagDefs)
#include "tst_tagdefs.moc"
