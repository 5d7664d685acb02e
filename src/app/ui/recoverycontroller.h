#pragma once

#include "app/recoverystore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <memory>

class DocumentManager;
class QThreadPool;
class QTimer;
class QWidget;

// Crash recovery of the open documents: the unsaved text of every document is written
// to the user's recovery folder when typing pauses, offered back at the next start when
// the editor did not close cleanly, and removed by a clean close.
class RecoveryController : public QObject
{
    Q_OBJECT
public:
    // documents must outlive the controller; parent owns it and the start's question.
    RecoveryController(DocumentManager &documents, QWidget *parent);
    ~RecoveryController() override;

    // Writes the recovery record of every document changed since its last write: a
    // document with unsaved changes gets its text, file name, code page and selection
    // kept; one without them loses its record. The text is copied here and written by a
    // background writer; waitUntilWritten waits until the files are there. The idle
    // timer calls it without waiting.
    void writeRecovery(bool waitUntilWritten = true);
    // This window's recovery session; nullptr when recovery is off or after a clean close.
    const RecoveryStore *recoveryStore() const { return m_recovery.get(); }
    // On the first show: offers back the documents of an editor that did not close
    // cleanly, then removes what it left.
    void offerRecovery();
    // The clean close: the session and its records go.
    void discardRecovery();

private:
    // A document's text, modified state or code page changed: written when typing pauses.
    void recoveryChanged(int documentId);
    void documentClosed(int documentId);

    DocumentManager &m_documents;
    QWidget *m_parent;
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer *m_recoveryTimer = nullptr;
    QElapsedTimer m_recoveryPending; // since the first change not yet written
    QSet<int> m_recoveryDirty; // document ids changed since their last write
    QSet<int> m_recoveryWritten; // document ids with a record in the session
    // After m_recovery: its destruction waits for the writes before the store goes.
    std::unique_ptr<QThreadPool> m_recoveryWriter;
};
