#pragma once

#include <QObject>

class DocumentManager;
class QAction;
class QMainWindow;

// The commands a desktop user expects besides the program's own: the next and the
// previous document ("NastepnyDokument1" Ctrl+Tab / Ctrl+PgDown, "PoprzedniDokument1"
// Ctrl+Shift+Tab / Ctrl+PgUp, round the tabs), full screen ("PelnyEkran1", F11), and
// "Edytuj definicje znaczników" ("EdytujDefinicje1"), which makes the user's own copy of
// konfiguracja/ (base/datafiles.h) and opens its tags.ini. The window places the actions.
class DesktopCommands : public QObject
{
    Q_OBJECT
public:
    // window: owns the commands and their actions; documents outlive them.
    DesktopCommands(QMainWindow &window, DocumentManager &documents);

    // Next, previous: for the "Widok" menu; they need a document.
    QList<QAction *> documentActions() const { return { m_next, m_previous }; }
    QAction *fullScreenAction() const { return m_fullScreen; }
    // For the "Ustawienia" menu.
    QAction *editDefinitionsAction() const { return m_editDefinitions; }

    // Activates the document step tabs away from the active one, round the ends.
    void StepDocument(int step);
    // Makes the user's copy of konfiguracja/ when it is missing or incomplete and opens
    // its tags.ini; a failure is reported in a message box. Returns the document's id, 0
    // when nothing was opened.
    int EdytujDefinicje1Click();

Q_SIGNALS:
    // A line for the status bar (panel 3).
    void statusMessage(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMainWindow &m_window;
    DocumentManager &m_documents;
    QAction *m_next = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_fullScreen = nullptr;
    QAction *m_editDefinitions = nullptr;
};
