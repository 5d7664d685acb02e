#pragma once

#include "base/documents.h"
#include "app/recoverystore.h"
#include "base/settings.h"
#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "app/ui/teditor.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <functional>

class QAction;
class QActionGroup;
class QDockWidget;
class QFileSystemWatcher;
class QTimer;
class PnPodPanPlikow;
class TgPodBrowserem;
class TSetupDial;
class QLabel;
class QMenu;
class QTabBar;
class QThreadPool;
class QToolBar;
class TMyNotebook;
class FindResultsPanel;
class AssistController;

// The main window: owns every document editor, toolbar and dialog, and is the
// document set the text services work on.
class TOknoGl : public QMainWindow, public DocumentSet
{
    Q_OBJECT
public:
    explicit TOknoGl(QWidget *parent = nullptr);
    ~TOknoGl() override;

    // ---- Documents -------------------------------------------------------------
    // DocumentSet: the editors in tab order.
    int count() const override;
    EditableDocument *at(int index) const override { return editorAt(index); }
    int activeIndex() const override;
    void activate(int index) override;

    TEditor *editorAt(int index) const;
    // The editor of the current page; throws std::runtime_error with
    // "Żaden dokument nie jest otwarty w edytorze!" when no document is open.
    TEditor *CurrentEditor() const;
    // The current editor or nullptr, for callers that check first.
    TEditor *currentEditorOrNull() const;
    TMyNotebook *notebook() const { return NbEdytora; }

    // Opens a file (charset mode 0 detect, 1 Windows-1250, 2 ISO 8859-2); returns the
    // document's id, or 0 when nothing was opened. With StatusBar (requests of other
    // programs, which nobody may be there to answer) no message box is shown: why
    // nothing was opened goes to the status bar, and a file already open is left as it
    // is, as if the reload question had been answered No.
    enum class OpenPrompts { Dialogs, StatusBar };
    int Open(const QString &path, int mode, OpenPrompts prompts = OpenPrompts::Dialogs);
    TEditor *New();
    // Replaces the current selection with the file's text (the file's charset detected
    // into a local flag). False when nothing was inserted.
    bool InsertFile(const QString &path, int mode);
    bool Save(TEditor *editor);
    bool SaveAs(TEditor *editor, const QString &chosenPath = QString());
    void SaveAll();
    bool Close(TEditor *editor, QStringList *closedNames = nullptr);
    bool CloseAll();
    QStringList recentFiles() const { return m_recentFiles; }
    // Compares the document's file on disk with the state the document last read or
    // wrote. When another program changed it: loads it again (an unmodified document,
    // with the setup option on) or asks; when it was deleted: says so and marks the
    // document modified. One question per document at a time. The file watcher calls it.
    void CheckFileOnDisk(TEditor *editor);
    // The files watched for changes made by other programs.
    QStringList watchedFiles() const;

    // Save dialog override for tests: returns the chosen path or an empty string.
    std::function<QString(const QString &title)> saveDialogHook;

    // ---- Shared pieces the subsystems hook into ----------------------------------
    MarkoraSettings &settings() { return m_settings; }
    QMenu *menuNamed(const QString &objectName) const;
    QToolBar *mainToolBar() const { return m_mainToolBar; }
    // Status bar panel 0..3.
    void setStatusPanel(int index, const QString &text);
    QString statusPanel(int index) const;
    const EditorAppearance &editorAppearance() const { return m_appearance; }
    // The template file new documents start from (the window value "DefTemplate").
    QString defaultTemplate() const { return m_startup.defTemplate; }
    void setDefaultTemplate(const QString &path) { m_startup.defTemplate = path; }
    // Writes a temporary file for a document (WriteTemporaryFile with the private folder)
    // and lists it for deletion at close. A refused file beside the document is reported
    // once, under action + ": ostrzeżenie". Returns the path, empty on failure (*error).
    QString writeTemporaryFile(const QString &action, const QString &documentFile, const QString &name,
        QByteArrayView bytes, QString *error);

    // Refreshes the enabled state of commands and the status panels from the caret.
    void Timer1Timer();

    // ---- Tag assistance, tag inspector and insertion (AssistController) -------------
    // Typing assistance, the tool tabs, the tag inspector and the common insertion rule;
    // it is the host of every editor of the window.
    AssistController *assist() const { return m_assist.get(); }
    // The upper pane "PlGorny" (a top dock: tool tabs beside the "Tagi" page). Its
    // height is the setting "Splitter2"; setUpperPaneHeight resizes the dock.
    QWidget *upperPane() const;
    int upperPaneHeight() const;
    void setUpperPaneHeight(int height);

    // ---- Start-up, settings, setup dialog, file panel, preview (toknogl_setup.cpp) ---
    // When the window is first shown: reopens "StartupFiles" when the setup option says
    // so, then opens the documents of the command line (full paths), closes the splash
    // and brings the window to the top. Also restores the toolbar positions.
    void FormShow(const QStringList &documents);
    // The setup dialog's options (with the "Edytor" look): the one copy every part of the
    // program reads. Setting them applies them to the window and the editors and emits
    // setupOptionsChanged().
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
    // The options were read at start-up, the setup dialog was confirmed or setSetupOptions
    // was called: read setupOptions().
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
    // The active document changed (tab change, open, close).
    void activeDocumentChanged(TEditor *editor);
    // A document is about to be destroyed.
    void documentClosing(TEditor *editor);
    // A document was saved under a new name (the file panel follows its folder).
    void documentSavedAs(const QString &path);

public:
    // ---- Crash recovery (toknogl_recovery.cpp) -------------------------------------
    // Writes the recovery record of every document changed since its last write: a
    // document with unsaved changes gets its text, file name, code page and selection
    // kept; one without them loses its record. The text is copied here and written by a
    // background writer; waitUntilWritten waits until the files are there. The idle
    // timer calls it without waiting.
    void writeRecovery(bool waitUntilWritten = true);
    // This window's recovery session; nullptr when recovery is off or after a clean close.
    const RecoveryStore *recoveryStore() const { return m_recovery.get(); }

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    TEditor *createEditor();
    void addEditorPage(TEditor *editor, const QString &caption);
    void rebuildTabs();
    void updateOpisDok();
    void addRecentFile(const QString &path);
    void rebuildRecentMenu();
    QAction *addAction(QMenu *menu, const QString &objectName, const QString &text,
                       const QKeySequence &shortcut, std::function<void()> handler);
    bool canonicalSameFile(const QString &a, const QString &b) const;
    // The file watch: (re)armed after every read and write (a save replaces the file, and
    // the watch would stay with the old one), dropped when no document uses the path.
    void setupFileWatch();
    void watchFile(const QString &path);
    void unwatchFile(const QString &path);
    // Loads the document's file again into it; false (reported) when loading fails.
    bool reloadDocument(TEditor *editor, int mode);
    // Before a save over the document's own file: true when the file is as the document
    // last saw it, or the user says to overwrite what another program wrote.
    bool confirmOverwrite(TEditor *editor);
    void WatcherFileChanged(const QString &path);
    void DiskCheckTimerTimer();

    // Handlers named after their controls.
    void ZakladkiChange(int index);
    void NbEdytoraEmpty();
    void NbEdytoraNotEmpty();
    void PlikiNowy1Click();
    void PlikiOtworz1Click();
    void PlikiWstaw1Click();
    void PlikiZapisz1Click();
    void PlikiZapiszjako1Click();
    void PlikiZapiszwszystkie1Click();
    void PlikiZamknij1Click();
    void PlikiZamknijwszystkie1Click();
    void EdycjaCofnij1Click();
    void MRUFileListMRUItemClick(const QString &path);

    MarkoraSettings m_settings;
    EditorAppearance m_appearance;
    QTabBar *Zakladki = nullptr;
    QLabel *OpisDok = nullptr;
    TMyNotebook *NbEdytora = nullptr;
    QToolBar *m_mainToolBar = nullptr;
    QLabel *m_statusPanels[4] = {};
    QMenu *m_recentMenu = nullptr;
    QActionGroup *m_charsetGroup = nullptr;
    QList<QAction *> m_needsDocument; // disabled while no document is open
    QStringList m_recentFiles;
    QString m_lastDialogFolder;
    bool m_syncingTabs = false;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_diskCheckTimer = nullptr;
    QSet<QString> m_changedFiles; // reported by the watcher, looked at when the timer fires
    QSet<const TEditor *> m_askingAboutDisk; // documents with a question open about them

    // ---- Tag assistance, tag inspector and insertion: private -----------------------
    // Places the assistance's pane, buttons and menu items in the window.
    void setupAssist();
    QDockWidget *m_upperPane = nullptr;
    // Goes with the window's members, before the window hides and destroys its widgets:
    // their last signals then find nothing connected.
    std::unique_ptr<AssistController> m_assist;

    // ---- Start-up, settings, setup dialog, file panel, preview: private -------------
    void setupStartup();
    void closeSequence();
    QAction *addViewToggle(
        QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> apply);
    void applyEditorLook();
    // The editor look, then setupOptionsChanged for every part that reads the options.
    void applySetupOptions();
    void setWordWrap(bool on);
    QString writePreviewFile();
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
    void setupRecovery();
    void watchForRecovery(TEditor *editor);
    // A document's text, modified state or code page changed: written when typing pauses.
    void recoveryChanged(int documentId);
    // On the first show: offers back the documents of an editor that did not close
    // cleanly, then removes what it left.
    void offerRecovery();
    void restoreDocument(const RecoveryRecord &record);
    // The clean close: the session and its records go.
    void discardRecovery();
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer *m_recoveryTimer = nullptr;
    QElapsedTimer m_recoveryPending; // since the first change not yet written
    QSet<int> m_recoveryDirty; // document ids changed since their last write
    QSet<int> m_recoveryWritten; // document ids with a record in the session
    // After m_recovery: its destruction waits for the writes before the store goes.
    std::unique_ptr<QThreadPool> m_recoveryWriter;

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
