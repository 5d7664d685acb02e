#pragma once

#include "base/settings.h"
#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "app/ui/teditor.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QActionGroup;
class QDockWidget;
class PnPodPanPlikow;
class TgPodBrowserem;
class TSetupDial;
class QLabel;
class QMenu;
class QToolBar;
class FindResultsPanel;
class DocumentManager;
class RecoveryController;

// The main window: builds the menus, toolbars and docks and wires them to the objects
// that do the work; the open documents are its DocumentManager's.
class TOknoGl : public QMainWindow, public EditorHost
{
    Q_OBJECT
public:
    explicit TOknoGl(QWidget *parent = nullptr);
    ~TOknoGl() override;

    // ---- Documents (DocumentManager) ----------------------------------------------
    // The open documents, the file commands and the recent files.
    DocumentManager &documents() const { return *m_documents; }
    // The editor of the current page; throws std::runtime_error with
    // "Żaden dokument nie jest otwarty w edytorze!" when no document is open.
    TEditor *CurrentEditor() const;
    // The current editor or nullptr, for callers that check first.
    TEditor *currentEditorOrNull() const;

    // ---- Shared pieces the subsystems hook into ----------------------------------
    MarkoraSettings &settings() { return m_settings; }
    QMenu *menuNamed(const QString &objectName) const;
    QToolBar *mainToolBar() const { return m_mainToolBar; }
    // Status bar panel 0..3.
    void setStatusPanel(int index, const QString &text);
    QString statusPanel(int index) const;
    // Setup options the documents read.
    int tabWidth() const { return m_setup.tabWidth; }
    bool defaultIso() const { return m_setup.inIso; }

    // Refreshes the enabled state of commands and the status panels from the caret.
    void Timer1Timer();

    // ---- Tag assistance, tag inspector and insertion (toknogl_assist.cpp) -----------
    // The upper pane "PlGorny" (a top dock: tool tabs beside the "Tagi" page). Its
    // height is the setting "Splitter2"; setUpperPaneHeight resizes the dock.
    QWidget *upperPane() const;
    int upperPaneHeight() const;
    void setUpperPaneHeight(int height);
    class InsertToolTabs *insertToolTabs() const;
    class TagInspector *tagInspector() const;
    // The editor's context menu with the "Parametry" sub-menu (ParInserter).
    QMenu *editorPopup() const;

    // The common insertion rule on the current editor, for dialogs, wizards and other
    // callers (lower-casing, snapshot, auto-interpretation, "Wstaw jeszcze raz"). False
    // when no document is open or nothing was inserted.
    bool InsertPair(const QString &opening, const QString &closing);
    bool InsertBlock(const QString &opening, const QString &closing);
    // The selection replaced by text as it is (entities), with a snapshot.
    bool InsertPlain(const QString &text);
    // Runs a row of the insertion table by handler ("Btn_BClick") or object name.
    bool runInsertCommand(const QString &handlerOrObjectName);
    // The pair "Wstaw jeszcze raz" repeats; empty before anything was inserted.
    QString lastInsertedOpening() const;
    QString lastInsertedClosing() const;

    // Setup options the insertion and the tag editing read (the setup dialog sets them).
    bool lowerCaseInsertion() const; // "Wstawiaj tagi używając małych liter", default off
    void setLowerCaseInsertion(bool on);
    bool closingParagraph() const; // "Zawsze wstawiaj koniec paragrafu (</P>)", default off
    void setClosingParagraph(bool on);
    // Alignment templates, defaults <DIV ALIGN="Left"> / "Center" / "Right".
    QStringList alignmentTemplates() const;
    void setAlignmentTemplates(const QString &left, const QString &center, const QString &right);
    bool lowerCaseTagEditing() const; // "Edytuj tagi używając małych liter", default off
    void setLowerCaseTagEditing(bool on);
    // The hidden preview of the edited tag ("~Markora$Hint.html"): option PdUse (default
    // off) and the sample text written after the tag.
    bool pdUse() const;
    void setPdUse(bool on);
    QString hintSampleText() const;
    void setHintSampleText(const QString &text);

    // The emulated overwrite mode (Insert key); status panel 2 shows "INS" / "OVR".
    bool overwriteMode() const;
    void setOverwriteMode(bool on);
    // The tag assistance switches (ChkHTMLHint, ChkWstawiacz, ChkZamykanie, ChkAuto,
    // ChkIndent), kept in "Kontrolki" under their names.
    bool assistSwitch(const QString &name) const;
    void setAssistSwitch(const QString &name, bool down);
    // Shows the syntax hint balloon for the tag at the caret when the conditions hold
    // (ChkHTMLHint down, WstList hidden, nothing selected); false when none is shown.
    bool ShowSyntaxHint();
    QWidget *syntaxHintBalloon() const;

Q_SIGNALS:
    // The tag preview file was (re)written; the preview pane shows it.
    void hintPreviewWritten(const QString &path);

public:

    // ---- Start-up, settings, setup dialog, file panel, preview (toknogl_setup.cpp) ---
    // When the window is first shown: reopens "StartupFiles" when the setup option says
    // so, then opens the documents of the command line (full paths), closes the splash
    // and brings the window to the top. Also restores the toolbar positions.
    void FormShow(const QStringList &documents);
    // The setup dialog's options (with the "Edytor" look); setting them applies them
    // to the window and the editors and emits setupOptionsChanged().
    const SetupOptions &setupOptions() const { return m_setup; }
    void setSetupOptions(const SetupOptions &options);
    // The window values read at creation and written at close ("Kontrolki").
    const StartupSettings &startupSettings() const { return m_startup; }
    // Slots 1..6 of the user toolbar: the component name each copies (always six).
    // The user toolbar's six slot names ("Pasek uzytkownika" 1..6).
    QStringList userButtonSlots() const;
    void setUserButtonSlots(const QStringList &names);
    // Files deleted when the window closes (preview files).
    void registerTemporaryFile(const QString &path);
    QStringList temporaryFiles() const { return m_tempFiles; }
    bool wordWrap() const;
    PnPodPanPlikow *filePanel() const { return m_filePanel; }
    TgPodBrowserem *previewPane() const { return m_preview; }
    // Creates the setup dialog now (start-up creates it after the main window).
    TSetupDial *setupDialog();
    // The file panel's filter string ("Wszystkie pliki WWW|" + "_OgExt" ...).
    QString filePanelFilter() const { return m_filePanelFilter; }
    // Preview of the current document: in the preview pane or the system browser as
    // the preview buttons say. Returns the temporary file written, empty on failure.
    QString Podglad1Click();
    // The current document in the system browser.
    QString PodgladPrzegladarka1Click();
    void UstawieniaKonfiguracja1Click();
    void PomocPomoc1Click();
    // The toolbars menu, one entry per toolbar named after it plus "_tbMenu".
    QMenu *toolbarsMenu() const { return m_toolbarsMenu; }
    void rebuildToolbarsMenu();
Q_SIGNALS:
    // The setup dialog was confirmed (or setSetupOptions called): read setupOptions().
    void setupOptionsChanged();

public:

    // ---- Text services: search, converter (toknogl_services.cpp) ---------------------
    FindResultsPanel *findResults() const { return m_results; }
    // The Find (page 0) and Replace (page 1) commands.
    void SearchFindClick(int page);
    void KonwerterClick();

    // ---- Extensions: channel, plug-ins, user toolbar (toknogl_ext.cpp) ---------------
    // (Elaborated class names declare the types without touching the shared forward list.)
    // The "Doklejki" toolbar of plug-in buttons and the "Użytkownika" toolbar.
    QToolBar *pluginToolBar() const { return m_pluginBar; }
    class UserToolBar *userToolBar() const { return m_userBar; }
    // Hands the insertion tool tabs to the user toolbar: their right-click opens the move
    // dialog, and the stored user-button slots are looked up among their buttons.
    void attachToolTabs(class InsertToolTabs *tabs);
    // Writes the user-button slots ("Pasek uzytkownika" 1..6); part of the close sequence.
    void saveUserButtons();

Q_SIGNALS:
    // The active document changed (tab change, open, close); the documents' own signal.
    void activeDocumentChanged(TEditor *editor);

public:
    // ---- Crash recovery (RecoveryController) ---------------------------------------
    RecoveryController &recovery() const { return *m_recovery; }

protected:
    void closeEvent(QCloseEvent *e) override;
    // EditorHost
    void editorFilesDropped(TEditor *, const QStringList &files) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void rebuildRecentMenu();
    QAction *addAction(QMenu *menu, const QString &objectName, const QString &text,
                       const QKeySequence &shortcut, std::function<void()> handler);

    // Handlers named after their controls (the file commands are the documents').
    void EdycjaCofnij1Click();

    MarkoraSettings m_settings;
    DocumentManager *m_documents = nullptr;
    QToolBar *m_mainToolBar = nullptr;
    QLabel *m_statusPanels[4] = {};
    QMenu *m_recentMenu = nullptr;
    QActionGroup *m_charsetGroup = nullptr;
    QList<QAction *> m_needsDocument; // disabled while no document is open

    // ---- Tag assistance, tag inspector and insertion: private -----------------------
    class AssistState; // the assistance's state (toknogl_assist_p.h)
    friend class AssistState;
    // Deletes the state while the window's members go, before the window hides and
    // destroys its widgets: their last signals then find nothing connected.
    struct AssistStateDeleter {
        void operator()(AssistState *state) const;
    };
    void setupAssist();
    void setupUpperPane();
    void setupInsertCommands();
    void setupAssistButtons();
    void setupEditorPopup();
    // Runs at the start of every Timer1Timer tick: INS/OVR, the entry mode buttons, the
    // resting caret that brings the syntax hint.
    void Timer1TimerAssist(TEditor *editor);
    bool editorKeyPress(TEditor *editor, QKeyEvent *e) override;
    bool editorContextMenu(TEditor *editor, const QPoint &globalPos) override;
    bool editorDoubleClick(TEditor *editor) override;
    void commandTriggered(const QString &handler, int index);
    void applyRunResult(TEditor *editor, bool inserted, int entryMode);
    bool interpretTagAtCaret(TEditor *editor);
    void trackInspectedTag(TEditor *editor, int start, int length);
    void TagInspectorTagRebuilt(const QString &newTagText);
    void writeHintPreview(TEditor *editor, const QString &tagText);
    void activeDocumentChangedAssist(TEditor *editor);
    void insertClosingOnGreater(TEditor *editor);
    bool openParameterList(TEditor *editor);
    void WstListClick();
    void WstListKeyPress(QKeyEvent *e);
    void WstListExit();
    void ParInserterClick();
    void ParInserterItemClick(const QString &caption);
    void BtnTrybListClick(bool down);
    void BtnTabTrybClick(bool down);
    void hideSyntaxHint();
    std::unique_ptr<AssistState, AssistStateDeleter> m_assist;

    // ---- Start-up, settings, setup dialog, file panel, preview: private -------------
    void setupStartup();
    void closeSequence();
    QAction *addViewToggle(
        QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> apply);
    void applyEditorLook();
    // Hands the insertion and tag-editing options of the setup dialog to the assistance.
    void applyInsertionOptions();
    void setWordWrap(bool on);
    QString writePreviewFile();
    // Writes a temporary file for a document (WriteTemporaryFile with the private folder)
    // and lists it for deletion at close. A refused file beside the document is reported
    // once, under action + ": ostrzeżenie". Returns the path, empty on failure (*error).
    QString writeTemporaryFile(const QString &action, const QString &documentFile, const QString &name,
        QByteArrayView bytes, QString *error);
    StartupSettings m_startup;
    SetupOptions m_setup;
    QString m_filePanelFilter;
    QAction *ChkZawijanie = nullptr;
    QAction *Pasekprzyciskow1 = nullptr;
    QAction *Panelplikow1 = nullptr;
    QAction *Pasekstatusu1 = nullptr;
    QDockWidget *m_filePanelDock = nullptr;
    QDockWidget *m_previewDock = nullptr;
    PnPodPanPlikow *m_filePanel = nullptr;
    TgPodBrowserem *m_preview = nullptr;
    QPointer<TSetupDial> m_setupDial;
    QPointer<QWidget> m_help;
    QMenu *m_toolbarsMenu = nullptr;
    QStringList m_tempFiles;
    QStringList m_refusedTemporaryFiles; // reported once each
    bool m_firstShown = false;

    // ---- Crash recovery: private -----------------------------------------------------
    RecoveryController *m_recovery = nullptr;

    // ---- Text services: private -----------------------------------------------------
    void setupServices();
    FindResultsPanel *m_results = nullptr;

    // ---- Extensions: private --------------------------------------------------------
    // Builds the plug-in buttons from the "Doklejki" store and the user toolbar from the
    // settings; both toolbars are added to the window.
    void setupPlugins();
    QToolBar *m_pluginBar = nullptr;
    class UserToolBar *m_userBar = nullptr;
};
