#include "insert/insertion.h"

#include "base/documents.h"

QString LowerCaseTags(QStringView text)
{
    QString out = text.toString();
    bool inTag = true;
    bool quoted = false;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (!inTag) {
            // Quotes in the text between tags are ordinary characters: a lone inch mark
            // must not keep the following tags upper case.
            if (c == u'<')
                inTag = true;
            continue;
        }
        if (c == u'>') {
            // Also inside quotes: a closing such as "\"></A>" ends the value and the tag.
            inTag = false;
            quoted = false;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted) {
            out[i] = c.toLower(); // simple case mapping: one UTF-16 unit for another
        }
    }
    return out;
}

namespace {

InsertionResult wrap(EditableDocument &doc, const QString &opening, const QString &closing,
    const InsertOptions &options, bool block)
{
    InsertionResult r;
    r.opening = options.lowerCase ? LowerCaseTags(opening) : opening;
    r.closing = options.lowerCase ? LowerCaseTags(closing) : closing;
    r.interpret = options.autoInterpretation;
    if (options.autoInterpretation)
        doc.takeSnapshot();

    const int start = doc.selStart();
    const int length = doc.selLength();
    QString text;
    if (block) {
        text = QLatin1Char('\n') + r.opening + doc.selectedText();
        if (!r.closing.isEmpty())
            text += QLatin1Char('\n') + r.closing;
        r.selStart = start + int(r.opening.size()) + 1;
    } else {
        text = r.opening + doc.selectedText() + r.closing;
        r.selStart = start + int(r.opening.size());
    }
    r.selLength = length;
    doc.replaceSelection(text);
    doc.setSelection(r.selStart, r.selLength);
    return r;
}

} // namespace

InsertionResult InsertPair(
    EditableDocument &doc, const QString &opening, const QString &closing, const InsertOptions &options)
{
    return wrap(doc, opening, closing, options, false);
}

InsertionResult InsertBlock(
    EditableDocument &doc, const QString &opening, const QString &closing, const InsertOptions &options)
{
    return wrap(doc, opening, closing, options, true);
}

InsertionResult InsertPlain(EditableDocument &doc, const QString &text)
{
    doc.takeSnapshot();
    doc.replaceSelection(text);
    InsertionResult r;
    r.opening = text;
    r.selStart = doc.selStart();
    r.selLength = doc.selLength();
    return r;
}
