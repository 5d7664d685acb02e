// The file commands of the main window: new, open, insert file, save, save as,
// save all, close, close all and the recent-files list.
#include "base/filefilter.h"
#include "base/ui/msgbox.h"
#include "app/ui/tmynotebook.h"
#include "app/ui/toknogl.h"
#include "services/docfile.h"
#include "services/templatefill.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QTime>
#include <QTimer>
#include <utility>

namespace {

const char kOpenFilter[] =
    "Dokumenty HTML (*.html)|*.htm;*.html;*.sht*|Pliki tekstowe (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*";
const char kSaveFilter[] = "Dokumenty HTML (*.html)|*.*htm*|Pliki tekstowe (*.txt)|*.txt|Arkusze stylów "
                           "(*.css)|*.css|Wszystkie pliki  (*.*)|*.*";
const int kRecentMax = 8;
// Shown on any load failure (the old size limit is gone, the words stay the program's own).
const char kLoadFailed[] =
    "Wystąpił błąd, być może rozmiar pliku przekracza 32kB - tak duze pliki nie mogą być ładowane.";

QString tabCaption(const QString &path) { return QFileInfo(path).fileName().toLower(); }

// Marks a document as having a question about it open, for as long as it is in scope:
// the file check then waits instead of asking a second question about the same file.
class AskingAbout
{
public:
    AskingAbout(QSet<const TEditor *> &set, const TEditor *editor)
        : m_set(set)
        , m_editor(editor)
    {
        m_set.insert(editor);
    }
    ~AskingAbout() { m_set.remove(m_editor); }
    AskingAbout(const AskingAbout &) = delete;
    AskingAbout &operator=(const AskingAbout &) = delete;

private:
    QSet<const TEditor *> &m_set;
    const TEditor *m_editor;
};

// The open dialog with its extra "Kodowanie" combo. Returns the chosen files and mode.
QStringList runOpenDialog(QWidget *parent, const QString &title, const QString &folder, bool mustExist,
                          int *mode)
{
    QFileDialog dlg(parent, title, folder);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters(ToQtNameFilters(QString::fromUtf8(kOpenFilter)));
    dlg.setDefaultSuffix(QStringLiteral("htm"));
    dlg.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    auto *combo = new QComboBox(&dlg);
    combo->setObjectName(QStringLiteral("Kodowanie"));
    combo->addItems({QStringLiteral("Autodetekcja"), QStringLiteral("Windows (CP 1250)"),
                     QStringLiteral("ISO 8859-2")});
    if (auto *grid = qobject_cast<QGridLayout *>(dlg.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Kodowanie"), &dlg), row, 0);
        grid->addWidget(combo, row, 1);
    }
    if (dlg.exec() != QDialog::Accepted)
        return {};
    *mode = combo->currentIndex();
    return dlg.selectedFiles();
}

// Why an open failed: a message box for the user, or the status bar alone.
void openFailed(TOknoGl *window, TOknoGl::OpenPrompts prompts, const QString &text)
{
    if (prompts == TOknoGl::OpenPrompts::StatusBar)
        window->setStatusPanel(3, text);
    else
        MsgBox::show(window, QMessageBox::Warning, QStringLiteral("Otwieranie: błąd"), text);
}

} // namespace

void TOknoGl::addRecentFile(const QString &path)
{
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentMax)
        m_recentFiles.removeLast();
    rebuildRecentMenu();
}

void TOknoGl::rebuildRecentMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString path = m_recentFiles[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(a, &QAction::triggered, this, [this, path] { MRUFileListMRUItemClick(path); });
    }
    m_recentMenu->setEnabled(!m_recentFiles.isEmpty());
}

void TOknoGl::MRUFileListMRUItemClick(const QString &path) { Open(path, 0); }

bool TOknoGl::canonicalSameFile(const QString &a, const QString &b) const
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    // The file system decides: two paths name one file when they resolve to the same
    // canonical path. Letter case is ignored only where the file system ignores it.
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (ca.isEmpty() || cb.isEmpty())
        return false;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return ca.compare(cb, Qt::CaseInsensitive) == 0;
#else
    return ca == cb;
#endif
}

int TOknoGl::Open(const QString &path, int mode, OpenPrompts prompts)
{
    if (!QFileInfo(path).isFile()) {
        openFailed(this, prompts,
            QStringLiteral("Otworzenie pliku ") + path
                + QStringLiteral(". jest niemożliwe - taki dokument nie istnieje!"));
        return 0;
    }
    const QString full = QFileInfo(path).absoluteFilePath();

    for (int i = 0; i < count(); ++i) {
        TEditor *e = editorAt(i);
        if (!canonicalSameFile(e->state().fileName, full))
            continue;
        activate(i);
        if (prompts == OpenPrompts::StatusBar) {
            setStatusPanel(3,
                full.toLower()
                    + QStringLiteral(": ten plik jest już otwarty w edytorze - nie "
                                     "załadowano go ponownie."));
            return 0;
        }
        QPointer<TEditor> alive(e);
        QMessageBox::StandardButton answer;
        {
            const AskingAbout asking(m_askingAboutDisk, e);
            answer = MsgBox::show(this, QMessageBox::Question, QStringLiteral("Otwieranie: pytanie"),
                full.toLower()
                    + QStringLiteral(": ten plik jest już otwarty w edytorze!\nZaładować ponownie (wszystkie "
                                     "zmiany zostaną stracone)?"),
                QMessageBox::Yes | QMessageBox::No);
        }
        if (answer != QMessageBox::Yes || !alive || !reloadDocument(e, mode))
            return 0;
        return e->documentId();
    }

    TEditor *editor = nullptr;
    bool reused = false;
    if (count() == 1) {
        TEditor *only = editorAt(0);
        if (only->state().fileName.isEmpty() && only->textAccess().length() == 0) {
            editor = only;
            reused = true;
        }
    }
    if (!editor)
        editor = createEditor();
    const bool wasVisible = editor->isVisible();
    editor->hide();

    const LoadResult r = LoadDocumentFile(full, mode, editor->state().iso, m_tabWidth);
    if (!r.ok) {
        openFailed(this, prompts, QString::fromUtf8(kLoadFailed));
        if (!reused)
            delete editor;
        else if (wasVisible)
            editor->show();
        return 0;
    }
    editor->loadText(r.text);
    editor->state().fileName = full;
    editor->state().iso = r.iso;
    editor->state().diskStamp = r.stamp;
    editor->state().diskDeclined = FileStamp();
    watchFile(full);

    if (reused)
        NbEdytora->setCaption(NbEdytora->indexOf(editor), tabCaption(full));
    else
        addEditorPage(editor, tabCaption(full));
    editor->show();
    rebuildTabs();
    activate(count() - 1);
    m_lastDialogFolder = QFileInfo(full).absolutePath();
    return editor->documentId();
}

TEditor *TOknoGl::New()
{
    TEditor *editor = createEditor();
    addEditorPage(editor, QStringLiteral("\tbez nazwy"));
    if (!m_defaultTemplate.isEmpty() && QFileInfo(m_defaultTemplate).isFile()) {
        const LoadResult r = LoadDocumentFile(m_defaultTemplate, 0, editor->state().iso, m_tabWidth);
        if (r.ok) {
            const QLocale locale;
            const auto filled = FillTemplate(
                r.text, locale.toString(QDate::currentDate(), QLocale::ShortFormat),
                locale.toString(QTime::currentTime(), QLocale::ShortFormat),
                [this](const QString &name) {
                    return MsgBox::input(this, QStringLiteral("Wypełnianie szablonu"), name);
                });
            if (filled) {
                editor->takeSnapshot();
                editor->loadText(*filled);
            }
            editor->state().iso = r.iso;
        }
    }
    rebuildTabs();
    activate(count() - 1);
    return editor;
}

bool TOknoGl::InsertFile(const QString &path, int mode)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return false;
    const LoadResult r = LoadDocumentFile(path, mode, m_defaultIso, m_tabWidth);
    if (!r.ok) {
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Wstawianie pliku: błąd"), r.errorText);
        return false;
    }
    e->TakeSnapshot();
    e->replaceSelection(r.text);
    e->setModified(true);
    return true;
}

bool TOknoGl::Save(TEditor *editor)
{
    if (!editor)
        return false;
    if (editor->state().fileName.isEmpty())
        return SaveAs(editor);
    if (!confirmOverwrite(editor))
        return false;
    const SaveResult r = SaveDocumentFile(editor->state().fileName, editor->text(), editor->state().iso);
    if (!r.ok) {
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Zapisywanie: błąd"),
            QStringLiteral("Nie można zapisać pliku ") + editor->state().fileName + QStringLiteral(":\n")
                + r.errorText);
        return false;
    }
    editor->state().diskStamp = r.stamp;
    editor->state().diskDeclined = FileStamp();
    watchFile(editor->state().fileName);
    editor->setModified(false);
    if (r.unmappable > 0)
        setStatusPanel(3, QStringLiteral("Zapisano %1 znaków spoza strony kodowej jako odwołania &#...;")
                              .arg(r.unmappable));
    return true;
}

bool TOknoGl::SaveAs(TEditor *editor, const QString &chosenPath)
{
    if (!editor)
        return false;
    const int index = NbEdytora->indexOf(editor);
    activate(index);
    QString path = chosenPath;
    if (path.isEmpty()) {
        if (saveDialogHook) {
            path = saveDialogHook(QStringLiteral("Zapisz plik"));
        } else {
            QFileDialog dlg(this, QStringLiteral("Zapisz plik"),
                editor->state().fileName.isEmpty() ? m_lastDialogFolder : editor->state().fileName);
            dlg.setOption(QFileDialog::DontUseNativeDialog);
            dlg.setAcceptMode(QFileDialog::AcceptSave);
            dlg.setNameFilters(ToQtNameFilters(QString::fromUtf8(kSaveFilter)));
            dlg.setDefaultSuffix(QStringLiteral("html"));
            if (editor->state().fileName.isEmpty())
                dlg.selectFile(QStringLiteral("*.html"));
            if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
                path = dlg.selectedFiles().constFirst();
        }
    }
    if (path.isEmpty())
        return false;
    path = QFileInfo(path).absoluteFilePath();
    // Saving again under its own name: the same care as Save (another name's file was
    // confirmed by the save dialog).
    if (canonicalSameFile(path, editor->state().fileName) && !confirmOverwrite(editor))
        return false;
    const SaveResult r = SaveDocumentFile(path, editor->text(), editor->state().iso);
    if (!r.ok) {
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Zapisywanie: błąd"),
                     QStringLiteral("Nie można zapisać pliku ") + path + QStringLiteral(":\n") + r.errorText);
        return false;
    }
    const QString oldPath = std::exchange(editor->state().fileName, path);
    editor->state().diskStamp = r.stamp;
    editor->state().diskDeclined = FileStamp();
    if (!oldPath.isEmpty())
        unwatchFile(oldPath);
    watchFile(path);
    NbEdytora->setCaption(index, tabCaption(path));
    rebuildTabs();
    updateOpisDok();
    editor->setModified(false);
    m_lastDialogFolder = QFileInfo(path).absolutePath();
    if (r.unmappable > 0)
        setStatusPanel(3, QStringLiteral("Zapisano %1 znaków spoza strony kodowej jako odwołania &#...;")
                              .arg(r.unmappable));
    Q_EMIT documentSavedAs(path);
    return true;
}

void TOknoGl::SaveAll()
{
    for (int i = 0; i < count(); ++i)
        Save(editorAt(i));
}

bool TOknoGl::Close(TEditor *editor, QStringList *closedNames)
{
    if (!editor)
        return false;
    int index = NbEdytora->indexOf(editor);
    if (index < 0)
        return false;
    if (editor->isModified() && index != NbEdytora->currentIndex())
        activate(index);
    if (editor->isModified()) {
        QPointer<TEditor> alive(editor);
        QMessageBox::StandardButton answer;
        {
            const AskingAbout asking(m_askingAboutDisk, editor);
            answer = MsgBox::show(this, QMessageBox::Question, QStringLiteral("Zamykanie okienka"),
                NbEdytora->caption(NbEdytora->currentIndex())
                    + QStringLiteral(": tekst był modyfikowany.\nCzy zapisać zmiany?"),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        if (!alive || answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Yes && !Save(editor))
            return false;
    }
    Q_EMIT documentClosing(editor);
    NbEdytora->RemovePage(editor);
    rebuildTabs();
    m_askingAboutDisk.remove(editor);
    if (!editor->state().fileName.isEmpty()) {
        unwatchFile(editor->state().fileName);
        addRecentFile(editor->state().fileName);
        if (closedNames)
            closedNames->append(editor->state().fileName);
    }
    delete editor;
    if (count() > 0)
        ZakladkiChange(NbEdytora->currentIndex());
    return true;
}

bool TOknoGl::CloseAll()
{
    QStringList names;
    while (count() > 0) {
        if (!Close(currentEditorOrNull(), &names))
            return false;
    }
    m_settings.writeNumberedList(QStringLiteral("StartupFiles"), names);
    return true;
}

// ---- Files changed by other programs --------------------------------------------

void TOknoGl::setupFileWatch()
{
    m_watcher = new QFileSystemWatcher(this);
    m_watcher->setObjectName(QStringLiteral("ObserwatorPlikow"));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &TOknoGl::WatcherFileChanged);
    // Programs often write a file in several steps, or delete it and write it anew:
    // look once the reports stop for a moment.
    m_diskCheckTimer = new QTimer(this);
    m_diskCheckTimer->setObjectName(QStringLiteral("TimerPlikow"));
    m_diskCheckTimer->setSingleShot(true);
    m_diskCheckTimer->setInterval(150);
    connect(m_diskCheckTimer, &QTimer::timeout, this, &TOknoGl::DiskCheckTimerTimer);
}

QStringList TOknoGl::watchedFiles() const { return m_watcher->files(); }

void TOknoGl::watchFile(const QString &path)
{
    // Watching anew follows the path to the file now there (a save put a new one).
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
}

void TOknoGl::unwatchFile(const QString &path)
{
    for (int i = 0; i < count(); ++i)
        if (editorAt(i)->state().fileName == path)
            return;
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
}

void TOknoGl::WatcherFileChanged(const QString &path)
{
    m_changedFiles.insert(path);
    m_diskCheckTimer->start();
}

void TOknoGl::DiskCheckTimerTimer()
{
    if (!m_askingAboutDisk.isEmpty()) {
        // One question at a time, whatever file it is about: look once it is answered.
        m_diskCheckTimer->start();
        return;
    }
    const QSet<QString> changed = std::exchange(m_changedFiles, {});
    // A question may close documents: hold them by guarded pointers.
    QList<QPointer<TEditor>> affected;
    for (const QString &path : changed) {
        bool used = false;
        for (int i = 0; i < count(); ++i) {
            if (editorAt(i)->state().fileName == path) {
                affected << editorAt(i);
                used = true;
            }
        }
        if (used)
            watchFile(path);
    }
    for (const QPointer<TEditor> &e : affected)
        if (e)
            CheckFileOnDisk(e);
}

bool TOknoGl::reloadDocument(TEditor *editor, int mode)
{
    const LoadResult r = LoadDocumentFile(editor->state().fileName, mode, editor->state().iso, m_tabWidth);
    if (!r.ok) {
        MsgBox::show(
            this, QMessageBox::Warning, QStringLiteral("Otwieranie: błąd"), QString::fromUtf8(kLoadFailed));
        return false;
    }
    editor->loadText(r.text);
    editor->state().iso = r.iso;
    editor->state().clearSnapshot();
    editor->state().diskStamp = r.stamp;
    editor->state().diskDeclined = FileStamp();
    watchFile(editor->state().fileName);
    Timer1Timer();
    return true;
}

void TOknoGl::CheckFileOnDisk(TEditor *editor)
{
    if (!editor || editor->state().fileName.isEmpty() || NbEdytora->indexOf(editor) < 0)
        return;
    if (m_askingAboutDisk.contains(editor)) {
        // Look again once the open question is answered.
        m_changedFiles.insert(editor->state().fileName);
        m_diskCheckTimer->start();
        return;
    }
    const FileStamp now = StatFile(editor->state().fileName);
    if (now == editor->state().diskStamp || (now.isFile && now == editor->state().diskDeclined))
        return;
    const QString path = editor->state().fileName;
    if (!now.isFile) {
        // Nothing of the text may be lost: closing must ask to save it.
        editor->state().diskStamp = FileStamp();
        editor->state().diskDeclined = FileStamp();
        editor->setModified(true);
        const AskingAbout asking(m_askingAboutDisk, editor);
        activate(NbEdytora->indexOf(editor));
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Sprawdzanie pliku: ostrzeżenie"),
            path
                + QStringLiteral(": plik został usunięty z dysku lub przeniesiony przez inny program!\n"
                                 "Tekst pozostaje w edytorze; zapisanie utworzy plik ponownie."));
        return;
    }
    const bool modified = editor->isModified();
    if (!modified && m_setup.reloadChanged) {
        if (reloadDocument(editor, 0))
            setStatusPanel(3, QStringLiteral("Załadowano ponownie plik zmieniony na dysku: ") + path);
        return;
    }
    QPointer<TEditor> alive(editor);
    QMessageBox::StandardButton answer;
    {
        const AskingAbout asking(m_askingAboutDisk, editor);
        activate(NbEdytora->indexOf(editor));
        QString text = path + QStringLiteral(": plik został zmieniony na dysku przez inny program");
        text += modified ? QStringLiteral(", a tekst w edytorze był modyfikowany!\nZaładować plik ponownie "
                                          "(wszystkie zmiany w edytorze zostaną stracone)?")
                         : QStringLiteral(".\nZaładować go ponownie?");
        answer = MsgBox::show(this, QMessageBox::Question, QStringLiteral("Otwieranie: pytanie"), text,
            QMessageBox::Yes | QMessageBox::No, modified ? QMessageBox::No : QMessageBox::Yes);
    }
    if (!alive || editor->state().fileName != path)
        return;
    if (answer == QMessageBox::Yes)
        reloadDocument(editor, 0);
    else
        editor->state().diskDeclined = StatFile(path);
}

bool TOknoGl::confirmOverwrite(TEditor *editor)
{
    const FileStamp now = StatFile(editor->state().fileName);
    // A missing file is written anew; nobody's work is on it.
    if (!now.isFile || now == editor->state().diskStamp)
        return true;
    QPointer<TEditor> alive(editor);
    const AskingAbout asking(m_askingAboutDisk, editor);
    activate(NbEdytora->indexOf(editor));
    const auto answer = MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Zapisywanie: wątpliwość"),
        editor->state().fileName
            + QStringLiteral(": plik został zmieniony na dysku przez inny program, odkąd edytor go wczytał!\n"
                             "Zapisać mimo to (zmiany zapisane przez tamten program zostaną stracone)?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return alive && answer == QMessageBox::Yes;
}

// ---- Menu handlers -------------------------------------------------------------

void TOknoGl::PlikiNowy1Click() { New(); }

void TOknoGl::PlikiOtworz1Click()
{
    int mode = 0;
    const QStringList files =
        runOpenDialog(this, QStringLiteral("Otwórz plik"), m_lastDialogFolder, false, &mode);
    for (const QString &f : files)
        Open(f, mode);
}

void TOknoGl::PlikiWstaw1Click()
{
    if (!currentEditorOrNull())
        return;
    int mode = 0;
    const QStringList files =
        runOpenDialog(this, QStringLiteral("Wstaw zawartość pliku"), m_lastDialogFolder, true, &mode);
    if (!files.isEmpty())
        InsertFile(files.constFirst(), mode);
}

void TOknoGl::PlikiZapisz1Click() { Save(currentEditorOrNull()); }
void TOknoGl::PlikiZapiszjako1Click() { SaveAs(currentEditorOrNull()); }
void TOknoGl::PlikiZapiszwszystkie1Click() { SaveAll(); }
void TOknoGl::PlikiZamknij1Click() { Close(currentEditorOrNull()); }
void TOknoGl::PlikiZamknijwszystkie1Click() { CloseAll(); }
