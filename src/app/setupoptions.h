#pragma once

#include "base/documentencoding.h"

#include <QString>
#include <QStringList>

class MarkoraSettings;

// A colour as the settings store keeps it: 0x00BBGGRR, or a system colour
// (0x80000000 | index); kSystemWindowColor is the system window colour.
constexpr qint32 kSystemWindowColor = qint32(0x80000005u);
bool IsSystemColor(qint32 color);
// 0xRRGGBB of a stored colour that is not a system colour.
quint32 StoredColorToRgb(qint32 color);
qint32 RgbToStoredColor(quint32 rgb);

// The options of the setup dialog ("Setup") and the editor's look ("Edytor"), each
// with its default. The main window holds one; the dialog edits a copy.
struct SetupOptions
{
    // The ranges a stored value must keep to; the setup dialog offers the same.
    static constexpr int MaxTabWidth = 16;
    static constexpr int MaxFontSize = 400;

    // "Setup"
    bool inIso = false; // "_InISO": new documents are ISO 8859-2
    bool inUtf8 = false; // "_InUTF8": new documents are UTF-8 (before "_InISO")
    // "KoniecWiersza": the line break of new documents, 0 CR LF, 1 LF, 2 CR
    int newLineBreak = 0;
    // "Tabulator": spaces for a tab character when files are loaded, 0..MaxTabWidth; also
    // the width a tab kept in the text is drawn at (a width of 1 or less: one space)
    int tabWidth = 4;
    // "ZamienTabulatory": tabs become spaces when a file is opened or inserted
    bool expandTabs = true;
    bool openPrevious = false; // "Przy starcie otwórz pliki poprzednio edytowane"
    // "PrzeladujZmienione": a document without changes in the editor whose file another
    // program changed is loaded again without asking
    bool reloadChanged = false;
    bool lowerCaseInsert = false; // "Wstawiaj tagi używając małych liter"
    bool closeParagraph = false; // "Zawsze wstawiaj koniec paragrafu (</P>)"
    QString alignLeft = QStringLiteral("<DIV ALIGN=\"Left\">");
    QString alignCenter = QStringLiteral("<DIV ALIGN=\"Center\">");
    QString alignRight = QStringLiteral("<DIV ALIGN=\"Right\">");
    bool lowerCaseEdit = false; // "Edytuj tagi używając małych liter"
    bool pdUse = false; // preview of the edited tag ("~Markora$Hint.html")
    QString sampleText = QString::fromUtf8("Wlazł kotek na płotek i mruga...");
    // "Edytor"
    qint32 background = kSystemWindowColor; // "Kolor"
    qint32 fontColor = 0; // "Font.Kolor"
    QString fontFace = QStringLiteral("Courier New CE"); // "Font.Face"
    int fontSize = 9; // "Font.Size", points, 1..MaxFontSize
    int fontCharset = 1; // "Font.Charset", kept as it was stored, 0..255

    // The code page and the line break of a new document.
    DocumentEncoding newDocumentEncoding() const;
    LineBreak newDocumentLineBreak() const;

    // The choices the dialog offers for each alignment template (the first is the default).
    static QStringList alignLeftChoices();
    static QStringList alignCenterChoices();
    static QStringList alignRightChoices();

    static SetupOptions read(const MarkoraSettings &settings);
    // Writes "Setup" and "Edytor".
    void write(MarkoraSettings &settings) const;
    // Writes "Edytor" alone (the window's close writes these, the dialog's OK the rest).
    void writeEditor(MarkoraSettings &settings) const;

    bool operator==(const SetupOptions &o) const;
    bool operator!=(const SetupOptions &o) const { return !(*this == o); }
};
