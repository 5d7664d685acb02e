#pragma once

#include "services/konwerter.h"

#include <QDialog>
#include <QMessageBox>

class DocumentSet;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// The Polish-letter converter dialog: recodes the selection, the active document or
// every open document from one table of znaki.txt to another.
class TKonwerterDial : public QDialog
{
    Q_OBJECT
public:
    // Reads the table file now (its errors are reported in message boxes). docs must
    // outlive the dialog.
    TKonwerterDial(DocumentSet *docs, const QString &znakiPath, QWidget *parent = nullptr);

    QListWidget *FromList = nullptr;
    QListWidget *ToList = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QLabel *Label3 = nullptr;

    const ConvLookup &lookup() const { return m_lookup; }

public Q_SLOTS:
    // Sets the scope buttons from the active document's selection (each time shown).
    void FormShow();
    // "Konwertuj".
    void Button1Click();
    // Shows the codes of the selected source table as characters.
    void FromListDblClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void message(QMessageBox::Icon icon, const QString &caption, const QString &text);

    DocumentSet *m_docs;
    ConvLookup m_lookup;
};
