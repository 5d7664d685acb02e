#pragma once

#include "insert/scriptmarkup.h"
#include "insert/ui/tinsertdial.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class TAddressEdit;
class TColorEdit;

// "Wstawianie stylu": a simple style rule built from a few fields (font, size, colours,
// alignment) inside a STYLE block, or a link to a style sheet file (a chosen file written
// with the relative-path rule).
class TStyleDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TStyleDial(const InsertTarget &target, QWidget *parent = nullptr);

    StyleFields fields() const;
    void setFields(const StyleFields &f);
    ResolvedInsertion insertion() const override;

    QRadioButton *RbWTekscie = nullptr;
    QRadioButton *RbZPliku = nullptr;
    TAddressEdit *EdPlik = nullptr;
    QComboBox *CbMedia = nullptr;
    QLineEdit *EdSelektor = nullptr;
    QComboBox *CbKroj = nullptr;
    QComboBox *CbRozmiar = nullptr;
    TColorEdit *EdKolor = nullptr;
    TColorEdit *EdTlo = nullptr;
    QComboBox *CbWyrownanie = nullptr;

public Q_SLOTS:
    void RbZPlikuClick();

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
