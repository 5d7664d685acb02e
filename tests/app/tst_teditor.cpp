#include "app/ui/teditor.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QtTest>

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
    void undoKeyAndMenuAreTheUndoCommand_data();
    void undoKeyAndMenuAreTheUndoCommand();
    void pasteTakesPlainTextOnly_data();
    void pasteTakesPlainTextOnly();
    void exactTextKeepsNoBreakSpaces();
    void rightClickMovesCaretOnlyWithoutSelection();
    void doubleClickGoesToTagGridFirst();
};

void TstTEditor::documentIdsAreSerial()
{
    const int first = TEditor::nextDocumentId();
    auto *a = new TEditor(nullptr, EditorAppearance(), false);
    auto *b = new TEditor(nullptr, EditorAppearance(), true);
    QCOMPARE(a->documentId(), first);
    QCOMPARE(b->documentId(), first + 1);
    QVERIFY(b->state().iso());
    delete a;
    delete b;
    // Ids never come back after documents are closed.
    TEditor c(nullptr, EditorAppearance(), false);
    QCOMPARE(c.documentId(), first + 2);
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
    QVERIFY(!e.state().hasSnapshot());
    QVERIFY(!e.CanUndo());
}

void TstTEditor::undoKeyAndMenuAreTheUndoCommand_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("Ctrl+Z") << false;
    QTest::newRow("control's own context menu") << true;
}

void TstTEditor::undoKeyAndMenuAreTheUndoCommand()
{
    QFETCH(bool, byMenu);
    TEditor e(nullptr, EditorAppearance(), false);
    e.resize(400, 200);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    auto undo = [&] {
        if (!byMenu) {
            QTest::keySequence(&e, QKeySequence(QKeySequence::Undo));
            return;
        }
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), e.viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(e.viewport(), &ev);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *action = menu->findChild<QAction *>(QStringLiteral("edit-undo"));
        QVERIFY(action);
        QCOMPARE(action->isEnabled(), e.CanUndo());
        action->trigger();
        menu->close();
    };
    e.loadText(QStringLiteral("abc word def"));
    e.setSelection(4, 4);
    e.TakeSnapshot();
    e.replaceSelection(QStringLiteral("<B>word</B>"));
    undo();
    QCOMPARE(e.text(), QStringLiteral("abc word def"));
    QCOMPARE(e.selStart(), 4);
    QCOMPARE(e.selLength(), 4);
    QVERIFY(!e.state().hasSnapshot());
    // Redo has nothing of the control's to bring back over the restored text.
    for (const QKeySequence &redo : QKeySequence::keyBindings(QKeySequence::Redo))
        QTest::keySequence(&e, redo);
    QCOMPARE(e.text(), QStringLiteral("abc word def"));
    undo();
    QCOMPARE(e.text(), QStringLiteral("abc word def"));

    // Typing after a snapshot: the control's undo removes it and the snapshot goes.
    e.setSelection(12, 0);
    e.TakeSnapshot();
    QTest::keyClicks(&e, QStringLiteral("x"));
    undo();
    QCOMPARE(e.text(), QStringLiteral("abc word def"));
    QVERIFY(!e.state().hasSnapshot());
}

void TstTEditor::pasteTakesPlainTextOnly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("formats"); // format=data pairs; "" makes null data
    QTest::addColumn<QString>("expected");
    const QString unchanged = QStringLiteral("abc");
    const QStringList paths { QStringLiteral("Ctrl+V"), QStringLiteral("paste()"), QStringLiteral("drop"),
        QStringLiteral("middle click") };
    for (const QString &path : paths) {
        const QByteArray p = path.toUtf8();
        QTest::newRow((p + " null").constData()) << path << QStringList { QString() } << unchanged;
        QTest::newRow((p + " empty").constData()) << path << QStringList() << unchanged;
        QTest::newRow((p + " empty text").constData())
            << path << QStringList { QStringLiteral("text/plain=") } << unchanged;
        QTest::newRow((p + " no text/plain").constData())
            << path << QStringList { QStringLiteral("image/png=PNG") } << unchanged;
        QTest::newRow((p + " html with text").constData())
            << path << QStringList { QStringLiteral("text/html=<b>x</b>"), QStringLiteral("text/plain=x") }
            << QStringLiteral("abcx");
    }
}

void TstTEditor::pasteTakesPlainTextOnly()
{
    QFETCH(QString, path);
    QFETCH(QStringList, formats);
    QFETCH(QString, expected);
    const bool viaSelection = path == QLatin1String("middle click");
    QClipboard *clipboard = QApplication::clipboard();
    if (viaSelection && !clipboard->supportsSelection())
        QSKIP("no selection clipboard on this platform");
    TEditor e(nullptr, EditorAppearance(), false);
    e.resize(400, 200);
    e.loadText(QStringLiteral("abc"));
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.setSelection(3, 0);

    std::unique_ptr<QMimeData> data;
    if (formats != QStringList { QString() }) {
        data = std::make_unique<QMimeData>();
        for (const QString &f : formats)
            data->setData(f.section(QLatin1Char('='), 0, 0), f.section(QLatin1Char('='), 1).toUtf8());
    }
    const QPoint end = e.cursorRect().center();
    if (path == QLatin1String("drop")) {
        QMimeData none;
        const QMimeData *dragged = data ? data.get() : &none;
        // A drop goes where the drag entered and was taken.
        QDragEnterEvent enter(end, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.viewport(), &enter);
        QDropEvent drop(end, Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.viewport(), &drop);
    } else {
        const QClipboard::Mode mode = viaSelection ? QClipboard::Selection : QClipboard::Clipboard;
        if (data)
            clipboard->setMimeData(data.release(), mode);
        else
            clipboard->clear(mode);
        if (path == QLatin1String("Ctrl+V"))
            QTest::keySequence(&e, QKeySequence(QKeySequence::Paste));
        else if (path == QLatin1String("paste()"))
            e.paste();
        else
            QTest::mouseClick(e.viewport(), Qt::MiddleButton, Qt::NoModifier, end);
    }
    QCOMPARE(e.text(), expected);
    QCOMPARE(e.isModified(), expected != QLatin1String("abc"));
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
