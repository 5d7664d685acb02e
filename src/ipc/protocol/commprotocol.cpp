#include "ipc/protocol/commprotocol.h"

#include "base/privatedir.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

constexpr char RequestMagic[4] = { 'M', 'K', 'R', 'Q' };
constexpr char ReplyMagic[4] = { 'M', 'K', 'R', 'A' };

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

quint32 u32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

} // namespace

namespace Comm {

bool isKnownMessage(quint32 message) { return message >= OpenFile && message <= SetSelection; }

QString serverName()
{
    const QString forced = qEnvironmentVariable("MARKORA_SERVER_NAME");
    if (!forced.isEmpty())
        return forced;
#ifdef Q_OS_UNIX
    const QString folder = privateRuntimeFolder();
    // Nothing safe to use: the editor does not listen, clients find nothing.
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/markora");
#else
    return QStringLiteral("markora-") + qEnvironmentVariable("USERNAME");
#endif
}

#ifdef Q_OS_UNIX
// Sockets live in a folder only this user can enter, so no other user can reach them,
// nor squat their names first and read what clients send.
QString privateRuntimeFolder() { return PrivateFolder(); }
#endif

} // namespace Comm

QByteArray encodeRequest(const CommRequest &request)
{
    QByteArray out;
    out.reserve(Comm::RequestHeaderSize + request.block.size());
    out.append(RequestMagic, 4);
    appendU32(out, request.message);
    appendU32(out, request.wParam);
    appendU32(out, request.lParam);
    appendU32(out, quint32(request.block.size()));
    out.append(request.block);
    return out;
}

QByteArray encodeReplyHeader(const CommReply &reply)
{
    QByteArray out;
    out.reserve(Comm::ReplyHeaderSize);
    out.append(ReplyMagic, 4);
    appendU32(out, reply.status);
    appendU32(out, reply.result);
    appendU32(out, quint32(reply.answer.size()));
    return out;
}

QByteArray encodeReply(const CommReply &reply) { return encodeReplyHeader(reply) + reply.answer; }

CommFrameDecoder::CommFrameDecoder(Kind kind, quint32 maxBlock)
    : m_kind(kind)
    , m_maxBlock(maxBlock)
{
}

CommFrameDecoder::State CommFrameDecoder::feed(QByteArrayView bytes)
{
    if (m_state == Failed || bytes.isEmpty())
        return m_state;
    m_started = true;
    if (m_state == Complete) // one exchange per connection: nothing may follow the frame
        return m_state = Failed;

    const int headerSize = m_kind == Request ? Comm::RequestHeaderSize : Comm::ReplyHeaderSize;
    if (m_header.size() < headerSize) {
        const qsizetype take = std::min<qsizetype>(headerSize - m_header.size(), bytes.size());
        m_header.append(bytes.first(take));
        bytes = bytes.sliced(take);
        // Check the magic as soon as its bytes are in, so garbage fails at once.
        const char *magic = m_kind == Request ? RequestMagic : ReplyMagic;
        for (int i = 0; i < std::min<int>(4, int(m_header.size())); ++i)
            if (m_header.at(i) != magic[i])
                return m_state = Failed;
        if (m_header.size() < headerSize)
            return m_state;
        m_bodyLength = u32At(m_header, headerSize - 4);
        if (m_bodyLength > m_maxBlock)
            return m_state = Failed;
        // The editor grows a request with the data actually received, so that a header
        // alone cannot make it take the full size; a client trusts its editor's reply.
        m_body.reserve(m_kind == Reply ? m_bodyLength : std::min<quint32>(m_bodyLength, 1u << 20));
    }

    const quint32 missing = m_bodyLength - quint32(m_body.size());
    if (quint32(bytes.size()) > missing)
        return m_state = Failed;
    m_body.append(bytes);
    if (quint32(m_body.size()) == m_bodyLength)
        m_state = Complete;
    return m_state;
}

qint64 CommFrameDecoder::missing() const
{
    if (m_state != NeedMore)
        return 0;
    const int headerSize = m_kind == Request ? Comm::RequestHeaderSize : Comm::ReplyHeaderSize;
    if (m_header.size() < headerSize)
        return headerSize - m_header.size();
    return qint64(m_bodyLength) - m_body.size();
}

CommRequest CommFrameDecoder::request() const
{
    CommRequest r;
    if (m_kind != Request || m_state != Complete)
        return r;
    r.message = u32At(m_header, 4);
    r.wParam = u32At(m_header, 8);
    r.lParam = u32At(m_header, 12);
    r.block = m_body;
    return r;
}

CommReply CommFrameDecoder::reply() const
{
    CommReply r;
    if (m_kind != Reply || m_state != Complete)
        return r;
    r.status = u32At(m_header, 4);
    r.result = u32At(m_header, 8);
    r.answer = m_body;
    return r;
}
