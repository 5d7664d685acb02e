#include "base/settings.h"

namespace {
QString path(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }
} // namespace

MarkoraSettings::MarkoraSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Lindenworks"), QStringLiteral("Markora")))
{
}

bool MarkoraSettings::readBool(const QString &section, const QString &key, bool def) const
{
    const QVariant v = m_settings->value(path(section, key));
    if (!v.isValid())
        return def;
    // Values written by hand may read "1"/"0" as well as "true"/"false".
    const QString s = v.toString().trimmed().toLower();
    if (s == QLatin1String("true") || s == QLatin1String("1"))
        return true;
    if (s == QLatin1String("false") || s == QLatin1String("0"))
        return false;
    return def;
}

int MarkoraSettings::readInt(const QString &section, const QString &key, int def, int min, int max) const
{
    bool ok = false;
    const qlonglong v = m_settings->value(path(section, key)).toString().trimmed().toLongLong(&ok);
    return ok && v >= min && v <= max ? int(v) : def;
}

QString MarkoraSettings::readString(const QString &section, const QString &key, const QString &def) const
{
    const QVariant v = m_settings->value(path(section, key));
    if (!v.isValid())
        return def;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

QStringList MarkoraSettings::readStringList(const QString &section, const QString &key) const
{
    return m_settings->value(path(section, key)).toStringList();
}

void MarkoraSettings::writeBool(const QString &section, const QString &key, bool value)
{
    m_settings->setValue(path(section, key), value);
}

void MarkoraSettings::writeInt(const QString &section, const QString &key, int value)
{
    m_settings->setValue(path(section, key), value);
}

void MarkoraSettings::writeString(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(path(section, key), value);
}

void MarkoraSettings::writeStringList(const QString &section, const QString &key, const QStringList &value)
{
    m_settings->setValue(path(section, key), value);
}

bool MarkoraSettings::contains(const QString &section, const QString &key) const
{
    return m_settings->contains(path(section, key));
}

QStringList MarkoraSettings::keys(const QString &section) const
{
    m_settings->beginGroup(section);
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

void MarkoraSettings::remove(const QString &section, const QString &key)
{
    m_settings->remove(path(section, key));
}

QStringList MarkoraSettings::readNumberedList(const QString &section) const
{
    QStringList out;
    for (int i = 0;; ++i) {
        const QVariant v = m_settings->value(path(section, QString::number(i)));
        if (!v.isValid())
            break;
        out << v.toString();
    }
    return out;
}

void MarkoraSettings::writeNumberedList(const QString &section, const QStringList &values)
{
    eraseSection(section);
    for (int i = 0; i < values.size(); ++i)
        m_settings->setValue(path(section, QString::number(i)), values[i]);
}

void MarkoraSettings::eraseSection(const QString &section) { m_settings->remove(section); }

bool MarkoraSettings::sync(QString *error)
{
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return true;
    if (error)
        *error = m_settings->status() == QSettings::AccessError
            ? QStringLiteral("no access to %1").arg(m_settings->fileName())
            : QStringLiteral("format error in %1").arg(m_settings->fileName());
    return false;
}

QString MarkoraSettings::nameToKey(const QString &name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'%')
            key += QStringLiteral("%25");
        else if (c == u'/')
            key += QStringLiteral("%2F");
        else if (c == u'\\')
            key += QStringLiteral("%5C");
        else
            key += c;
    }
    return key;
}

QString MarkoraSettings::keyToName(const QString &key)
{
    QString name;
    name.reserve(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QStringView code = QStringView(key).mid(i, 3);
        if (code.compare(u"%25", Qt::CaseInsensitive) == 0) {
            name += u'%';
            i += 2;
        } else if (code.compare(u"%2F", Qt::CaseInsensitive) == 0) {
            name += u'/';
            i += 2;
        } else if (code.compare(u"%5C", Qt::CaseInsensitive) == 0) {
            name += u'\\';
            i += 2;
        } else {
            name += key[i];
        }
    }
    return name;
}

QString MarkoraSettings::defaultOgExt() { return QStringLiteral("*.*htm*;*.css;*.asp;*.xml;*.php*"); }

std::unique_ptr<QSettings> PluginSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Lindenworks"), QStringLiteral("Doklejki"));
}
