#include "app/ui/tmynotebook.h"
#include "app/ui/documentmanager.h"
#include "app/ui/recoverycontroller.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"

#include <QTimer>
#include <QtTest>

namespace {

using testsupport::ScriptedUser;
using testsupport::writeFile;

QStringList sessions(const QString &root)
{
    return QDir(root).entryList({ QStringLiteral("session-*") }, QDir::Dirs | QDir::NoDotAndDotDot);
}

QStringList records(const QString &session)
{
    return QDir(session).entryList({ QStringLiteral("*.rec") }, QDir::Files);
}

void select(TEditor *e, int anchor, int position)
{
    QTextCursor c(e->document());
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

} // namespace

class TstRecovery : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void offeredAfterCrash_data();
    void offeredAfterCrash();
    void onlyChangedDocumentsWritten();
    void cleanCloseLeavesNothing();
};

void TstRecovery::offeredAfterCrash_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("Yes: documents back") << true;
    QTest::newRow("No: changes removed") << false;
}

void TstRecovery::offeredAfterCrash()
{
    QFETCH(bool, restore);
    const QString root = isolated().recoveryPath();
    QTemporaryDir dir;
    const QString page = writeFile(dir.filePath(QStringLiteral("Strona.html")), "<p>stary</p>");
    QString crashed;
    {
        auto *w = new TOknoGl;
        QVERIFY(w->documents().Open(page, 2) > 0);
        TEditor *titled = w->CurrentEditor();
        select(titled, 3, 3);
        QTest::keyClicks(titled, QStringLiteral("nowy "));
        select(titled, 8, 3);
        TEditor *untitled = w->documents().New();
        QTest::keyClicks(untitled, QStringLiteral("Za"));
        untitled->textCursor().insertText(QStringLiteral("żółć gęślą"));
        select(untitled, 1, 4);
        w->recovery().writeRecovery();
        crashed = w->recovery().recoveryStore()->sessionPath();
        QCOMPARE(records(crashed).size(), 2);
        writeFile(QDir(crashed).filePath(QStringLiteral("99.rec")), "zepsuty");
        delete w; // no close: as a crash leaves it
    }
    QVERIFY(QFileInfo::exists(crashed));

    ScriptedUser user;
    user.answers << (restore ? QMessageBox::Yes : QMessageBox::No);
    TOknoGl w;
    w.FormShow({});
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.first().caption, QStringLiteral("Odzyskiwanie: pytanie"));
    QVERIFY(user.asked.first().text.contains(page));
    QVERIFY(user.asked.first().text.contains(QStringLiteral("bez nazwy")));
    QVERIFY(user.asked.first().text.contains(QStringLiteral("99.rec")));
    // The old session is gone either way; the damaged file is kept apart.
    QVERIFY(!QFileInfo::exists(crashed));
    QCOMPARE(
        sessions(root), QStringList { QFileInfo(w.recovery().recoveryStore()->sessionPath()).fileName() });
    QCOMPARE(QDir(root).entryList({ QStringLiteral("damaged") }, QDir::Dirs).size(), 1);
    QCOMPARE(testsupport::readFile(page), QByteArray("<p>stary</p>"));

    if (!restore) {
        QCOMPARE(w.documents().count(), 1);
        QVERIFY(w.documents().editorAt(0)->state().fileName.isEmpty());
        QCOMPARE(w.documents().editorAt(0)->text(), QString());
        QVERIFY(records(w.recovery().recoveryStore()->sessionPath()).isEmpty());
        return;
    }
    QCOMPARE(w.documents().count(), 2);
    TEditor *titled = w.documents().editorAt(0);
    QCOMPARE(titled->state().fileName, page);
    QVERIFY(titled->state().iso());
    QVERIFY(titled->isModified());
    QCOMPARE(titled->text(), QStringLiteral("<p>nowy stary</p>"));
    QCOMPARE(titled->textCursor().anchor(), 8);
    QCOMPARE(titled->textCursor().position(), 3);
    QCOMPARE(w.documents().notebook()->caption(0), QStringLiteral("strona.html"));
    TEditor *untitled = w.documents().editorAt(1);
    QVERIFY(untitled->state().fileName.isEmpty());
    QVERIFY(!untitled->state().iso());
    QVERIFY(untitled->isModified());
    QCOMPARE(untitled->text(), QString::fromUtf8("Zażółć gęślą"));
    QCOMPARE(untitled->selStart(), 1);
    QCOMPARE(untitled->selLength(), 3);
    QCOMPARE(w.documents().notebook()->caption(1), QStringLiteral("\tbez nazwy"));
    // Kept in the new session at once, so that a second crash loses nothing either.
    QCOMPARE(records(w.recovery().recoveryStore()->sessionPath()).size(), 2);
    // Saving writes to the original file, without a question: it is as the crashed
    // session last knew it.
    QVERIFY(w.documents().Save(titled));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(testsupport::readFile(page), QByteArray("<p>nowy stary</p>"));
}

void TstRecovery::onlyChangedDocumentsWritten()
{
    QTemporaryDir dir;
    const QString page = writeFile(dir.filePath(QStringLiteral("a.html")), "abc");
    TOknoGl w;
    QVERIFY(w.documents().Open(page, 1) > 0);
    TEditor *a = w.CurrentEditor();
    TEditor *b = w.documents().New();
    auto *timer = w.findChild<QTimer *>(QStringLiteral("RecoveryTimer"));
    QVERIFY(timer);
    // Documents without unsaved changes have nothing to keep.
    const QString session = w.recovery().recoveryStore()->sessionPath();
    w.recovery().writeRecovery();
    QVERIFY(!timer->isActive());
    QVERIFY(records(session).isEmpty());
    QTest::keyClicks(a, QStringLiteral("x"));
    QTest::keyClicks(b, QStringLiteral("y"));
    // A change only starts the idle timer; nothing is written while typing goes on.
    QVERIFY(timer->isActive());
    QVERIFY(records(session).isEmpty());
    w.recovery().writeRecovery();
    QVERIFY(!timer->isActive());
    const QString recA = QDir(session).filePath(QStringLiteral("%1.rec").arg(a->documentId()));
    const QString recB = QDir(session).filePath(QStringLiteral("%1.rec").arg(b->documentId()));
    QVERIFY(QFileInfo::exists(recA) && QFileInfo::exists(recB));

    // Unchanged since: not written again.
    QVERIFY(QFile::remove(recB));
    w.recovery().writeRecovery();
    QVERIFY(!QFileInfo::exists(recB));
    QTest::keyClicks(b, QStringLiteral("z"));
    w.recovery().writeRecovery();
    QVERIFY(QFileInfo::exists(recB));

    // Saved: nothing left to recover. Closed after "No": the same.
    QVERIFY(w.documents().Save(a));
    w.recovery().writeRecovery();
    QVERIFY(!QFileInfo::exists(recA));
    ScriptedUser user;
    user.answers << QMessageBox::No;
    QVERIFY(w.documents().Close(b));
    w.recovery().writeRecovery(); // waits for the writer, which removes records too
    QVERIFY(!QFileInfo::exists(recB));
}

void TstRecovery::cleanCloseLeavesNothing()
{
    const QString root = isolated().recoveryPath();
    ScriptedUser user;
    {
        TOknoGl w;
        QTest::keyClicks(w.CurrentEditor(), QStringLiteral("niezapisane"));
        w.recovery().writeRecovery();
        QCOMPARE(records(w.recovery().recoveryStore()->sessionPath()).size(), 1);
        user.answers << QMessageBox::No; // do not save
        QVERIFY(w.close());
    }
    QVERIFY(sessions(root).isEmpty());
    user.asked.clear();
    TOknoGl w;
    w.FormShow({});
    QVERIFY(user.asked.isEmpty());
}

QTEST_MAIN(TstRecovery)
#include "tst_recovery.moc"
