#pragma once

#include "ipc/protocol/commprotocol.h"

#include <QString>
#include <QStringList>

// The client side of the inter-process channel, for plug-ins, scripts and a second
// start of the editor. Every call is one blocking exchange over its own connection,
// so several clients (or threads, each with its own calls) never mix their texts.
// A result of 0 always means failure; *error then names a communication fault, or
// stays empty when the editor itself refused (unknown document, file not opened).

// Why an exchange failed, each with the text the user is shown.
enum class CommError {
    None,
    CannotCreateBlock, // the request could not be sent (block over the cap) or the answer not written
    EditorNotFound, // no editor answers on the server name, or it stopped answering
    NoBlock, // the editor could not read the request, or the reply was unreadable
};

// "Błąd komunikacji:..." as the user reads it; empty for CommError::None.
QString commErrorText(CommError error);

struct CommOutcome
{
    quint32 result = 0;
    QByteArray answer; // Windows-1250 (or UTF-8) bytes, for 0x405 and 0x407
    CommError error = CommError::None;
};

// No limit for timeoutMs.
constexpr int CommNoTimeout = -1;
constexpr int CommDefaultTimeout = 60000;
// Addresses the active document.
constexpr int CommActiveDocument = -1;

// A request whose block holds each text in Windows-1250 followed by a NUL (one text
// for 0x401, 0x403 and 0x406, opening and closing for 0x404, none for the others).
// With Comm::Utf8Flag in wParam the texts go in UTF-8, every character as it is.
CommRequest CommMakeRequest(quint32 msg, quint32 wParam, quint32 lParam, const QStringList &texts = {});

// The 0x408 request: start and length as 16-bit words of lParam, or, with
// Comm::Utf8Flag in wParam, as two u32 in the block (any value).
CommRequest CommMakeSetSelectionRequest(quint32 wParam, quint32 start, quint32 length);

// The text of an answer to request: Windows-1250, or UTF-8 when it had Comm::Utf8Flag.
QString CommAnswerText(const CommRequest &request, const QByteArray &answer);

// The 0x401 request for path, made absolute. *carried is false when Windows-1250
// cannot carry the name: it would arrive as numeric references, that is as the name
// of another file, so such a request must not be sent. With utf8 the request has
// Comm::Utf8Flag and carries any name (but one holding a lone surrogate).
CommRequest CommMakeOpenRequest(const QString &path, bool *carried, bool utf8 = false);

// One exchange with the editor listening on server (default: Comm::serverName()).
// Waits at most timeoutMs for the whole exchange.
CommOutcome CommExchange(
    const CommRequest &request, int timeoutMs = CommDefaultTimeout, const QString &server = QString());

// The channel's one call: message, wParam, lParam and the block's bytes (Windows-1250,
// the NULs included as the message wants them). The answer bytes of 0x405/0x407 go
// to *answer, the error text to *error (both optional).
quint32 CommSend(int msg, quint32 wParam, quint32 lParam, const QByteArray &block,
    QByteArray *answer = nullptr, QString *error = nullptr);

// True when an editor answers on the server name (the connection is closed at once).
bool CommEditorRunning(const QString &server = QString(), int timeoutMs = 2000);

// The messages with Unicode texts, encoded to Windows-1250 and back. doc is a
// DocumentId or CommActiveDocument; only its low 16 bits travel.
// Relative paths are made absolute here; a name outside Windows-1250 is not sent
// (result 0, the "cannot create the block" error).
quint32 CommOpenFile(const QString &path, QString *error = nullptr);
quint32 CommSelectLine(int doc, int line, QString *error = nullptr);
quint32 CommReplaceSelection(int doc, const QString &text, QString *error = nullptr);
quint32 CommInsertPair(int doc, const QString &opening, const QString &closing, QString *error = nullptr);
quint32 CommGetSelection(int doc, quint32 bufferSize, QString *text, QString *error = nullptr);
quint32 CommSetText(int doc, const QString &text, QString *error = nullptr);
quint32 CommGetText(int doc, quint32 bufferSize, QString *text, QString *error = nullptr);
// start and length travel as 16-bit words, as the message defines them; past 65,535
// the request takes the UTF-8 form, which carries them whole (an editor that knows it).
quint32 CommSetSelection(int doc, int start, int length, QString *error = nullptr);
