// Channel frames: the decoder fed whole and in trickles of any size, frames written
// back, and the requests carried out on a document, in Windows-1250 and in UTF-8. Input: a flag byte (bit 0
// reply frames, bit 1 a small size cap), a byte seeding the trickle sizes, then the stream.
#include "fuzzsupport.h"

#include "base/documents.h"
#include "base/utf8.h"
#include "insert/insertion.h"
#include "ipc/commdispatcher.h"
#include "ipc/protocol/commprotocol.h"

namespace {

bool sameRequest(const CommRequest &a, const CommRequest &b)
{
    return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam && a.block == b.block;
}

bool sameReply(const CommReply &a, const CommReply &b)
{
    return a.status == b.status && a.result == b.result && a.answer == b.answer;
}

void checkDispatch(const CommRequest &request, CommDispatcher &dispatcher, StringDocumentSet &docs)
{
    const CommReply reply = dispatcher.execute(request);
    FUZZ_CHECK(reply.status == Comm::Ok || reply.status == Comm::AnswerUnwritable);
    const EditableDocument *doc = docs.at(0);
    const int len = int(doc->text().size());
    FUZZ_CHECK(doc->selStart() >= 0 && doc->selLength() >= 0 && doc->selStart() + doc->selLength() <= len);
    if ((request.message == Comm::GetText || request.message == Comm::GetSelection) && reply.result != 0) {
        FUZZ_CHECK(request.lParam > 0 && quint32(reply.answer.size()) <= request.lParam - 1);
        FUZZ_CHECK(reply.result == quint32(reply.answer.size()) + 1);
        FUZZ_CHECK((request.wParam & Comm::Utf8Flag) == 0 || Utf8::check(reply.answer).valid);
    } else {
        FUZZ_CHECK(reply.answer.isEmpty());
    }
    // The reply travels as a frame of its own and reads back the same.
    CommFrameDecoder back(CommFrameDecoder::Reply);
    FUZZ_CHECK(back.feed(encodeReply(reply)) == CommFrameDecoder::Complete && sameReply(back.reply(), reply));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const auto kind = (data[0] & 1) ? CommFrameDecoder::Reply : CommFrameDecoder::Request;
    const quint32 cap = (data[0] & 2) ? 64 : Comm::MaxBlock;
    quint32 seed = data[1] | 1u;
    const QByteArray stream(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    CommFrameDecoder whole(kind, cap);
    whole.feed(stream);
    CommFrameDecoder trickled(kind, cap);
    bool failedOnce = false;
    for (qsizetype pos = 0; pos < stream.size();) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype piece = std::min<qsizetype>(stream.size() - pos, 1 + (seed >> 16) % 23);
        const CommFrameDecoder::State s = trickled.feed(QByteArrayView(stream).sliced(pos, piece));
        if (failedOnce)
            FUZZ_CHECK(s == CommFrameDecoder::Failed); // a failed frame stays failed
        failedOnce = s == CommFrameDecoder::Failed;
        pos += piece;
    }
    FUZZ_CHECK(whole.state() == trickled.state() && whole.started() == !stream.isEmpty());
    if (whole.state() == CommFrameDecoder::Complete) {
        // A complete frame is the whole stream, and writing it again gives its bytes.
        if (kind == CommFrameDecoder::Request) {
            FUZZ_CHECK(sameRequest(whole.request(), trickled.request()));
            FUZZ_CHECK(encodeRequest(whole.request()) == stream);
        } else {
            FUZZ_CHECK(sameReply(whole.reply(), trickled.reply()));
            FUZZ_CHECK(encodeReply(whole.reply()) == stream);
            FUZZ_CHECK(encodeReplyHeader(whole.reply()) == stream.left(Comm::ReplyHeaderSize));
        }
        // A late byte fails it.
        FUZZ_CHECK(whole.feed("x") == CommFrameDecoder::Failed);
    }
    if (kind == CommFrameDecoder::Reply)
        return 0;

    // Frames one after another, as separate connections, carried out on a document.
    StringDocumentSet docs;
    docs.add(QStringLiteral("<P>Ala ma kota\nz\u0142ota \u0105\u0119 <B>tekst</B>\n\nkoniec"));
    docs.activate(0);
    CommDispatcher dispatcher(
        docs, [](const QString &path) { return path.size() % 3; },
        [](EditableDocument *doc, const QString &opening, const QString &closing) {
            InsertPair(*doc, opening, closing, InsertOptions());
        });
    qsizetype pos = 0;
    int frames = 0;
    while (pos < stream.size() && frames < 64) {
        CommFrameDecoder d(CommFrameDecoder::Request, cap);
        CommFrameDecoder::State s = CommFrameDecoder::NeedMore;
        while (pos < stream.size() && s == CommFrameDecoder::NeedMore)
            s = d.feed(QByteArrayView(stream).sliced(pos++, 1));
        if (s != CommFrameDecoder::Complete)
            break;
        const CommRequest r = d.request();
        FUZZ_CHECK(r.block.size() <= qsizetype(cap));
        checkDispatch(r, dispatcher, docs);
        const bool utf8 = (r.wParam & Comm::Utf8Flag) != 0;
        QString opening, closing;
        if (CommDispatcher::splitPair(r.block, utf8, &opening, &closing))
            FUZZ_CHECK(!opening.contains(QLatin1Char('\r')) && !closing.contains(QLatin1Char('\r')));
        else
            FUZZ_CHECK(utf8);
        const QByteArray answer = CommDispatcher::answerBytes(docs.at(0)->text(), r.lParam, utf8);
        FUZZ_CHECK(quint32(answer.size()) <= (r.lParam ? r.lParam - 1 : 0));
        // A UTF-8 answer is cut between characters only.
        FUZZ_CHECK(!utf8 || Utf8::check(answer).valid);
        ++frames;
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
