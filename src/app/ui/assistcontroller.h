#pragma once

#include "app/ui/teditor.h"
#include "insert/insertrunner.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <memory>

class InsertToolTabs;
class QAction;
class QListWidget;
class QMenu;
class QTabWidget;
class TagInspector;
class THintBalloon;
class DocumentManager;
class MarkoraSettings;
class SetupController;
class TemporaryFiles;
class TWstList;

// Tag assistance while typing, the tag inspector and the insertion commands of the main
// window: the key handler (Enter, automatic closing, overwrite, the parameter list
// WstList), the five switches and the entry modes, the editor's context menu with its
// parameter inserter, the syntax hint, the tool tabs and the common insertion rule.
//
// It builds its widgets and actions as children of the window; the window places them
// (upper pane, toolbar, insert menu). It is the host of the window's editors. Nothing
// here depends on the window being shown: the parameter list counts as open while it is
// not hidden, whether or not the window is on the screen.
class AssistController : public QObject, public EditorHost
{
    Q_OBJECT
public:
    // The names of the five assistance switches, in toolbar order.
    enum Switch { ChkHTMLHint, ChkWstawiacz, ChkZamykanie, ChkAuto, ChkIndent, SwitchCount };

    // Reads the switches' stored states ("Kontrolki") and the setup options, and follows
    // the options as they change. window: owns the widgets and actions built here, and
    // the messages; settings, setup and files (where the tag preview goes) outlive it.
    AssistController(
        QWidget &window, MarkoraSettings &settings, const SetupController &setup, TemporaryFiles &files);
    ~AssistController() override;
    // The documents whose current editor the commands and the assistance work on; the
    // documents are made with this controller as their editors' host, so they come later.
    void setDocuments(DocumentManager *documents) { m_documents = documents; }

    // ---- Parts the window places -------------------------------------------------------
    // The content of the upper pane "PlGorny": the tool tabs beside the "Tagi" page (the
    // tag inspector) and the tag list "ListaTagow".
    QWidget *upperPaneContent() const { return m_upperContent; }
    // The switches ChkHTMLHint..ChkIndent, then the entry-mode buttons BtnTrybList and
    // BtnTabTryb, for the main toolbar.
    QList<QAction *> switchActions() const;
    QList<QAction *> entryModeActions() const;
    // The items of the insert menu, built from the command table.
    QList<QAction *> insertMenuActions() const;
    InsertToolTabs *insertToolTabs() const { return m_toolTabs; }
    TagInspector *tagInspector() const { return m_inspector; }
    // The editor's context menu with the "Parametry" sub-menu (ParInserter).
    QMenu *editorPopup() const { return m_editorPopup; }

    // ---- The common insertion rule ---------------------------------------------------
    // On the current editor, for dialogs, wizards and other callers (lower-casing,
    // snapshot, auto-interpretation, "Wstaw jeszcze raz"). False when no document is open
    // or nothing was inserted.
    bool InsertPair(const QString &opening, const QString &closing);
    bool InsertBlock(const QString &opening, const QString &closing);
    // The selection replaced by text as it is (entities), with a snapshot.
    bool InsertPlain(const QString &text);
    // A snippet ("Wstawki") by the same rule: with a selection marker it is a pair around
    // the selection, without one its text replaces the selection (ExpandSnippet); a caret
    // marker then places the caret. False when no document is open or nothing was inserted.
    bool InsertSnippet(const QString &snippet);
    // Runs a row of the insertion table by handler ("Btn_BClick") or object name.
    bool runInsertCommand(const QString &handlerOrObjectName);
    // The pair "Wstaw jeszcze raz" repeats; empty before anything was inserted.
    QString lastInsertedOpening() const { return m_runner.lastOpening(); }
    QString lastInsertedClosing() const { return m_runner.lastClosing(); }

    // ---- Switches, modes, hint -------------------------------------------------------
    // The emulated overwrite mode (Insert key); status panel 2 shows "INS" / "OVR".
    bool overwriteMode() const { return m_overwrite; }
    void setOverwriteMode(bool on);
    // A switch by its name ("ChkHTMLHint" ...); an unknown name reads as up.
    bool assistSwitch(const QString &name) const;
    void setAssistSwitch(const QString &name, bool down);
    // Shows the syntax hint balloon for the tag at the caret when the conditions hold
    // (ChkHTMLHint down, WstList hidden, nothing selected); false when none is shown.
    bool ShowSyntaxHint();
    QWidget *syntaxHintBalloon() const;

    // The status timer's share, at the start of every tick of the window's Timer1Timer:
    // the entry-mode buttons, the resting caret that brings the syntax hint.
    void Timer1TimerAssist(TEditor *editor);
    // The window's current document changed (nullptr: none is open).
    void activeDocumentChanged(TEditor *editor);

    // ---- EditorHost --------------------------------------------------------------------
    bool editorKeyPress(TEditor *editor, QKeyEvent *e) override;
    bool editorContextMenu(TEditor *editor, const QPoint &globalPos) override;
    bool editorDoubleClick(TEditor *editor) override;
    // Files dropped are not the assistance's: they are passed on as filesDropped.
    void editorFilesDropped(TEditor *editor, const QStringList &files) override;

    // ---- Handlers named after their controls -----------------------------------------
    void WstListClick();
    void WstListKeyPress(QKeyEvent *e);
    void WstListExit();
    void ParInserterClick();
    void BtnTrybListClick(bool down);
    void BtnTabTrybClick(bool down);

Q_SIGNALS:
    // A switch, mode or menu changed what the commands and the status bar show.
    void refreshRequested();
    // The tag preview file was (re)written; the preview pane shows it.
    void hintPreviewWritten(const QString &path);
    // Files were dropped on an editor, in the order they came.
    void filesDropped(const QStringList &files);
    // The editor's context menu is about to open over editor: other parts may put their
    // entries (for the word at the caret) into it.
    void editorPopupAboutToShow(TEditor *editor, QMenu *popup);

private:
    TEditor *currentEditor() const;
    void createUpperPane();
    void createActions();
    void createEditorPopup();
    // Hands the setup options the insertion and the tag inspector read to them.
    void applySetupOptions();
    bool parameterListOpen() const;
    void hideSyntaxHint();
    void commandTriggered(int index);
    void applyRunResult(TEditor *editor, bool inserted, int entryMode);
    bool interpretTagAtCaret(TEditor *editor);
    void trackInspectedTag(TEditor *editor, int start, int length);
    void TagInspectorTagRebuilt(const QString &newTagText);
    void writeHintPreview(TEditor *editor, const QString &tagText);
    void insertClosingOnGreater(TEditor *editor);
    bool openParameterList(TEditor *editor);
    // The value list of a parameter whose value starts at valueFrom (just after "="); false
    // when the parameter lists no values or the list is switched off.
    bool openValueList(TEditor *editor, const QString &tag, const QString &arg, int valueFrom);
    bool offerValuesOnEquals(TEditor *editor);
    enum class ListMode { Parameters, Values };
    void showList(TEditor *editor, ListMode mode, const QStringList &items, const QString &tag,
        const QString &arg, bool quoted);
    // Makes the first entry that begins with what was typed since the list opened current.
    void selectTypedEntry(TEditor *editor);
    void ParInserterItemClick(const QString &caption, const QString &tag);

    QWidget &m_window;
    MarkoraSettings &m_settings;
    const SetupController &m_setup;
    TemporaryFiles &m_files;
    DocumentManager *m_documents = nullptr;

    // Upper pane.
    QWidget *m_upperContent = nullptr;
    InsertToolTabs *m_toolTabs = nullptr;
    QTabWidget *m_sideTabs = nullptr; // holds the "Tagi" page
    QWidget *m_tagiPage = nullptr;
    TagInspector *m_inspector = nullptr;
    QListWidget *m_listaTagow = nullptr;
    QMenu *m_insertMenu = nullptr; // built from the table; the window's menu takes its items

    // Insertion.
    InsertCommandRunner m_runner;
    std::unique_ptr<InsertInteraction> m_interaction;

    // Switches and modes.
    QAction *m_switches[SwitchCount] = {};
    QAction *m_btnTrybList = nullptr;
    QAction *m_btnTabTryb = nullptr;
    bool m_overwrite = false;

    // Parameter list and context menu.
    // WstList offers a tag's parameters, or the values of one of them.
    TWstList *m_wstList = nullptr;
    QPointer<TEditor> m_listEditor;
    ListMode m_listMode = ListMode::Parameters;
    QString m_listTag; // the tag the list speaks of
    QString m_listArg; // the parameter whose values it offers
    bool m_listQuoted = false; // that parameter's value is written between quotes
    quint64 m_listGeneration = 0; // counts the openings: a key may open another list
    QHash<QString, QStringList> m_parameterLists; // by tag name as typed, as the list shows them
    QMenu *m_editorPopup = nullptr;
    QMenu *m_parInserter = nullptr;

    // Syntax hint: shown when the caret has rested in a tag.
    THintBalloon *m_balloon = nullptr;
    QTimer m_hintRest;
    QPointer<TEditor> m_restEditor;
    int m_restPos = -1;
    QString m_shownHintTag; // the tag (name at its line) the balloon speaks of

    // The tag loaded into the inspector: the cursor follows its range through edits.
    QPointer<TEditor> m_inspectedEditor;
    QTextCursor m_inspectedRange;
    // The snapshot the write-back took for this tag (its serial; 0: none): repeated edits
    // of the same tag keep that one instead of copying the document on every keystroke.
    quint64 m_writeBackSnapshot = 0;
    QStringList m_failedPreviews; // documents whose tag preview could not be written, told once
};
