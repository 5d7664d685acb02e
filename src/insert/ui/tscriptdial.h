#pragma once

#include "insert/scriptmarkup.h"
#include "insert/ui/tinsertdial.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class TAddressEdit;

// "Wstawianie skryptu": a SCRIPT written in the document or read from a file (a chosen
// file written with the relative-path rule), its type, and DEFER / ASYNC for a file.
class TScriptDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TScriptDial(const InsertTarget &target, QWidget *parent = nullptr);

    ScriptFields fields() const;
    void setFields(const ScriptFields &f);
    ResolvedInsertion insertion() const override;

    QRadioButton *RbWTekscie = nullptr;
    QRadioButton *RbZPliku = nullptr;
    TAddressEdit *EdPlik = nullptr;
    QComboBox *CbTyp = nullptr;
    QCheckBox *ChkDefer = nullptr;
    QCheckBox *ChkAsync = nullptr;
    QCheckBox *ChkKomentarz = nullptr;

public Q_SLOTS:
    // The controls of the other place are disabled.
    void RbZPlikuClick();

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
