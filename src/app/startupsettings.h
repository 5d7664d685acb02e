#pragma once

#include "base/settings.h"

#include <QString>
#include <QStringList>
#include <optional>

// The window values of section "Kontrolki" (and the read-only ones of "Setup") that
// the main window reads at creation and writes back at close, with their defaults.
struct StartupSettings
{
    bool zawijanie = true; // word wrap (toolbar button ChkZawijanie)
    bool pasekPrzyc = true; // button bar visible
    bool panelPlikow = true; // file panel visible
    bool status = true; // status bar visible
    int splitter1 = 160; // file panel width, pixels
    int splitter2 = 144; // upper pane height
    int splitter3 = 85; // preview pane height
    int pliki = 0; // entry of the file panel's type filter, 0..FilePanelFilterCount - 1
    bool podgladMsie = true; // internal preview chosen when both previews exist
    QString defTemplate; // template file for new documents
    QString ogExt = MarkoraSettings::defaultOgExt(); // read only
    QStringList userButtons = QStringList(6); // "Pasek uzytkownika" 1..6 (ext/userslots.h)

    static StartupSettings read(const MarkoraSettings &settings);
    // Writes every value except the read-only "_OgExt".
    void write(MarkoraSettings &settings) const;
};

// The filter of the file panel and of the open dialog, "Description|masks|..." with
// the first entry's masks taken from "_OgExt"; it has FilePanelFilterCount entries.
QString FilePanelFilter(const QString &ogExt);
constexpr int FilePanelFilterCount = 5;

// What the command line asks for. Switches are compared case-insensitively with the
// whole argument; every other argument naming an existing file is a document, given
// here as an absolute, cleaned path in the order of the command line.
struct CommandLine
{
    // Edit starts the editor; the others print an answer and end (-h/--help, --version,
    // --data-files), the first of them on the command line winning.
    enum class Request { Edit, Help, Version, DataFiles };
    Request request = Request::Edit;
    QStringList documents;
    std::optional<bool> msie; // "-msie" / "-nomsie": the internal preview pane
    std::optional<bool> moz; // "-moz" / "-nomoz": the system browser
};
// args without the program name.
CommandLine ParseCommandLine(const QStringList &args);

// The state of the two preview buttons for the previews that are available.
struct PreviewButtons
{
    bool msieEnabled = false;
    bool mozEnabled = false;
    bool msieDown = false;
    bool mozDown = false;
};
PreviewButtons ChoosePreviewButtons(bool msieAvailable, bool mozAvailable, bool podgladMsie);
