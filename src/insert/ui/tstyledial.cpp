#include "insert/ui/tstyledial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/pagemarkup.h"
#include "insert/ui/taddressedit.h"
#include "insert/ui/tcoloredit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace {

QComboBox *editableCombo(QWidget *parent, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

} // namespace

TStyleDial::TStyleDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Style, QStringLiteral("Wstawianie stylu"), target, parent)
{
    RbWTekscie = new QRadioButton(QStringLiteral("Reguła stylu &w dokumencie (STYLE)"), this);
    RbZPliku = new QRadioButton(QStringLiteral("Arkusz stylów z &pliku (LINK):"), this);
    EdPlik = new TAddressEdit(
        target.fileName, QStringLiteral("Arkusze stylów (*.css);;Wszystkie pliki (*)"), this);
    CbMedia = editableCombo(
        this, { QString(), QStringLiteral("screen"), QStringLiteral("print"), QStringLiteral("all") });
    EdSelektor = new QLineEdit(this);
    EdSelektor->setToolTip(QStringLiteral("Do czego stosuje się reguła, np. BODY, P, H1, .uwaga"));
    CbKroj = editableCombo(this,
        { QString(), QStringLiteral("Arial, Helvetica, sans-serif"), QStringLiteral("Verdana, sans-serif"),
            QStringLiteral("Tahoma, sans-serif"), QStringLiteral("\"Times New Roman\", Times, serif"),
            QStringLiteral("Georgia, serif"), QStringLiteral("\"Courier New\", Courier, monospace") });
    CbRozmiar = editableCombo(this,
        { QString(), QStringLiteral("10pt"), QStringLiteral("12pt"), QStringLiteral("14pt"),
            QStringLiteral("1em"), QStringLiteral("small"), QStringLiteral("medium"),
            QStringLiteral("large") });
    EdKolor = new TColorEdit(this);
    EdTlo = new TColorEdit(this);
    CbWyrownanie = new QComboBox(this);
    CbWyrownanie->addItems({ QString(), QStringLiteral("left"), QStringLiteral("center"),
        QStringLiteral("right"), QStringLiteral("justify") });

    auto *form = new QFormLayout;
    form->addRow(RbZPliku, EdPlik);
    form->addRow(QStringLiteral("&Media (MEDIA):"), CbMedia);
    form->addRow(RbWTekscie);
    form->addRow(QStringLiteral("&Selektor:"), EdSelektor);
    form->addRow(QStringLiteral("&Krój pisma (font-family):"), CbKroj);
    form->addRow(QStringLiteral("&Rozmiar (font-size):"), CbRozmiar);
    form->addRow(QStringLiteral("K&olor (color):"), EdKolor);
    form->addRow(QStringLiteral("&Tło (background-color):"), EdTlo);
    form->addRow(QStringLiteral("W&yrównanie (text-align):"), CbWyrownanie);
    setContent(form);
    setMinimumWidth(520);

    connect(RbZPliku, &QRadioButton::toggled, this, &TStyleDial::RbZPlikuClick);
    StyleFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

StyleFields TStyleDial::fields() const
{
    StyleFields f;
    f.fromFile = RbZPliku->isChecked();
    f.file = EdPlik->text();
    f.media = CbMedia->currentText().trimmed();
    f.selector = EdSelektor->text();
    f.font = CbKroj->currentText();
    f.size = CbRozmiar->currentText();
    f.colour = EdKolor->text();
    f.background = EdTlo->text();
    f.align = CbWyrownanie->currentText();
    return f;
}

void TStyleDial::setFields(const StyleFields &f)
{
    (f.fromFile ? RbZPliku : RbWTekscie)->setChecked(true);
    EdPlik->setText(f.file);
    CbMedia->setEditText(f.media);
    EdSelektor->setText(f.selector);
    CbKroj->setEditText(f.font);
    CbRozmiar->setEditText(f.size);
    EdKolor->setText(f.colour);
    EdTlo->setText(f.background);
    CbWyrownanie->setCurrentIndex(std::max(0, CbWyrownanie->findText(f.align)));
    RbZPlikuClick();
}

ResolvedInsertion TStyleDial::insertion() const
{
    // CSS knows more colours than HTML 4 ("orange", "rgb(0,0,0)"): only the HTML forms are
    // normalised, anything else goes in as written.
    StyleFields f = fields();
    f.colour = NormalizeColour(f.colour).value_or(f.colour);
    f.background = NormalizeColour(f.background).value_or(f.background);
    return BuildStyle(f);
}

void TStyleDial::RbZPlikuClick()
{
    const bool file = RbZPliku->isChecked();
    EdPlik->setEnabled(file);
    CbMedia->setEnabled(file);
    for (QWidget *w :
        std::initializer_list<QWidget *> { EdSelektor, CbKroj, CbRozmiar, EdKolor, EdTlo, CbWyrownanie })
        w->setEnabled(!file);
}

bool TStyleDial::checkFields()
{
    if (RbZPliku->isChecked()) {
        if (EdPlik->text().isEmpty())
            return refuse(EdPlik, QStringLiteral("Podaj plik arkusza stylów."));
        return true;
    }
    if (CssValue(EdSelektor->text()).isEmpty())
        return refuse(EdSelektor, QStringLiteral("Podaj selektor reguły, np. BODY, P albo .uwaga."));
    return true;
}

void TStyleDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
