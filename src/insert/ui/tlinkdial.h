#pragma once

#include "insert/linkmarkup.h"
#include "insert/ui/tinsertdial.h"

class QComboBox;
class QLineEdit;
class TAddressEdit;

// "Wstawianie odnośnika": the A tag to a file or address (a chosen file written with the
// relative-path rule), to an e-mail address or to an anchor. Over a selection the
// selection is the link's text.
class TLinkDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TLinkDial(const InsertTarget &target, QWidget *parent = nullptr);

    LinkFields fields() const;
    void setFields(const LinkFields &f);
    ResolvedInsertion insertion() const override;

    QComboBox *CbRodzaj = nullptr;
    TAddressEdit *EdAdres = nullptr;
    QLineEdit *EdTekst = nullptr;
    QLineEdit *EdTytul = nullptr;
    QComboBox *CbCel = nullptr;

public Q_SLOTS:
    void CbRodzajChange(int index);

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
