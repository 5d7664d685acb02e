#pragma once

#include "insert/insertdialogstate.h"
#include "insert/ui/tinsertdial.h"

#include <QDateTime>

class QListWidget;

// "Wstawianie daty": the current date and time in one of several forms. A date is text,
// not markup: it replaces the selection as it is, as the entities do.
class TDateDial : public TInsertDial
{
    Q_OBJECT
public:
    explicit TDateDial(const InsertTarget &target, QWidget *parent = nullptr);

    // The moment shown (the dialog's opening time unless set).
    void setMoment(const QDateTime &moment);
    DateFields fields() const;
    ResolvedInsertion insertion() const override;

    QListWidget *LbFormaty = nullptr;

protected:
    bool checkFields() override;
    void saveFields(MarkoraSettings &settings) const override;
};
