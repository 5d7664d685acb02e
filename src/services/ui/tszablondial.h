#pragma once

#include "services/templates.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "Nowy z szablonu...": the templates of the program's folder and of the user's, with the
// text of the chosen one beside the list. The window makes the new document from
// chosenPath() with LoadTemplate, which fills the placeholders as "Nowy" does.
class TSzablonDial : public QDialog
{
    Q_OBJECT
public:
    explicit TSzablonDial(QWidget *parent = nullptr, const QString &shippedFolder = ShippedTemplateFolder(),
        const QString &userFolder = UserTemplateFolder());

    QTreeWidget *ListaSzablonow = nullptr;
    QPlainTextEdit *Podglad = nullptr;
    QLabel *LbBrak = nullptr; // shown when there is no template at all
    QPushButton *BtnUtworz = nullptr;
    QPushButton *BtnAnuluj = nullptr;

    // The templates listed, in list order.
    const QList<TemplateEntry> &entries() const { return m_entries; }
    // The chosen template's file; empty when none is chosen.
    QString chosenPath() const;
    // Reads both folders again.
    void refresh();

    // "Zapisz jako szablon...": asks for the template's name and saves text (in the
    // document's code page and line break) in folder, asking before an existing template
    // is replaced. Returns the template's path; empty when nothing was saved (cancelled or
    // failed, failures reported as "Zapisywanie szablonu: błąd").
    static QString saveAsTemplate(QWidget *parent, const QString &text, const DocumentEncoding &encoding,
        LineBreak lineBreak, const QString &folder = UserTemplateFolder());

private:
    void ListaSzablonowChange();

    QString m_shipped;
    QString m_user;
    QList<TemplateEntry> m_entries;
};
