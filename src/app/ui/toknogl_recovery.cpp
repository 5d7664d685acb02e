// Crash recovery of the main window: the unsaved text of every document is written to
// the user's recovery folder when typing pauses, offered back at the next start when
// the editor did not close cleanly, and removed by a clean close.
#include "base/ui/msgbox.h"
#include "app/ui/tmynotebook.h"
#include "app/ui/toknogl.h"

#include <QDir>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>

namespace {
// Written this long after the last change...
constexpr int kIdleMs = 3000;
// ...or, while typing never pauses, at the latest this long after the first unwritten one.
constexpr qint64 kLongestDelayMs = 30000;

void reportOnStderr(const QString &text)
{
    std::fprintf(stderr, "markora: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

void TOknoGl::setupRecovery()
{
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setObjectName(QStringLiteral("RecoveryTimer"));
    m_recoveryTimer->setSingleShot(true);
    m_recoveryTimer->setInterval(kIdleMs);
    connect(m_recoveryTimer, &QTimer::timeout, this, [this] { writeRecovery(false); });
    connect(this, &TOknoGl::documentClosing, this, [this](TEditor *e) {
        // Closed: saved, or its changes given up by the user. Either way nothing to keep.
        const int id = e->documentId();
        m_recoveryDirty.remove(id);
        if (m_recoveryWritten.remove(id) && m_recovery)
            m_recoveryWriter->start([store = m_recovery.get(), id] { store->remove(id); });
    });
    m_recoveryWriter = std::make_unique<QThreadPool>();
    m_recoveryWriter->setMaxThreadCount(1); // one at a time, in the order given
    auto store = std::make_unique<RecoveryStore>();
    QString error;
    if (!store->open(&error)) {
        reportOnStderr(QStringLiteral("odzyskiwanie po awarii wyłączone: %1").arg(error));
        return;
    }
    m_recovery = std::move(store);
}

void TOknoGl::watchForRecovery(TEditor *editor)
{
    const int id = editor->documentId();
    // Per keystroke only a mark and a timer restart: the text is copied when typing pauses.
    connect(editor->document(), &QTextDocument::contentsChanged, this, [this, id] { recoveryChanged(id); });
    connect(
        editor->document(), &QTextDocument::modificationChanged, this, [this, id] { recoveryChanged(id); });
}

void TOknoGl::recoveryChanged(int documentId)
{
    if (!m_recovery)
        return;
    m_recoveryDirty.insert(documentId);
    if (!m_recoveryPending.isValid())
        m_recoveryPending.start();
    if (!m_recoveryTimer->isActive() || m_recoveryPending.elapsed() < kLongestDelayMs)
        m_recoveryTimer->start();
}

namespace {
// One step of a recovery write: a document's record written, or removed.
struct RecoveryStep
{
    int key = 0;
    bool remove = false;
    RecoveryRecord record;
};
} // namespace

void TOknoGl::writeRecovery(bool waitUntilWritten)
{
    m_recoveryTimer->stop();
    if (!m_recovery)
        return;
    if (waitUntilWritten) {
        m_recoveryWriter->waitForDone();
    } else if (!m_recoveryWriter->waitForDone(0)) {
        // The last write still goes on (a very large document, a slow disk): later.
        m_recoveryTimer->start();
        return;
    }
    m_recoveryPending.invalidate();
    QList<RecoveryStep> steps;
    for (int i = 0; i < count() && !m_recoveryDirty.isEmpty(); ++i) {
        TEditor *e = editorAt(i);
        const int id = e->documentId();
        if (!m_recoveryDirty.remove(id))
            continue;
        if (!e->isModified()) {
            if (m_recoveryWritten.remove(id))
                steps.append({ id, true, {} });
            continue;
        }
        const QTextCursor c = e->textCursor();
        RecoveryStep step { id, false, {} };
        step.record.fileName = e->state().fileName;
        step.record.iso = e->state().iso;
        step.record.disk = e->state().diskStamp;
        step.record.anchor = c.anchor();
        step.record.position = c.position();
        // The one copy of the text made here; encoding and writing it go to the writer.
        step.record.text = e->text();
        steps.append(step);
        m_recoveryWritten.insert(id);
    }
    m_recoveryDirty.clear();
    if (!steps.isEmpty()) {
        m_recoveryWriter->start([store = m_recovery.get(), steps] {
            for (const RecoveryStep &step : steps) {
                QString error;
                if (step.remove)
                    store->remove(step.key);
                else if (!store->write(step.key, step.record, &error))
                    // Tried again at the document's next change.
                    reportOnStderr(QStringLiteral("nie można zapisać kopii do odzyskania: %1").arg(error));
            }
        });
    }
    if (waitUntilWritten)
        m_recoveryWriter->waitForDone();
}

void TOknoGl::discardRecovery()
{
    m_recoveryTimer->stop();
    m_recoveryDirty.clear();
    m_recoveryWritten.clear();
    if (!m_recovery)
        return;
    m_recoveryWriter->waitForDone();
    m_recovery->discard();
    m_recovery.reset();
}

void TOknoGl::offerRecovery()
{
    if (!m_recovery)
        return;
    const RecoveryStore::Orphans found = m_recovery->takeOrphans();
    if (found.records.isEmpty() && found.damaged.isEmpty()) {
        m_recovery->removeOrphans(); // sessions that ended with nothing unsaved
        return;
    }
    QString text = QStringLiteral("Poprzednia praca edytora nie została poprawnie zakończona.");
    if (!found.records.isEmpty()) {
        text += QStringLiteral("\nZostały niezapisane zmiany dokumentów:\n");
        for (const RecoveryRecord &r : found.records)
            text += QStringLiteral("\n    ")
                + (r.fileName.isEmpty() ? QStringLiteral("bez nazwy") : QDir::toNativeSeparators(r.fileName));
    }
    if (!found.damaged.isEmpty())
        text += QStringLiteral(
                    "\n\nUszkodzonych plików odzyskiwania nie można odczytać (zostaną przeniesione do ")
            + QDir::toNativeSeparators(m_recovery->damagedFolder()) + QStringLiteral("):\n\n    ")
            + found.damaged.join(QStringLiteral("\n    "));
    if (found.records.isEmpty()) {
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Odzyskiwanie: ostrzeżenie"), text);
    } else {
        text += QStringLiteral(
            "\n\nPrzywrócić je? Wrócą jako zmienione, niezapisane dokumenty; pliki na dysku "
            "zmienią się dopiero, gdy je zapiszesz.\nNie: zmiany zostaną usunięte.");
        const auto answer = MsgBox::show(this, QMessageBox::Question, QStringLiteral("Odzyskiwanie: pytanie"),
            text, QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            for (const RecoveryRecord &r : found.records)
                restoreDocument(r);
            // Kept in this session before the old one goes, so that nothing is ever in neither.
            writeRecovery();
        }
    }
    m_recovery->removeOrphans();
}

void TOknoGl::restoreDocument(const RecoveryRecord &record)
{
    TEditor *editor = nullptr;
    // The file may be open already (the last session's documents): its text is replaced
    // there, undoably, rather than shown twice.
    for (int i = 0; i < count() && !record.fileName.isEmpty(); ++i) {
        TEditor *e = editorAt(i);
        if (!e->isModified()
            && (e->state().fileName == record.fileName
                || canonicalSameFile(e->state().fileName, record.fileName))) {
            editor = e;
            editor->TakeSnapshot();
            editor->setText(record.text);
            break;
        }
    }
    const QString caption = record.fileName.isEmpty() ? QStringLiteral("\tbez nazwy")
                                                      : QFileInfo(record.fileName).fileName().toLower();
    if (!editor) {
        // The one empty untitled document of a fresh start is taken, as Open does.
        if (count() == 1 && editorAt(0)->state().fileName.isEmpty() && !editorAt(0)->isModified()
            && editorAt(0)->textAccess().length() == 0) {
            editor = editorAt(0);
            NbEdytora->setCaption(0, caption);
        } else {
            editor = createEditor();
            addEditorPage(editor, caption);
        }
        editor->loadText(record.text);
        editor->setModified(true);
    }
    editor->state().fileName = record.fileName;
    editor->state().iso = record.iso;
    if (!editor->state().fileName.isEmpty() && !editor->state().diskStamp.isFile) {
        editor->state().diskStamp = record.disk;
        watchFile(editor->state().fileName);
    }
    QTextCursor c(editor->document());
    c.setPosition(record.anchor);
    c.setPosition(record.position, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
    editor->show();
    rebuildTabs();
    activate(NbEdytora->indexOf(editor));
}
