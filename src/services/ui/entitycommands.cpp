#include "services/ui/entitycommands.h"

#include "base/documents.h"
#include "services/entities.h"

#include <QAction>

EntityCommands::EntityCommands(DocumentSet &docs, QObject *parent)
    : QObject(parent)
    , m_docs(docs)
{
    const auto action = [this](const char *name, const QString &text, Direction direction) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, direction] { convert(direction); });
        return a;
    };
    m_toNamed = action("LiteryNaEncje1", QStringLiteral("Litery na &encje nazwane"), Direction::ToNamed);
    m_toNumeric = action("LiteryNaKody1", QStringLiteral("Litery na encje &liczbowe"), Direction::ToNumeric);
    m_toLetters = action("EncjeNaLitery1", QStringLiteral("E&ncje na litery"), Direction::ToLetters);
}

int EntityCommands::convert(Direction direction)
{
    EditableDocument *doc = m_docs.active();
    if (!doc)
        return 0;
    const int selStart = doc->selStart();
    const int selLength = doc->selLength();
    const bool whole = selLength == 0;
    const QString before = whole ? doc->text() : doc->selectedText();
    int count = 0;
    const QString after = direction == Direction::ToLetters
        ? HtmlEntities::decode(before, &count)
        : HtmlEntities::encode(before,
            direction == Direction::ToNamed ? HtmlEntities::Form::Named : HtmlEntities::Form::Numeric,
            &count);
    const bool toLetters = direction == Direction::ToLetters;
    if (count == 0) {
        Q_EMIT statusMessage(toLetters ? QStringLiteral("Nie ma encji do zamiany na litery.")
                                       : QStringLiteral("Nie ma liter do zamiany na encje."));
        return 0;
    }
    doc->takeSnapshot();
    if (whole) {
        doc->setText(after);
        // The caret stays where it was, as far as the text reaches.
        doc->setSelection(selStart, 0);
    } else {
        doc->replaceSelection(after);
        doc->setSelection(selStart, int(after.size()));
    }
    doc->setModified(true);
    Q_EMIT statusMessage((toLetters ? QStringLiteral("Encje zamienione na litery: %1.")
                                    : QStringLiteral("Litery zamienione na encje: %1."))
                             .arg(count));
    Q_EMIT refreshRequested();
    return count;
}
