#pragma once

#include "services/snippetstore.h"

#include <QWidget>
#include <functional>
#include <optional>

class MarkoraSettings;
class QAction;
class QListWidget;
class QPlainTextEdit;
class QToolBar;

// The snippets panel ("Wstawki"): the snippets of the settings section "Wstawki" by name,
// the text of the chosen one below, and the commands to insert, add, change, rename,
// delete, export and import them. Inserting emits snippetChosen with the snippet's text;
// the window hands it to the common insertion rule (AssistController::InsertSnippet),
// where "{{zaznaczenie}}" stands for the selection and "{{kursor}}" for the caret.
class TWstawkiPanel : public QWidget
{
    Q_OBJECT
public:
    // settings must outlive the panel.
    explicit TWstawkiPanel(MarkoraSettings &settings, QWidget *parent = nullptr);

    QListWidget *ListaWstawek = nullptr;
    QPlainTextEdit *TekstWstawki = nullptr; // read-only: the chosen snippet's text
    QToolBar *PasekWstawek = nullptr;
    QAction *Wstaw = nullptr;
    QAction *Dodaj = nullptr;
    QAction *Zmien = nullptr;
    QAction *ZmienNazwe = nullptr;
    QAction *Usun = nullptr;
    QAction *Eksportuj = nullptr;
    QAction *Importuj = nullptr;

    // Reads the list from the store again, keeping the chosen snippet when it is there.
    void refresh();
    QStringList names() const;
    // The chosen snippet's name; empty when none.
    QString currentName() const;
    void setCurrentName(const QString &name);

    // The operations behind the commands, with their messages; false when nothing changed.
    bool addSnippet(const QString &name, const QString &text);
    bool changeSnippet(const QString &name, const QString &text);
    bool renameSnippet(const QString &from, const QString &to);
    // Asks first.
    bool deleteSnippet(const QString &name);
    // Writes every snippet to path (the exchange file, see snippetfile.h).
    bool exportTo(const QString &path);
    // Reads snippets from path: lines not understood are reported, and snippets whose
    // names are taken by different texts are replaced only when the user says so.
    // Returns how many snippets were added or replaced; -1 when the import was cancelled or
    // the file could not be read.
    int importFrom(const QString &path);

    // The editor of a snippet, for tests: gets the dialog's title and the name and text to
    // start from; returns the name and text chosen, nullopt for Cancel.
    using EditHook = std::function<std::optional<Snippet>(const QString &title, const Snippet &start)>;
    EditHook editHook;
    // The file dialogs, for tests: return the chosen path, empty for Cancel.
    std::function<QString(bool save)> fileHook;

    // Handlers named after the commands.
    void WstawClick();
    void DodajClick();
    void ZmienClick();
    void ZmienNazweClick();
    void UsunClick();
    void EksportujClick();
    void ImportujClick();

Q_SIGNALS:
    // The chosen snippet's text, to be inserted into the current document.
    void snippetChosen(const QString &text);

private:
    void ListaWstawekChange();
    void updateActions();
    std::optional<Snippet> editSnippet(const QString &title, const Snippet &start);
    QString chooseFile(bool save);
    bool checkNewName(const QString &name, const QString &except = QString());

    SnippetStore m_store;
};
