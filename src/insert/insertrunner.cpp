#include "insert/insertrunner.h"

#include "base/documents.h"

InsertCommandRunner::InsertCommandRunner(InsertInteraction *interaction)
    : m_interaction(interaction)
{
}

void InsertCommandRunner::setAutoInterpretation(bool on)
{
    m_autoInterpretation = on;
    m_snapshotWhileCleared = false;
}

InsertRunResult InsertCommandRunner::insert(
    EditableDocument &doc, InsertMode mode, const QString &opening, const QString &closing, bool asWritten)
{
    InsertRunResult result;
    result.mode = mode;
    if (mode == InsertMode::None)
        return result;
    if (mode == InsertMode::Plain) {
        result.insertion = InsertPlain(doc, opening);
        result.inserted = true;
        return result;
    }

    if (!m_autoInterpretation && m_snapshotWhileCleared)
        doc.takeSnapshot();
    const InsertOptions options { m_settings.lowerCase && !asWritten, m_autoInterpretation };
    result.insertion = mode == InsertMode::Block ? InsertBlock(doc, opening, closing, options)
                                                 : InsertPair(doc, opening, closing, options);
    result.inserted = true;

    if (m_chkAuto && result.insertion.interpret && m_interaction && !m_interaction->interpretTag(doc))
        return result;
    // Whole texts are kept: repeating must give exactly what was inserted.
    m_lastOpening = result.insertion.opening;
    m_lastClosing = result.insertion.closing;
    m_hasLast = true;
    return result;
}

InsertRunResult InsertCommandRunner::insertPair(
    EditableDocument &doc, const QString &opening, const QString &closing)
{
    return insert(doc, InsertMode::Pair, opening, closing);
}

InsertRunResult InsertCommandRunner::insertPairAsWritten(
    EditableDocument &doc, const QString &opening, const QString &closing)
{
    return insert(doc, InsertMode::Pair, opening, closing, true);
}

InsertRunResult InsertCommandRunner::insertBlock(
    EditableDocument &doc, const QString &opening, const QString &closing)
{
    return insert(doc, InsertMode::Block, opening, closing);
}

InsertRunResult InsertCommandRunner::repeatLast(EditableDocument &doc)
{
    if (!m_hasLast)
        return InsertRunResult();
    return insert(doc, InsertMode::Pair, m_lastOpening, m_lastClosing);
}

InsertRunResult InsertCommandRunner::run(QStringView name, EditableDocument &doc)
{
    return run(findInsertCommand(name), doc);
}

InsertRunResult InsertCommandRunner::run(int commandIndex, EditableDocument &doc)
{
    const auto &table = insertCommands();
    if (commandIndex < 0 || commandIndex >= int(table.size()))
        return InsertRunResult();
    const InsertCommand &c = table[size_t(commandIndex)];

    std::optional<QString> answer;
    switch (c.kind) {
    case InsertKind::Repeat:
        return repeatLast(doc);
    case InsertKind::AskText:
        if (m_interaction)
            answer = m_interaction->askText(c.title, c.prompt);
        break;
    case InsertKind::StyleFromTag:
        if (m_interaction)
            answer = m_interaction->selectedTagName();
        break;
    default:
        break;
    }
    if (c.clearsAutoInterpretation) {
        m_autoInterpretation = false;
        m_snapshotWhileCleared = true;
    }

    const ResolvedInsertion r = c.kind == InsertKind::Dialog
        ? (m_interaction ? m_interaction->askDialog(c, doc) : ResolvedInsertion())
        : resolveCommand(c, m_settings, answer);
    InsertRunResult result = insert(doc, r.mode, r.opening, r.closing);
    if (!result.inserted)
        return result;
    result.entryMode = c.entryMode;

    // Only the code page changes; a UTF-8 document keeps its byte-order mark choice.
    DocumentEncoding &encoding = doc.state().encoding;
    if (c.kind == InsertKind::CharsetDeclaration && encoding.codePage != c.declarationCodePage
        && m_interaction && m_interaction->askYesNo(c.title, c.prompt))
        encoding = { c.declarationCodePage, c.declarationCodePage == DocumentEncoding::Utf8 && encoding.bom };
    return result;
}
