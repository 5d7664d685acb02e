#include "app/folderlisting.h"

#include <QDirIterator>
#include <algorithm>

namespace {
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Names compared as runs of digits (by their number) and runs of other characters (by the
// user's locale, case ignored). QCollator's numeric mode would do, but not every build of
// Qt has it (without ICU it is ignored).
int compareNatural(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digits = isDigit(a[i]) && isDigit(b[j]);
        qsizetype ie = i;
        qsizetype je = j;
        while (ie < a.size() && isDigit(a[ie]) == digits)
            ++ie;
        while (je < b.size() && isDigit(b[je]) == digits)
            ++je;
        QStringView x = a.mid(i, ie - i);
        QStringView y = b.mid(j, je - j);
        if (digits) {
            while (x.size() > 1 && x[0] == u'0')
                x = x.mid(1);
            while (y.size() > 1 && y[0] == u'0')
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y))
                return c;
        } else if (const int c
            = QString::localeAwareCompare(x.toString().toCaseFolded(), y.toString().toCaseFolded())) {
            return c;
        }
        i = ie;
        j = je;
    }
    return i < a.size() ? 1 : j < b.size() ? -1 : 0;
}
} // namespace

bool FolderNameLess(const QString &a, const QString &b)
{
    const int c = compareNatural(a, b);
    return c != 0 ? c < 0 : a < b;
}

QStringList ListFolder(
    const QString &folder, FolderEntries what, const QStringList &patterns, const std::atomic<bool> *cancel)
{
    QStringList names;
    if (folder.isEmpty())
        return names;
    const QDir::Filters filter
        = what == FolderEntries::Files ? QDir::Files : (QDir::AllDirs | QDir::NoDotAndDotDot);
    QDirIterator it(folder, what == FolderEntries::Files ? patterns : QStringList(), filter);
    int n = 0;
    while (it.hasNext()) {
        if (cancel && (++n & 0xFF) == 0 && cancel->load())
            return names;
        it.next();
        names << it.fileName();
    }
    std::sort(names.begin(), names.end(), FolderNameLess);
    return names;
}

QList<FolderListEdit> DiffSortedLists(const QStringList &from, const QStringList &to)
{
    QList<FolderListEdit> edits;
    qsizetype i = 0;
    qsizetype j = 0;
    int row = 0;
    while (i < from.size() || j < to.size()) {
        const auto removed
            = [&] { return j == to.size() || (i < from.size() && FolderNameLess(from[i], to[j])); };
        const auto inserted
            = [&] { return i == from.size() || (j < to.size() && FolderNameLess(to[j], from[i])); };
        if (removed()) {
            FolderListEdit e { false, row, 0, 0 };
            while (i < from.size() && removed()) {
                ++i;
                ++e.count;
            }
            edits << e;
        } else if (inserted()) {
            FolderListEdit e { true, row, 0, int(j) };
            while (j < to.size() && inserted()) {
                ++j;
                ++e.count;
            }
            row += e.count;
            edits << e;
        } else {
            ++i;
            ++j;
            ++row;
        }
    }
    return edits;
}
