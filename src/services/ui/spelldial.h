#pragma once

#include "services/spelltokenizer.h"

#include <QDialog>
#include <QTimer>
#include <memory>

class EditableDocument;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class Spelling;

// "Sprawdź pisownię...": walks through the misspelt words of a document from the caret
// to its end and on from its start back to the caret, selecting each in the document.
// The walk reads the document a stretch at a time between events, so a long document
// keeps the window alive. A replacement is a program change: the first one takes the
// document's snapshot, so "Cofnij" brings back the text from before the walk.
class SpellDial : public QDialog
{
    Q_OBJECT
public:
    static constexpr int StepChars = 256 * 1024;
    static constexpr int MaxSuggestions = 10;

    // document and spelling outlive the dialog.
    SpellDial(EditableDocument *document, std::shared_ptr<Spelling> spelling, QWidget *parent = nullptr);

    // Begins the walk at the caret (the selection's start).
    void start();
    // The word shown; position -1 while none is.
    const SpellWord &current() const { return m_current; }
    bool isSearching() const { return m_step.isActive(); }
    bool isFinished() const { return m_finished; }
    QLineEdit *replacementEdit() const { return m_replacement; }
    QListWidget *suggestionList() const { return m_suggestions; }

    void BtnZamienClick();
    void BtnPominClick();
    void BtnIgnorujClick();
    void BtnDodajClick();

Q_SIGNALS:
    // Words were added to the personal list or ignored: other views may look again.
    void wordsAccepted();

private:
    void searchFrom(int position);
    void searchStep();
    void showWord(const SpellWord &word);
    void finish();
    void setButtons(bool onWord);

    EditableDocument *m_document;
    std::shared_ptr<Spelling> m_spelling;
    QLabel *m_status;
    QLineEdit *m_word;
    QLineEdit *m_replacement;
    QListWidget *m_suggestions;
    QPushButton *m_zamien;
    QPushButton *m_pomin;
    QPushButton *m_ignoruj;
    QPushButton *m_dodaj;
    QTimer m_step;
    SpellWord m_current;
    int m_origin = 0; // where the walk began
    int m_at = 0; // where the search goes on
    bool m_wrapped = false; // past the document's end, back at its start
    bool m_finished = false;
    bool m_snapshotTaken = false;
};
