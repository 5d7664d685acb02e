#include "app/teditor.h"
#include "testsupport.h"

#include <QtTest>
#include <QTextBlock>

namespace {
class RecordingHost : public EditorHost
{
public:
    bool takeTag = false;
    int doubleClicks = 0;
    QStringList dropped;
    bool editorDoubleClick(TEditor *) override
    {
        ++doubleClicks;
        return takeTag;
    }
    void editorFilesDropped(TEditor *, const QStringList &files) override { dropped += files; }
};
} // namespace

class TstTEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void documentIdsAreSerial();
    void undoAfterProgramInsertion();
    void typingUndoesBeforeSnapshot();
    void exactTextKeepsNoBreakSpaces();
    void rightClickMovesCaretOnlyWithoutSelection();
    void doubleClickGoesToTagGridFirst();
};

void TstTEditor::documentIdsAreSerial()
{
    const int first = TEditor::nextDocumentId();
    auto *a = new TEditor(nullptr, EditorAppearance(), false);
    auto *b = new TEditor(nullptr, EditorAppearance(), true);
    QCOMPARE(a->DocumentId, first);
    QCOMPARE(b->DocumentId, first + 1);
    QVERIFY(b->IsoCharset);
    delete a;
    delete b;
    // Ids never come back after documents are closed.
    TEditor c(nullptr, EditorAppearance(), false);
    QCOMPARE(c.DocumentId, first + 2);
}

void TstTEditor::undoAfterProgramInsertion()
{
    TEditor e(nullptr, EditorAppearance(), false);
    e.loadText(QStringLiteral("abc word def"));
    QVERIFY(!e.CanUndo());
    e.setSelection(4, 4);
    e.TakeSnapshot();
    e.replaceSelection(QStringLiteral("<B>word</B>"));
    QCOMPARE(e.text(), QStringLiteral("abc <B>word</B> def"));
    // The control itself does not record a program change: only the snapshot undoes it.
    QVERIFY(e.CanUndo());
    e.Undo();
    QCOMPARE(e.text(), QStringLiteral("abc word def"));
    QCOMPARE(e.selStart(), 4);
    QCOMPARE(e.selLength(), 4);
    QVERIFY(e.isModified());
    QVERIFY(!e.CanUndo());
    // A second undo does nothing.
    e.Undo();
    QCOMPARE(e.text(), QStringLiteral("abc word def"));
}

void TstTEditor::typingUndoesBeforeSnapshot()
{
    TEditor e(nullptr, EditorAppearance(), false);
    e.loadText(QStringLiteral("abc"));
    e.setSelection(3, 0);
    e.TakeSnapshot();
    QTest::keyClicks(&e, QStringLiteral("x"));
    QCOMPARE(e.text(), QStringLiteral("abcx"));
    // The control's own undo takes precedence and the snapshot is discarded.
    e.Undo();
    QCOMPARE(e.text(), QStringLiteral("abc"));
    QVERIFY(!e.UndoValid);
    QVERIFY(!e.CanUndo());
}

void TstTEditor::exactTextKeepsNoBreakSpaces()
{
    TEditor e(nullptr, EditorAppearance(), false);
    const QString text = QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b\nc\n\nd");
    e.loadText(text);
    QCOMPARE(e.text(), text);
    QCOMPARE(e.textAccess().lineCount(), 4);
    QCOMPARE(e.textAccess().lineStart(3), 7);
    e.setSelection(0, 5);
    QCOMPARE(e.selectedText(), QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b\nc"));
    QVERIFY(!e.isModified());
}

void TstTEditor::rightClickMovesCaretOnlyWithoutSelection()
{
    TEditor e(nullptr, EditorAppearance(), false);
    e.resize(400, 200);
    e.loadText(QStringLiteral("first line\nsecond line"));
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    const QPoint onSecond = e.cursorRect(QTextCursor(e.document()->findBlockByNumber(1))).center();
    e.setSelection(0, 0);
    QTest::mousePress(e.viewport(), Qt::RightButton, Qt::NoModifier, onSecond);
    QTest::mouseRelease(e.viewport(), Qt::RightButton, Qt::NoModifier, onSecond);
    QCOMPARE(e.textAccess().lineOf(e.selStart()), 1);
    e.setSelection(0, 5);
    QTest::mousePress(e.viewport(), Qt::RightButton, Qt::NoModifier, onSecond);
    QTest::mouseRelease(e.viewport(), Qt::RightButton, Qt::NoModifier, onSecond);
    QCOMPARE(e.selStart(), 0);
    QCOMPARE(e.selLength(), 5);
}

void TstTEditor::doubleClickGoesToTagGridFirst()
{
    RecordingHost host;
    TEditor e(&host, EditorAppearance(), false);
    e.resize(400, 200);
    e.loadText(QStringLiteral("word <b>"));
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    const QPoint onWord = e.cursorRect(QTextCursor(e.document())).center() + QPoint(3, 0);
    host.takeTag = true;
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, onWord);
    QCOMPARE(host.doubleClicks, 1);
    QCOMPARE(e.selLength(), 0); // the tag grid took it: no word selected
    host.takeTag = false;
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, onWord);
    QCOMPARE(host.doubleClicks, 2);
    QCOMPARE(e.selectedText(), QStringLiteral("word"));
}

QTEST_MAIN(TstTEditor)
#include "tst_teditor.moc"
