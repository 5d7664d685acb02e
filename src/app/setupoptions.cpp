#include "app/setupoptions.h"

#include "base/settings.h"

#include <limits>
#include <tuple>

namespace {
const QString kSetup = QStringLiteral("Setup");
const QString kEdytor = QStringLiteral("Edytor");

auto tied(const SetupOptions &o)
{
    return std::tie(o.inIso, o.tabWidth, o.openPrevious, o.reloadChanged, o.lowerCaseInsert, o.closeParagraph,
        o.alignLeft, o.alignCenter, o.alignRight, o.lowerCaseEdit, o.pdUse, o.sampleText, o.background,
        o.fontColor, o.fontFace, o.fontSize, o.fontCharset);
}
// A colour is an RGB value or a system colour; any other number gives def.
qint32 readColor(const MarkoraSettings &s, const QString &key, qint32 def)
{
    const qint32 c = s.readInt(
        kEdytor, key, def, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    return (c >= 0 && c <= 0xFFFFFF) || IsSystemColor(c) ? c : def;
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

SetupOptions SetupOptions::read(const MarkoraSettings &s)
{
    SetupOptions o;
    o.inIso = s.readBool(kSetup, QStringLiteral("_InISO"), o.inIso);
    o.tabWidth = s.readInt(kSetup, QStringLiteral("Tabulator"), o.tabWidth, 0, MaxTabWidth);
    o.openPrevious = s.readBool(kSetup, QStringLiteral("OtworzPoprzednie"), o.openPrevious);
    o.reloadChanged = s.readBool(kSetup, QStringLiteral("PrzeladujZmienione"), o.reloadChanged);
    o.lowerCaseInsert = s.readBool(kSetup, QStringLiteral("MaleLitery"), o.lowerCaseInsert);
    o.closeParagraph = s.readBool(kSetup, QStringLiteral("KoniecParagrafu"), o.closeParagraph);
    // An empty template would insert nothing at all: keep the default instead.
    o.alignLeft = s.readString(kSetup, QStringLiteral("WyrownajLewo"), o.alignLeft);
    o.alignCenter = s.readString(kSetup, QStringLiteral("WyrownajSrodek"), o.alignCenter);
    o.alignRight = s.readString(kSetup, QStringLiteral("WyrownajPrawo"), o.alignRight);
    const SetupOptions defaults;
    if (o.alignLeft.trimmed().isEmpty())
        o.alignLeft = defaults.alignLeft;
    if (o.alignCenter.trimmed().isEmpty())
        o.alignCenter = defaults.alignCenter;
    if (o.alignRight.trimmed().isEmpty())
        o.alignRight = defaults.alignRight;
    o.lowerCaseEdit = s.readBool(kSetup, QStringLiteral("MaleLiteryEdycja"), o.lowerCaseEdit);
    o.pdUse = s.readBool(kSetup, QStringLiteral("PdUse"), o.pdUse);
    o.sampleText = s.readString(kSetup, QStringLiteral("PdText"), o.sampleText);

    o.background = readColor(s, QStringLiteral("Kolor"), o.background);
    o.fontColor = readColor(s, QStringLiteral("Font.Kolor"), o.fontColor);
    o.fontFace = s.readString(kEdytor, QStringLiteral("Font.Face"), o.fontFace);
    if (o.fontFace.trimmed().isEmpty())
        o.fontFace = defaults.fontFace;
    o.fontSize = s.readInt(kEdytor, QStringLiteral("Font.Size"), o.fontSize, 1, MaxFontSize);
    o.fontCharset = s.readInt(kEdytor, QStringLiteral("Font.Charset"), o.fontCharset, 0, 255);
    return o;
}

void SetupOptions::write(MarkoraSettings &s) const
{
    s.writeBool(kSetup, QStringLiteral("_InISO"), inIso);
    s.writeInt(kSetup, QStringLiteral("Tabulator"), tabWidth);
    s.writeBool(kSetup, QStringLiteral("OtworzPoprzednie"), openPrevious);
    s.writeBool(kSetup, QStringLiteral("PrzeladujZmienione"), reloadChanged);
    s.writeBool(kSetup, QStringLiteral("MaleLitery"), lowerCaseInsert);
    s.writeBool(kSetup, QStringLiteral("KoniecParagrafu"), closeParagraph);
    s.writeString(kSetup, QStringLiteral("WyrownajLewo"), alignLeft);
    s.writeString(kSetup, QStringLiteral("WyrownajSrodek"), alignCenter);
    s.writeString(kSetup, QStringLiteral("WyrownajPrawo"), alignRight);
    s.writeBool(kSetup, QStringLiteral("MaleLiteryEdycja"), lowerCaseEdit);
    s.writeBool(kSetup, QStringLiteral("PdUse"), pdUse);
    s.writeString(kSetup, QStringLiteral("PdText"), sampleText);
    writeEditor(s);
}

void SetupOptions::writeEditor(MarkoraSettings &s) const
{
    s.writeInt(kEdytor, QStringLiteral("Kolor"), background);
    s.writeInt(kEdytor, QStringLiteral("Font.Kolor"), fontColor);
    s.writeString(kEdytor, QStringLiteral("Font.Face"), fontFace);
    s.writeInt(kEdytor, QStringLiteral("Font.Size"), fontSize);
    s.writeInt(kEdytor, QStringLiteral("Font.Charset"), fontCharset);
}

bool SetupOptions::operator==(const SetupOptions &o) const { return tied(*this) == tied(o); }
