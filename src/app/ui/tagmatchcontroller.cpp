#include "app/ui/tagmatchcontroller.h"

#include "app/ui/documentmanager.h"

#include <QAction>
#include <QTextCursor>
#include <QTimer>

namespace {

// A pair found, and a tag whose partner is not there or not within reach.
const QColor kPairColour(255, 226, 140);
const QColor kLoneColour(255, 190, 190);

QTextEdit::ExtraSelection mark(QTextDocument *doc, const TagToken &t, const QColor &colour)
{
    QTextEdit::ExtraSelection s;
    s.cursor = QTextCursor(doc);
    s.cursor.setPosition(t.start);
    s.cursor.setPosition(t.end, QTextCursor::KeepAnchor);
    s.format.setBackground(colour);
    return s;
}

QString noTagText() { return QStringLiteral("Kursor nie stoi na znaczniku."); }
QString noParentText() { return QStringLiteral("Zaznaczenia nie obejmuje żaden element."); }

} // namespace

TagMatchController::TagMatchController(QWidget &window, DocumentManager &documents)
    : QObject(&window)
    , m_documents(documents)
{
    m_rest = new QTimer(this);
    m_rest->setSingleShot(true);
    m_rest->setInterval(RestDelay);
    connect(m_rest, &QTimer::timeout, this, &TagMatchController::refresh);

    m_jump = new QAction(QStringLiteral("Przejdź do &pary znacznika"), &window);
    m_jump->setObjectName(QStringLiteral("EdycjaParaZnacznika1"));
    m_jump->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    m_jump->setShortcutContext(Qt::WindowShortcut);
    connect(m_jump, &QAction::triggered, this, &TagMatchController::EdycjaParaZnacznika1Click);
    m_select = new QAction(QStringLiteral("Zaznacz &element"), &window);
    m_select->setObjectName(QStringLiteral("EdycjaZaznaczElement1"));
    m_select->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    m_select->setShortcutContext(Qt::WindowShortcut);
    connect(m_select, &QAction::triggered, this, &TagMatchController::EdycjaZaznaczElement1Click);

    connect(&documents, &DocumentManager::activeDocumentChanged, this, &TagMatchController::follow);
    follow(documents.currentEditorOrNull());
}

void TagMatchController::follow(TEditor *editor)
{
    if (m_editor == editor)
        return;
    if (m_editor) {
        disconnect(m_editor, nullptr, this, nullptr);
        m_editor->setExtraSelections({});
    }
    m_editor = editor;
    m_shown = TagMatch();
    if (!editor)
        return;
    // Typing moves the caret too: one look once the caret rests. A deletion ahead of the
    // caret leaves it where it was, but not the tags.
    connect(editor, &QPlainTextEdit::cursorPositionChanged, m_rest, qOverload<>(&QTimer::start));
    connect(editor, &QPlainTextEdit::textChanged, m_rest, qOverload<>(&QTimer::start));
    m_rest->start();
}

void TagMatchController::refresh()
{
    m_rest->stop();
    TEditor *e = m_editor;
    if (!e) {
        m_shown = TagMatch();
        return;
    }
    const QTextCursor c = e->textCursor();
    const TagMatch m = TagMatcher(e->textAccess(), HtmlTagRules::standard(), m_budget).matchAt(c.position());
    show(e, m);
    if (m.status == TagMatch::TooFar)
        Q_EMIT statusMessage(TagMatcher::tooFarText());
}

void TagMatchController::show(TEditor *e, const TagMatch &m)
{
    m_shown = m;
    QList<QTextEdit::ExtraSelection> marks;
    switch (m.status) {
    case TagMatch::NoTag:
        break;
    case TagMatch::Matched:
        marks << mark(e->document(), m.tag, kPairColour) << mark(e->document(), m.partner, kPairColour);
        break;
    case TagMatch::Single:
    case TagMatch::ImpliedEnd:
        marks << mark(e->document(), m.tag, kPairColour);
        break;
    case TagMatch::NoPartner:
    case TagMatch::TooFar:
        marks << mark(e->document(), m.tag, kLoneColour);
        break;
    }
    e->setExtraSelections(marks);
}

void TagMatchController::EdycjaParaZnacznika1Click()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return;
    const TagMatch m
        = TagMatcher(e->textAccess(), HtmlTagRules::standard(), m_budget).matchAt(e->textCursor().position());
    switch (m.status) {
    case TagMatch::Matched:
        e->setSelection(m.partner.start, 0);
        break;
    case TagMatch::ImpliedEnd:
        // The element ends where the next one begins: the caret goes there.
        e->setSelection(m.elementEnd, 0);
        break;
    case TagMatch::TooFar:
        Q_EMIT statusMessage(TagMatcher::tooFarText());
        break;
    case TagMatch::Single:
    case TagMatch::NoPartner:
        Q_EMIT statusMessage(TagMatcher::noPartnerText());
        break;
    case TagMatch::NoTag:
        Q_EMIT statusMessage(noTagText());
        break;
    }
    if (e == m_editor)
        refresh();
}

void TagMatchController::EdycjaZaznaczElement1Click()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return;
    const ElementRange r = TagMatcher(e->textAccess(), HtmlTagRules::standard(), m_budget)
                               .elementAround(e->selStart(), e->selStart() + e->selLength());
    switch (r.status) {
    case ElementRange::Found:
        e->setSelection(r.start, r.end - r.start);
        break;
    case ElementRange::TooFar:
        Q_EMIT statusMessage(TagMatcher::tooFarText());
        break;
    case ElementRange::None:
        Q_EMIT statusMessage(noParentText());
        break;
    }
}
