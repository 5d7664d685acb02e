#include "insert/ui/tbodydial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/ui/taddressedit.h"
#include "insert/ui/tcoloredit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TBodyDial::TBodyDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Body, QStringLiteral("Wstawianie znacznika BODY"), target, parent)
{
    EdTekst = new TColorEdit(this);
    EdTlo = new TColorEdit(this);
    EdLink = new TColorEdit(this);
    EdVLink = new TColorEdit(this);
    EdALink = new TColorEdit(this);
    EdObrazTla = new TAddressEdit(target.fileName,
        QStringLiteral("Obrazki (*.png *.jpg *.jpeg *.gif *.webp *.svg *.bmp);;Wszystkie pliki (*)"), this);
    EdMarginesPoziomy = numberEdit(999);
    EdMarginesPionowy = numberEdit(999);

    auto *margins = new QHBoxLayout;
    margins->addWidget(new QLabel(QStringLiteral("z boków:"), this));
    margins->addWidget(EdMarginesPoziomy);
    margins->addWidget(new QLabel(QStringLiteral("u góry i u dołu:"), this));
    margins->addWidget(EdMarginesPionowy);
    margins->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Kolor &tekstu (TEXT):"), EdTekst);
    form->addRow(QStringLiteral("Kolor t&ła (BGCOLOR):"), EdTlo);
    form->addRow(QStringLiteral("&Odnośniki (LINK):"), EdLink);
    form->addRow(QStringLiteral("Odnośniki od&wiedzone (VLINK):"), EdVLink);
    form->addRow(QStringLiteral("Odnośniki &aktywne (ALINK):"), EdALink);
    form->addRow(QStringLiteral("Obrazek tła (&BACKGROUND):"), EdObrazTla);
    form->addRow(buddyLabel(QStringLiteral("&Marginesy w pikselach:"), EdMarginesPoziomy), margins);
    setContent(form);
    setMinimumWidth(500);

    BodyFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

QList<TColorEdit *> TBodyDial::colourEdits() const { return { EdTekst, EdTlo, EdLink, EdVLink, EdALink }; }

BodyFields TBodyDial::fields() const
{
    BodyFields f;
    f.text = EdTekst->text();
    f.background = EdTlo->text();
    f.link = EdLink->text();
    f.visited = EdVLink->text();
    f.active = EdALink->text();
    f.picture = EdObrazTla->text();
    f.marginH = numberOf(EdMarginesPoziomy);
    f.marginV = numberOf(EdMarginesPionowy);
    return f;
}

void TBodyDial::setFields(const BodyFields &f)
{
    EdTekst->setText(f.text);
    EdTlo->setText(f.background);
    EdLink->setText(f.link);
    EdVLink->setText(f.visited);
    EdALink->setText(f.active);
    EdObrazTla->setText(f.picture);
    setNumber(EdMarginesPoziomy, f.marginH);
    setNumber(EdMarginesPionowy, f.marginV);
}

ResolvedInsertion TBodyDial::insertion() const
{
    BodyFields f = fields();
    for (QString *colour : { &f.text, &f.background, &f.link, &f.visited, &f.active })
        *colour = NormalizeColour(*colour).value_or(*colour);
    return BuildBody(f);
}

bool TBodyDial::checkFields()
{
    for (TColorEdit *edit : colourEdits())
        if (!NormalizeColour(edit->text()))
            return refuse(edit,
                QStringLiteral("„") + edit->text()
                    + QStringLiteral("” nie jest kolorem: podaj #RRGGBB albo nazwę koloru, np. navy."));
    return true;
}

void TBodyDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
