#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// The frames of the inter-process channel. One connection to the editor's local
// server carries one exchange: the client writes one request frame, the editor
// answers with one reply frame and closes. All numbers are little-endian.
//
//   request: "MKRQ" | message u32 | wParam u32 | lParam u32 | block length u32 | block
//   reply:   "MKRA" | status u32  | result u32 | answer length u32 | answer
//
// Blocks and answers are Windows-1250 bytes; a line break is one byte '\n'. A request
// whose wParam has Utf8Flag set speaks UTF-8 instead (see Utf8Flag).
namespace Comm {

// wParam bit 31: the block and the answer are UTF-8, every character as it is (no
// numeric references), and 0x408 takes start and length as two u32 in its block
// (when the block holds at least 8 bytes; lParam otherwise, as without the flag).
constexpr quint32 Utf8Flag = 0x80000000u;

enum Message : quint32 {
    OpenFile = 0x401, // block: full path; result: document identifier
    SelectLine = 0x402, // lParam: 0-based line; result: selection start + 1
    ReplaceSelection = 0x403, // block: text; result: selection start + 1
    InsertPair = 0x404, // block: opening NUL closing NUL; result: 1
    GetSelection = 0x405, // lParam: buffer size N; answer: selection cut to N - 1; result: length + 1
    SetText = 0x406, // block: text; result: selection start + 1
    GetText = 0x407, // lParam: buffer size N; answer: text cut to N - 1; result: length + 1
    SetSelection
    = 0x408, // lParam: start << 16 | length (UTF-8: block start u32, length u32); result: start + 1
};

// Why an exchange yielded nothing, carried in the reply so that the client can say it.
enum Status : quint32 {
    Ok = 0,
    // The editor could not read the request (bad, truncated or oversized frame).
    RequestUnreadable = 1,
    // The editor could not write the answer (0x405/0x407 with a buffer size of 0, or no
    // room left for it among the bytes held for all clients).
    AnswerUnwritable = 2,
};

// Largest block or answer either side accepts. A frame announcing more is refused
// before any of its body is read.
constexpr quint32 MaxBlock = 256u * 1024u * 1024u;
constexpr int RequestHeaderSize = 20;
constexpr int ReplyHeaderSize = 16;

bool isKnownMessage(quint32 message);

// Name of the editor's local server: $MARKORA_SERVER_NAME when set and not empty
// (tests and scripts use it to reach their own editor), otherwise a socket in the
// user's private runtime folder ($XDG_RUNTIME_DIR, or a folder of mode 0700 in the
// temporary folder); a per-user pipe name on Windows. Empty when no private folder
// can be had.
QString serverName();
#ifdef Q_OS_UNIX
// A folder for this user's sockets that only this user can enter (created when needed);
// empty when none is safe.
QString privateRuntimeFolder();
#endif

} // namespace Comm

struct CommRequest
{
    quint32 message = 0;
    quint32 wParam = 0;
    quint32 lParam = 0;
    QByteArray block;
};

struct CommReply
{
    quint32 status = Comm::Ok;
    quint32 result = 0;
    QByteArray answer;
};

// Whole frames; the caller keeps blocks within Comm::MaxBlock (the decoder refuses more).
QByteArray encodeRequest(const CommRequest &request);
QByteArray encodeReply(const CommReply &reply);
// The reply's header alone, for writing a large answer after it without a copy.
QByteArray encodeReplyHeader(const CommReply &reply);

// Reads one frame from bytes fed in pieces as they arrive. Any byte that does not
// fit the format (wrong magic, a length over the cap, bytes after the frame) fails
// the frame for good; nothing is ever read past the announced length.
class CommFrameDecoder
{
public:
    enum Kind { Request, Reply };
    enum State { NeedMore, Complete, Failed };

    explicit CommFrameDecoder(Kind kind, quint32 maxBlock = Comm::MaxBlock);

    State feed(QByteArrayView bytes);
    State state() const { return m_state; }
    // True once at least one byte was fed.
    bool started() const { return m_started; }
    // Bytes fed so far.
    qint64 received() const { return m_header.size() + m_body.size(); }
    // Bytes still wanted before the frame is whole: the rest of the header until its
    // length is known, then the rest of the body; 0 once complete or failed. Feeding no
    // more than this never fails a frame for what follows it.
    qint64 missing() const;

    // Valid in state Complete for the decoder's kind; empty values otherwise.
    CommRequest request() const;
    CommReply reply() const;

private:
    Kind m_kind;
    quint32 m_maxBlock;
    State m_state = NeedMore;
    bool m_started = false;
    QByteArray m_header;
    QByteArray m_body;
    quint32 m_bodyLength = 0;
};
