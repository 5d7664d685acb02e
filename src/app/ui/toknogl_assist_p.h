#pragma once

// The state of tag assistance, the tag inspector and insertion in the main window,
// shared by toknogl_assist.cpp and toknogl_insert.cpp.

#include "app/ui/toknogl.h"
#include "insert/insertrunner.h"

#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <memory>

class QDockWidget;
class QListWidget;
class QTabWidget;
class THintBalloon;
class TWstList;

// The names of the five assistance switches, in toolbar order.
enum AssistSwitch { ChkHTMLHint, ChkWstawiacz, ChkZamykanie, ChkAuto, ChkIndent, AssistSwitchCount };

class TOknoGl::AssistState : public QObject
{
public:
    explicit AssistState(TOknoGl *owner)
        : QObject(owner)
        , m_owner(owner)
    {
    }
    // Disconnects the widgets' signals from the window, which is being destroyed.
    ~AssistState() override;

    // Upper pane.
    QDockWidget *plGorny = nullptr;
    InsertToolTabs *toolTabs = nullptr;
    QTabWidget *sideTabs = nullptr; // holds the "Tagi" page
    QWidget *tagiPage = nullptr;
    TagInspector *inspector = nullptr;
    QListWidget *listaTagow = nullptr;

    // Insertion.
    InsertCommandRunner runner;
    std::unique_ptr<InsertInteraction> interaction;

    // Switches and modes.
    QAction *switches[AssistSwitchCount] = {};
    QAction *btnTrybList = nullptr;
    QAction *btnTabTryb = nullptr;
    bool overwrite = false;

    // Parameter list and context menu.
    TWstList *wstList = nullptr;
    QPointer<TEditor> listEditor;
    QMenu *editorPopup = nullptr;
    QMenu *parInserter = nullptr;

    // Syntax hint: shown when the caret has rested in a tag.
    THintBalloon *balloon = nullptr;
    QTimer hintRest;
    QPointer<TEditor> restEditor;
    int restPos = -1;
    QString shownHintTag; // the tag (name at its line) the balloon speaks of

    // The tag loaded into the inspector: the cursor follows its range through edits.
    QPointer<TEditor> inspectedEditor;
    QTextCursor inspectedRange;
    // The snapshot the write-back took for this tag (its text's data): repeated edits of
    // the same tag keep that one instead of copying the document on every keystroke.
    const QChar *writeBackSnapshot = nullptr;

    // Tag preview file.
    bool pdUse = false;
    QString sampleText = QStringLiteral("Wlazł kotek na płotek i mruga...");
    QStringList failedPreviews; // documents whose tag preview could not be written, told once

private:
    TOknoGl *m_owner;
};
