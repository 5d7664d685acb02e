#include "ipc/commdispatcher.h"

#include "base/codepage.h"
#include "base/documents.h"
#include "base/utf8.h"

#include <QDir>
#include <QtEndian>
#include <climits>

namespace {

// Bytes one character (or surrogate pair) takes in Windows-1250 output; *width gets
// the number of UTF-16 units it spans.
qsizetype encodedSize(QStringView text, qsizetype i, qsizetype *width)
{
    const char16_t c = text.at(i).unicode();
    *width = 1;
    if (CodePage::fromUnicode(c, CodePage::Windows1250) >= 0)
        return 1;
    char32_t cp = c;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        cp = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
        *width = 2;
    }
    return 3 + QByteArray::number(quint32(cp)).size(); // "&#" digits ";"
}

} // namespace

CommDispatcher::CommDispatcher(DocumentSet &documents, OpenFn open, InsertPairFn insertPair)
    : m_documents(documents)
    , m_open(std::move(open))
    , m_insertPair(std::move(insertPair))
{
}

std::optional<QString> CommDispatcher::blockText(QByteArrayView block, bool utf8)
{
    const qsizetype nul = block.indexOf('\0');
    const QByteArrayView bytes = nul < 0 ? block : block.first(nul);
    QString text;
    if (utf8) {
        // Bytes that are not UTF-8 would come out changed: refused, not guessed at.
        std::optional<QString> decoded = Utf8::decode(bytes);
        if (!decoded)
            return std::nullopt;
        text = std::move(*decoded);
    } else {
        text = CodePage::decode(bytes, CodePage::Windows1250);
    }
    // Documents hold '\n' only; a client on Windows sends CR LF.
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

bool CommDispatcher::splitPair(QByteArrayView block, bool utf8, QString *opening, QString *closing)
{
    const qsizetype nul = block.indexOf('\0');
    const std::optional<QString> first = blockText(block, utf8);
    const std::optional<QString> second = nul < 0 ? QString() : blockText(block.sliced(nul + 1), utf8);
    if (!first || !second)
        return false;
    *opening = *first;
    *closing = *second;
    return true;
}

QByteArray CommDispatcher::answerBytes(QStringView text, quint32 bufferSize, bool utf8)
{
    if (bufferSize == 0)
        return QByteArray();
    const qsizetype limit = std::min<qsizetype>(qsizetype(bufferSize) - 1, Comm::MaxBlock);
    // Every character takes at least one byte either way, so no more are needed.
    QStringView cut = text.first(std::min(limit, text.size()));
    // Never leave half a surrogate pair at the end.
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    if (utf8) {
        QByteArray bytes = Utf8::encode(cut);
        if (bytes.size() > limit) {
            // Cut before the first character that no longer fits whole.
            qsizetype end = limit;
            while (end > 0 && (uchar(bytes.at(end)) & 0xC0) == 0x80)
                --end;
            bytes.truncate(end);
        }
        return bytes;
    }
    QByteArray bytes = CodePage::encode(cut, CodePage::Windows1250);
    if (bytes.size() <= limit)
        return bytes;
    // Numeric references made it longer than the buffer: cut before the first
    // character that no longer fits.
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < cut.size()) {
        qsizetype width;
        const qsizetype size = encodedSize(cut, i, &width);
        if (used + size > limit)
            break;
        used += size;
        i += width;
    }
    return CodePage::encode(cut.first(i), CodePage::Windows1250);
}

EditableDocument *CommDispatcher::addressed(quint32 wParam)
{
    const int id = qint16(quint16(wParam & 0xFFFF));
    const int index = id == -1 ? m_documents.activeIndex() : (id == 0 ? -1 : m_documents.indexOfId(id));
    if (index < 0 || index >= m_documents.count())
        return nullptr;
    m_documents.activate(index);
    return m_documents.at(index);
}

CommReply CommDispatcher::execute(const CommRequest &request)
{
    CommReply reply;
    if (!Comm::isKnownMessage(request.message))
        return reply;

    const bool utf8 = (request.wParam & Comm::Utf8Flag) != 0;
    if (request.message == Comm::OpenFile) {
        const std::optional<QString> path = blockText(request.block, utf8);
        // The editor cannot know the client's working folder: only full paths are opened.
        if (!path || path->isEmpty() || !QDir::isAbsolutePath(*path) || !m_open)
            return reply;
        reply.result = quint32(std::max(0, m_open(*path)));
        return reply;
    }
    // A text that cannot be read changes nothing, not even the active tab.
    std::optional<QString> text;
    QString opening, closing;
    if (request.message == Comm::ReplaceSelection || request.message == Comm::SetText) {
        text = blockText(request.block, utf8);
        if (!text)
            return reply;
    } else if (request.message == Comm::InsertPair && !splitPair(request.block, utf8, &opening, &closing)) {
        return reply;
    }

    EditableDocument *doc = addressed(request.wParam);
    if (!doc)
        return reply;

    switch (request.message) {
    case Comm::SelectLine: {
        const TextAccess &access = doc->textAccess();
        const quint32 line = request.lParam;
        if (line >= quint32(access.lineCount()))
            return reply;
        const int start = access.lineStart(int(line));
        const int end
            = int(line) + 1 < access.lineCount() ? access.lineStart(int(line) + 1) - 1 : access.length();
        doc->setSelection(start, end - start);
        break;
    }
    case Comm::ReplaceSelection:
        doc->takeSnapshot();
        doc->replaceSelection(*text);
        break;
    case Comm::InsertPair: {
        if (!m_insertPair)
            return reply;
        m_insertPair(doc, opening, closing);
        reply.result = 1;
        return reply;
    }
    case Comm::GetSelection:
    case Comm::GetText: {
        if (request.lParam == 0) {
            reply.status = Comm::AnswerUnwritable;
            return reply;
        }
        const qsizetype wanted = std::min<qsizetype>(qsizetype(request.lParam) - 1, Comm::MaxBlock);
        QString answer;
        if (request.message == Comm::GetSelection) {
            answer = doc->selectedText();
        } else {
            // Copy only what the buffer can take; one character more keeps a
            // surrogate pair at the cut whole for answerBytes to drop.
            const TextAccess &access = doc->textAccess();
            answer = wanted >= access.length() ? doc->text() : access.mid(0, int(wanted) + 1);
        }
        reply.answer = answerBytes(answer, request.lParam, utf8);
        reply.result = quint32(reply.answer.size()) + 1;
        return reply;
    }
    case Comm::SetText:
        doc->takeSnapshot();
        doc->setText(*text);
        break;
    case Comm::SetSelection:
        if (utf8 && request.block.size() >= 8) {
            // Positions past 65,535, clipped to the text here so that no int overflows.
            const quint32 length = quint32(doc->textAccess().length());
            const quint32 start = std::min(qFromLittleEndian<quint32>(request.block.constData()), length);
            const quint32 count
                = std::min(qFromLittleEndian<quint32>(request.block.constData() + 4), length - start);
            doc->setSelection(int(start), int(count));
        } else {
            doc->setSelection(int(request.lParam >> 16), int(request.lParam & 0xFFFF));
        }
        break;
    default:
        return reply;
    }
    reply.result = quint32(doc->selStart()) + 1;
    return reply;
}
