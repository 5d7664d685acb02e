#pragma once

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
    // "Setup"
    bool inIso = false; // "_InISO": new documents are ISO 8859-2
    static constexpr int MaxTabWidth = 16;
    int tabWidth = 4; // spaces for a tab character when files are loaded, 0..MaxTabWidth
    bool openPrevious = false; // "Przy starcie otwórz pliki poprzednio edytowane"
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
    int fontSize = 9; // "Font.Size", points
    int fontCharset = 1; // "Font.Charset", kept as it was stored

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
