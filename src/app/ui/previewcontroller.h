#pragma once

#include "app/startupsettings.h"

#include <QObject>
#include <QPointer>
#include <functional>

class DocumentManager;
class PreviewRefresh;
class QAction;
class QDockWidget;
class QUrl;
class TEditor;
class TemporaryFiles;
class TgPodBrowserem;

// The page preview and the help: the preview pane (the dock "DokPodglad") and the
// system browser with their commands "Podgląd" (F9) and "Podgląd w przeglądarce"
// (Shift+F9), the tag preview the assistance writes, and the help window over README.
// The pane renders the current document from its text in memory (nothing is written
// to disk), with the document's folder as the base of relative addresses; with
// "Odświeżaj podczas pisania" on it renders again once the typing rests, keeping its
// scroll position. The system browser is given the temporary file "~Markora$HTML.HTML".
// The window places the dock and the actions.
class PreviewController : public QObject
{
    Q_OBJECT
public:
    // Which previews there are the command line says ("-msie"/"-nomsie", "-moz"/"-nomoz").
    // window: owns the controller, its dock and actions, and the messages; documents
    // and files outlive the controller.
    PreviewController(QWidget &window, DocumentManager &documents, TemporaryFiles &files);
    ~PreviewController() override;

    QDockWidget *dock() const { return m_dock; }
    TgPodBrowserem *pane() const { return m_pane; }
    // Podglad1 and PodgladPrzegladarka1, in menu order; both need a document.
    QList<QAction *> previewActions() const { return { m_podglad, m_browser }; }
    // "Odświeżaj podczas pisania" (OdswiezajPodczasPisania1), a toggle.
    QAction *liveAction() const { return m_live; }
    PreviewRefresh *refresh() const { return m_refresh; }
    // How many times the pane rendered a document.
    int renderCount() const { return m_renders; }
    // Documents longer than this (characters) are not rendered as they are typed; the
    // preview command still shows them.
    static constexpr int LiveLimit = 8 * 1024 * 1024;
    // How a document is opened in the system browser (tests record it instead).
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { m_openUrl = std::move(opener); }
    // PomocPomoc1.
    QAction *helpAction() const { return m_helpAction; }

    // The preview buttons: the internal one down as "PodglądMSIE" says, when both are there.
    void restore(const StartupSettings &values);
    // "PodglądMSIE", when both previews are there to choose from.
    void save(StartupSettings &values) const;

    // Preview of the current document: in the pane or the system browser as the preview
    // buttons say. Returns the temporary file written for the system browser; empty when
    // the pane showed it (from memory) or on failure.
    QString Podglad1Click();
    // The current document in the system browser.
    QString PodgladPrzegladarka1Click();
    void PomocPomoc1Click();
    void closeHelp();
    // A tag preview file (Windows-1250), shown in the pane.
    void showHintPreview(const QString &path);

    // Writes the current document's preview file (for the external viewers too) and
    // returns its path; empty when there is no document or it could not be written
    // ("Podgląd: błąd" says why).
    QString writePreviewFile();
    // Renders the current document in the pane.
    void renderCurrent(bool keepScroll);
    bool liveShowing() const;
    void documentChanged(int documentId);
    void activeDocumentChanged(TEditor *editor);

private:
    QWidget &m_window;
    DocumentManager &m_documents;
    TemporaryFiles &m_files;
    bool m_internalAvailable = true;
    bool m_browserAvailable = true;
    TgPodBrowserem *m_pane = nullptr;
    QDockWidget *m_dock = nullptr;
    QAction *m_podglad = nullptr;
    QAction *m_browser = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_live = nullptr;
    PreviewRefresh *m_refresh = nullptr;
    int m_shownId = 0; // the document the pane shows, 0 for none
    int m_renders = 0;
    std::function<bool(const QUrl &)> m_openUrl;
    QPointer<QWidget> m_help;
};
