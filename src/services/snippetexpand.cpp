#include "services/snippetexpand.h"

SnippetInsertion ExpandSnippet(QStringView snippet, QStringView selection)
{
    QString text = snippet.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');

    SnippetInsertion r;
    QString *out = &r.opening;
    int caretInOpening = -1;
    int caretInClosing = -1;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype sel = text.indexOf(kSnippetSelectionMarker, pos);
        const qsizetype caret = text.indexOf(kSnippetCaretMarker, pos);
        if (sel < 0 && caret < 0)
            break;
        const bool isCaret = sel < 0 || (caret >= 0 && caret < sel);
        const qsizetype at = isCaret ? caret : sel;
        out->append(QStringView(text).mid(pos, at - pos));
        if (isCaret) {
            if (caretInOpening < 0 && caretInClosing < 0)
                (r.pair ? caretInClosing : caretInOpening) = int(out->size());
            pos = at + kSnippetCaretMarker.size();
        } else {
            if (r.pair)
                out->append(selection);
            r.pair = true;
            out = &r.closing;
            pos = at + kSnippetSelectionMarker.size();
        }
    }
    out->append(QStringView(text).mid(pos));
    if (caretInOpening >= 0)
        r.caret = caretInOpening;
    else if (caretInClosing >= 0)
        r.caret = int(r.opening.size() + selection.size()) + caretInClosing;
    return r;
}
