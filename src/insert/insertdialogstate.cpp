#include "insert/insertdialogstate.h"

#include "base/settingstable.h"
#include "insert/linkmarkup.h"
#include "insert/pagemarkup.h"
#include "insert/scriptmarkup.h"
#include "insert/tablemarkup.h"

#include <algorithm>

namespace {

// -1 stands for a number not written.
constexpr int kMaxNumber = 100000;

template <class F> const SettingsTable<F> &table();

template <> const SettingsTable<BodyFields> &table()
{
    using T = SettingsTable<BodyFields>;
    using F = BodyFields;
    const QStringView s = DialogSections::Body;
    static const T t({
        T::text(s, u"EdTekst.Text", &F::text),
        T::text(s, u"EdTlo.Text", &F::background),
        T::text(s, u"EdLink.Text", &F::link),
        T::text(s, u"EdVLink.Text", &F::visited),
        T::text(s, u"EdALink.Text", &F::active),
        T::text(s, u"EdObrazTla.Text", &F::picture),
        T::number(s, u"SpMarginesPoziomy.Value", &F::marginH, -1, 999),
        T::number(s, u"SpMarginesPionowy.Value", &F::marginV, -1, 999),
    });
    return t;
}

template <> const SettingsTable<HeadFields> &table()
{
    using T = SettingsTable<HeadFields>;
    using F = HeadFields;
    const QStringView s = DialogSections::Head;
    static const T t({
        T::text(s, u"EdTytul.Text", &F::title),
        T::text(s, u"EdOpis.Text", &F::description),
        T::text(s, u"EdSlowa.Text", &F::keywords),
        T::text(s, u"EdAutor.Text", &F::author),
        T::text(s, u"EdArkusz.Text", &F::styleSheet),
        T::flag(s, u"ChkKodowanie.Checked", &F::charset),
    });
    return t;
}

template <> const SettingsTable<LinkFields> &table()
{
    using T = SettingsTable<LinkFields>;
    using F = LinkFields;
    const QStringView s = DialogSections::Link;
    // The kind is read and written beside the table; the text comes from the selection
    // of the moment and is not kept.
    static const T t({
        T::text(s, u"EdAdres.Text", &F::address),
        T::text(s, u"EdTytul.Text", &F::title),
        T::text(s, u"CbCel.Text", &F::target),
    });
    return t;
}

template <> const SettingsTable<ImageFields> &table()
{
    using T = SettingsTable<ImageFields>;
    using F = ImageFields;
    const QStringView s = DialogSections::Image;
    static const T t({
        T::text(s, u"EdSrc.Text", &F::source),
        T::text(s, u"EdAlt.Text", &F::alt),
        T::flag(s, u"ChkOzdobny.Checked", &F::decorative),
        T::number(s, u"EdSzerokosc.Value", &F::width, -1, kMaxNumber),
        T::number(s, u"EdWysokosc.Value", &F::height, -1, kMaxNumber),
        T::number(s, u"SpRamka.Value", &F::border, -1, 99),
        T::text(s, u"CbWyrownanie.Text", &F::align),
    });
    return t;
}

template <> const SettingsTable<MetaFields> &table()
{
    using T = SettingsTable<MetaFields>;
    using F = MetaFields;
    const QStringView s = DialogSections::Meta;
    // The kind is read and written beside the table.
    static const T t({
        T::text(s, u"CbNazwa.Text", &F::name),
        T::text(s, u"CbWartosc.Text", &F::content),
    });
    return t;
}

const QString kLinkKindKey = QStringLiteral("CbRodzaj.ItemIndex");
const QString kMetaKindKey = QStringLiteral("RbHttpEquiv.Checked");

template <> const SettingsTable<DateFields> &table()
{
    using T = SettingsTable<DateFields>;
    static const T t({ T::number(DialogSections::Date, u"LbFormaty.ItemIndex", &DateFields::format, 0, 11) });
    return t;
}

template <> const SettingsTable<ScriptFields> &table()
{
    using T = SettingsTable<ScriptFields>;
    using F = ScriptFields;
    const QStringView s = DialogSections::Script;
    static const T t({
        T::flag(s, u"RbZPliku.Checked", &F::fromFile),
        T::text(s, u"EdPlik.Text", &F::file),
        T::text(s, u"CbTyp.Text", &F::type),
        T::flag(s, u"ChkDefer.Checked", &F::defer),
        T::flag(s, u"ChkAsync.Checked", &F::async),
        T::flag(s, u"ChkKomentarz.Checked", &F::hideInComment),
    });
    return t;
}

template <> const SettingsTable<StyleFields> &table()
{
    using T = SettingsTable<StyleFields>;
    using F = StyleFields;
    const QStringView s = DialogSections::Style;
    static const T t({
        T::flag(s, u"RbZPliku.Checked", &F::fromFile),
        T::text(s, u"EdPlik.Text", &F::file),
        T::text(s, u"EdMedia.Text", &F::media),
        T::text(s, u"EdSelektor.Text", &F::selector, T::Blank::ReadsAsDefault),
        T::text(s, u"CbKroj.Text", &F::font),
        T::text(s, u"EdRozmiar.Text", &F::size),
        T::text(s, u"EdKolor.Text", &F::colour),
        T::text(s, u"EdTlo.Text", &F::background),
        T::text(s, u"CbWyrownanie.Text", &F::align),
    });
    return t;
}

template <> const SettingsTable<TableFields> &table()
{
    using T = SettingsTable<TableFields>;
    using F = TableFields;
    const QStringView s = DialogSections::Table;
    static const T t({
        T::number(s, u"SpWiersze.Value", &F::rows, 1, F::MaxRows),
        T::number(s, u"SpKolumny.Value", &F::columns, 1, F::MaxColumns),
        T::flag(s, u"ChkNaglowekWiersz.Checked", &F::headerRow),
        T::flag(s, u"ChkNaglowekKolumna.Checked", &F::headerColumn),
        T::text(s, u"EdTytul.Text", &F::caption),
        T::number(s, u"SpRamka.Value", &F::border, -1, 99),
        T::number(s, u"SpWypelnienie.Value", &F::padding, -1, 99),
        T::number(s, u"SpOdstep.Value", &F::spacing, -1, 99),
        T::text(s, u"EdSzerokosc.Text", &F::width),
        T::text(s, u"CbWyrownanie.Text", &F::align),
        T::flag(s, u"ChkWypelniacz.Checked", &F::placeholder),
        T::text(s, u"EdWypelniacz.Text", &F::placeholderText),
        T::number(s, u"SpWciecie.Value", &F::indent, 0, 8),
    });
    return t;
}

// The frames are kept as three lists of the table's columns; the rest as FrameFields has it.
struct FrameState
{
    bool columns = FrameFields().columns;
    QStringList sizes;
    QStringList names;
    QStringList sources;
    bool noFrames = FrameFields().noFrames;
    QString noFramesText = FrameFields().noFramesText;
    int indent = FrameFields().indent;
};

template <> const SettingsTable<FrameState> &table()
{
    using T = SettingsTable<FrameState>;
    using F = FrameState;
    const QStringView s = DialogSections::Frames;
    static const T t({
        T::flag(s, u"RbKolumny.Checked", &F::columns),
        T::texts(s, u"TblRamki.Rozmiary", &F::sizes),
        T::texts(s, u"TblRamki.Nazwy", &F::names),
        T::texts(s, u"TblRamki.Zrodla", &F::sources),
        T::flag(s, u"ChkBezRamek.Checked", &F::noFrames),
        T::text(s, u"EdBezRamek.Text", &F::noFramesText),
        T::number(s, u"SpWciecie.Value", &F::indent, 0, 8),
    });
    return t;
}

} // namespace

#define MARKORA_DIALOG_FIELDS(F)                                                                             \
    void ReadDialogFields(const MarkoraSettings &settings, F &fields)                                        \
    {                                                                                                        \
        fields = table<F>().read(settings);                                                                  \
    }                                                                                                        \
    void WriteDialogFields(MarkoraSettings &settings, const F &fields) { table<F>().write(settings, fields); }
MARKORA_DIALOG_FIELDS(BodyFields)
MARKORA_DIALOG_FIELDS(HeadFields)
MARKORA_DIALOG_FIELDS(ImageFields)
MARKORA_DIALOG_FIELDS(DateFields)
MARKORA_DIALOG_FIELDS(ScriptFields)
MARKORA_DIALOG_FIELDS(StyleFields)
MARKORA_DIALOG_FIELDS(TableFields)
#undef MARKORA_DIALOG_FIELDS

void ReadDialogFields(const MarkoraSettings &settings, LinkFields &f)
{
    f = table<LinkFields>().read(settings);
    f.kind = LinkKind(
        settings.readInt(DialogSections::Link.toString(), kLinkKindKey, 0, 0, int(LinkKind::Anchor)));
}

void WriteDialogFields(MarkoraSettings &settings, const LinkFields &f)
{
    table<LinkFields>().write(settings, f);
    settings.writeInt(DialogSections::Link.toString(), kLinkKindKey, int(f.kind));
}

void ReadDialogFields(const MarkoraSettings &settings, MetaFields &f)
{
    f = table<MetaFields>().read(settings);
    f.kind = settings.readBool(DialogSections::Meta.toString(), kMetaKindKey, false) ? MetaKind::HttpEquiv
                                                                                     : MetaKind::Name;
}

void WriteDialogFields(MarkoraSettings &settings, const MetaFields &f)
{
    table<MetaFields>().write(settings, f);
    settings.writeBool(DialogSections::Meta.toString(), kMetaKindKey, f.kind == MetaKind::HttpEquiv);
}

void ReadDialogFields(const MarkoraSettings &settings, FrameFields &f)
{
    const FrameState s = table<FrameState>().read(settings);
    f = FrameFields();
    f.columns = s.columns;
    f.noFrames = s.noFrames;
    f.noFramesText = s.noFramesText;
    f.indent = s.indent;
    const qsizetype n = std::min<qsizetype>(s.sizes.size(), FrameFields::MaxFrames);
    if (n >= 1) {
        f.frames.clear();
        for (qsizetype i = 0; i < n; ++i)
            f.frames.append({ s.sizes[i], s.names.value(i), s.sources.value(i) });
    }
}

void WriteDialogFields(MarkoraSettings &settings, const FrameFields &f)
{
    FrameState s;
    s.columns = f.columns;
    s.noFrames = f.noFrames;
    s.noFramesText = f.noFramesText;
    s.indent = f.indent;
    for (const FrameEntry &e : f.frames) {
        s.sizes << e.size;
        s.names << e.name;
        s.sources << e.source;
    }
    table<FrameState>().write(settings, s);
}

DialogPlace DialogPlace::read(const MarkoraSettings &settings, QStringView section)
{
    using T = SettingsTable<DialogPlace>;
    const T t({ T::number(section, u"Left", &DialogPlace::left, -MaxCoordinate, MaxCoordinate),
        T::number(section, u"Top", &DialogPlace::top, -MaxCoordinate, MaxCoordinate) });
    return t.read(settings);
}

void DialogPlace::write(MarkoraSettings &settings, QStringView section) const
{
    settings.writeInt(section.toString(), QStringLiteral("Left"), left);
    settings.writeInt(section.toString(), QStringLiteral("Top"), top);
}
