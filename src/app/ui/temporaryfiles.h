#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QWidget;

// The temporary files written for documents (the page preview, the edited tag's
// preview): beside the document, so that its relative links resolve, or in the user's
// private folder; listed, and removed when the window closes.
class TemporaryFiles
{
public:
    // messageParent: the window a refused file is reported over; it outlives this.
    explicit TemporaryFiles(QWidget *messageParent);

    // Writes name for documentFile (empty: untitled) as WriteTemporaryFile says and lists
    // it. A refused file beside the document is reported once, under action +
    // ": ostrzeżenie". Returns the path; empty on failure, with *error set.
    QString write(const QString &action, const QString &documentFile, const QString &name,
        QByteArrayView bytes, QString *error);
    // The files listed, by absolute path, each once.
    QStringList paths() const { return m_paths; }
    // Removes the listed files that are still ours: one that somebody else's replaced
    // meanwhile stays. What cannot be removed is reported on stderr.
    void removeAll();

private:
    QWidget *m_messageParent;
    QStringList m_paths;
    QStringList m_refused; // reported once each
};
