#include "app/setupoptions.h"

#include "base/settingstable.h"

#include <limits>

namespace {
constexpr QStringView kSetup = u"Setup";
constexpr QStringView kEdytor = u"Edytor";

// A colour is an RGB value or a system colour.
bool isStoredColor(int c) { return (c >= 0 && c <= 0xFFFFFF) || IsSystemColor(c); }

using Table = SettingsTable<SetupOptions>;

const Table &table()
{
    using O = SetupOptions;
    constexpr int anyMin = std::numeric_limits<qint32>::min();
    constexpr int anyMax = std::numeric_limits<qint32>::max();
    static const Table t({
        Table::flag(kSetup, u"_InISO", &O::inIso),
        Table::flag(kSetup, u"_InUTF8", &O::inUtf8),
        Table::number(kSetup, u"KoniecWiersza", &O::newLineBreak, 0, 2),
        Table::number(kSetup, u"Tabulator", &O::tabWidth, 0, O::MaxTabWidth),
        Table::flag(kSetup, u"ZamienTabulatory", &O::expandTabs),
        Table::flag(kSetup, u"OtworzPoprzednie", &O::openPrevious),
        Table::flag(kSetup, u"PrzeladujZmienione", &O::reloadChanged),
        Table::flag(kSetup, u"MaleLitery", &O::lowerCaseInsert),
        Table::flag(kSetup, u"KoniecParagrafu", &O::closeParagraph),
        // An empty template would insert nothing at all: the default stays instead.
        Table::text(kSetup, u"WyrownajLewo", &O::alignLeft, Table::Blank::ReadsAsDefault),
        Table::text(kSetup, u"WyrownajSrodek", &O::alignCenter, Table::Blank::ReadsAsDefault),
        Table::text(kSetup, u"WyrownajPrawo", &O::alignRight, Table::Blank::ReadsAsDefault),
        Table::flag(kSetup, u"MaleLiteryEdycja", &O::lowerCaseEdit),
        Table::flag(kSetup, u"PdUse", &O::pdUse),
        Table::text(kSetup, u"PdText", &O::sampleText),
        Table::number(kEdytor, u"Kolor", &O::background, anyMin, anyMax, isStoredColor),
        Table::number(kEdytor, u"Font.Kolor", &O::fontColor, anyMin, anyMax, isStoredColor),
        Table::text(kEdytor, u"Font.Face", &O::fontFace, Table::Blank::ReadsAsDefault),
        Table::number(kEdytor, u"Font.Size", &O::fontSize, 1, O::MaxFontSize),
        Table::number(kEdytor, u"Font.Charset", &O::fontCharset, 0, 255),
    });
    return t;
}
} // namespace

bool IsSystemColor(qint32 color) { return (quint32(color) & 0xFF000000u) == 0x80000000u; }

quint32 StoredColorToRgb(qint32 color)
{
    const quint32 c = quint32(color);
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

qint32 RgbToStoredColor(quint32 rgb)
{
    return qint32(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}

DocumentEncoding SetupOptions::newDocumentEncoding() const
{
    return inUtf8 ? DocumentEncoding::utf8() : DocumentEncoding::fromIso(inIso);
}

LineBreak SetupOptions::newDocumentLineBreak() const
{
    switch (newLineBreak) {
    case 1:
        return LineBreak::Lf;
    case 2:
        return LineBreak::Cr;
    default:
        return LineBreak::CrLf;
    }
}

QStringList SetupOptions::alignLeftChoices()
{
    return { QStringLiteral("<DIV ALIGN=\"Left\">"), QStringLiteral("<P ALIGN=\"Left\">") };
}
QStringList SetupOptions::alignCenterChoices()
{
    return { QStringLiteral("<DIV ALIGN=\"Center\">"), QStringLiteral("<P ALIGN=\"Center\">"),
        QStringLiteral("<CENTER>") };
}
QStringList SetupOptions::alignRightChoices()
{
    return { QStringLiteral("<DIV ALIGN=\"Right\">"), QStringLiteral("<P ALIGN=\"Right\">") };
}

SetupOptions SetupOptions::read(const MarkoraSettings &s) { return table().read(s); }

void SetupOptions::write(MarkoraSettings &s) const { table().write(s, *this); }

void SetupOptions::writeEditor(MarkoraSettings &s) const { table().write(s, *this, kEdytor); }

bool SetupOptions::operator==(const SetupOptions &o) const { return table().equal(*this, o); }
