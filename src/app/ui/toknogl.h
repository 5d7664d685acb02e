#pragma once

#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "app/ui/teditor.h"
#include "base/settings.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

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
class AssistController;
class DocumentManager;
class RecoveryController;

// The main window: builds the menus, toolbars and docks and wires them to the objects
// that do the work; the open documents are its DocumentManager's.
class TOknoGl : public QMainWindow
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
    // The active document changed (tab change, open, close); the documents' own signal.
    void activeDocumentChanged(TEditor *editor);

public:
    // ---- Crash recovery (RecoveryController) ---------------------------------------
    RecoveryController &recovery() const { return *m_recovery; }

protected:
    void closeEvent(QCloseEvent *e) override;

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
