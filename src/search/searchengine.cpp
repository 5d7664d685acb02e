#include "search/searchengine.h"
#include "base/largebuffer.h"
#include "search/recenttexts.h"

#include "base/documents.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace SearchTexts {

QString notFound() { return QStringLiteral("Nie znaleziono szukanego wyrażenia."); }

QString findCaption() { return QStringLiteral("Wyszukiwanie: informacja"); }

QString replaceCaption() { return QStringLiteral("Zamiana: informacja"); }

QString errorCaption() { return QStringLiteral("Wyszukiwanie: błąd"); }

QString documentClosed() { return QStringLiteral("Okienko z tym dokumentem zostało już zamknięte!"); }

QString noDocument() { return QStringLiteral("Żaden dokument nie jest otwarty w edytorze!"); }

QString compileError(const Regex &failed)
{
    return QStringLiteral("Błąd w wyrażeniu regularnym.\n") + failed.errorMessage() + QLatin1Char('.');
}

QString findProgress(qsizetype n)
{
    return QStringLiteral("Znaleziono %1 dopasowań. Naciśnij <Esc> aby przerwać wyszukiwanie...").arg(n);
}

QString replaceProgress(qsizetype n)
{
    return QStringLiteral("Znaleziono %1 dopasowań. Naciśnij <Esc> aby przerwać zamienianie...").arg(n);
}

QString findSummary(qsizetype n, const QString &findText)
{
    return QStringLiteral("Znaleziono %1 wystąpień wyrażenia \"").arg(n) + findText + QStringLiteral("\".");
}

QString replaceSummary(qsizetype n, const QString &findText)
{
    return QStringLiteral("Zamieniono %1 wystąpień wyrażenia \"").arg(n) + findText + QStringLiteral("\".");
}

} // namespace SearchTexts

namespace {

// Texts shorter than this grow their rows as they come.
constexpr qsizetype kProjectFrom = qsizetype(1) << 20;

void reserveRows(std::vector<FindResultRow> &rows, qsizetype more)
{
    if (more <= 0)
        return;
    rows.reserve(rows.size() + size_t(more) + 1);
    AdviseLargeBuffer(rows.data(), rows.capacity() * sizeof(FindResultRow));
}

} // namespace

Regex SearchEngine::prepare(const QString &findText, const SearchOptions &options)
{
    Regex re;
    const bool dotAll = !(options.regularExpression && options.dotExcludesNewline);
    if (options.regularExpression)
        re.compile(findText, !options.caseSensitive, dotAll);
    else
        re.compileLiteral(findText, !options.caseSensitive, dotAll);
    return re;
}

QStringList SearchEngine::keptHistory(const QStringList &stored)
{
    QStringList list;
    for (const QString &item : stored) {
        if (list.size() == HistorySize)
            break;
        if (!item.isEmpty())
            list << item.left(HistoryEntryLength);
    }
    return list;
}

void SearchEngine::addToHistory(QStringList &items, const QString &text)
{
    const QString entry = text.left(HistoryEntryLength);
    if (entry.isEmpty())
        return;
    for (qsizetype i = items.size() - 1; i >= 0; --i)
        if (items.at(i).compare(entry, Qt::CaseInsensitive) == 0)
            items.removeAt(i);
    items.prepend(entry);
    while (items.size() > HistorySize)
        items.removeLast();
}

SearchEngine::StepResult SearchEngine::findNext(const Regex &regex, EditableDocument &doc)
{
    StepResult result;
    const QString text = doc.text();
    RegexMatcher m(regex, text);
    if (m.matchFrom(qsizetype(doc.selStart()) + doc.selLength())) {
        doc.setSelection(int(m.start()), int(m.length()));
        result.found = true;
    } else if (m.error()) {
        result.error = m.errorMessage();
    }
    return result;
}

SearchEngine::StepResult SearchEngine::replace(
    const Regex &regex, EditableDocument &doc, const QString &replacement, bool specialSequences)
{
    const QString selected = doc.selectedText();
    RegexMatcher m(regex, selected);
    if (m.matchFrom(0) && m.start() == 0 && m.end() == selected.size()) {
        const QString inserted = specialSequences ? SubstitutionTemplate(replacement).apply(m) : replacement;
        doc.takeSnapshot();
        const int start = doc.selStart();
        doc.replaceSelection(inserted);
        doc.setSelection(start, int(inserted.size()));
        doc.setModified(true);
        StepResult next = findNext(regex, doc);
        next.replaced = true;
        return next;
    }
    if (m.error()) {
        StepResult failed;
        failed.error = m.errorMessage();
        return failed;
    }
    return findNext(regex, doc);
}

SearchEngine::SearchEngine() = default;

SearchEngine::RunResult SearchEngine::findAll(
    const Regex &regex, DocumentSet &docs, const SearchOptions &options, const QString &findText)
{
    return run(regex, docs, options, findText, nullptr);
}

SearchEngine::RunResult SearchEngine::replaceAll(const Regex &regex, DocumentSet &docs,
    const SearchOptions &options, const QString &findText, const QString &replacement)
{
    return run(regex, docs, options, findText, &replacement);
}

SearchEngine::RunResult SearchEngine::run(const Regex &regex, DocumentSet &docs, const SearchOptions &options,
    const QString &findText, const QString *replacement)
{
    RunResult result;
    std::vector<EditableDocument *> targets;
    if (options.allDocuments) {
        for (int i = 0; i < docs.count(); ++i)
            targets.push_back(docs.at(i));
    } else if (EditableDocument *doc = docs.active()) {
        targets.push_back(doc);
    }

    const bool replacing = replacement != nullptr;
    const SubstitutionTemplate templ(replacing ? *replacement : QString());
    const bool perMatch = replacing && options.specialSequences && !templ.isConstant();
    // Without special sequences (or with a template that names no group) every row shares one text.
    QString constantText;
    if (replacing)
        constantText
            = options.specialSequences ? SubstitutionTemplate::substitute(*replacement, {}) : *replacement;

    RecentTexts matchedTexts;
    RecentTexts insertedTexts;
    QElapsedTimer sincePoll;
    sincePoll.start();
    // Reading the clock costs about as much as finding a match: it is read every so
    // many matches only.
    constexpr int kClockStride = 64;
    int sinceClock = 0;
    auto pollDue = [&] {
        if (m_pollInterval <= 0)
            return true;
        if (++sinceClock < kClockStride)
            return false;
        sinceClock = 0;
        if (sincePoll.elapsed() < m_pollInterval)
            return false;
        sincePoll.restart();
        return true;
    };

    for (EditableDocument *doc : targets) {
        if (replacing)
            doc->takeSnapshot();
        const int selStart = doc->selStart();
        const int selLength = doc->selLength();
        const QString subject = options.inSelection ? doc->selectedText() : doc->text();
        const qsizetype base = options.inSelection ? selStart : 0;
        const QString docName = QFileInfo(doc->state().fileName).fileName();
        const int id = doc->documentId();

        QString built;
        if (replacing) {
            built.reserve(subject.size());
            AdviseLargeBuffer(built.data(), std::size_t(built.capacity()) * sizeof(QChar));
        }
        qsizetype copyPoint = 0;
        qsizetype n = 0;
        // In a long text the rows are reserved once, for as many as the first stretch
        // promises: growing a vector of a million rows step by step copies and faults
        // in twice the memory.
        qsizetype checkpoint = subject.size() >= kProjectFrom ? subject.size() / 16 : -1;
        RegexMatcher m(regex, subject);
        while (m.findNext()) {
            if (checkpoint >= 0 && m.end() >= checkpoint) {
                checkpoint = -1;
                const double perChar = double(n + 1) / double(std::max<qsizetype>(m.end(), 1));
                reserveRows(result.rows, qsizetype(perChar * double(subject.size()) * 1.1) - n);
            }
            FindResultRow &row = result.rows.emplace_back();
            row.text = matchedTexts.get(m.matched());
            row.document = docName;
            row.documentId = id;
            if (replacing) {
                built += QStringView(subject).mid(copyPoint, m.start() - copyPoint);
                const qsizetype before = built.size();
                if (perMatch) {
                    templ.appendTo(built, m);
                    row.replacement = insertedTexts.get(QStringView(built).mid(before));
                } else {
                    built += constantText;
                    row.replacement = constantText;
                }
                copyPoint = m.end();
                row.position = base + before;
                row.image = FindResultRow::Replaced;
            } else {
                row.position = base + m.start();
                row.image = FindResultRow::Found;
            }
            ++n;
            // A held Esc stops every later document after its first match.
            if (result.cancelled)
                break;
            if (pollDue()) {
                if (m_progress)
                    m_progress(replacing ? SearchTexts::replaceProgress(n) : SearchTexts::findProgress(n));
                if (m_cancel && m_cancel()) {
                    result.cancelled = true;
                    break;
                }
            }
        }
        if (m.error() && result.error.isEmpty())
            result.error = m.errorMessage();
        if (n > 0 && m_progress)
            m_progress(replacing ? SearchTexts::replaceProgress(n) : SearchTexts::findProgress(n));
        result.count += n;

        if (replacing) {
            if (n > 0) {
                built += QStringView(subject).mid(copyPoint);
                if (options.inSelection) {
                    doc->setSelection(selStart, selLength);
                    doc->replaceSelection(built);
                    doc->setSelection(selStart, int(built.size()));
                } else {
                    doc->setText(built);
                    doc->setSelection(selStart, selLength);
                }
            }
            // The text is unchanged when nothing matched, so it is not written; the
            // document is still marked modified, as every Replace all does.
            doc->setModified(true);
        }
    }

    // A projection far above the count (matches crowded at the start) gives back its memory.
    if (result.rows.capacity() > 2 * result.rows.size() + 4096)
        result.rows.shrink_to_fit();

    FindResultRow summary;
    summary.text = replacing ? SearchTexts::replaceSummary(result.count, findText)
                             : SearchTexts::findSummary(result.count, findText);
    summary.image = FindResultRow::Summary;
    result.rows.push_back(std::move(summary));
    return result;
}

SearchEngine::JumpResult SearchEngine::jumpTo(DocumentSet &docs, const FindResultRow &row)
{
    if (row.image == FindResultRow::Summary)
        return JumpResult::Ignored;
    const int index = docs.indexOfId(row.documentId);
    if (index < 0)
        return JumpResult::DocumentClosed;
    docs.activate(index);
    const QString &selected = row.image == FindResultRow::Replaced ? row.replacement : row.text;
    docs.at(index)->setSelection(int(row.position), int(selected.size()));
    return JumpResult::Selected;
}
