#include "insert/ui/tscriptdial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/ui/taddressedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QRadioButton>

TScriptDial::TScriptDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Script, QStringLiteral("Wstawianie skryptu"), target, parent)
{
    RbWTekscie = new QRadioButton(QStringLiteral("Skrypt &w dokumencie"), this);
    RbZPliku = new QRadioButton(QStringLiteral("Skrypt z &pliku (SRC):"), this);
    EdPlik = new TAddressEdit(
        target.fileName, QStringLiteral("Skrypty (*.js *.mjs *.vbs);;Wszystkie pliki (*)"), this);
    CbTyp = new QComboBox(this);
    CbTyp->setEditable(true);
    CbTyp->addItems(ScriptTypes());
    ChkKomentarz
        = new QCheckBox(QStringLiteral("Ukryj treść w komentarzu przed starymi przeglądarkami"), this);
    ChkDefer = new QCheckBox(QStringLiteral("Wykonaj po wczytaniu strony (&DEFER)"), this);
    ChkAsync = new QCheckBox(QStringLiteral("Wykonaj zaraz po pobraniu (&ASYNC)"), this);

    auto *form = new QFormLayout;
    form->addRow(RbWTekscie);
    form->addRow(QString(), ChkKomentarz);
    form->addRow(RbZPliku, EdPlik);
    form->addRow(QString(), ChkDefer);
    form->addRow(QString(), ChkAsync);
    form->addRow(QStringLiteral("&Typ (TYPE):"), CbTyp);
    setContent(form);
    setMinimumWidth(500);

    connect(RbZPliku, &QRadioButton::toggled, this, &TScriptDial::RbZPlikuClick);
    ScriptFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

ScriptFields TScriptDial::fields() const
{
    ScriptFields f;
    f.fromFile = RbZPliku->isChecked();
    f.file = EdPlik->text();
    f.type = CbTyp->currentText().trimmed();
    f.defer = ChkDefer->isChecked();
    f.async = ChkAsync->isChecked();
    f.hideInComment = ChkKomentarz->isChecked();
    return f;
}

void TScriptDial::setFields(const ScriptFields &f)
{
    (f.fromFile ? RbZPliku : RbWTekscie)->setChecked(true);
    EdPlik->setText(f.file);
    CbTyp->setEditText(f.type);
    ChkDefer->setChecked(f.defer);
    ChkAsync->setChecked(f.async);
    ChkKomentarz->setChecked(f.hideInComment);
    RbZPlikuClick();
}

ResolvedInsertion TScriptDial::insertion() const { return BuildScript(fields()); }

void TScriptDial::RbZPlikuClick()
{
    const bool file = RbZPliku->isChecked();
    EdPlik->setEnabled(file);
    ChkDefer->setEnabled(file);
    ChkAsync->setEnabled(file);
    ChkKomentarz->setEnabled(!file);
}

bool TScriptDial::checkFields()
{
    if (RbZPliku->isChecked() && EdPlik->text().isEmpty())
        return refuse(EdPlik, QStringLiteral("Podaj plik skryptu."));
    return true;
}

void TScriptDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
