#include "ipc/client/commclient.h"

#include "base/codepage.h"
#include "base/utf8.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QtEndian>

namespace {

int remainingMs(const QDeadlineTimer &deadline)
{
    return deadline.isForever() ? -1 : int(std::max<qint64>(0, deadline.remainingTime()));
}

quint32 docParam(int doc) { return quint32(doc) & 0xFFFFu; }

quint32 send(const CommRequest &request, QString *answer, QString *error)
{
    const CommOutcome outcome = CommExchange(request);
    if (answer)
        *answer = CommAnswerText(request, outcome.answer);
    if (error)
        *error = commErrorText(outcome.error);
    return outcome.result;
}

} // namespace

QString commErrorText(CommError error)
{
    switch (error) {
    case CommError::None:
        break;
    case CommError::CannotCreateBlock:
        return QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego.");
    case CommError::EditorNotFound:
        return QString::fromUtf8("Błąd komunikacji:nie można znależć Markora.");
    case CommError::NoBlock:
        return QString::fromUtf8("Błąd komunikacji:brak pliku pamięciowego.");
    }
    return QString();
}

CommOutcome CommExchange(const CommRequest &request, int timeoutMs, const QString &server)
{
    CommOutcome outcome;
    if (request.block.size() > qsizetype(Comm::MaxBlock)) {
        outcome.error = CommError::CannotCreateBlock;
        return outcome;
    }
    const QDeadlineTimer deadline(
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs));

    QLocalSocket socket;
    socket.connectToServer(server.isEmpty() ? Comm::serverName() : server);
    if (!socket.waitForConnected(remainingMs(deadline))) {
        outcome.error = CommError::EditorNotFound;
        return outcome;
    }

    socket.write(encodeRequest(request));
    while (socket.bytesToWrite() > 0 && socket.state() == QLocalSocket::ConnectedState) {
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            break; // the editor may have refused the frame early: its reply is read below
    }

    CommFrameDecoder decoder(CommFrameDecoder::Reply);
    while (decoder.state() == CommFrameDecoder::NeedMore) {
        if (socket.bytesAvailable() > 0) {
            decoder.feed(socket.readAll());
            continue;
        }
        if (socket.state() != QLocalSocket::ConnectedState || deadline.hasExpired())
            break;
        socket.waitForReadyRead(remainingMs(deadline));
    }
    socket.abort();

    if (decoder.state() == CommFrameDecoder::NeedMore && !decoder.started()) {
        outcome.error = CommError::EditorNotFound;
        return outcome;
    }
    if (decoder.state() != CommFrameDecoder::Complete) {
        outcome.error = CommError::NoBlock;
        return outcome;
    }
    const CommReply reply = decoder.reply();
    switch (reply.status) {
    case Comm::Ok:
        outcome.result = reply.result;
        outcome.answer = reply.answer;
        break;
    case Comm::AnswerUnwritable:
        outcome.error = CommError::CannotCreateBlock;
        break;
    default:
        outcome.error = CommError::NoBlock;
        break;
    }
    return outcome;
}

quint32 CommSend(
    int msg, quint32 wParam, quint32 lParam, const QByteArray &block, QByteArray *answer, QString *error)
{
    CommRequest request;
    request.message = quint32(msg);
    request.wParam = wParam;
    request.lParam = lParam;
    request.block = block;
    CommOutcome outcome = CommExchange(request);
    if (answer)
        *answer = std::move(outcome.answer);
    if (error)
        *error = commErrorText(outcome.error);
    return outcome.result;
}

CommRequest CommMakeRequest(quint32 msg, quint32 wParam, quint32 lParam, const QStringList &texts)
{
    CommRequest request;
    request.message = msg;
    request.wParam = wParam;
    request.lParam = lParam;
    const bool utf8 = (wParam & Comm::Utf8Flag) != 0;
    for (const QString &text : texts) {
        request.block += utf8 ? Utf8::encode(text) : CodePage::encode(text, CodePage::Windows1250);
        request.block += '\0';
    }
    return request;
}

CommRequest CommMakeSetSelectionRequest(quint32 wParam, quint32 start, quint32 length)
{
    if ((wParam & Comm::Utf8Flag) == 0)
        return CommMakeRequest(Comm::SetSelection, wParam, (start & 0xFFFFu) << 16 | (length & 0xFFFFu));
    CommRequest request = CommMakeRequest(Comm::SetSelection, wParam, 0);
    char numbers[8];
    qToLittleEndian<quint32>(start, numbers);
    qToLittleEndian<quint32>(length, numbers + 4);
    request.block = QByteArray(numbers, 8);
    return request;
}

QString CommAnswerText(const CommRequest &request, const QByteArray &answer)
{
    if ((request.wParam & Comm::Utf8Flag) == 0)
        return CodePage::decode(answer, CodePage::Windows1250);
    // The editor cuts only between characters; anything else would be its fault, and
    // shows as U+FFFD rather than being dropped.
    return QString::fromUtf8(answer);
}

CommRequest CommMakeOpenRequest(const QString &path, bool *carried, bool utf8)
{
    CommRequest request;
    request.message = Comm::OpenFile;
    int unmappable = 0;
    const QString full = QFileInfo(path).absoluteFilePath();
    if (utf8) {
        request.wParam = Comm::Utf8Flag;
        request.block = Utf8::encode(full, LineBreak::Lf, &unmappable);
    } else {
        request.block = CodePage::encode(full, CodePage::Windows1250, &unmappable);
    }
    request.block += '\0';
    *carried = unmappable == 0;
    return request;
}

bool CommEditorRunning(const QString &server, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(server.isEmpty() ? Comm::serverName() : server);
    const bool running = socket.waitForConnected(timeoutMs);
    socket.abort();
    return running;
}

quint32 CommOpenFile(const QString &path, QString *error)
{
    bool carried = false;
    const CommRequest request = CommMakeOpenRequest(path, &carried);
    if (!carried) {
        if (error)
            *error = commErrorText(CommError::CannotCreateBlock);
        return 0;
    }
    return send(request, nullptr, error);
}

quint32 CommSelectLine(int doc, int line, QString *error)
{
    return send(CommMakeRequest(Comm::SelectLine, docParam(doc), quint32(line)), nullptr, error);
}

quint32 CommReplaceSelection(int doc, const QString &text, QString *error)
{
    return send(CommMakeRequest(Comm::ReplaceSelection, docParam(doc), 0, { text }), nullptr, error);
}

quint32 CommInsertPair(int doc, const QString &opening, const QString &closing, QString *error)
{
    return send(CommMakeRequest(Comm::InsertPair, docParam(doc), 0, { opening, closing }), nullptr, error);
}

quint32 CommGetSelection(int doc, quint32 bufferSize, QString *text, QString *error)
{
    return send(CommMakeRequest(Comm::GetSelection, docParam(doc), bufferSize), text, error);
}

quint32 CommSetText(int doc, const QString &text, QString *error)
{
    return send(CommMakeRequest(Comm::SetText, docParam(doc), 0, { text }), nullptr, error);
}

quint32 CommGetText(int doc, quint32 bufferSize, QString *text, QString *error)
{
    return send(CommMakeRequest(Comm::GetText, docParam(doc), bufferSize), text, error);
}

quint32 CommSetSelection(int doc, int start, int length, QString *error)
{
    const quint32 s = quint32(std::max(start, 0));
    const quint32 l = quint32(std::max(length, 0));
    // Only the UTF-8 form carries numbers past 16 bits; the plain one reaches older editors.
    const quint32 form = s > 0xFFFFu || l > 0xFFFFu ? Comm::Utf8Flag : 0u;
    return send(CommMakeSetSelectionRequest(docParam(doc) | form, s, l), nullptr, error);
}
