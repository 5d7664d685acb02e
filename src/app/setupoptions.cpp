#include "app/setupoptions.h"

#include "app/settings.h"

#include <tuple>

namespace {
const QString kSetup = QStringLiteral("Setup");
const QString kEdytor = QStringLiteral("Edytor");

auto tied(const SetupOptions &o)
{
    return std::tie(o.inIso, o.tabWidth, o.openPrevious, o.lowerCaseInsert, o.closeParagraph, o.alignLeft,
        o.alignCenter, o.alignRight, o.lowerCaseEdit, o.pdUse, o.sampleText, o.background, o.fontColor,
        o.fontFace, o.fontSize, o.fontCharset);
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
    o.tabWidth = s.readInt(kSetup, QStringLiteral("Tabulator"), o.tabWidth);
    o.openPrevious = s.readBool(kSetup, QStringLiteral("OtworzPoprzednie"), o.openPrevious);
    o.lowerCaseInsert = s.readBool(kSetup, QStringLiteral("MaleLitery"), o.lowerCaseInsert);
    o.closeParagraph = s.readBool(kSetup, QStringLiteral("KoniecParagrafu"), o.closeParagraph);
    // An empty template would insert nothing at all: keep the default instead.
    o.alignLeft = s.readString(kSetup, QStringLiteral("WyrownajLewo"), o.alignLeft);
    o.alignCenter = s.readString(kSetup, QStringLiteral("WyrownajSrodek"), o.alignCenter);
    o.alignRight = s.readString(kSetup, QStringLiteral("WyrownajPrawo"), o.alignRight);
    const SetupOptions defaults;
    // Every loaded tab becomes this many spaces: a hand-edited huge width would make
    // opening a file allocate without bound.
    if (o.tabWidth < 0 || o.tabWidth > MaxTabWidth)
        o.tabWidth = defaults.tabWidth;
    if (o.alignLeft.trimmed().isEmpty())
        o.alignLeft = defaults.alignLeft;
    if (o.alignCenter.trimmed().isEmpty())
        o.alignCenter = defaults.alignCenter;
    if (o.alignRight.trimmed().isEmpty())
        o.alignRight = defaults.alignRight;
    o.lowerCaseEdit = s.readBool(kSetup, QStringLiteral("MaleLiteryEdycja"), o.lowerCaseEdit);
    o.pdUse = s.readBool(kSetup, QStringLiteral("PdUse"), o.pdUse);
    o.sampleText = s.readString(kSetup, QStringLiteral("PdText"), o.sampleText);

    o.background = s.readInt(kEdytor, QStringLiteral("Kolor"), o.background);
    o.fontColor = s.readInt(kEdytor, QStringLiteral("Font.Kolor"), o.fontColor);
    o.fontFace = s.readString(kEdytor, QStringLiteral("Font.Face"), o.fontFace);
    if (o.fontFace.trimmed().isEmpty())
        o.fontFace = defaults.fontFace;
    o.fontSize = s.readInt(kEdytor, QStringLiteral("Font.Size"), o.fontSize);
    if (o.fontSize <= 0 || o.fontSize > 400)
        o.fontSize = defaults.fontSize;
    o.fontCharset = s.readInt(kEdytor, QStringLiteral("Font.Charset"), o.fontCharset);
    return o;
}

void SetupOptions::write(MarkoraSettings &s) const
{
    s.writeBool(kSetup, QStringLiteral("_InISO"), inIso);
    s.writeInt(kSetup, QStringLiteral("Tabulator"), tabWidth);
    s.writeBool(kSetup, QStringLiteral("OtworzPoprzednie"), openPrevious);
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
