#pragma once

#include "insert/commandtable.h"
#include "insert/inserttarget.h"

#include <QDialog>
#include <QMessageBox>

class MarkoraSettings;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

// What every insertion dialog and wizard shares: the "OK" and "Anuluj" buttons, its place
// and last values kept in its section of the settings ("Okna/..."), the document it
// inserts into, and its messages. A dialog gathers fields and turns them into markup with
// a core builder; it never touches the document: the insertion runner puts insertion()
// in through the common rule.
class TInsertDial : public QDialog
{
    Q_OBJECT
public:
    // The texts to insert, as the fields stand.
    virtual ResolvedInsertion insertion() const = 0;

    QPushButton *BtnOK = nullptr;
    QPushButton *BtnAnuluj = nullptr;

public Q_SLOTS:
    // Checks the fields (a message box says what is amiss and the dialog stays open), keeps
    // them in the settings and accepts.
    void BtnOKClick();

protected:
    // section: the dialog's settings section (DialogSections); caption: its action's name,
    // which titles the dialog and its messages ("Wstawianie obrazka").
    TInsertDial(QStringView section, const QString &caption, const InsertTarget &target, QWidget *parent);

    // Places content above the buttons.
    void setContent(QLayout *content);
    // False (after saying why) when the fields cannot be inserted.
    virtual bool checkFields() { return true; }
    virtual void saveFields(MarkoraSettings &settings) const = 0;

    const InsertTarget &target() const { return m_target; }
    // A field for a whole number from 0 to max; left empty, the number is not written.
    QLineEdit *numberEdit(int max);
    // A label whose accelerator ("&Rozmiar") takes the focus to buddy: for a row whose field
    // is a layout of several controls.
    QLabel *buddyLabel(const QString &text, QWidget *buddy);
    static int numberOf(const QLineEdit *edit); // -1 when empty
    static void setNumber(QLineEdit *edit, int value); // empty for a negative value
    // A message box titled "<caption>: <word>".
    QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString &word, const QString &text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    // A "błąd" message, focus on the field at fault; always false, for checkFields.
    bool refuse(QWidget *field, const QString &text);

    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QString m_section;
    QString m_caption;
    InsertTarget m_target;
    bool m_placed = false;
};
