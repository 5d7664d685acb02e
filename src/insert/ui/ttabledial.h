#pragma once

#include "insert/tablemarkup.h"
#include "insert/ui/tinsertdial.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

// "Kreator tabeli": a table of rows and columns with header cells, a caption, its border,
// padding, spacing, width and alignment, and cells left empty or filled with a
// placeholder. The selection (or the caret) lands in the first cell; the table is set
// out on lines indented by level, from the indentation of the caret's line.
class TTableDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TTableDial(const InsertTarget &target, QWidget *parent = nullptr);

    TableFields fields() const;
    void setFields(const TableFields &f);
    ResolvedInsertion insertion() const override;

    QSpinBox *SpWiersze = nullptr;
    QSpinBox *SpKolumny = nullptr;
    QCheckBox *ChkNaglowekWiersz = nullptr;
    QCheckBox *ChkNaglowekKolumna = nullptr;
    QLineEdit *EdTytul = nullptr;
    QLineEdit *EdRamka = nullptr;
    QLineEdit *EdWypelnienie = nullptr;
    QLineEdit *EdOdstep = nullptr;
    QLineEdit *EdSzerokosc = nullptr;
    QComboBox *CbWyrownanie = nullptr;
    QCheckBox *ChkWypelniacz = nullptr;
    QLineEdit *EdWypelniacz = nullptr;
    QSpinBox *SpWciecie = nullptr;

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
