#include "insert/ui/ttabledial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TTableDial::TTableDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Table, QStringLiteral("Kreator tabeli"), target, parent)
{
    SpWiersze = new QSpinBox(this);
    SpWiersze->setRange(1, TableFields::MaxRows);
    SpKolumny = new QSpinBox(this);
    SpKolumny->setRange(1, TableFields::MaxColumns);
    ChkNaglowekWiersz = new QCheckBox(QStringLiteral("Pierwszy wiersz z nagłówkami kolumn (TH)"), this);
    ChkNaglowekKolumna = new QCheckBox(QStringLiteral("Pierwsza kolumna z nagłówkami wierszy (TH)"), this);
    EdTytul = new QLineEdit(this);
    EdRamka = numberEdit(99);
    EdWypelnienie = numberEdit(99);
    EdOdstep = numberEdit(99);
    EdSzerokosc = new QLineEdit(this);
    EdSzerokosc->setToolTip(QStringLiteral("W pikselach (600) albo w procentach (80%)"));
    EdSzerokosc->setMaximumWidth(EdRamka->maximumWidth());
    CbWyrownanie = new QComboBox(this);
    for (const QString &a : TableAlignments())
        CbWyrownanie->addItem(a.isEmpty() ? QStringLiteral("(bez wyrównania)") : a, a);
    ChkWypelniacz = new QCheckBox(QStringLiteral("Wypełnij puste komórki tekstem:"), this);
    EdWypelniacz = new QLineEdit(this);
    SpWciecie = new QSpinBox(this);
    SpWciecie->setRange(0, 8);
    SpWciecie->setMaximumWidth(EdRamka->maximumWidth());

    auto *size = new QHBoxLayout;
    size->addWidget(SpWiersze);
    size->addWidget(new QLabel(QStringLiteral("wierszy ×"), this));
    size->addWidget(SpKolumny);
    size->addWidget(new QLabel(QStringLiteral("kolumn"), this));
    size->addStretch(1);
    auto *cells = new QGroupBox(QStringLiteral("Komórki"), this);
    auto *cellsForm = new QFormLayout(cells);
    auto *filler = new QHBoxLayout;
    filler->addWidget(ChkWypelniacz);
    filler->addWidget(EdWypelniacz, 1);
    cellsForm->addRow(buddyLabel(QStringLiteral("&Rozmiar:"), SpWiersze), size);
    cellsForm->addRow(ChkNaglowekWiersz);
    cellsForm->addRow(ChkNaglowekKolumna);
    cellsForm->addRow(filler);

    auto *look = new QGroupBox(QStringLiteral("Tabela"), this);
    auto *lookForm = new QFormLayout(look);
    lookForm->addRow(QStringLiteral("&Tytuł (CAPTION):"), EdTytul);
    lookForm->addRow(QStringLiteral("Ra&mka (BORDER):"), EdRamka);
    lookForm->addRow(QStringLiteral("Odstęp od &brzegu komórki (CELLPADDING):"), EdWypelnienie);
    lookForm->addRow(QStringLiteral("Odstęp &między komórkami (CELLSPACING):"), EdOdstep);
    lookForm->addRow(QStringLiteral("&Szerokość (WIDTH):"), EdSzerokosc);
    lookForm->addRow(QStringLiteral("&Wyrównanie (ALIGN):"), CbWyrownanie);
    lookForm->addRow(QStringLiteral("Wcię&cie wierszy (spacje):"), SpWciecie);

    auto *content = new QVBoxLayout;
    content->addWidget(cells);
    content->addWidget(look);
    setContent(content);

    connect(ChkWypelniacz, &QCheckBox::toggled, EdWypelniacz, &QLineEdit::setEnabled);
    TableFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

TableFields TTableDial::fields() const
{
    TableFields f;
    f.rows = SpWiersze->value();
    f.columns = SpKolumny->value();
    f.headerRow = ChkNaglowekWiersz->isChecked();
    f.headerColumn = ChkNaglowekKolumna->isChecked();
    f.caption = EdTytul->text();
    f.border = numberOf(EdRamka);
    f.padding = numberOf(EdWypelnienie);
    f.spacing = numberOf(EdOdstep);
    f.width = EdSzerokosc->text().trimmed();
    f.align = CbWyrownanie->currentData().toString();
    f.placeholder = ChkWypelniacz->isChecked();
    f.placeholderText = EdWypelniacz->text();
    f.indent = SpWciecie->value();
    return f;
}

void TTableDial::setFields(const TableFields &f)
{
    SpWiersze->setValue(f.rows);
    SpKolumny->setValue(f.columns);
    ChkNaglowekWiersz->setChecked(f.headerRow);
    ChkNaglowekKolumna->setChecked(f.headerColumn);
    EdTytul->setText(f.caption);
    setNumber(EdRamka, f.border);
    setNumber(EdWypelnienie, f.padding);
    setNumber(EdOdstep, f.spacing);
    EdSzerokosc->setText(f.width);
    CbWyrownanie->setCurrentIndex(std::max(0, CbWyrownanie->findData(f.align)));
    ChkWypelniacz->setChecked(f.placeholder);
    EdWypelniacz->setText(f.placeholderText);
    EdWypelniacz->setEnabled(f.placeholder);
    SpWciecie->setValue(f.indent);
}

ResolvedInsertion TTableDial::insertion() const
{
    return BuildTable(fields(), !target().selectedText.isEmpty(), target().lineIndent);
}

bool TTableDial::checkFields()
{
    if (!EdSzerokosc->text().trimmed().isEmpty() && !IsHtmlLength(EdSzerokosc->text()))
        return refuse(EdSzerokosc,
            QStringLiteral("Szerokość tabeli podaj w pikselach (np. 600) albo w procentach (np. 80%)."));
    return true;
}

void TTableDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
