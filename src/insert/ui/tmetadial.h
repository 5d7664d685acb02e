#pragma once

#include "insert/pagemarkup.h"
#include "insert/ui/tinsertdial.h"

class QComboBox;
class QRadioButton;

// "Wstawianie znacznika META": a name (NAME) or an HTTP header (HTTP-EQUIV), each kind with
// its usual names offered, and the value, with the usual values of the chosen name.
class TMetaDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TMetaDial(const InsertTarget &target, QWidget *parent = nullptr);

    MetaFields fields() const;
    void setFields(const MetaFields &f);
    ResolvedInsertion insertion() const override;

    QRadioButton *RbName = nullptr;
    QRadioButton *RbHttpEquiv = nullptr;
    QComboBox *CbNazwa = nullptr;
    QComboBox *CbWartosc = nullptr;

public Q_SLOTS:
    // The names offered follow the kind.
    void RbHttpEquivClick();
    // The values offered follow the name.
    void CbNazwaChange();

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
