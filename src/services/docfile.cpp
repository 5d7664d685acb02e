#include "services/docfile.h"

#include "services/charsetdetect.h"
#include "services/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

// Turns CR LF and lone CR into '\n', compacting the string in place.
void normaliseLineBreaks(QString &text)
{
    const qsizetype first = text.indexOf(u'\r');
    if (first < 0)
        return;
    QChar *d = text.data();
    const qsizetype n = text.size();
    qsizetype w = first;
    for (qsizetype r = first; r < n; ++r) {
        const QChar c = d[r];
        if (c == u'\r') {
            d[w++] = u'\n';
            if (r + 1 < n && d[r + 1] == u'\n')
                ++r;
        } else {
            d[w++] = c;
        }
    }
    text.truncate(w);
}

// '\n' becomes CR LF; bytes otherwise untouched.
QByteArray withCrLf(const QByteArray &bytes)
{
    const qsizetype breaks = std::count(bytes.cbegin(), bytes.cend(), '\n');
    if (breaks == 0)
        return bytes;
    QByteArray out(bytes.size() + breaks, Qt::Uninitialized);
    char *d = out.data();
    for (const char c : bytes) {
        if (c == '\n')
            *d++ = '\r';
        *d++ = c;
    }
    return out;
}

} // namespace

LoadResult LoadDocumentFile(const QString &path, int mode, bool defaultIso, int tabWidth)
{
    LoadResult result;
    if (QFileInfo(path).isDir()) {
        result.errorText = QFile::tr("Is a directory");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorText = file.errorString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.errorText = file.errorString();
        return result;
    }
    file.close();

    result.iso = DetectIso(QByteArrayView(bytes), mode, defaultIso);
    QString text = CodePage::decode(bytes, result.iso ? CodePage::Iso8859_2 : CodePage::Windows1250);
    normaliseLineBreaks(text);
    if (text.contains(u'\t'))
        text = ExpandTabs(text, tabWidth);
    result.text = std::move(text);
    result.ok = true;
    return result;
}

SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso)
{
    SaveResult result;
    const QByteArray bytes = withCrLf(
        CodePage::encode(text, iso ? CodePage::Iso8859_2 : CodePage::Windows1250, &result.unmappable));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.errorText = file.errorString();
        return result;
    }
    if (file.write(bytes) != bytes.size()) {
        result.errorText = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.errorText = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}
