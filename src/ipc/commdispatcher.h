#pragma once

#include "ipc/protocol/commprotocol.h"

#include <functional>
#include <optional>

class DocumentSet;
class EditableDocument;

// Carries out one request of the inter-process channel on the open documents.
// Documents are addressed by the low 16 bits of wParam taken as signed: -1 is the
// active document, any other value a DocumentId. An unknown identifier, no open
// document or an unknown message gives result 0 and changes nothing; otherwise the
// document's tab is made active first. Texts are Windows-1250 both ways, or UTF-8 when
// wParam has Comm::Utf8Flag.
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

    // The text of a block: its bytes up to the first NUL, decoded (Windows-1250, or UTF-8
    // when utf8); CR LF and CR become '\n'. Nothing for bytes that are not UTF-8.
    static std::optional<QString> blockText(QByteArrayView block, bool utf8);
    // The opening and closing of a 0x404 block ("opening NUL closing NUL"); a missing
    // closing is empty. False when either cannot be read.
    static bool splitPair(QByteArrayView block, bool utf8, QString *opening, QString *closing);
    // Text encoded for an answer buffer of bufferSize bytes: at most bufferSize - 1
    // characters, and never more bytes than that (a character outside Windows-1250 is
    // sent whole as a numeric reference or not at all; in UTF-8 a character is sent
    // whole or not at all).
    static QByteArray answerBytes(QStringView text, quint32 bufferSize, bool utf8);

private:
    EditableDocument *addressed(quint32 wParam);

    DocumentSet &m_documents;
    OpenFn m_open;
    InsertPairFn m_insertPair;
};
