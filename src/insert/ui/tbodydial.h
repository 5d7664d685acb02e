#pragma once

#include "insert/pagemarkup.h"
#include "insert/ui/tinsertdial.h"

class QLineEdit;
class TAddressEdit;
class TColorEdit;

// "Wstawianie znacznika BODY": the colours of the text, the background and the links, a
// background picture and the margins.
class TBodyDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TBodyDial(const InsertTarget &target, QWidget *parent = nullptr);

    // The colours as written (checkFields normalises them on OK).
    BodyFields fields() const;
    void setFields(const BodyFields &f);
    ResolvedInsertion insertion() const override;

    TColorEdit *EdTekst = nullptr;
    TColorEdit *EdTlo = nullptr;
    TColorEdit *EdLink = nullptr;
    TColorEdit *EdVLink = nullptr;
    TColorEdit *EdALink = nullptr;
    TAddressEdit *EdObrazTla = nullptr;
    QLineEdit *EdMarginesPoziomy = nullptr;
    QLineEdit *EdMarginesPionowy = nullptr;

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;

private:
    QList<TColorEdit *> colourEdits() const;
};
