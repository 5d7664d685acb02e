#include "base/settings.h"
#include "services/snippetexpand.h"
#include "services/snippetfile.h"
#include "services/snippetstore.h"

#include "testsupport.h"

#include <QTest>

class TstSnippets : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void expand_data();
    void expand();
    void storeKeepsAnyName_data();
    void storeKeepsAnyName();
    void storeRename();
    void fileRoundTrip();
    void fileProblems();
};

void TstSnippets::expand_data()
{
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<bool>("pair");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<int>("caret");

    QTest::newRow("plain replaces the selection") << QStringLiteral("<BR>") << QStringLiteral("stare")
                                                  << false << QStringLiteral("<BR>") << QString() << -1;
    QTest::newRow("plain with caret") << QStringLiteral("<A HREF=\"{{kursor}}\"></A>") << QString() << false
                                      << QStringLiteral("<A HREF=\"\"></A>") << QString() << 9;
    QTest::newRow("pair around a selection")
        << QStringLiteral("<B>{{zaznaczenie}}</B>") << QStringLiteral("tekst") << true
        << QStringLiteral("<B>") << QStringLiteral("</B>") << -1;
    QTest::newRow("pair without a selection") << QStringLiteral("<B>{{zaznaczenie}}</B>") << QString() << true
                                              << QStringLiteral("<B>") << QStringLiteral("</B>") << -1;
    QTest::newRow("caret after the selection")
        << QStringLiteral("<A HREF=\"{{zaznaczenie}}\">{{kursor}}</A>") << QStringLiteral("http://x") << true
        << QStringLiteral("<A HREF=\"") << QStringLiteral("\"></A>") << 9 + 8 + 2;
    QTest::newRow("caret without a selection")
        << QStringLiteral("<A HREF=\"{{zaznaczenie}}\">{{kursor}}</A>") << QString() << true
        << QStringLiteral("<A HREF=\"") << QStringLiteral("\"></A>") << 11;
    QTest::newRow("caret before the selection")
        << QStringLiteral("<P CLASS=\"{{kursor}}\">{{zaznaczenie}}</P>") << QStringLiteral("x") << true
        << QStringLiteral("<P CLASS=\"\">") << QStringLiteral("</P>") << 10;
    QTest::newRow("second selection marker copies it")
        << QStringLiteral("<A HREF=\"{{zaznaczenie}}\">{{zaznaczenie}}</A>") << QStringLiteral("u.html")
        << true << QStringLiteral("<A HREF=\"") << QStringLiteral("\">u.html</A>") << -1;
    QTest::newRow("markers in the selection are text")
        << QStringLiteral("[{{zaznaczenie}}]{{kursor}}") << QStringLiteral("{{kursor}}") << true
        << QStringLiteral("[") << QStringLiteral("]") << 12;
    QTest::newRow("first caret counts") << QStringLiteral("a{{kursor}}b{{kursor}}c") << QString() << false
                                        << QStringLiteral("abc") << QString() << 1;
    QTest::newRow("line breaks") << QStringLiteral("<UL>\r\n<LI>{{kursor}}\r</UL>") << QString() << false
                                 << QStringLiteral("<UL>\n<LI>\n</UL>") << QString() << 9;
}

void TstSnippets::expand()
{
    QFETCH(QString, snippet);
    QFETCH(QString, selection);
    const SnippetInsertion x = ExpandSnippet(snippet, selection);
    QTEST(x.pair, "pair");
    QTEST(x.opening, "opening");
    QTEST(x.closing, "closing");
    QTEST(x.caret, "caret");
}

void TstSnippets::storeKeepsAnyName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("Akapit") << QStringLiteral("<P>{{zaznaczenie}}</P>");
    QTest::newRow("slash") << QStringLiteral("a/b") << QStringLiteral("x");
    QTest::newRow("backslash") << QStringLiteral("c\\d\\") << QStringLiteral("x");
    QTest::newRow("percent escapes") << QStringLiteral("100% %2F %25") << QStringLiteral("x");
    QTest::newRow("ini syntax") << QStringLiteral("[Wstawki] a=b; #c") << QStringLiteral("k=v\n[s]");
    QTest::newRow("spaces around") << QStringLiteral("  spacje  ") << QStringLiteral("  a, b  ");
    QTest::newRow("polish and beyond") << QStringLiteral("Źdźbło — ‘łódź’ 😀") << QStringLiteral("żółw\r\n😀");
    QTest::newRow("variant lookalike") << QStringLiteral("@Variant(x)") << QStringLiteral("@ByteArray(y)");
    QTest::newRow("quotes") << QStringLiteral("\"cytat\"") << QStringLiteral("\"a\", 'b'\\");
}

void TstSnippets::storeKeepsAnyName()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    {
        MarkoraSettings settings;
        SnippetStore store(settings);
        QVERIFY(store.put(name, text));
        QVERIFY(store.put(QStringLiteral("inna"), QStringLiteral("y")));
        QVERIFY(settings.sync());
    }
    MarkoraSettings settings; // read back from the file
    SnippetStore store(settings);
    const QList<Snippet> all = store.all();
    QCOMPARE(all.size(), 2);
    QVERIFY(all.contains(Snippet { name, text }));
    QCOMPARE(store.text(name), std::optional<QString>(text));
    store.remove(name);
    QCOMPARE(store.all(), QList<Snippet>({ { QStringLiteral("inna"), QStringLiteral("y") } }));
}

void TstSnippets::storeRename()
{
    MarkoraSettings settings;
    SnippetStore store(settings);
    store.put(QStringLiteral("Tabela"), QStringLiteral("<TABLE>"));
    store.put(QStringLiteral("lista"), QStringLiteral("<UL>"));
    QVERIFY(!store.put(QStringLiteral("a\nb"), QStringLiteral("x")));
    QVERIFY(!store.rename(QStringLiteral("Tabela"), QStringLiteral("LISTA"))); // taken, case ignored
    QVERIFY(!store.rename(QStringLiteral("brak"), QStringLiteral("x")));
    QVERIFY(store.rename(QStringLiteral("Tabela"), QStringLiteral("TABELA")));
    QVERIFY(store.rename(QStringLiteral("lista"), QStringLiteral("Lista/punkty")));
    QCOMPARE(store.all(),
        QList<Snippet>({ { QStringLiteral("Lista/punkty"), QStringLiteral("<UL>") },
            { QStringLiteral("TABELA"), QStringLiteral("<TABLE>") } }));
    QCOMPARE(store.existingName(QStringLiteral("tabela")), QStringLiteral("TABELA"));
}

void TstSnippets::fileRoundTrip()
{
    const QList<Snippet> snippets = {
        { QStringLiteral("Akapit"), QStringLiteral("<P>{{zaznaczenie}}</P>{{kursor}}") },
        { QStringLiteral("Wiersze jak nagłówki"),
            QStringLiteral("Wstawka: nie nagłówek\n| nie linia\n; nie komentarz\n\n  wcięcie\n") },
        { QStringLiteral("pusta"), QString() },
        { QStringLiteral("a/b=c; [d]"), QStringLiteral("|") },
    };
    const QByteArray bytes = WriteSnippetFile(snippets);
    QVERIFY(bytes.contains("\r\nWstawka: Akapit\r\n| <P>{{zaznaczenie}}</P>{{kursor}}\r\n"));
    const SnippetFile file = ReadSnippetFile(bytes);
    QVERIFY(file.readable);
    QVERIFY(file.problems.isEmpty());
    QCOMPARE(file.snippets, snippets);
}

void TstSnippets::fileProblems()
{
    const QByteArray bytes = "\xEF\xBB\xBF; komentarz\r\n"
                             "| przed wstawkami\r\n"
                             "Wstawka: A\r\n"
                             "| a1\r\n"
                             "coś innego\r\n"
                             "| a2\r\n"
                             "Wstawka: A\r\n"
                             "| powtórka\r\n"
                             "Wstawka:\r\n"
                             "| bez nazwy\r\n"
                             "wstawka: b\n"
                             "|b";
    const SnippetFile file = ReadSnippetFile(bytes);
    QCOMPARE(file.snippets,
        QList<Snippet>({ { QStringLiteral("A"), QStringLiteral("a1\na2") },
            { QStringLiteral("b"), QStringLiteral("b") } }));
    QList<int> lines;
    for (const SnippetFileProblem &p : file.problems)
        lines << p.line;
    QCOMPARE(lines, QList<int>({ 2, 5, 7, 9 }));
    QVERIFY(!ReadSnippetFile("Wstawka: \xB1\xE6\r\n| x").readable);
}

QTEST_GUILESS_MAIN(TstSnippets)
#include "tst_snippets.moc"
