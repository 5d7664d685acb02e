#include "services/ui/spellhighlighter.h"

#include "editor/ui/documenttextaccess.h"
#include "editor/ui/tcolormemo.h"
#include "services/spelling.h"

#include <QEvent>
#include <QTextBlock>
#include <algorithm>

namespace {
// The characters [start, end) of the document, block by block: a block read whole is
// copied in one piece (far faster than line lookups by number), only a part of a long
// one character by character.
QString readStretch(const QTextDocument *doc, int start, int end)
{
    QString out;
    out.reserve(end - start);
    QTextBlock b = doc->findBlock(start);
    // A block's position is a search of the document: it is counted along instead.
    for (int pos = b.isValid() ? b.position() : end; b.isValid() && pos < end; b = b.next()) {
        const int length = b.length(); // the separator included
        const int from = std::max(start, pos);
        const int to = std::min(end, pos + length);
        if (from == pos && to == pos + length && b.next().isValid()) {
            out += b.text();
            out += u'\n';
        } else {
            out += DocumentMid(doc, from, to - from);
        }
        pos += length;
    }
    return out;
}
} // namespace

SpellHighlighter::SpellHighlighter(TColorMemo *editor, std::shared_ptr<Spelling> spelling)
    : QObject(editor)
    , m_editor(editor)
    , m_spelling(std::move(spelling))
{
    setObjectName(QStringLiteral("SpellHighlighter"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SpellHighlighter::checkNow);
    connect(editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_spelling)
            m_timer.start(TypingPauseMs);
    });
    connect(editor, &TColorMemo::OnVScroll, this, &SpellHighlighter::viewMoved);
    connect(editor, &TColorMemo::OnHScroll, this, &SpellHighlighter::viewMoved);
    editor->viewport()->installEventFilter(this);
    viewMoved();
}

SpellHighlighter *SpellHighlighter::of(const TColorMemo *editor)
{
    return editor ? editor->findChild<SpellHighlighter *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void SpellHighlighter::setSpelling(std::shared_ptr<Spelling> spelling)
{
    m_spelling = std::move(spelling);
    checkNow();
}

void SpellHighlighter::viewMoved()
{
    // Typing keeps its longer pause; a view moved alone is checked at once, nearly.
    if (m_spelling && (!m_timer.isActive() || m_timer.remainingTime() > ViewPauseMs))
        m_timer.start(ViewPauseMs);
}

bool SpellHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        viewMoved();
    return QObject::eventFilter(watched, event);
}

void SpellHighlighter::checkNow()
{
    m_timer.stop();
    if (!m_spelling || !m_spelling->isAvailable()) {
        m_editor->setWavyMarks({});
        return;
    }
    const auto [from, to] = m_editor->VisibleRange();
    // What the tokenizer reads of the document around the screen, read here in one pass:
    // through line lookups it would cost several times the check itself. A stretch cut
    // short of the document's end still gives the same words, since a run of characters
    // that long is never checked.
    const QTextDocument *doc = m_editor->document();
    const int start = std::max(0, from - SpellTokenizer::LookBack);
    const int end = std::min(doc->characterCount() - 1, to + SpellTokenizer::MaxRunLength + 1);
    const QString stretch = readStretch(doc, start, end);
    QVector<TWavyMark> marks;
    for (const SpellWord &w : m_spelling->misspelt(stretch, from - start, to - start))
        marks.append({ start + w.position, w.length });
    m_editor->setWavyMarks(marks);
}
