#include "services/hunspelldictionary.h"

#include "base/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <hunspell.hxx>

namespace {
// Qt's name for a code page as Hunspell's SET line writes it ("ISO8859-2" is
// "ISO-8859-2"; "microsoft-cp1251" is "windows-1251").
QString qtEncodingName(const QString &set)
{
    static const QRegularExpression iso(
        QStringLiteral("^ISO-?8859-(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression cp(
        QStringLiteral("^microsoft-cp(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = iso.match(set); m.hasMatch())
        return QStringLiteral("ISO-8859-") + m.captured(1);
    if (const QRegularExpressionMatch m = cp.match(set); m.hasMatch())
        return QStringLiteral("windows-") + m.captured(1);
    return set;
}
} // namespace

QStringList HunspellDictionary::DefaultFolders()
{
    QStringList folders;
    const QString dicPath = qEnvironmentVariable("DICPATH");
    for (const QString &f : dicPath.split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << f;
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
            << QStringLiteral("/usr/share/myspell/dicts");
    return folders;
}

QStringList HunspellDictionary::Installed(const QStringList &folders)
{
    QStringList names;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList affs = dir.entryList({ QStringLiteral("*.aff") }, QDir::Files | QDir::Readable);
        for (const QString &aff : affs) {
            const QString name = QFileInfo(aff).completeBaseName();
            if (dir.exists(name + QStringLiteral(".dic")) && !names.contains(name))
                names << name;
        }
    }
    names.sort();
    return names;
}

HunspellDictionary::HunspellDictionary(const QString &name, const QStringList &folders)
    : m_name(name)
{
    // A name is a file name, never a path.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QString aff = dir.filePath(name + QStringLiteral(".aff"));
        const QString dic = dir.filePath(name + QStringLiteral(".dic"));
        if (!QFileInfo(aff).isReadable() || !QFileInfo(dic).isReadable() || QFileInfo(aff).isDir())
            continue;
        auto hunspell = std::make_unique<Hunspell>(
            QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
        m_encoding = QString::fromStdString(hunspell->get_dict_encoding());
        const QString qtName = qtEncodingName(m_encoding);
        if (qtName.compare(u"UTF-8", Qt::CaseInsensitive) == 0) {
            m_codec = Codec::Utf8;
        } else if (qtName.compare(u"ISO-8859-2", Qt::CaseInsensitive) == 0) {
            m_codec = Codec::Iso8859_2;
        } else {
            m_codec = Codec::Other;
            if (!QStringEncoder(qtName.toLatin1().constData()).isValid())
                continue; // a code page Qt cannot write: the words could not be given to it
        }
        m_affPath = aff;
        m_hunspell = std::move(hunspell);
        return;
    }
}

HunspellDictionary::~HunspellDictionary() = default;

bool HunspellDictionary::encode(const QString &word, std::string *out) const
{
    switch (m_codec) {
    case Codec::Utf8: {
        const QByteArray bytes = word.toUtf8();
        // A lone surrogate cannot be in any dictionary.
        if (QString::fromUtf8(bytes) != word)
            return false;
        *out = bytes.toStdString();
        return true;
    }
    case Codec::Iso8859_2:
        out->clear();
        out->reserve(size_t(word.size()));
        for (QChar c : word) {
            const int b = CodePage::fromUnicode(c.unicode(), CodePage::Iso8859_2);
            if (b < 0)
                return false;
            out->push_back(char(b));
        }
        return true;
    case Codec::Other: {
        const QByteArray name = qtEncodingName(m_encoding).toLatin1();
        QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(word);
        if (encoder.hasError() || decode(bytes.toStdString()) != word)
            return false;
        *out = bytes.toStdString();
        return true;
    }
    }
    return false;
}

QString HunspellDictionary::decode(const std::string &bytes) const
{
    switch (m_codec) {
    case Codec::Utf8:
        return QString::fromStdString(bytes);
    case Codec::Iso8859_2:
        return CodePage::decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())), CodePage::Iso8859_2);
    case Codec::Other: {
        const QByteArray name = qtEncodingName(m_encoding).toLatin1();
        QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
        return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }
    }
    return QString();
}

bool HunspellDictionary::check(const QString &word) const
{
    std::string bytes;
    return m_hunspell && !word.isEmpty() && encode(word, &bytes) && m_hunspell->spell(bytes);
}

QStringList HunspellDictionary::suggest(const QString &word) const
{
    QStringList out;
    std::string bytes;
    if (!m_hunspell || word.isEmpty() || !encode(word, &bytes))
        return out;
    for (const std::string &s : m_hunspell->suggest(bytes))
        out << decode(s);
    return out;
}

bool HunspellDictionary::add(const QString &word)
{
    std::string bytes;
    if (!m_hunspell || word.isEmpty() || !encode(word, &bytes))
        return false;
    m_hunspell->add(bytes);
    return true;
}
