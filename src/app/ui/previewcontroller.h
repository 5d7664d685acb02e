#pragma once

#include "app/startupsettings.h"

#include <QObject>
#include <QPointer>

class DocumentManager;
class QAction;
class QDockWidget;
class TemporaryFiles;
class TgPodBrowserem;

// The page preview and the help: the preview pane (the dock "DokPodglad") and the
// system browser with their commands "Podgląd" (F9) and "Podgląd w przeglądarce"
// (Shift+F9), the tag preview the assistance writes, and the help window over README.
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
    // PomocPomoc1.
    QAction *helpAction() const { return m_helpAction; }

    // The preview buttons: the internal one down as "PodglądMSIE" says, when both are there.
    void restore(const StartupSettings &values);
    // "PodglądMSIE", when both previews are there to choose from.
    void save(StartupSettings &values) const;

    // Preview of the current document: in the pane or the system browser as the preview
    // buttons say. Returns the temporary file written, empty on failure.
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
    QPointer<QWidget> m_help;
};
