#include "app/programinfo.h"

#include "base/datafiles.h"
#include "base/programversion.h"

#include <QDir>
#include <QFileInfo>

QString CommandLineHelp()
{
    return QStringLiteral(
        "Użycie: markora [PRZEŁĄCZNIKI] [PLIK...]\n"
        "Edytor stron WWW pisanych ręcznie. Otwiera podane pliki; gdy Markora już działa,\n"
        "przekazuje je działającemu edytorowi.\n"
        "\n"
        "Przełączniki (wielkość liter nie ma znaczenia):\n"
        "  -msie, -nomsie  włącza albo wyłącza podgląd wewnętrzny\n"
        "  -moz, -nomoz    włącza albo wyłącza podgląd w przeglądarce systemu\n"
        "  --data-files    wypisuje, skąd program bierze pliki danych, i kończy pracę\n"
        "  -h, --help      wypisuje ten opis i kończy pracę\n"
        "  --version       wypisuje wersję programu i kończy pracę\n"
        "\n"
        "Własną kopię plików konfiguracja/ (tags.ini, znaki.txt) tworzy polecenie\n"
        "\"Ustawienia\" > \"Edytuj definicje znaczników\"; ma ona pierwszeństwo przed plikami\n"
        "programu.\n");
}

QString VersionText() { return QStringLiteral("markora ") + ProgramVersion() + QLatin1Char('\n'); }

QString DataFilesReport(const DataFolders &folders)
{
    static const char *const files[] = { "konfiguracja/tags.ini", "konfiguracja/znaki.txt",
        "konfiguracja/keywords.txt", "szablony", "README.md" };
    QString out;
    for (const char *name : files) {
        const QString relative = QString::fromLatin1(name);
        const QString found = folders.find(relative);
        out += relative + QStringLiteral(": ")
            + (QFileInfo::exists(found) ? QDir::toNativeSeparators(found) : QStringLiteral("(brak)"))
            + QLatin1Char('\n');
    }
    out += QStringLiteral("kopia użytkownika: ") + QDir::toNativeSeparators(folders.userKonfiguracja())
        + QLatin1Char('\n');
    return out;
}
