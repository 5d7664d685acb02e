#pragma once

#include <QString>

// Every text the converter shows, in one place.
namespace KonwerterTexts {

inline QString caption() { return QStringLiteral("Konwerter"); }
inline QString errorCaption() { return QStringLiteral("Konwerter: błąd"); }
inline QString cannotRead()
{
    return QStringLiteral("Nie można odczytać pliku konfiguracja\\znaki.txt!\nKonwerter nie będzie działał!");
}
inline QString lineError(int line) { return QStringLiteral("Błąd w pliku znaki.txt, linia %1.").arg(line); }
inline QString missingTable(const QString &name)
{
    return QStringLiteral(
        "W pliku konfiguracja\\znaki.txt brak tablicy \"%1\" - nic nie zostało przekodowane.")
        .arg(name);
}
inline QString noSource()
{
    return QStringLiteral("Nie wybrano bieżącego kodowania - nic nie zostało przekodowane.");
}
inline QString builtinName() { return QStringLiteral("Polskawy (bez ogonków)"); }

inline QString fromLabel() { return QStringLiteral("Bieżące kodowanie:"); }
inline QString toLabel() { return QStringLiteral("Przekoduję do:"); }
inline QString scopeGroup() { return QStringLiteral("Konwertuj"); }
inline QString scopeSelection() { return QStringLiteral("Tekst zaznaczony w edytowanym dokumencie"); }
inline QString scopeDocument() { return QStringLiteral("Cały tekst w edytowanym dokumencie"); }
inline QString scopeAll() { return QStringLiteral("Wszystkie dokumenty otwarte w edytorze"); }
inline QString convertButton() { return QStringLiteral("Konwertuj"); }
inline QString cancelButton() { return QStringLiteral("Anuluj"); }
inline QString label3()
{
    return QStringLiteral(
        "W okienku po lewej zaznacz kodowanie, jakiego używałeś do tej pory, w prawym - kodowanie docelowe.");
}
inline QString editorCharsetNote()
{
    return QStringLiteral(
        "Edytor zawsze przechowuje tekst w kodowaniu Windows 1250 (pliki ISO 8859-2 "
        "przekodowuje sam przy otwieraniu i zapisie), dlatego konwersja do innego kodowania "
        "niż Windows 1250 lub \"Polskawy (bez ogonków)\" nie ma sensu.");
}

} // namespace KonwerterTexts
