#include "insert/ui/tmetadial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

TMetaDial::TMetaDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Meta, QStringLiteral("Wstawianie znacznika META"), target, parent)
{
    RbName = new QRadioButton(QStringLiteral("&NAME: opis dokumentu"), this);
    RbHttpEquiv = new QRadioButton(QStringLiteral("&HTTP-EQUIV: nagłówek HTTP"), this);
    CbNazwa = new QComboBox(this);
    CbNazwa->setEditable(true);
    CbNazwa->setInsertPolicy(QComboBox::NoInsert);
    CbWartosc = new QComboBox(this);
    CbWartosc->setEditable(true);
    CbWartosc->setInsertPolicy(QComboBox::NoInsert);
    CbWartosc->setMinimumContentsLength(30);

    auto *kinds = new QHBoxLayout;
    kinds->addWidget(RbName);
    kinds->addWidget(RbHttpEquiv);
    kinds->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("Rodzaj:"), this), kinds);
    form->addRow(QStringLiteral("Na&zwa:"), CbNazwa);
    form->addRow(QStringLiteral("&Wartość (CONTENT):"), CbWartosc);
    setContent(form);

    connect(RbName, &QRadioButton::toggled, this, &TMetaDial::RbHttpEquivClick);
    connect(CbNazwa, &QComboBox::currentTextChanged, this, &TMetaDial::CbNazwaChange);
    MetaFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

MetaFields TMetaDial::fields() const
{
    return { RbHttpEquiv->isChecked() ? MetaKind::HttpEquiv : MetaKind::Name,
        CbNazwa->currentText().trimmed(), CbWartosc->currentText() };
}

void TMetaDial::setFields(const MetaFields &f)
{
    (f.kind == MetaKind::HttpEquiv ? RbHttpEquiv : RbName)->setChecked(true);
    RbHttpEquivClick();
    CbNazwa->setEditText(f.name);
    CbWartosc->setEditText(f.content);
}

ResolvedInsertion TMetaDial::insertion() const { return BuildMeta(fields()); }

void TMetaDial::RbHttpEquivClick()
{
    const QString name = CbNazwa->currentText();
    const QSignalBlocker block(CbNazwa);
    CbNazwa->clear();
    CbNazwa->addItems(MetaNames(RbHttpEquiv->isChecked() ? MetaKind::HttpEquiv : MetaKind::Name));
    CbNazwa->setEditText(name);
}

void TMetaDial::CbNazwaChange()
{
    const QString value = CbWartosc->currentText();
    CbWartosc->clear();
    const QStringList values = MetaValueSuggestions(CbNazwa->currentText());
    CbWartosc->addItems(values);
    // A name chosen from the list brings its usual value; a value typed stays.
    CbWartosc->setEditText(value.isEmpty() && !values.isEmpty() ? values.first() : value);
}

bool TMetaDial::checkFields()
{
    if (CbNazwa->currentText().trimmed().isEmpty())
        return refuse(CbNazwa, QStringLiteral("Podaj nazwę znacznika META."));
    return true;
}

void TMetaDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
