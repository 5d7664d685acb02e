#include "app/ui/recoverycontroller.h"

#include "app/ui/documentmanager.h"
#include "base/ui/msgbox.h"

#include <QDir>
#include <QTextCursor>
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

RecoveryController::RecoveryController(DocumentManager &documents, QWidget *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_parent(parent)
{
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setObjectName(QStringLiteral("RecoveryTimer"));
    m_recoveryTimer->setSingleShot(true);
    m_recoveryTimer->setInterval(kIdleMs);
    connect(m_recoveryTimer, &QTimer::timeout, this, [this] { writeRecovery(false); });
    connect(&documents, &DocumentManager::documentChanged, this, &RecoveryController::recoveryChanged);
    connect(&documents, &DocumentManager::documentClosing, this,
        [this](TEditor *e) { documentClosed(e->documentId()); });
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

RecoveryController::~RecoveryController() = default;

void RecoveryController::documentClosed(int id)
{
    // Closed: saved, or its changes given up by the user. Either way nothing to keep.
    m_recoveryDirty.remove(id);
    if (m_recoveryWritten.remove(id) && m_recovery)
        m_recoveryWriter->start([store = m_recovery.get(), id] { store->remove(id); });
}

void RecoveryController::recoveryChanged(int documentId)
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

void RecoveryController::writeRecovery(bool waitUntilWritten)
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
    for (int i = 0; i < m_documents.count() && !m_recoveryDirty.isEmpty(); ++i) {
        TEditor *e = m_documents.editorAt(i);
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
        const DocumentState &state = e->state();
        step.record.fileName = state.fileName;
        step.record.iso = state.iso();
        step.record.disk = state.diskStamp;
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

void RecoveryController::discardRecovery()
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

void RecoveryController::offerRecovery()
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
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Odzyskiwanie: ostrzeżenie"), text);
    } else {
        text += QStringLiteral(
            "\n\nPrzywrócić je? Wrócą jako zmienione, niezapisane dokumenty; pliki na dysku "
            "zmienią się dopiero, gdy je zapiszesz.\nNie: zmiany zostaną usunięte.");
        const auto answer = MsgBox::show(m_parent, QMessageBox::Question,
            QStringLiteral("Odzyskiwanie: pytanie"), text, QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            for (const RecoveryRecord &r : found.records)
                m_documents.Restore(r);
            // Kept in this session before the old one goes, so that nothing is ever in neither.
            writeRecovery();
        }
    }
    m_recovery->removeOrphans();
}
