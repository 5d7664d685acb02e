#include "services/snippetfile.h"

#include <QSet>
#include <QStringDecoder>

namespace {
constexpr QStringView kHeader = u"Wstawka:";
constexpr QStringView kLine = u"|";
const QString kComment
    = QStringLiteral("; Wstawki programu Markora (UTF-8). \"Wstawka: nazwa\" zaczyna wstawkę,"
                     " każdy wiersz jej tekstu stoi po \"| \".");
} // namespace

QByteArray WriteSnippetFile(const QList<Snippet> &snippets)
{
    QString out = kComment + QStringLiteral("\r\n");
    for (const Snippet &s : snippets) {
        if (!SnippetStore::isValidName(s.name))
            continue;
        out += kHeader.toString() + u' ' + s.name + QStringLiteral("\r\n");
        QString text = s.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        for (const QStringView line : QStringView(text).split(u'\n'))
            out += kLine.toString() + u' ' + line.toString() + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

SnippetFile ReadSnippetFile(QByteArrayView bytes)
{
    SnippetFile file;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(bytes);
    if (decode.hasError()) {
        file.readable = false;
        return file;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QSet<QString> names;
    Snippet *current = nullptr;
    bool skipping = false; // the lines of a snippet refused for its name
    QStringList lines;
    const QList<QStringView> rows = QStringView(text).split(u'\n');
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QStringView row = rows[i];
        if (row.endsWith(u'\r'))
            row.chop(1);
        const int lineNo = int(i + 1);
        auto flush = [&] {
            if (current)
                current->text = lines.join(u'\n');
            lines.clear();
        };
        if (row.startsWith(kHeader, Qt::CaseInsensitive)) {
            flush();
            current = nullptr;
            skipping = true;
            QStringView name = row.mid(kHeader.size());
            if (name.startsWith(u' '))
                name = name.mid(1);
            const QString n = name.toString();
            if (!SnippetStore::isValidName(n)) {
                file.problems.append({ lineNo, QStringLiteral("wstawka bez nazwy") });
            } else if (names.contains(n)) {
                file.problems.append({ lineNo, QStringLiteral("powtórzona nazwa „%1”").arg(n) });
            } else {
                names.insert(n);
                file.snippets.append({ n, QString() });
                current = &file.snippets.last();
                skipping = false;
            }
        } else if (row.startsWith(kLine)) {
            QStringView line = row.mid(kLine.size());
            if (line.startsWith(u' '))
                line = line.mid(1);
            if (current)
                lines.append(line.toString());
            else if (!skipping)
                file.problems.append({ lineNo, QStringLiteral("wiersz tekstu przed pierwszą wstawką") });
        } else if (!row.trimmed().isEmpty() && !row.startsWith(u';')) {
            file.problems.append({ lineNo, QStringLiteral("wiersz niezrozumiały: „%1”").arg(row.left(60)) });
        }
        if (i + 1 == rows.size())
            flush();
    }
    return file;
}
