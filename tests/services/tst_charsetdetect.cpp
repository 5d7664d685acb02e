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

QTEST_GUILESS_MAIN(TstCharsetDetect)
#include "tst_charsetdetect.moc"
