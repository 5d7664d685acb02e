#include "services/charsetdeclaration.h"
#include "services/charsetdetect.h"

#include <QTest>

class TstCharsetDetect : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void detect_data();
    void detect();
    void expandTabs_data();
    void expandTabs();
    void detectEncoding_data();
    void detectEncoding();
    void declarations_data();
    void declarations();
};

void TstCharsetDetect::detect_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("defaultIso");
    QTest::addColumn<bool>("iso");

    const QString isoHead
        = QStringLiteral("<HEAD><META content=\"text/html; charset=iso-8859-2\"></HEAD><p>x");
    const QString winHead = QStringLiteral("<head><meta content=\"text/html; CHARSET=Windows-1250\"></head>");
    QTest::newRow("iso before head") << isoHead << 0 << false << true;
    QTest::newRow("windows before head") << winHead << 0 << true << false;
    QTest::newRow("no marker keeps default win") << QStringLiteral("<p>zażółć</p>") << 0 << false << false;
    QTest::newRow("no marker keeps default iso") << QStringLiteral("<p>zażółć</p>") << 0 << true << true;
    QTest::newRow("iso after head ignored")
        << QStringLiteral("<head></head><p>charset=iso-8859-2</p>") << 0 << false << false;
    QTest::newRow("windows after head ignored")
        << QStringLiteral("<head></Head>charset=windows-1250") << 0 << true << true;
    QTest::newRow("no head at all") << QStringLiteral("text charset=ISO-8859-2 text") << 0 << false << true;
    QTest::newRow("both: iso wins") << QStringLiteral("charset=windows-1250 charset=iso-8859-2</head>") << 0
                                    << false << true;
    QTest::newRow("iso after head, windows before")
        << QStringLiteral("charset=windows-1250</head>charset=iso-8859-2") << 0 << true << false;
    QTest::newRow("first head counts")
        << QStringLiteral("</head>charset=iso-8859-2</head>") << 0 << false << false;
    QTest::newRow("marker straddles head")
        << QStringLiteral("charset=iso-8859</head>-2") << 0 << false << false;
    QTest::newRow("partial marker") << QStringLiteral("charset=iso-8859-") << 0 << false << false;
    QTest::newRow("empty text") << QString() << 0 << true << true;
    QTest::newRow("mode 1 overrides") << isoHead << 1 << true << false;
    QTest::newRow("mode 2 overrides") << winHead << 2 << false << true;
    // A character folding to ASCII only under Unicode rules is not a letter of the marker.
    QTest::newRow("long s is not s") << QStringLiteral("chars\u017Fet=iso-8859-2") << 0 << false << false;
    QTest::newRow("repeated prefix") << QStringLiteral("charcharset=iso-8859-2") << 0 << false << true;
}

void TstCharsetDetect::detect()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(bool, defaultIso);
    QFETCH(bool, iso);
    QCOMPARE(DetectIso(text, mode, defaultIso), iso);
    // The byte form must decide the same for ASCII-compatible text.
    QCOMPARE(DetectIso(QByteArrayView(text.toLatin1()), mode, defaultIso), iso);
}

void TstCharsetDetect::expandTabs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("width 4") << QStringLiteral("a\tb") << 4 << QStringLiteral("a    b");
    QTest::newRow("width 2, two tabs") << QStringLiteral("\t\tx\t") << 2 << QStringLiteral("    x  ");
    QTest::newRow("width 1") << QStringLiteral("a\tb") << 1 << QStringLiteral("a b");
    QTest::newRow("width 0") << QStringLiteral("a\tb") << 0 << QStringLiteral("a b");
    QTest::newRow("negative width") << QStringLiteral("\t") << -3 << QStringLiteral(" ");
    QTest::newRow("no tabs") << QStringLiteral("ąę\u00A0") << 8 << QStringLiteral("ąę\u00A0");
}

void TstCharsetDetect::expandTabs()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(ExpandTabs(text, width), expected);
}

void TstCharsetDetect::detectEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("defaultCodePage");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("source");
    using E = DocumentEncoding;
    using S = EncodingSource;
    const QByteArray utf8Bom("\xEF\xBB\xBF");
    const QByteArray isoMeta("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">");
    const QByteArray utf8Meta("<META CHARSET='UTF8'>");
    const QByteArray polishUtf8("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87");
    const QByteArray polishWin("Za\xBF\xF3\xB3\xE6");
    const int win = E::Windows1250, iso = E::Iso8859_2, utf8 = E::Utf8;

    // The order: mark, declaration, content, default.
    QTest::newRow("mark beats declaration")
        << utf8Bom + isoMeta << 0 << win << utf8 << true << int(S::ByteOrderMark);
    QTest::newRow("UTF-16 LE mark") << QByteArray("\xFF\xFE<\0") << 0 << win << int(E::Utf16LE) << true
                                    << int(S::ByteOrderMark);
    QTest::newRow("UTF-16 BE mark") << QByteArray("\xFE\xFF\0<", 4) << 0 << win << int(E::Utf16BE) << true
                                    << int(S::ByteOrderMark);
    QTest::newRow("declaration beats content")
        << isoMeta + "</head>" + polishUtf8 << 0 << utf8 << iso << false << int(S::Declaration);
    QTest::newRow("content beats default")
        << "<p>" + polishUtf8 << 0 << iso << utf8 << false << int(S::Content);
    QTest::newRow("default when not UTF-8")
        << "<p>" + polishWin << 0 << iso << iso << false << int(S::Default);
    QTest::newRow("pure ASCII takes the default, ISO")
        << QByteArray("<p>abc</p>") << 0 << iso << iso << false << int(S::Default);
    QTest::newRow("pure ASCII takes the default, UTF-8")
        << QByteArray("<p>abc</p>") << 0 << utf8 << utf8 << false << int(S::Default);
    QTest::newRow("default UTF-8 gives way for bytes that are not")
        << polishWin << 0 << utf8 << win << false << int(S::Default);
    // Both forms, names in either spelling and letter case.
    QTest::newRow("meta charset form")
        << utf8Meta + polishWin << 0 << iso << utf8 << false << int(S::Declaration);
    QTest::newRow("http-equiv form") << isoMeta << 0 << win << iso << false << int(S::Declaration);
    QTest::newRow("latin2") << QByteArray("<meta charset=Latin2>") << 0 << utf8 << iso << false
                            << int(S::Declaration);
    QTest::newRow("cp1250, blanks around =") << QByteArray("<meta\ncontent='text/html;charset = CP1250'>")
                                             << 0 << utf8 << win << false << int(S::Declaration);
    QTest::newRow("unknown charset ignored")
        << "<meta charset=\"iso-8859-1\">" + polishUtf8 << 0 << win << utf8 << false << int(S::Content);
    QTest::newRow("ISO named too wins")
        << utf8Meta + isoMeta << 0 << win << iso << false << int(S::Declaration);
    QTest::newRow("declaration after </head> ignored")
        << "<head></HEAD>" + isoMeta + polishWin << 0 << utf8 << win << false << int(S::Default);
    QTest::newRow("no </head>: anywhere")
        << "<body>" + isoMeta << 0 << win << iso << false << int(S::Declaration);
    QTest::newRow("charset outside a META tag ignored")
        << QByteArray("<p>charset=utf-8</p>") << 0 << iso << iso << false << int(S::Default);
    QTest::newRow("longer attribute name ignored")
        << QByteArray("<meta data-charset=\"utf-8\">") << 0 << iso << iso << false << int(S::Default);
    QTest::newRow("declared UTF-8 whatever the bytes")
        << utf8Meta + polishWin << 0 << win << utf8 << false << int(S::Declaration);
    // Forced modes.
    QTest::newRow("mode 1") << utf8Bom + polishUtf8 << 1 << utf8 << win << false << int(S::Forced);
    QTest::newRow("mode 2") << utf8Meta << 2 << utf8 << iso << false << int(S::Forced);
    QTest::newRow("mode 3") << isoMeta + polishWin << 3 << win << utf8 << false << int(S::Forced);
    QTest::newRow("mode 3 keeps the mark") << utf8Bom + "x" << 3 << win << utf8 << true << int(S::Forced);
}

void TstCharsetDetect::detectEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(int, defaultCodePage);
    QFETCH(int, codePage);
    QFETCH(bool, bom);
    QFETCH(int, source);
    const EncodingDetection d = DetectEncoding(bytes, mode, { DocumentEncoding::Id(defaultCodePage), false });
    QCOMPARE(int(d.encoding.codePage), codePage);
    QCOMPARE(d.encoding.bom, bom);
    QCOMPARE(int(d.source), source);
}

// Finding the declarations and rewriting those that contradict the document's code page.
void TstCharsetDetect::declarations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QStringList>("names"); // all declarations found
    QTest::addColumn<QString>("rewritten");
    const QString both
        = QStringLiteral("<head><meta charset=\"utf-8\"><title>ż</title>"
                         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">"
                         "</head><meta charset=cp1250>");
    QTest::newRow("both rewritten to windows-1250")
        << both << int(DocumentEncoding::Windows1250)
        << QStringList { QStringLiteral("utf-8"), QStringLiteral("iso-8859-2") }
        << QStringLiteral("<head><meta charset=\"windows-1250\"><title>ż</title>"
                          "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">"
                          "</head><meta charset=cp1250>");
    QTest::newRow("only the contradicting one")
        << both << int(DocumentEncoding::Utf8)
        << QStringList { QStringLiteral("utf-8"), QStringLiteral("iso-8859-2") }
        << QString(both).replace(QStringLiteral("iso-8859-2"), QStringLiteral("utf-8"));
    QTest::newRow("other spelling agrees")
        << QStringLiteral("<meta charset=UTF8>") << int(DocumentEncoding::Utf8)
        << QStringList { QStringLiteral("UTF8") } << QStringLiteral("<meta charset=UTF8>");
    QTest::newRow("unknown name contradicts")
        << QStringLiteral("<meta charset='koi8-r'>") << int(DocumentEncoding::Utf8)
        << QStringList { QStringLiteral("koi8-r") } << QStringLiteral("<meta charset='utf-8'>");
    QTest::newRow("none") << QStringLiteral("<head><meta name=x></head>") << int(DocumentEncoding::Utf8)
                          << QStringList() << QStringLiteral("<head><meta name=x></head>");
}

void TstCharsetDetect::declarations()
{
    QFETCH(QString, text);
    QFETCH(int, codePage);
    QFETCH(QStringList, names);
    QFETCH(QString, rewritten);
    QStringList found;
    for (const CharsetDeclaration &d : FindCharsetDeclarations(text)) {
        QCOMPARE(text.mid(d.nameStart, d.nameLength), d.name);
        found << d.name;
    }
    QCOMPARE(found, names);
    // The byte form finds the same in ASCII text.
    QCOMPARE(FindCharsetDeclarations(QByteArrayView(text.toUtf8())).size(), size_t(names.size()));
    const DocumentEncoding encoding { DocumentEncoding::Id(codePage), false };
    QCOMPARE(RewriteCharsetDeclarations(text, encoding), rewritten);
    QCOMPARE(ContradictingDeclarations(text, encoding).empty(), rewritten == text);
}

QTEST_GUILESS_MAIN(TstCharsetDetect)
#include "tst_charsetdetect.moc"
