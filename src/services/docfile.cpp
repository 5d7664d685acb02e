#include "services/docfile.h"
#include "services/largebuffer.h"

#include "services/charsetdetect.h"
#include "services/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>

namespace {

// Decodes, turns CR LF and lone CR into '\n' and expands tabs in one pass, so a large
// file costs one allocation and one walk over its bytes.
QString decodeDocument(QByteArrayView bytes, CodePage::Id id, int tabWidth)
{
    std::array<char16_t, 256> table;
    for (int b = 0; b < 256; ++b)
        table[b] = CodePage::toUnicode(static_cast<unsigned char>(b), id);
    const qsizetype width = std::max(tabWidth, 1);
    const qsizetype tabs = std::count(bytes.begin(), bytes.end(), '\t');
    QString out(bytes.size() + tabs * (width - 1), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const begin = d;
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = s + bytes.size();
    while (s < end) {
        const unsigned char b = *s++;
        if (b == '\r') {
            *d++ = u'\n';
            if (s < end && *s == '\n')
                ++s;
        } else if (b == '\t') {
            d = std::fill_n(d, width, u' ');
        } else {
            *d++ = table[b];
        }
    }
    out.truncate(d - begin);
    return out;
}

// Encodes with '\n' written as CR LF, in one pass. Characters the code page cannot
// hold are written as CodePage::encode writes them (numeric character references).
QByteArray encodeDocument(QStringView text, CodePage::Id id, int *unmappable)
{
    const qsizetype breaks = std::count(text.begin(), text.end(), u'\n');
    QByteArray out(text.size() + breaks, Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()));
    char *d = out.data();
    qsizetype w = 0;
    int bad = 0;
    const char16_t *s = reinterpret_cast<const char16_t *>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            if (c == u'\n')
                d[w++] = '\r';
            d[w++] = char(c);
            continue;
        }
        const int b = CodePage::fromUnicode(c, id);
        if (b >= 0) {
            d[w++] = char(b);
            continue;
        }
        // Rare: a reference is longer than the character, so the buffer grows.
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]);
        const QByteArray ref = CodePage::encode(text.mid(i, pair ? 2 : 1), id);
        if (pair)
            ++i;
        out.resize(out.size() + ref.size() - (pair ? 2 : 1));
        d = out.data();
        std::copy(ref.cbegin(), ref.cend(), d + w);
        w += ref.size();
        ++bad;
    }
    out.truncate(w);
    if (unmappable)
        *unmappable = bad;
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
    result.text = decodeDocument(bytes, result.iso ? CodePage::Iso8859_2 : CodePage::Windows1250, tabWidth);
    result.ok = true;
    return result;
}

SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso)
{
    SaveResult result;
    const QByteArray bytes
        = encodeDocument(text, iso ? CodePage::Iso8859_2 : CodePage::Windows1250, &result.unmappable);
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

QByteArray EncodeDocumentText(QStringView text, bool iso, int *unmappable)
{
    return encodeDocument(text, iso ? CodePage::Iso8859_2 : CodePage::Windows1250, unmappable);
}
