#pragma once

#include <QString>
#include <QStringView>
#include <limits>

class MarkoraSettings;

// Where each insertion dialog keeps its last values and its place: a section of its own
// under "Okna", keys named after the controls, as the search window keeps its own.
namespace DialogSections {
inline constexpr QStringView Body = u"Okna/Znacznik BODY";
inline constexpr QStringView Head = u"Okna/Znacznik HEAD";
inline constexpr QStringView Link = u"Okna/Odnośnik";
inline constexpr QStringView Image = u"Okna/Obrazek";
inline constexpr QStringView Meta = u"Okna/Znacznik META";
inline constexpr QStringView Date = u"Okna/Data";
inline constexpr QStringView Script = u"Okna/Skrypt";
inline constexpr QStringView Style = u"Okna/Styl";
inline constexpr QStringView Table = u"Okna/Kreator tabeli";
inline constexpr QStringView Frames = u"Okna/Kreator ramek";
} // namespace DialogSections

// The date dialog's choice: an index into DateTexts().
struct DateFields
{
    int format = 3;
    bool operator==(const DateFields &o) const { return format == o.format; }
};

// A window's place: the top-left corner; NoPlace when none was stored (or a stored one is
// beyond any screen's coordinates).
struct DialogPlace
{
    static constexpr int MaxCoordinate = 32767;
    static constexpr int NoPlace = std::numeric_limits<int>::min();
    int left = NoPlace;
    int top = NoPlace;

    static DialogPlace read(const MarkoraSettings &settings, QStringView section);
    void write(MarkoraSettings &settings, QStringView section) const;
};

struct BodyFields;
struct HeadFields;
struct LinkFields;
struct ImageFields;
struct MetaFields;
struct ScriptFields;
struct StyleFields;
struct TableFields;
struct FrameFields;

// The last values of each dialog (the field structs of pagemarkup.h, linkmarkup.h,
// scriptmarkup.h, tablemarkup.h and DateFields): reading replaces fields by what is stored,
// each member keeping its default when nothing (or nothing of its kind and range) is.
void ReadDialogFields(const MarkoraSettings &settings, BodyFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const BodyFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, HeadFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const HeadFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, LinkFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const LinkFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, ImageFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const ImageFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, MetaFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const MetaFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, DateFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const DateFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, ScriptFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const ScriptFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, StyleFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const StyleFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, TableFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const TableFields &fields);
void ReadDialogFields(const MarkoraSettings &settings, FrameFields &fields);
void WriteDialogFields(MarkoraSettings &settings, const FrameFields &fields);
