#pragma once

#include "base/settings.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

// Where the members of a settings value S (a small struct of options) are stored: one
// row per key, naming its section, its key, the member and, for a number, the range a
// stored value must keep to. Reading, writing and comparing walk the same rows, so that
// each key is spelled once. A member's default is its value in the table's default
// object (for a struct, what its member initialisers give); a stored value that is
// missing, of the wrong kind or out of its range reads as that default.
template <class S> class SettingsTable
{
public:
    struct Row
    {
        QString section;
        QString key;
        // Replaces the member of v, which holds its default, by what the store holds.
        std::function<void(const MarkoraSettings &, S &v)> read;
        // Stores the member; empty for a value the program reads but never writes.
        std::function<void(MarkoraSettings &, const S &v)> write;
        std::function<bool(const S &, const S &)> equal;
    };

    // What a text that is empty or only spaces reads as.
    enum class Blank { Kept, ReadsAsDefault };

    // Row builders. member is a pointer to a data member of S, or a callable that gives the
    // value inside an S (an entry of a list, say): a reference to it in a non-const S.
    template <class M> static Row flag(QStringView section, QStringView key, M member)
    {
        return make(
            section, key, member,
            [](const MarkoraSettings &s, const QString &sec, const QString &k, bool &v) {
                v = s.readBool(sec, k, v);
            },
            [](MarkoraSettings &s, const QString &sec, const QString &k, bool v) { s.writeBool(sec, k, v); });
    }

    // A whole number from min to max (both included) that accept, when given, also takes.
    template <class M>
    static Row number(
        QStringView section, QStringView key, M member, int min, int max, bool (*accept)(int) = nullptr)
    {
        return make(
            section, key, member,
            [min, max, accept](const MarkoraSettings &s, const QString &sec, const QString &k, int &v) {
                const int read = s.readInt(sec, k, v, min, max);
                if (!accept || accept(read))
                    v = read;
            },
            [](MarkoraSettings &s, const QString &sec, const QString &k, int v) { s.writeInt(sec, k, v); });
    }

    template <class M>
    static Row text(QStringView section, QStringView key, M member, Blank blank = Blank::Kept)
    {
        return make(
            section, key, member,
            [blank](const MarkoraSettings &s, const QString &sec, const QString &k, QString &v) {
                const QString read = s.readString(sec, k, v);
                if (blank == Blank::Kept || !read.trimmed().isEmpty())
                    v = read;
            },
            [](MarkoraSettings &s, const QString &sec, const QString &k, const QString &v) {
                s.writeString(sec, k, v);
            });
    }

    // A list of texts; nothing stored reads as an empty list.
    template <class M> static Row texts(QStringView section, QStringView key, M member)
    {
        return make(
            section, key, member,
            [](const MarkoraSettings &s, const QString &sec, const QString &k, QStringList &v) {
                v = s.readStringList(sec, k);
            },
            [](MarkoraSettings &s, const QString &sec, const QString &k, const QStringList &v) {
                s.writeStringList(sec, k, v);
            });
    }

    // The same row, read but never written.
    static Row readOnly(Row row)
    {
        row.write = nullptr;
        return row;
    }

    // The rows of another table, for a member of S that is a settings value of its own.
    template <class M, class T> static std::vector<Row> part(M member, const SettingsTable<T> &table)
    {
        std::vector<Row> rows;
        for (const typename SettingsTable<T>::Row &r : table.rows()) {
            Row row { r.section, r.key, nullptr, nullptr, nullptr };
            row.read = [member, read = r.read](
                           const MarkoraSettings &s, S &v) { read(s, std::invoke(member, v)); };
            if (r.write)
                row.write = [member, write = r.write](
                                MarkoraSettings &s, const S &v) { write(s, std::invoke(member, v)); };
            row.equal = [member, equal = r.equal](const S &a, const S &b) {
                return equal(std::invoke(member, a), std::invoke(member, b));
            };
            rows.push_back(std::move(row));
        }
        return rows;
    }

    explicit SettingsTable(std::vector<Row> rows, S defaults = S())
        : m_rows(std::move(rows))
        , m_defaults(std::move(defaults))
    {
    }

    // The defaults, each replaced by what the store holds for it.
    S read(const MarkoraSettings &settings) const
    {
        S v = m_defaults;
        for (const Row &row : m_rows)
            row.read(settings, v);
        return v;
    }

    // Writes every row that is written at all, or only the rows of one section.
    void write(MarkoraSettings &settings, const S &v, QStringView section = {}) const
    {
        for (const Row &row : m_rows)
            if (row.write && (section.isNull() || row.section == section))
                row.write(settings, v);
    }

    // True when every member the table stores is the same in a and b.
    bool equal(const S &a, const S &b) const
    {
        for (const Row &row : m_rows)
            if (!row.equal(a, b))
                return false;
        return true;
    }

    const std::vector<Row> &rows() const { return m_rows; }

private:
    template <class M, class Read, class Write>
    static Row make(QStringView section, QStringView key, M member, Read read, Write write)
    {
        Row row { section.toString(), key.toString(), nullptr, nullptr, nullptr };
        row.read = [sec = row.section, k = row.key, member, read](
                       const MarkoraSettings &s, S &v) { read(s, sec, k, std::invoke(member, v)); };
        row.write = [sec = row.section, k = row.key, member, write](
                        MarkoraSettings &s, const S &v) { write(s, sec, k, std::invoke(member, v)); };
        row.equal
            = [member](const S &a, const S &b) { return std::invoke(member, a) == std::invoke(member, b); };
        return row;
    }

    std::vector<Row> m_rows;
    S m_defaults;
};
