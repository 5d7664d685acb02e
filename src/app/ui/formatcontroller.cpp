#include "app/ui/formatcontroller.h"

#include "app/ui/documentmanager.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <utility>

FormatController::FormatController(QWidget &window, DocumentManager &documents)
    : QObject(&window)
    , m_documents(documents)
{
    m_codePages = new QMenu(QStringLiteral("&Kodowanie pl"), &window);
    m_codePages->setObjectName(QStringLiteral("Kodowaniepl1"));
    m_win = addChoice(m_codePages, QStringLiteral("Win1"), QStringLiteral("&Windows 1250 (lub brak)"));
    m_iso = addChoice(m_codePages, QStringLiteral("ISO1"), QStringLiteral("&ISO 8859-2"));
    m_utf8 = addChoice(m_codePages, QStringLiteral("UTF81"), QStringLiteral("&UTF-8"));
    const auto codePage = [this](QAction *a, DocumentEncoding encoding) {
        connect(a, &QAction::triggered, this, [this, encoding] {
            m_documents.setEncoding(m_documents.currentEditorOrNull(), encoding);
            Q_EMIT changed();
        });
    };
    codePage(m_win, DocumentEncoding::fromIso(false));
    codePage(m_iso, DocumentEncoding::fromIso(true));
    codePage(m_utf8, DocumentEncoding::utf8());

    m_lineBreaks = new QMenu(QStringLiteral("Koniec &wiersza"), &window);
    m_lineBreaks->setObjectName(QStringLiteral("KoniecWiersza1"));
    m_crLf = addChoice(m_lineBreaks, QStringLiteral("KoniecCRLF1"), QStringLiteral("CR LF (&Windows)"));
    m_lf = addChoice(m_lineBreaks, QStringLiteral("KoniecLF1"), QStringLiteral("&LF (Unix, Linux, macOS)"));
    m_cr = addChoice(m_lineBreaks, QStringLiteral("KoniecCR1"), QStringLiteral("&CR (dawny Mac OS)"));
    const auto lineBreak = [this](QAction *a, LineBreak lb) {
        connect(a, &QAction::triggered, this, [this, lb] {
            m_documents.setLineBreak(m_documents.currentEditorOrNull(), lb);
            Q_EMIT changed();
        });
    };
    lineBreak(m_crLf, LineBreak::CrLf);
    lineBreak(m_lf, LineBreak::Lf);
    lineBreak(m_cr, LineBreak::Cr);
}

QAction *FormatController::addChoice(QMenu *menu, const QString &objectName, const QString &text)
{
    auto *group = menu->findChild<QActionGroup *>();
    if (!group)
        group = new QActionGroup(menu);
    auto *a = new QAction(text, menu);
    a->setObjectName(objectName);
    a->setCheckable(true);
    group->addAction(a);
    menu->addAction(a);
    return a;
}

QString FormatController::codePageText(const TEditor *editor)
{
    return editor ? editor->state().encoding.statusName() : QStringLiteral("?");
}

QString FormatController::lineBreakText(const TEditor *editor)
{
    if (!editor)
        return QStringLiteral("?");
    const DocumentState &state = editor->state();
    return LineBreakName(state.lineBreak) + (state.mixedBreaks ? QStringLiteral(" (mieszane)") : QString());
}

QString FormatController::codePageTip(const TEditor *editor)
{
    if (!editor)
        return QString();
    const DocumentEncoding &encoding = editor->state().encoding;
    return QStringLiteral("Kodowanie, w którym dokument zostanie zapisany: ") + encoding.charsetName()
        + (encoding.bom ? QStringLiteral(" ze znacznikiem kolejności bajtów (BOM)") : QString());
}

QString FormatController::lineBreakTip(const TEditor *editor)
{
    if (!editor)
        return QString();
    const DocumentState &state = editor->state();
    QString tip = QStringLiteral("Koniec wiersza, z którym dokument zostanie zapisany: ")
        + LineBreakName(state.lineBreak);
    if (state.mixedBreaks)
        tip += QStringLiteral("\nWczytany plik miał różne końce wierszy; zapis ujednolici je.");
    return tip;
}

void FormatController::refresh(const TEditor *editor)
{
    const DocumentState *state = editor ? &editor->state() : nullptr;
    const DocumentEncoding::Id page = state ? state->encoding.codePage : DocumentEncoding::Windows1250;
    const LineBreak lineBreak = state ? state->lineBreak : LineBreak::CrLf;
    // A UTF-16 document checks none of the code pages. Unchecked first: the group keeps
    // one entry checked at a time.
    const std::pair<QAction *, bool> states[]
        = { { m_win, page == DocumentEncoding::Windows1250 }, { m_iso, page == DocumentEncoding::Iso8859_2 },
              { m_utf8, page == DocumentEncoding::Utf8 }, { m_crLf, lineBreak == LineBreak::CrLf },
              { m_lf, lineBreak == LineBreak::Lf }, { m_cr, lineBreak == LineBreak::Cr } };
    for (const bool on : { false, true })
        for (const auto &[action, checked] : states)
            if ((state && checked) == on)
                action->setChecked(on);
}
