#include "editor/ui/documenttextaccess.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

// The editor's text access reads a line of ordinary length whole and a long one a
// character at a time: both must give exactly the document's characters.
class TstDocumentTextAccess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsExactlyTheText_data();
    void readsExactlyTheText();
};

void TstDocumentTextAccess::readsExactlyTheText_data()
{
    QTest::addColumn<int>("lineLength");
    QTest::newRow("short") << 40;
    QTest::newRow("at the limit") << DocumentTextAccess::LongLine;
    QTest::newRow("long") << DocumentTextAccess::LongLine + 1;
    QTest::newRow("very long") << DocumentTextAccess::LongLine * 3;
}

void TstDocumentTextAccess::readsExactlyTheText()
{
    QFETCH(int, lineLength);
    QString line;
    for (int i = 0; line.size() < lineLength; ++i)
        line += QStringLiteral("<a href=\"%1\">ż").arg(i) + QChar(0xA0) + QStringLiteral("</a>");
    line.truncate(lineLength);
    QString text = QStringLiteral("first\n") + line + QStringLiteral("\n\nlast");
    QTextDocument doc;
    doc.setPlainText(text);
    // A change in the middle of the line splits its fragments.
    QTextCursor c(&doc);
    c.setPosition(6 + lineLength / 2);
    c.insertText(QStringLiteral("<b>"));
    text.insert(6 + lineLength / 2, QStringLiteral("<b>"));
    const DocumentTextAccess access(&doc);
    QCOMPARE(access.length(), int(text.size()));
    QCOMPARE(access.lineLength(1), lineLength + 3);
    for (const int from : { 0, 5, lineLength / 2, lineLength - 2, lineLength + 1, lineLength + 10 })
        QCOMPARE(access.lineMid(1, from, 1000),
            text.mid(6 + from, std::max(0, std::min(1000, lineLength + 3 - from))));
    // Stretches across lines, with their line breaks.
    for (const int pos : { 0, 3, int(text.size()) / 2, int(text.size()) - 7 })
        QCOMPARE(access.mid(pos, 20000), text.mid(pos, 20000));
}

QTEST_MAIN(TstDocumentTextAccess)
#include "tst_documenttextaccess.moc"
