#include "services/ui/spellhighlighter.h"

#include "editor/ui/documenttextaccess.h"
#include "editor/ui/tcolormemo.h"
#include "services/spelling.h"

#include <QEvent>

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
    const DocumentTextAccess text(m_editor->document());
    QVector<TWavyMark> marks;
    for (const SpellWord &w : m_spelling->misspelt(text, from, to))
        marks.append({ w.position, w.length });
    m_editor->setWavyMarks(marks);
}
