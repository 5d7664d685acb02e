#pragma once

#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "app/ui/teditor.h"
#include "app/ui/temporaryfiles.h"
#include "base/settings.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class AssistController;
class ChecksController;
class DesktopCommands;
class ContentController;
class DocumentManager;
class FormatController;
class PnPodPanPlikow;
class PreviewController;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class RecoveryController;
class ServicesController;
class SetupController;
class TagMatchController;
class ShortcutsController;
class UserToolBar;
class ViewController;
class ViewersController;

// The main window: builds the menus, toolbars and docks and wires them to the objects
// that do the work. Nothing in it needs the window shown.
class TOknoGl : public QMainWindow
{
    Q_OBJECT
public:
    explicit TOknoGl(QWidget *parent = nullptr);
    ~TOknoGl() override;

    // ---- The objects that do the work --------------------------------------------
    // The open documents, the file commands and the recent files.
    DocumentManager &documents() const { return *m_documents; }
    // Typing assistance, the tool tabs, the tag inspector and the common insertion rule;
    // the host of every editor.
    AssistController *assist() const { return m_assist.get(); }
    // The setup options' owner and the setup dialog.
    SetupController *setup() const { return m_setup; }
    // The page preview and the help.
    PreviewController *preview() const { return m_preview; }
    // Find and replace with the results panel, the Polish-letter converter.
    ServicesController *services() const { return m_services; }
    // The view toggles, the toolbars menu, the pane sizes and toolbar positions.
    ViewController *view() const { return m_view; }
    // The tag at the caret and its partner, and the commands over them.
    TagMatchController *tagMatch() const { return m_tagMatch; }
    RecoveryController &recovery() const { return *m_recovery; }
    // The markup check and repair through tidy, the spelling.
    ChecksController *checks() const { return m_checks; }
    // Next and previous document, full screen, editing the user's tag definitions.
    DesktopCommands *desktop() const { return m_desktop; }
    // The code page and line break menus of the current document.
    FormatController *format() const { return m_format; }
    // Templates, the snippets panel and the projects panel.
    ContentController *content() const { return m_content; }
    // The keyboard shortcuts of every command.
    ShortcutsController *shortcuts() const { return m_shortcuts; }
    // The external viewers of the preview menu.
    ViewersController *viewers() const { return m_viewers; }
    // The preview files of the documents, removed at close.
    TemporaryFiles &temporaryFiles() { return m_temporaryFiles; }

    // The editor of the current page; throws std::runtime_error with
    // "Żaden dokument nie jest otwarty w edytorze!" when no document is open.
    TEditor *CurrentEditor() const;
    // The current editor or nullptr, for callers that check first.
    TEditor *currentEditorOrNull() const;
    // The setup options (setup()'s); setting them applies them everywhere.
    const SetupOptions &setupOptions() const;
    void setSetupOptions(const SetupOptions &options);

    // ---- What the parts hook into ------------------------------------------------
    MarkoraSettings &settings() { return m_settings; }
    QMenu *menuNamed(const QString &objectName) const;
    QToolBar *mainToolBar() const { return m_mainToolBar; }
    // Status bar panel 0..4: the caret's line and column, the code page, INS or OVR, the
    // messages, the line break (shown beside the code page).
    static constexpr int kStatusPanels = 5;
    void setStatusPanel(int index, const QString &text);
    QString statusPanel(int index) const;
    // Refreshes the enabled state of commands and the status panels from the caret.
    void Timer1Timer();
    // The upper pane "PlGorny" (a top dock holding the assistance's tool tabs and tag
    // inspector). Its height is the setting "Splitter2".
    QWidget *upperPane() const;
    int upperPaneHeight() const;
    void setUpperPaneHeight(int height);
    PnPodPanPlikow *filePanel() const { return m_filePanel; }
    // The file panel's filter string ("Wszystkie pliki WWW|" + "_OgExt" ...).
    QString filePanelFilter() const;
    // The "Doklejki" toolbar of plug-in buttons and the "Użytkownika" toolbar.
    QToolBar *pluginToolBar() const { return m_pluginBar; }
    UserToolBar *userToolBar() const { return m_userBar; }

    // ---- Start and close -----------------------------------------------------------
    // When the window is first shown: restores the toolbar positions, opens the
    // documents of the last run (when the setup option says so) and of the command line
    // (full paths), offers the crash recovery, closes the splash, brings the window up.
    void FormShow(const QStringList &documents);
    // The window values read at creation and written at close ("Kontrolki").
    const StartupSettings &startupSettings() const { return m_startup; }

protected:
    // Closes every document first; a refused close keeps the window and its settings.
    void closeEvent(QCloseEvent *e) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void setupAssist();
    void setupDocuments();
    void setupPanels();
    void setupChecks();
    void setupPlugins();
    // Templates, snippets, projects, the external viewers and the shortcuts.
    void setupContent();
    // After every document was closed: the settings written, the temporary files removed.
    void closeSequence();
    QAction *addAction(QMenu *menu, const QString &objectName, const QString &text,
        const QKeySequence &shortcut, std::function<void()> handler);
    // Adds the action to the main toolbar; its button takes buttonName.
    void addToolButton(QAction *action, const QString &buttonName);
    void EdycjaCofnij1Click();

    MarkoraSettings m_settings;
    StartupSettings m_startup;
    TemporaryFiles m_temporaryFiles { this };
    SetupController *m_setup = nullptr;
    DocumentManager *m_documents = nullptr;
    // Goes with the window's members, before the window hides and destroys its widgets:
    // their last signals then find nothing connected.
    std::unique_ptr<AssistController> m_assist;
    PreviewController *m_preview = nullptr;
    ServicesController *m_services = nullptr;
    ViewController *m_view = nullptr;
    TagMatchController *m_tagMatch = nullptr;
    RecoveryController *m_recovery = nullptr;
    ChecksController *m_checks = nullptr;
    DesktopCommands *m_desktop = nullptr;
    FormatController *m_format = nullptr;
    ContentController *m_content = nullptr;
    ViewersController *m_viewers = nullptr;
    ShortcutsController *m_shortcuts = nullptr;

    QToolBar *m_mainToolBar = nullptr;
    QLabel *m_statusPanels[kStatusPanels] = {};
    QList<QAction *> m_needsDocument; // disabled while no document is open
    QDockWidget *m_upperPane = nullptr;
    QDockWidget *m_filePanelDock = nullptr;
    PnPodPanPlikow *m_filePanel = nullptr;
    QToolBar *m_pluginBar = nullptr;
    UserToolBar *m_userBar = nullptr;
    bool m_firstShown = false;
};
