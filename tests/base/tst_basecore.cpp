#include "base/documents.h"
#include "base/filefilter.h"
#include "base/settings.h"
#include "testsupport.h"

#include <QtTest>

class TstBaseCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filters();
    void numberedLists();
    void stringDocumentSnapshot();
};

void TstBaseCore::filters()
{
    const QString f = QStringLiteral("Dokumenty HTML (*.html)|*.htm;*.html;*.sht*|Wszystkie pliki (*.*)|*.*");
    QCOMPARE(ToQtNameFilters(f),
        (QStringList { QStringLiteral("Dokumenty HTML (*.html) (*.htm *.html *.sht*)"),
            QStringLiteral("Wszystkie pliki (*.*) (*.*)") }));
    QCOMPARE(FilterPatterns(f, 0),
        (QStringList { QStringLiteral("*.htm"), QStringLiteral("*.html"), QStringLiteral("*.sht*") }));
    QVERIFY(FilterPatterns(f, 2).isEmpty());
}

void TstBaseCore::numberedLists()
{
    testsupport::IsolatedSettings isolated;
    MarkoraSettings s;
    s.writeNumberedList(QStringLiteral("StartupFiles"),
        { QStringLiteral("/a.html"), QStringLiteral("/b.html"), QStringLiteral("/c.html") });
    s.writeNumberedList(QStringLiteral("StartupFiles"), { QStringLiteral("/x.html") });
    // Rewriting erases what was there: no stale "1" and "2" remain.
    QCOMPARE(s.readNumberedList(QStringLiteral("StartupFiles")), QStringList { QStringLiteral("/x.html") });
    s.writeString(QStringLiteral("Kontrolki"), QStringLiteral("Zawijanie"), QStringLiteral("0"));
    QCOMPARE(s.readBool(QStringLiteral("Kontrolki"), QStringLiteral("Zawijanie"), true), false);
    QCOMPARE(s.readBool(QStringLiteral("Kontrolki"), QStringLiteral("Status"), true), true);
    QCOMPARE(s.readInt(QStringLiteral("Kontrolki"), QStringLiteral("Splitter1"), 160, 0, 10000), 160);
}

void TstBaseCore::stringDocumentSnapshot()
{
    StringDocument d(1, QStringLiteral("ab\ncd"));
    d.setSelection(3, 2);
    d.takeSnapshot();
    d.replaceSelection(QStringLiteral("XYZ"));
    QCOMPARE(d.text(), QStringLiteral("ab\nXYZ"));
    QCOMPARE(d.selStart(), 6);
    QCOMPARE(d.textAccess().lineText(1), QStringLiteral("XYZ"));
    QVERIFY(d.undoSnapshot());
    QCOMPARE(d.text(), QStringLiteral("ab\ncd"));
    QCOMPARE(d.selectedText(), QStringLiteral("cd"));
    QVERIFY(!d.undoSnapshot());
}

QTEST_GUILESS_MAIN(TstBaseCore)
#include "tst_basecore.moc"
