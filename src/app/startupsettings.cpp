#include "app/startupsettings.h"

#include "base/settingstable.h"
#include "ext/userslots.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr QStringView kKontrolki = u"Kontrolki";
// Larger than any screen: a pane size beyond it was not written by the program.
const int kMaxPaneSize = 10000;

using Table = SettingsTable<StartupSettings>;

const Table &table()
{
    using V = StartupSettings;
    static const Table t = [] {
        std::vector<Table::Row> rows {
            Table::flag(kKontrolki, u"Zawijanie", &V::zawijanie),
            Table::flag(kKontrolki, u"Pasek przyc", &V::pasekPrzyc),
            Table::flag(kKontrolki, u"Panel plikow", &V::panelPlikow),
            Table::flag(kKontrolki, u"Status", &V::status),
            Table::number(kKontrolki, u"Splitter1", &V::splitter1, 0, kMaxPaneSize),
            Table::number(kKontrolki, u"Splitter2", &V::splitter2, 0, kMaxPaneSize),
            Table::number(kKontrolki, u"Splitter3", &V::splitter3, 0, kMaxPaneSize),
            Table::number(kKontrolki, u"Pliki", &V::pliki, 0, FilePanelFilterCount - 1),
            Table::flag(kKontrolki, u"PodglądMSIE", &V::podgladMsie),
            Table::text(kKontrolki, u"DefTemplate", &V::defTemplate),
            Table::readOnly(Table::text(u"Setup", u"_OgExt", &V::ogExt)),
        };
        for (Table::Row &row : Table::part(&V::userButtons, UserSlotTable()))
            rows.push_back(std::move(row));
        return Table(std::move(rows));
    }();
    return t;
}
} // namespace

StartupSettings StartupSettings::read(const MarkoraSettings &s) { return table().read(s); }

void StartupSettings::write(MarkoraSettings &s) const { table().write(s, *this); }

QString FilePanelFilter(const QString &ogExt)
{
    return QStringLiteral("Wszystkie pliki WWW|") + ogExt
        + QStringLiteral(
            "|Pliki HTML|*.*htm*|Arkusze stylów (*.css)|*.css|Grafiki internetowe|*.gif;*.jp*;*.png"
            "|Wszystkie pliki (*.*)|*.*");
}

CommandLine ParseCommandLine(const QStringList &args)
{
    CommandLine c;
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1Char('-'))) {
            const QString sw = arg.toLower();
            if (sw == QLatin1String("-msie"))
                c.msie = true;
            else if (sw == QLatin1String("-nomsie"))
                c.msie = false;
            else if (sw == QLatin1String("-moz"))
                c.moz = true;
            else if (sw == QLatin1String("-nomoz"))
                c.moz = false;
            else if (c.request == CommandLine::Request::Edit)
                c.request = sw == QLatin1String("-h") || sw == QLatin1String("--help")
                    ? CommandLine::Request::Help
                    : sw == QLatin1String("--version")    ? CommandLine::Request::Version
                    : sw == QLatin1String("--data-files") ? CommandLine::Request::DataFiles
                                                          : CommandLine::Request::Edit;
            continue;
        }
        const QFileInfo fi(arg);
        if (arg.isEmpty() || !fi.isFile())
            continue;
        // The folder as given, the file's own name as the file system spells it.
        QString full = QDir::cleanPath(fi.absoluteFilePath());
        const QString canonical = fi.canonicalFilePath();
        if (!canonical.isEmpty()
            && QFileInfo(full).fileName().compare(QFileInfo(canonical).fileName(), Qt::CaseInsensitive) == 0)
            full = QFileInfo(full).absolutePath() + QLatin1Char('/') + QFileInfo(canonical).fileName();
        c.documents << full;
    }
    return c;
}

PreviewButtons ChoosePreviewButtons(bool msieAvailable, bool mozAvailable, bool podgladMsie)
{
    PreviewButtons b;
    b.msieEnabled = msieAvailable;
    b.mozEnabled = mozAvailable;
    if (msieAvailable && mozAvailable) {
        b.msieDown = podgladMsie;
        b.mozDown = !podgladMsie;
    } else {
        b.msieDown = msieAvailable;
        b.mozDown = mozAvailable;
    }
    return b;
}
