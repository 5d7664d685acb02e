#pragma once

#include "insert/pagemarkup.h"
#include "insert/ui/tinsertdial.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TAddressEdit;

// "Wstawianie nagłówka": the HEAD of a document with its title, description, keywords
// (picked from the user's konfiguracja/keywords.txt or typed), author, the declaration of
// the document's code page and a style sheet link.
class THeadDial : public TInsertDial
{
    Q_OBJECT
public:
    // keywordsPath: the list of keywords to offer; a missing file leaves the list empty.
    THeadDial(const InsertTarget &target, QWidget *parent = nullptr, const QString &keywordsPath = QString());

    HeadFields fields() const;
    void setFields(const HeadFields &f);
    ResolvedInsertion insertion() const override;

    QLineEdit *EdTytul = nullptr;
    QLineEdit *EdOpis = nullptr;
    QLineEdit *EdSlowa = nullptr;
    QListWidget *LbSlowa = nullptr;
    QLabel *LbSlowaPlik = nullptr;
    QLineEdit *EdAutor = nullptr;
    QCheckBox *ChkKodowanie = nullptr;
    TAddressEdit *EdArkusz = nullptr;

public Q_SLOTS:
    // A word ticked in the list is added to the keywords, unticked taken out.
    void LbSlowaItemChanged(QListWidgetItem *item);
    // The ticks follow the words typed.
    void EdSlowaChange();

protected:
    void saveFields(MarkoraSettings &settings) const override;
};
