#pragma once

#include "ipc/protocol/commprotocol.h"

#include <functional>

class DocumentSet;
class EditableDocument;

// Carries out one request of the inter-process channel on the open documents.
// Documents are addressed by the low 16 bits of wParam taken as signed: -1 is the
// active document, any other value a DocumentId. An unknown identifier, no open
// document or an unknown message gives result 0 and changes nothing; otherwise the
// document's tab is made active first. Texts are Windows-1250 both ways.
class CommDispatcher
{
public:
    // Opens a file by full path as the open command does; the DocumentId or 0.
    using OpenFn = std::function<int(const QString &path)>;
    // Wraps the document's selection in opening and closing by the common insertion rule.
    using InsertPairFn
        = std::function<void(EditableDocument *doc, const QString &opening, const QString &closing)>;

    // The set must outlive the dispatcher. A missing callback makes its message yield 0.
    CommDispatcher(DocumentSet &documents, OpenFn open, InsertPairFn insertPair);

    CommReply execute(const CommRequest &request);

    // The text of a block: its bytes up to the first NUL, decoded; CR LF and CR become '\n'.
    static QString blockText(QByteArrayView block);
    // The opening and closing of a 0x404 block ("opening NUL closing NUL"); a missing
    // closing is empty.
    static void splitPair(QByteArrayView block, QString *opening, QString *closing);
    // Text encoded for an answer buffer of bufferSize bytes: at most bufferSize - 1
    // characters, and never more bytes than that (a character outside the code page
    // is sent whole as a numeric reference or not at all).
    static QByteArray answerBytes(QStringView text, quint32 bufferSize);

private:
    EditableDocument *addressed(quint32 wParam);

    DocumentSet &m_documents;
    OpenFn m_open;
    InsertPairFn m_insertPair;
};
