#pragma once

#include "app/setupoptions.h"
#include "app/ui/teditor.h"
#include "base/documents.h"
#include "services/docfile.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class MarkoraSettings;
class QMenu;
class QFileSystemWatcher;
class QLabel;
class QTabBar;
class QTimer;
class TMyNotebook;
struct RecoveryRecord;

// The open documents: the editors in tab order, the file commands (new, open, insert
// file, save, save as, save all, close, close all), the recent files and the watch on
// files that other programs change. Its widgets (the tabs "Zakladki", the description
// line "OpisDok" and the pages "NbEdytora") make up the document area the window shows;
// none of it needs the window shown.
class DocumentManager : public QObject, public DocumentSet
{
    Q_OBJECT
public:
    // parent: owns the manager, the document area, the recent files' menu and the
    // dialogs and message boxes. host: what the editors ask of the window (nullptr:
    // nobody). options: what the documents read of the setup options (tab width, the
    // code page of new documents, reloading changed files, reopening the last ones, the
    // editor look); they and settings outlive the manager.
    DocumentManager(
        QWidget &parent, EditorHost *host, MarkoraSettings &settings, const SetupOptions &options);
    ~DocumentManager() override;

    // The tabs, the description line and the pages, in one widget.
    QWidget *area() const { return m_area; }
    TMyNotebook *notebook() const { return NbEdytora; }

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

    // The start: no document, then the one untitled document a new window shows.
    void startUntitled();

    // Opens a file (charset mode 0 detect, 1 Windows-1250, 2 ISO 8859-2, 3 UTF-8); returns
    // the document's id, or 0 when nothing was opened. A file that was to be read as UTF-8
    // but is not is opened as Windows-1250 after a warning ("Otwieranie: ostrzeżenie"). With StatusBar
    // (requests of other programs, which nobody may be there to answer) no message box is shown: why nothing
    // was opened goes to the status bar, and a file already open is left as it is, as if the reload question
    // had been answered No.
    enum class OpenPrompts { Dialogs, StatusBar };
    int Open(const QString &path, int mode, OpenPrompts prompts = OpenPrompts::Dialogs);
    // A new untitled document, filled from the default template when there is one.
    TEditor *New();
    // A new untitled document that starts with text (a template's, filled), to be saved in
    // encoding with lineBreak.
    TEditor *NewFrom(const QString &text, const DocumentEncoding &encoding, LineBreak lineBreak);
    // Replaces the current selection with the file's text (the file's code page detected
    // for it alone, the default that of new documents). False when nothing was inserted.
    bool InsertFile(const QString &path, int mode);
    bool Save(TEditor *editor);
    bool SaveAs(TEditor *editor, const QString &chosenPath = QString());
    // Saves for another program (automation): asks nothing and shows nothing. path empty:
    // the document's own file (an untitled document has none: refused). The document's
    // file changed by another program since the document read it is not written over.
    // False with the reason in *error.
    bool SaveForRequest(TEditor *editor, const QString &path, QString *error);
    void SaveAll();
    // Asks to save a modified document first; false when it stays open. The closed
    // document's file name is appended to closedNames.
    bool Close(TEditor *editor, QStringList *closedNames = nullptr);
    // Closes from the current document on and writes the closed files as "StartupFiles";
    // false, with nothing written, when one of them stays open.
    bool CloseAll();
    // At the window's first show: the files of "StartupFiles" again when the setup option
    // says so, in their order, then documents (full paths).
    void openAtStart(const QStringList &documents);
    // The code page the document is saved in; the text stays as it is. When its head
    // declares another charset, asks whether to rewrite the declaration ("Zmiana
    // kodowania: pytanie"); Yes rewrites it after a snapshot. The same code page again
    // changes nothing (a UTF-8 byte-order mark stays).
    void setEncoding(TEditor *editor, DocumentEncoding encoding);
    // The line break the document is saved with; marks it modified.
    void setLineBreak(TEditor *editor, LineBreak lineBreak);
    // A document kept by the crash recovery, back as a modified document: in the tab of
    // its file when that is open unmodified, else in the one empty untitled document of
    // a fresh start, else in a new tab.
    TEditor *Restore(const RecoveryRecord &record);

    // The recent files ("Ostatnie"), newest first; read at creation.
    QStringList recentFiles() const { return m_recentFiles; }
    // Their menu "MRUFileList", kept up to date; the window places it.
    QMenu *recentMenu() const { return m_recentMenu; }
    void writeRecentFiles();
    // The template New fills (empty: none).
    QString defaultTemplate() const { return m_defaultTemplate; }
    void setDefaultTemplate(const QString &path) { m_defaultTemplate = path; }
    // How the editors look, applied to every open editor: the font and colours of the
    // setup options, and the word wrap.
    void applySetupOptions();
    void setWordWrap(bool on);

    // Compares the document's file on disk with the state the document last read or
    // wrote. When another program changed it: loads it again (an unmodified document,
    // with the setup option on) or asks; when it was deleted: says so and marks the
    // document modified. One question per document at a time. The file watcher calls it.
    void CheckFileOnDisk(TEditor *editor);
    // The files watched for changes made by other programs.
    QStringList watchedFiles() const;

    // The file commands of the menu and the toolbar.
    void PlikiNowy1Click();
    void PlikiOtworz1Click();
    void PlikiWstaw1Click();
    void PlikiZapisz1Click();
    void PlikiZapiszjako1Click();
    void PlikiZapiszwszystkie1Click();
    void PlikiZamknij1Click();
    void PlikiZamknijwszystkie1Click();
    void MRUFileListMRUItemClick(const QString &path);

Q_SIGNALS:
    // The active document changed (tab change, open, close); nullptr when none is left.
    void activeDocumentChanged(TEditor *editor);
    // A document is about to be destroyed.
    void documentClosing(TEditor *editor);
    // A document was opened from its file (a new tab, or the untitled one reused).
    void documentOpened(int documentId, const QString &path);
    // A document was saved under a new name.
    void documentSavedAs(const QString &path);
    // A document was written to its file (every save, after documentSavedAs).
    void documentSaved(int documentId, const QString &path);
    // A document's text, modified state or code page changed. Per keystroke: cheap slots only.
    void documentChanged(int documentId);
    // The first document was opened (true) or the last one closed (false).
    void hasDocumentsChanged(bool has);
    // The caret moved, another document became current or one was loaded again: what the
    // commands and the status bar show is to be brought up to date.
    void refreshRequested();
    // A line for the status bar (panel 3).
    void statusMessage(const QString &text);

private:
    TEditor *createEditor();
    void setAppearance(const EditorAppearance &appearance);
    void addEditorPage(TEditor *editor, const QString &caption);
    void rebuildTabs();
    void updateOpisDok();
    void addRecentFile(const QString &path);
    void rebuildRecentMenu();
    // Why an open failed: a message box for the user, or the status bar alone.
    void openFailed(OpenPrompts prompts, const QString &text);
    // How files are read: mode, the code page of a file that names none, and the setup
    // options' tabs and line break.
    LoadOptions loadOptions(int mode, DocumentEncoding defaultEncoding) const;
    // A file's code page, line break and stamp, as read, become the document's.
    static void takeLoaded(DocumentState &state, const LoadResult &r);
    // A file read as Windows-1250 because it was not what it claimed: the user is told
    // ("<action>: ostrzeżenie"), or the status bar is.
    void warnFellBack(OpenPrompts prompts, const QString &action, const QString &path, const LoadResult &r);
    // The file watch: (re)armed after every read and write (a save replaces the file, and
    // the watch would stay with the old one), dropped when no document uses the path.
    void watchFile(const QString &path);
    void unwatchFile(const QString &path);
    // Loads the document's file again into it; false (reported) when loading fails.
    bool reloadDocument(TEditor *editor, int mode);
    // Before a save over the document's own file: true when the file is as the document
    // last saw it, or the user says to overwrite what another program wrote.
    bool confirmOverwrite(TEditor *editor);
    // Writes the document to path and makes it the document's file (saveAs: as Save as
    // does, tab caption and all); a failure is shown (Dialogs) or only given in *error.
    // path is a copy: callers pass the document's own file name.
    bool writeDocument(TEditor *editor, QString path, bool saveAs, OpenPrompts prompts, QString *error);
    void WatcherFileChanged(const QString &path);
    void DiskCheckTimerTimer();
    // Handlers named after their controls.
    void ZakladkiChange(int index);
    void NbEdytoraEmpty();
    void NbEdytoraNotEmpty();

    QWidget *m_parent;
    EditorHost *m_host;
    MarkoraSettings &m_settings;
    const SetupOptions &m_options;
    EditorAppearance m_appearance;
    QWidget *m_area = nullptr;
    QTabBar *Zakladki = nullptr;
    QLabel *OpisDok = nullptr;
    TMyNotebook *NbEdytora = nullptr;
    bool m_syncingTabs = false;
    QStringList m_recentFiles;
    QMenu *m_recentMenu = nullptr;
    QString m_defaultTemplate;
    QString m_lastDialogFolder;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_diskCheckTimer = nullptr;
    QSet<QString> m_changedFiles; // reported by the watcher, looked at when the timer fires
    QSet<const TEditor *> m_askingAboutDisk; // documents with a question open about them
};
