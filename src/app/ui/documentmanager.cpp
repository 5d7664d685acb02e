// The open documents: the document area, the file commands, the recent files and the
// watch on files changed by other programs.
#include "app/ui/documentmanager.h"

#include "app/recoveryfile.h"
#include "app/ui/tmynotebook.h"
#include "app/ui/tsetupdial.h"
#include "base/filefilter.h"
#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "services/docfile.h"
#include "services/templatefill.h"

#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>
#include <utility>

namespace {

const char kNoDocument[] = "Żaden dokument nie jest otwarty w edytorze!";
const char kEmptyEditor[] = "Edytor jest pusty!";
const char kUntitled[] = "\tbez nazwy"; // the stored caption of an untitled document
const char kOpenFilter[]
    = "Dokumenty HTML (*.html)|*.htm;*.html;*.sht*|Pliki tekstowe (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*";
const char kSaveFilter[] = "Dokumenty HTML (*.html)|*.*htm*|Pliki tekstowe (*.txt)|*.txt|Arkusze stylów "
                           "(*.css)|*.css|Wszystkie pliki  (*.*)|*.*";
const int kRecentMax = 8;
// Shown on any load failure (the old size limit is gone, the words stay the program's own).
const char kLoadFailed[]
    = "Wystąpił błąd, być może rozmiar pliku przekracza 32kB - tak duze pliki nie mogą być ładowane.";

QString tabCaption(const QString &path) { return QFileInfo(path).fileName().toLower(); }

QString unmappableMessage(int count)
{
    return QStringLiteral("Zapisano %1 znaków spoza strony kodowej jako odwołania &#...;").arg(count);
}

bool canonicalSameFile(const QString &a, const QString &b)
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
QStringList runOpenDialog(
    QWidget *parent, const QString &title, const QString &folder, bool mustExist, int *mode)
{
    QFileDialog dlg(parent, title, folder);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters(ToQtNameFilters(QString::fromUtf8(kOpenFilter)));
    dlg.setDefaultSuffix(QStringLiteral("htm"));
    dlg.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
    auto *combo = new QComboBox(&dlg);
    combo->setObjectName(QStringLiteral("Kodowanie"));
    combo->addItems({ QStringLiteral("Autodetekcja"), QStringLiteral("Windows (CP 1250)"),
        QStringLiteral("ISO 8859-2") });
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

} // namespace

DocumentManager::DocumentManager(
    QWidget &parent, EditorHost *host, MarkoraSettings &settings, const SetupOptions &options)
    : QObject(&parent)
    , m_parent(&parent)
    , m_host(host)
    , m_settings(settings)
    , m_options(options)
{
    setObjectName(QStringLiteral("Dokumenty"));
    m_area = new QWidget(&parent);
    auto *layout = new QVBoxLayout(m_area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Zakladki = new QTabBar(m_area);
    Zakladki->setObjectName(QStringLiteral("Zakladki"));
    Zakladki->setToolTip(QStringLiteral("Zakładki reprezentują pliki otwarte w edytorze (klik do edycji)"));
    Zakladki->setExpanding(false);
    Zakladki->setDocumentMode(true);
    OpisDok = new QLabel(m_area);
    OpisDok->setObjectName(QStringLiteral("OpisDok"));
    OpisDok->setTextFormat(Qt::PlainText);
    OpisDok->setContentsMargins(4, 1, 4, 1);
    NbEdytora = new TMyNotebook(m_area);
    NbEdytora->setObjectName(QStringLiteral("NbEdytora"));
    layout->addWidget(Zakladki);
    layout->addWidget(OpisDok);
    layout->addWidget(NbEdytora, 1);

    connect(Zakladki, &QTabBar::currentChanged, this, [this](int i) {
        if (!m_syncingTabs)
            ZakladkiChange(i);
    });
    connect(NbEdytora, &TMyNotebook::OnEmpty, this, &DocumentManager::NbEdytoraEmpty);
    connect(NbEdytora, &TMyNotebook::OnNotEmpty, this, &DocumentManager::NbEdytoraNotEmpty);

    m_recentFiles = m_settings.readNumberedList(QStringLiteral("Ostatnie"));
    m_recentMenu = new QMenu(QStringLiteral("Ostatnio &używane"), &parent);
    m_recentMenu->setObjectName(QStringLiteral("MRUFileList"));
    rebuildRecentMenu();

    m_watcher = new QFileSystemWatcher(this);
    m_watcher->setObjectName(QStringLiteral("ObserwatorPlikow"));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &DocumentManager::WatcherFileChanged);
    // Programs often write a file in several steps, or delete it and write it anew:
    // look once the reports stop for a moment.
    m_diskCheckTimer = new QTimer(this);
    m_diskCheckTimer->setObjectName(QStringLiteral("TimerPlikow"));
    m_diskCheckTimer->setSingleShot(true);
    m_diskCheckTimer->setInterval(150);
    connect(m_diskCheckTimer, &QTimer::timeout, this, &DocumentManager::DiskCheckTimerTimer);
}

// The area and the editors in it belong to the parent widget, which deletes them after
// the manager: their last signals then find nothing connected here.
DocumentManager::~DocumentManager() = default;

void DocumentManager::startUntitled()
{
    NbEdytoraEmpty();
    addEditorPage(createEditor(), QString::fromUtf8(kUntitled));
    rebuildTabs();
    NbEdytora->ShowPage(NbEdytora->count() - 1);
    ZakladkiChange(NbEdytora->currentIndex());
}

// ---- Document set --------------------------------------------------------------

int DocumentManager::count() const { return NbEdytora->count(); }
int DocumentManager::activeIndex() const { return NbEdytora->currentIndex(); }

void DocumentManager::activate(int index)
{
    if (index < 0 || index >= count())
        return;
    m_syncingTabs = true;
    Zakladki->setCurrentIndex(index);
    m_syncingTabs = false;
    ZakladkiChange(index);
}

TEditor *DocumentManager::editorAt(int index) const
{
    return qobject_cast<TEditor *>(NbEdytora->page(index));
}

TEditor *DocumentManager::currentEditorOrNull() const { return editorAt(NbEdytora->currentIndex()); }

TEditor *DocumentManager::CurrentEditor() const
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        throw std::runtime_error(kNoDocument);
    return e;
}

TEditor *DocumentManager::createEditor()
{
    auto *e = new TEditor(m_host, m_appearance, m_options.inIso, NbEdytora);
    e->hide();
    connect(e, &QPlainTextEdit::cursorPositionChanged, this, &DocumentManager::refreshRequested);
    const int id = e->documentId();
    // Per keystroke only a signal: whoever needs the text copies it later.
    connect(e->document(), &QTextDocument::contentsChanged, this, [this, id] { Q_EMIT documentChanged(id); });
    connect(
        e->document(), &QTextDocument::modificationChanged, this, [this, id] { Q_EMIT documentChanged(id); });
    return e;
}

void DocumentManager::addEditorPage(TEditor *editor, const QString &caption)
{
    NbEdytora->AddPage(caption, editor);
}

void DocumentManager::rebuildTabs()
{
    m_syncingTabs = true;
    while (Zakladki->count() > NbEdytora->count())
        Zakladki->removeTab(Zakladki->count() - 1);
    for (int i = 0; i < NbEdytora->count(); ++i) {
        // The stored caption of an untitled document starts with a tab character.
        const QString shown = NbEdytora->caption(i).trimmed();
        if (i < Zakladki->count())
            Zakladki->setTabText(i, shown);
        else
            Zakladki->addTab(shown);
        if (TEditor *e = editorAt(i)) {
            const QString &file = e->state().fileName;
            Zakladki->setTabToolTip(i, file.isEmpty() ? shown : file);
        }
    }
    Zakladki->setCurrentIndex(NbEdytora->currentIndex());
    m_syncingTabs = false;
}

void DocumentManager::updateOpisDok()
{
    TEditor *e = currentEditorOrNull();
    if (!e) {
        OpisDok->setText(QString::fromUtf8(kEmptyEditor));
        return;
    }
    const QString &file = e->state().fileName;
    OpisDok->setText(
        QStringLiteral("\tEdycja - ") + (file.isEmpty() ? QStringLiteral("bez nazwy (niezapisany)") : file));
}

void DocumentManager::ZakladkiChange(int index)
{
    if (index < 0)
        return;
    if (index != NbEdytora->currentIndex())
        NbEdytora->ShowPage(index);
    updateOpisDok();
    Q_EMIT activeDocumentChanged(currentEditorOrNull());
    Q_EMIT refreshRequested();
}

void DocumentManager::NbEdytoraEmpty()
{
    Q_EMIT hasDocumentsChanged(false);
    OpisDok->setText(QString::fromUtf8(kEmptyEditor));
    Q_EMIT activeDocumentChanged(nullptr);
}

void DocumentManager::NbEdytoraNotEmpty() { Q_EMIT hasDocumentsChanged(true); }

void DocumentManager::setAppearance(const EditorAppearance &appearance)
{
    m_appearance = appearance;
    for (int i = 0; i < count(); ++i)
        editorAt(i)->applyAppearance(m_appearance);
}

void DocumentManager::applySetupOptions()
{
    EditorAppearance look;
    look.valid = true;
    look.font = TSetupDial::displayFont(m_options);
    look.background = TSetupDial::shownColor(m_options.background, m_parent->palette().color(QPalette::Base));
    look.textColor = TSetupDial::shownColor(m_options.fontColor, m_parent->palette().color(QPalette::Text));
    look.wordWrap = m_appearance.wordWrap;
    setAppearance(look);
}

void DocumentManager::setWordWrap(bool on)
{
    m_appearance.wordWrap = on;
    for (int i = 0; i < count(); ++i)
        editorAt(i)->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void DocumentManager::setIsoCharset(TEditor *editor, bool iso)
{
    if (!editor)
        return;
    // Only the flag changes: the text is recoded at the next save.
    editor->state().setIso(iso);
    Q_EMIT documentChanged(editor->documentId());
}

// ---- Recent files ----------------------------------------------------------------

void DocumentManager::addRecentFile(const QString &path)
{
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentMax)
        m_recentFiles.removeLast();
    rebuildRecentMenu();
}

void DocumentManager::rebuildRecentMenu()
{
    m_recentMenu->clear();
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString path = m_recentFiles[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(a, &QAction::triggered, this, [this, path] { MRUFileListMRUItemClick(path); });
    }
    m_recentMenu->setEnabled(!m_recentFiles.isEmpty());
}

void DocumentManager::writeRecentFiles()
{
    m_settings.writeNumberedList(QStringLiteral("Ostatnie"), m_recentFiles);
}

// ---- Open, new, insert, save, close ------------------------------------------------

void DocumentManager::openFailed(OpenPrompts prompts, const QString &text)
{
    if (prompts == OpenPrompts::StatusBar)
        Q_EMIT statusMessage(text);
    else
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Otwieranie: błąd"), text);
}

int DocumentManager::Open(const QString &path, int mode, OpenPrompts prompts)
{
    if (!QFileInfo(path).isFile()) {
        openFailed(prompts,
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
            Q_EMIT statusMessage(full.toLower()
                + QStringLiteral(": ten plik jest już otwarty w edytorze - nie "
                                 "załadowano go ponownie."));
            return 0;
        }
        QPointer<TEditor> alive(e);
        QMessageBox::StandardButton answer;
        {
            const AskingAbout asking(m_askingAboutDisk, e);
            answer = MsgBox::show(m_parent, QMessageBox::Question, QStringLiteral("Otwieranie: pytanie"),
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

    const LoadResult r = LoadDocumentFile(full, mode, editor->state().iso(), m_options.tabWidth);
    if (!r.ok) {
        openFailed(prompts, QString::fromUtf8(kLoadFailed));
        if (!reused)
            delete editor;
        else if (wasVisible)
            editor->show();
        return 0;
    }
    editor->loadText(r.text);
    DocumentState &state = editor->state();
    state.fileName = full;
    state.setIso(r.iso);
    state.setDiskStamp(r.stamp);
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

TEditor *DocumentManager::New()
{
    TEditor *editor = createEditor();
    addEditorPage(editor, QString::fromUtf8(kUntitled));
    if (!m_defaultTemplate.isEmpty() && QFileInfo(m_defaultTemplate).isFile()) {
        // A template that declares its charset (a UTF-8 page) gives the new document that
        // code page, so that it is saved as it says.
        LoadOptions load;
        load.defaultEncoding = editor->state().encoding;
        load.tabWidth = m_options.tabWidth;
        const LoadResult r = LoadDocumentFile(m_defaultTemplate, load);
        if (r.ok) {
            const QLocale locale;
            const auto filled
                = FillTemplate(r.text, locale.toString(QDate::currentDate(), QLocale::ShortFormat),
                    locale.toString(QTime::currentTime(), QLocale::ShortFormat), [this](const QString &name) {
                        return MsgBox::input(m_parent, QStringLiteral("Wypełnianie szablonu"), name);
                    });
            if (filled) {
                editor->takeSnapshot();
                editor->loadText(*filled);
            }
            editor->state().encoding = r.encoding;
        }
    }
    rebuildTabs();
    activate(count() - 1);
    return editor;
}

bool DocumentManager::InsertFile(const QString &path, int mode)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return false;
    const LoadResult r = LoadDocumentFile(path, mode, m_options.inIso, m_options.tabWidth);
    if (!r.ok) {
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Wstawianie pliku: błąd"), r.errorText);
        return false;
    }
    e->TakeSnapshot();
    e->replaceSelection(r.text);
    e->setModified(true);
    return true;
}

bool DocumentManager::Save(TEditor *editor)
{
    if (!editor)
        return false;
    DocumentState &state = editor->state();
    if (state.fileName.isEmpty())
        return SaveAs(editor);
    if (!confirmOverwrite(editor))
        return false;
    const SaveResult r = SaveDocumentFile(state.fileName, editor->text(), state.iso());
    if (!r.ok) {
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Zapisywanie: błąd"),
            QStringLiteral("Nie można zapisać pliku ") + state.fileName + QStringLiteral(":\n")
                + r.errorText);
        return false;
    }
    state.setDiskStamp(r.stamp);
    watchFile(state.fileName);
    editor->setModified(false);
    if (r.unmappable > 0)
        Q_EMIT statusMessage(unmappableMessage(r.unmappable));
    return true;
}

bool DocumentManager::SaveAs(TEditor *editor, const QString &chosenPath)
{
    if (!editor)
        return false;
    DocumentState &state = editor->state();
    const int index = NbEdytora->indexOf(editor);
    activate(index);
    QString path = chosenPath;
    if (path.isEmpty()) {
        QFileDialog dlg(m_parent, QStringLiteral("Zapisz plik"),
            state.fileName.isEmpty() ? m_lastDialogFolder : state.fileName);
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setNameFilters(ToQtNameFilters(QString::fromUtf8(kSaveFilter)));
        dlg.setDefaultSuffix(QStringLiteral("html"));
        if (state.fileName.isEmpty())
            dlg.selectFile(QStringLiteral("*.html"));
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            path = dlg.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return false;
    path = QFileInfo(path).absoluteFilePath();
    // Saving again under its own name: the same care as Save (another name's file was
    // confirmed by the save dialog).
    if (canonicalSameFile(path, state.fileName) && !confirmOverwrite(editor))
        return false;
    const SaveResult r = SaveDocumentFile(path, editor->text(), state.iso());
    if (!r.ok) {
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Zapisywanie: błąd"),
            QStringLiteral("Nie można zapisać pliku ") + path + QStringLiteral(":\n") + r.errorText);
        return false;
    }
    const QString oldPath = std::exchange(state.fileName, path);
    state.setDiskStamp(r.stamp);
    if (!oldPath.isEmpty())
        unwatchFile(oldPath);
    watchFile(path);
    NbEdytora->setCaption(index, tabCaption(path));
    rebuildTabs();
    updateOpisDok();
    editor->setModified(false);
    m_lastDialogFolder = QFileInfo(path).absolutePath();
    if (r.unmappable > 0)
        Q_EMIT statusMessage(unmappableMessage(r.unmappable));
    Q_EMIT documentSavedAs(path);
    return true;
}

void DocumentManager::SaveAll()
{
    for (int i = 0; i < count(); ++i)
        Save(editorAt(i));
}

bool DocumentManager::Close(TEditor *editor, QStringList *closedNames)
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
            answer = MsgBox::show(m_parent, QMessageBox::Question, QStringLiteral("Zamykanie okienka"),
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
    const QString file = editor->state().fileName;
    if (!file.isEmpty()) {
        unwatchFile(file);
        addRecentFile(file);
        if (closedNames)
            closedNames->append(file);
    }
    delete editor;
    if (count() > 0)
        ZakladkiChange(NbEdytora->currentIndex());
    return true;
}

bool DocumentManager::CloseAll()
{
    QStringList names;
    while (count() > 0) {
        if (!Close(currentEditorOrNull(), &names))
            return false;
    }
    m_settings.writeNumberedList(QStringLiteral("StartupFiles"), names);
    return true;
}

void DocumentManager::openAtStart(const QStringList &documents)
{
    if (m_options.openPrevious)
        for (const QString &f : m_settings.readNumberedList(QStringLiteral("StartupFiles")))
            Open(f, 0);
    for (const QString &f : documents)
        Open(f, 0);
}

TEditor *DocumentManager::Restore(const RecoveryRecord &record)
{
    TEditor *editor = nullptr;
    // The file may be open already (the last session's documents): its text is replaced
    // there, undoably, rather than shown twice.
    for (int i = 0; i < count() && !record.fileName.isEmpty(); ++i) {
        TEditor *e = editorAt(i);
        const QString &file = e->state().fileName;
        if (!e->isModified() && (file == record.fileName || canonicalSameFile(file, record.fileName))) {
            editor = e;
            editor->TakeSnapshot();
            editor->setText(record.text);
            break;
        }
    }
    const QString caption
        = record.fileName.isEmpty() ? QString::fromUtf8(kUntitled) : tabCaption(record.fileName);
    if (!editor) {
        // The one empty untitled document of a fresh start is taken, as Open does.
        if (count() == 1 && editorAt(0)->state().fileName.isEmpty() && !editorAt(0)->isModified()
            && editorAt(0)->textAccess().length() == 0) {
            editor = editorAt(0);
            NbEdytora->setCaption(0, caption);
        } else {
            editor = createEditor();
            addEditorPage(editor, caption);
        }
        editor->loadText(record.text);
        editor->setModified(true);
    }
    DocumentState &state = editor->state();
    state.fileName = record.fileName;
    state.setIso(record.iso);
    if (!state.fileName.isEmpty() && !state.diskStamp.isFile) {
        state.diskStamp = record.disk;
        watchFile(state.fileName);
    }
    QTextCursor c(editor->document());
    c.setPosition(record.anchor);
    c.setPosition(record.position, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
    editor->show();
    rebuildTabs();
    activate(NbEdytora->indexOf(editor));
    return editor;
}

// ---- Files changed by other programs --------------------------------------------

QStringList DocumentManager::watchedFiles() const { return m_watcher->files(); }

void DocumentManager::watchFile(const QString &path)
{
    // Watching anew follows the path to the file now there (a save put a new one).
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
}

void DocumentManager::unwatchFile(const QString &path)
{
    for (int i = 0; i < count(); ++i)
        if (editorAt(i)->state().fileName == path)
            return;
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
}

void DocumentManager::WatcherFileChanged(const QString &path)
{
    m_changedFiles.insert(path);
    m_diskCheckTimer->start();
}

void DocumentManager::DiskCheckTimerTimer()
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

bool DocumentManager::reloadDocument(TEditor *editor, int mode)
{
    DocumentState &state = editor->state();
    const LoadResult r = LoadDocumentFile(state.fileName, mode, state.iso(), m_options.tabWidth);
    if (!r.ok) {
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Otwieranie: błąd"),
            QString::fromUtf8(kLoadFailed));
        return false;
    }
    editor->loadText(r.text);
    state.setIso(r.iso);
    state.clearSnapshot();
    state.setDiskStamp(r.stamp);
    watchFile(state.fileName);
    Q_EMIT refreshRequested();
    return true;
}

void DocumentManager::CheckFileOnDisk(TEditor *editor)
{
    if (!editor || editor->state().fileName.isEmpty() || NbEdytora->indexOf(editor) < 0)
        return;
    DocumentState &state = editor->state();
    if (m_askingAboutDisk.contains(editor)) {
        // Look again once the open question is answered.
        m_changedFiles.insert(state.fileName);
        m_diskCheckTimer->start();
        return;
    }
    const FileStamp now = StatFile(state.fileName);
    if (now == state.diskStamp || (now.isFile && now == state.diskDeclined))
        return;
    const QString path = state.fileName;
    if (!now.isFile) {
        // Nothing of the text may be lost: closing must ask to save it.
        state.setDiskStamp(FileStamp());
        editor->setModified(true);
        const AskingAbout asking(m_askingAboutDisk, editor);
        activate(NbEdytora->indexOf(editor));
        MsgBox::show(m_parent, QMessageBox::Warning, QStringLiteral("Sprawdzanie pliku: ostrzeżenie"),
            path
                + QStringLiteral(": plik został usunięty z dysku lub przeniesiony przez inny program!\n"
                                 "Tekst pozostaje w edytorze; zapisanie utworzy plik ponownie."));
        return;
    }
    const bool modified = editor->isModified();
    if (!modified && m_options.reloadChanged) {
        if (reloadDocument(editor, 0))
            Q_EMIT statusMessage(QStringLiteral("Załadowano ponownie plik zmieniony na dysku: ") + path);
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
        answer = MsgBox::show(m_parent, QMessageBox::Question, QStringLiteral("Otwieranie: pytanie"), text,
            QMessageBox::Yes | QMessageBox::No, modified ? QMessageBox::No : QMessageBox::Yes);
    }
    if (!alive || editor->state().fileName != path)
        return;
    if (answer == QMessageBox::Yes)
        reloadDocument(editor, 0);
    else
        editor->state().diskDeclined = StatFile(path);
}

bool DocumentManager::confirmOverwrite(TEditor *editor)
{
    const QString &file = editor->state().fileName;
    const FileStamp now = StatFile(file);
    // A missing file is written anew; nobody's work is on it.
    if (!now.isFile || now == editor->state().diskStamp)
        return true;
    QPointer<TEditor> alive(editor);
    const AskingAbout asking(m_askingAboutDisk, editor);
    activate(NbEdytora->indexOf(editor));
    const auto answer = MsgBox::show(m_parent, QMessageBox::Warning,
        QStringLiteral("Zapisywanie: wątpliwość"),
        file
            + QStringLiteral(": plik został zmieniony na dysku przez inny program, odkąd edytor go wczytał!\n"
                             "Zapisać mimo to (zmiany zapisane przez tamten program zostaną stracone)?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return alive && answer == QMessageBox::Yes;
}

// ---- Menu handlers -------------------------------------------------------------

void DocumentManager::PlikiNowy1Click() { New(); }

void DocumentManager::PlikiOtworz1Click()
{
    int mode = 0;
    const QStringList files
        = runOpenDialog(m_parent, QStringLiteral("Otwórz plik"), m_lastDialogFolder, false, &mode);
    for (const QString &f : files)
        Open(f, mode);
}

void DocumentManager::PlikiWstaw1Click()
{
    if (!currentEditorOrNull())
        return;
    int mode = 0;
    const QStringList files
        = runOpenDialog(m_parent, QStringLiteral("Wstaw zawartość pliku"), m_lastDialogFolder, true, &mode);
    if (!files.isEmpty())
        InsertFile(files.constFirst(), mode);
}

void DocumentManager::PlikiZapisz1Click() { Save(currentEditorOrNull()); }
void DocumentManager::PlikiZapiszjako1Click() { SaveAs(currentEditorOrNull()); }
void DocumentManager::PlikiZapiszwszystkie1Click() { SaveAll(); }
void DocumentManager::PlikiZamknij1Click() { Close(currentEditorOrNull()); }
void DocumentManager::PlikiZamknijwszystkie1Click() { CloseAll(); }
void DocumentManager::MRUFileListMRUItemClick(const QString &path) { Open(path, 0); }
