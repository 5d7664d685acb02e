#include "app/recoveryfile.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

constexpr char kMagic[] = "MARKORA-RECOVERY 1";
// A header longer than this is not one of ours (file names are far shorter).
constexpr qsizetype kMaxHeader = 64 * 1024;
constexpr char kIso[] = "iso-8859-2";
constexpr char kWindows[] = "windows-1250";

// The "encoding" key's names of the code pages that "codepage" cannot name.
QByteArray wideName(DocumentEncoding::Id id)
{
    switch (id) {
    case DocumentEncoding::Utf8:
        return "utf-8";
    case DocumentEncoding::Utf16LE:
        return "utf-16le";
    case DocumentEncoding::Utf16BE:
        return "utf-16be";
    default:
        return QByteArray();
    }
}

std::optional<DocumentEncoding> wideEncoding(QByteArrayView value)
{
    const QList<QByteArray> parts = value.toByteArray().split(' ');
    const bool bom = parts.size() == 2 && parts.at(1) == "bom";
    if (parts.size() > 2 || (parts.size() == 2 && !bom))
        return std::nullopt;
    for (const DocumentEncoding::Id id :
        { DocumentEncoding::Utf8, DocumentEncoding::Utf16LE, DocumentEncoding::Utf16BE })
        if (parts.at(0) == wideName(id))
            // UTF-16 is always written with its mark.
            return DocumentEncoding { id, bom || id != DocumentEncoding::Utf8 };
    return std::nullopt;
}

QByteArray lineBreakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf:
        return "lf";
    case LineBreak::Cr:
        return "cr";
    case LineBreak::CrLf:
        break;
    }
    return "crlf";
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

std::optional<int> number(QByteArrayView value)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

// "1 size mtimeNs inode device"; anything else reads as no file known, which only
// makes a later save ask before it overwrites.
FileStamp diskStamp(QByteArrayView value)
{
    const QList<QByteArray> parts = value.toByteArray().split(' ');
    FileStamp stamp;
    bool ok[4] = {};
    if (parts.size() != 5 || parts.at(0) != "1")
        return stamp;
    stamp.size = parts.at(1).toLongLong(&ok[0]);
    stamp.mtimeNs = parts.at(2).toLongLong(&ok[1]);
    stamp.inode = parts.at(3).toULongLong(&ok[2]);
    stamp.device = parts.at(4).toULongLong(&ok[3]);
    stamp.isFile = ok[0] && ok[1] && ok[2] && ok[3];
    return stamp.isFile ? stamp : FileStamp();
}

} // namespace

namespace RecoveryFile {

QByteArray encode(const RecoveryRecord &record)
{
    const QByteArray text = record.text.toUtf8();
    QByteArray out;
    out.reserve(text.size() + 256 + record.fileName.size() * 3);
    out += kMagic;
    out += "\nfile: " + record.fileName.toUtf8().toPercentEncoding("/ :~()[]!$&'*+,;=@{}");
    const DocumentEncoding &encoding = record.encoding;
    out += QByteArray("\ncodepage: ") + (encoding.codePage == DocumentEncoding::Iso8859_2 ? kIso : kWindows);
    if (!encoding.isEightBit())
        out += "\nencoding: " + wideName(encoding.codePage) + (encoding.bom ? " bom" : "");
    out += "\nlinebreak: " + lineBreakName(record.lineBreak);
    out += "\nanchor: " + QByteArray::number(record.anchor);
    out += "\nposition: " + QByteArray::number(record.position);
    if (record.disk.isFile)
        out += "\ndisk: 1 " + QByteArray::number(record.disk.size) + ' '
            + QByteArray::number(record.disk.mtimeNs) + ' ' + QByteArray::number(record.disk.inode) + ' '
            + QByteArray::number(record.disk.device);
    out += "\nlength: " + QByteArray::number(text.size());
    out += "\n\n";
    out += text;
    return out;
}

std::optional<RecoveryRecord> decode(QByteArrayView bytes, QString *error)
{
    const qsizetype end = QByteArrayView(bytes.data(), std::min(bytes.size(), kMaxHeader)).indexOf("\n\n");
    const QList<QByteArray> lines
        = end < 0 ? QList<QByteArray>() : bytes.first(end).toByteArray().split('\n');
    if (lines.isEmpty() || lines.constFirst() != kMagic) {
        setError(error, QStringLiteral("to nie jest plik odzyskiwania albo jego nagłówek jest uszkodzony"));
        return std::nullopt;
    }
    RecoveryRecord record;
    std::optional<int> anchor, position, length;
    bool codePage = false;
    std::optional<DocumentEncoding> wide;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0) {
            setError(error, QStringLiteral("uszkodzony wiersz nagłówka"));
            return std::nullopt;
        }
        const QByteArrayView key = QByteArrayView(line).first(colon);
        const QByteArrayView value = QByteArrayView(line).sliced(colon + 2);
        if (key == "file") {
            record.fileName = QString::fromUtf8(QByteArray::fromPercentEncoding(value.toByteArray()));
        } else if (key == "codepage") {
            codePage = value == kIso || value == kWindows;
            record.encoding = DocumentEncoding::fromIso(value == kIso);
        } else if (key == "encoding") {
            // A name this version does not know: the code page key stands (the text is
            // UTF-8 here whatever it is).
            wide = wideEncoding(value);
        } else if (key == "linebreak") {
            if (value == "lf")
                record.lineBreak = LineBreak::Lf;
            else if (value == "cr")
                record.lineBreak = LineBreak::Cr;
        } else if (key == "anchor") {
            anchor = number(value);
        } else if (key == "position") {
            position = number(value);
        } else if (key == "length") {
            length = number(value);
        } else if (key == "disk") {
            record.disk = diskStamp(value);
        }
    }
    if (!codePage || !anchor || !position || !length) {
        setError(error, QStringLiteral("w nagłówku brakuje strony kodowej, położenia kursora lub długości"));
        return std::nullopt;
    }
    if (wide)
        record.encoding = *wide;
    const QByteArrayView text = bytes.sliced(end + 2);
    if (text.size() != *length) {
        setError(error,
            QStringLiteral("tekst ma %1 bajtów zamiast %2 (plik obcięty)").arg(text.size()).arg(*length));
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    record.text = utf8.decode(text);
    if (utf8.hasError()) {
        setError(error, QStringLiteral("tekst nie jest poprawnym UTF-8"));
        return std::nullopt;
    }
    const int size = int(record.text.size());
    record.anchor = std::min(*anchor, size);
    record.position = std::min(*position, size);
    return record;
}

bool write(const QString &path, const RecoveryRecord &record, QString *error)
{
    const QByteArray bytes = encode(record);
    QSaveFile file(path);
    // The new file is made with the usual mode: closed to others before anything is written.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
        || file.write(bytes) != bytes.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

std::optional<RecoveryRecord> read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return std::nullopt;
    }
    return decode(file.readAll(), error);
}

} // namespace RecoveryFile
