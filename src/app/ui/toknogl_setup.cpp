// Start-up and shutdown of the main window: the settings read at creation and written
// at close, the view toggles, the file panel, the preview, the setup dialog, help.
#include "app/previewfile.h"
#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/filepanel.h"
#include "app/ui/preview.h"
#include "app/ui/recoverycontroller.h"
#include "app/ui/splash.h"
#include "app/ui/toknogl.h"
#include "app/ui/tsetupdial.h"
#include "base/codepage.h"
#include "base/datafiles.h"
#include "base/privatedir.h"
#include "base/ui/msgbox.h"
#include "ext/ui/usertoolbar.h"
#include "services/docfile.h"
#include "tags/tagdefs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

namespace {
const QString kToolbarz = QStringLiteral("Toolbarz");
const QString kToolbarState = QStringLiteral("Stan");
// The heading of README's section for users, which the help command shows.
const QString kHelpHeading = QStringLiteral("Using Markora");

QColor shown(qint32 stored, const QColor &system)
{
    return IsSystemColor(stored) ? system : QColor::fromRgb(StoredColorToRgb(stored));
}

void reportOnStderr(const QString &text)
{
    std::fprintf(stderr, "markora: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

// Runs in the constructor before the untitled editor is created, in the order of
// start-up: previews, toolbars, then the settings and the editor look.
void TOknoGl::setupStartup()
{
    Splash::message(QStringLiteral("Inicjacja: paski narzędziowe i doklejki..."));

    // Previews: the internal pane ("-msie"/"-nomsie") and the system browser
    // ("-moz"/"-nomoz"); both are there unless a switch turns one off.
    const CommandLine cmd = ParseCommandLine(QCoreApplication::arguments().mid(1));
    const bool internalAvailable = cmd.msie.value_or(true);
    const bool browserAvailable = cmd.moz.value_or(true);
    m_preview = new TgPodBrowserem(this);
    m_previewDock = new QDockWidget(QStringLiteral("Podgląd"), this);
    m_previewDock->setObjectName(QStringLiteral("DokPodglad"));
    m_previewDock->setWidget(m_preview);
    addDockWidget(Qt::BottomDockWidgetArea, m_previewDock);
    m_previewDock->hide();
    connect(m_preview, &TgPodBrowserem::refreshRequested, this, [this] { Podglad1Click(); });
    connect(m_preview, &TgPodBrowserem::browserRequested, this, [this] { PodgladPrzegladarka1Click(); });

    QMenu *widok = menuNamed(QStringLiteral("Widok1"));
    m_toolbarsMenu = widok->addMenu(QStringLiteral("&Paski narzędziowe"));
    m_toolbarsMenu->setObjectName(QStringLiteral("Paski1"));
    connect(m_toolbarsMenu, &QMenu::aboutToShow, this, &TOknoGl::rebuildToolbarsMenu);

    Splash::message(QStringLiteral("Inicjalizacja: odczytywanie konfiguracji..."));
    m_startup = StartupSettings::read(m_settings);
    m_setup = SetupOptions::read(m_settings);
    m_filePanelFilter = FilePanelFilter(m_startup.ogExt);

    m_filePanel = new PnPodPanPlikow(m_filePanelFilter, this);
    m_filePanelDock = new QDockWidget(QStringLiteral("Panel plików"), this);
    m_filePanelDock->setObjectName(QStringLiteral("DokPanelPlikow"));
    m_filePanelDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_filePanelDock->setWidget(m_filePanel);
    addDockWidget(Qt::LeftDockWidgetArea, m_filePanelDock);
    m_filePanel->setFilterIndex(m_startup.pliki);
    m_filePanel->selectFolder(QDir::currentPath());
    connect(m_filePanel, &PnPodPanPlikow::openFiles, this, [this](const QStringList &files) {
        for (const QString &f : files)
            m_documents->Open(f, 0);
    });
    connect(m_documents, &DocumentManager::documentSavedAs, this,
        [this](const QString &path) { m_filePanel->selectFolder(QFileInfo(path).absolutePath()); });

    // The four view settings: the item is set to the opposite state and its click
    // handler toggles it into the stored one, applying it on the way.
    ChkZawijanie = addViewToggle(widok, QStringLiteral("ChkZawijanie"), QStringLiteral("&Zawijanie wierszy"),
        [this](bool on) { setWordWrap(on); });
    ChkZawijanie->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    m_mainToolBar->addSeparator();
    m_mainToolBar->addAction(ChkZawijanie);
    Pasekprzyciskow1 = addViewToggle(widok, QStringLiteral("Pasekprzyciskow1"),
        QStringLiteral("Pasek &przycisków"), [this](bool on) { m_mainToolBar->setVisible(on); });
    Panelplikow1 = addViewToggle(widok, QStringLiteral("Panelplikow1"), QStringLiteral("Panel p&lików"),
        [this](bool on) { m_filePanelDock->setVisible(on); });
    Pasekstatusu1 = addViewToggle(widok, QStringLiteral("Pasekstatusu1"), QStringLiteral("Pasek &statusu"),
        [this](bool on) { statusBar()->setVisible(on); });
    const std::pair<QAction *, bool> toggles[]
        = { { ChkZawijanie, m_startup.zawijanie }, { Pasekprzyciskow1, m_startup.pasekPrzyc },
              { Panelplikow1, m_startup.panelPlikow }, { Pasekstatusu1, m_startup.status } };
    for (const auto &[action, value] : toggles) {
        action->setChecked(!value);
        action->trigger();
    }
    connect(m_mainToolBar, &QToolBar::visibilityChanged, this,
        [this] { Pasekprzyciskow1->setChecked(!m_mainToolBar->isHidden()); });
    resizeDocks({ m_filePanelDock }, { m_startup.splitter1 }, Qt::Horizontal);
    resizeDocks({ m_previewDock }, { m_startup.splitter3 }, Qt::Vertical);
    if (auto *upper = findChild<QDockWidget *>(QStringLiteral("PlGorny")))
        resizeDocks({ upper }, { m_startup.splitter2 }, Qt::Vertical);

    m_preview->setButtons(ChoosePreviewButtons(internalAvailable, browserAvailable, m_startup.podgladMsie));
    m_documents->setDefaultTemplate(m_startup.defTemplate);

    QAction *podglad = new QAction(
        style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("&Podgląd"), this);
    podglad->setObjectName(QStringLiteral("Podglad1"));
    podglad->setShortcut(QKeySequence(Qt::Key_F9));
    connect(podglad, &QAction::triggered, this, [this] { Podglad1Click(); });
    QAction *browser = new QAction(QStringLiteral("Podgląd w p&rzeglądarce"), this);
    browser->setObjectName(QStringLiteral("PodgladPrzegladarka1"));
    browser->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    browser->setEnabled(browserAvailable);
    connect(browser, &QAction::triggered, this, [this] { PodgladPrzegladarka1Click(); });
    widok->insertActions(widok->actions().value(0), { podglad, browser });
    widok->insertSeparator(ChkZawijanie);
    m_needsDocument << podglad << browser;
    m_mainToolBar->addAction(podglad);
    if (QWidget *w = m_mainToolBar->widgetForAction(podglad))
        w->setObjectName(QStringLiteral("BtnPodglad"));
    if (QWidget *w = m_mainToolBar->widgetForAction(ChkZawijanie))
        w->setObjectName(QStringLiteral("BtnZawijanie"));

    QMenu *ustawienia = menuNamed(QStringLiteral("Ustawienia1"));
    QAction *konf = ustawienia->addAction(QStringLiteral("&Konfiguracja..."));
    konf->setObjectName(QStringLiteral("Konfiguracja1"));
    connect(konf, &QAction::triggered, this, [this] { UstawieniaKonfiguracja1Click(); });

    QMenu *pomoc = menuNamed(QStringLiteral("Pomoc1"));
    QAction *help = pomoc->addAction(QStringLiteral("&Pomoc"));
    help->setObjectName(QStringLiteral("PomocPomoc1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [this] { PomocPomoc1Click(); });

    // The editor look ("Edytor"), and the options to every part that reads them.
    applySetupOptions();
    // The hidden preview of the edited tag is shown in the internal preview pane.
    connect(m_assist.get(), &AssistController::hintPreviewWritten, this, [this](const QString &path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return;
        m_previewDock->show();
        m_preview->showPage(CodePage::decode(f.readAll(), CodePage::Windows1250), path);
    });
}

QAction *TOknoGl::addViewToggle(
    QMenu *menu, const QString &name, const QString &text, std::function<void(bool)> apply)
{
    auto *a = new QAction(text, this);
    a->setObjectName(name);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [apply = std::move(apply)](bool on) { apply(on); });
    menu->addAction(a);
    return a;
}

bool TOknoGl::wordWrap() const { return ChkZawijanie && ChkZawijanie->isChecked(); }

void TOknoGl::setWordWrap(bool on) { m_documents->setWordWrap(on); }

void TOknoGl::applyEditorLook()
{
    EditorAppearance look;
    look.valid = true;
    look.font = TSetupDial::displayFont(m_setup);
    look.background = shown(m_setup.background, palette().color(QPalette::Base));
    look.textColor = shown(m_setup.fontColor, palette().color(QPalette::Text));
    look.wordWrap = wordWrap();
    m_documents->setAppearance(look);
}

void TOknoGl::setSetupOptions(const SetupOptions &options)
{
    m_setup = options;
    applySetupOptions();
}

void TOknoGl::applySetupOptions()
{
    applyEditorLook();
    Q_EMIT setupOptionsChanged();
}

QStringList TOknoGl::userButtonSlots() const { return userToolBar()->slotNames(); }

void TOknoGl::setUserButtonSlots(const QStringList &names) { userToolBar()->setSlotNames(names); }

void TOknoGl::registerTemporaryFile(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    if (!m_tempFiles.contains(full))
        m_tempFiles << full;
}

TSetupDial *TOknoGl::setupDialog()
{
    if (!m_setupDial) {
        m_setupDial = new TSetupDial(this);
        m_setupDial->setObjectName(QStringLiteral("SetupDial"));
    }
    return m_setupDial;
}

void TOknoGl::UstawieniaKonfiguracja1Click()
{
    TSetupDial *dlg = setupDialog();
    dlg->setOptions(m_setup, wordWrap());
    if (dlg->exec() != QDialog::Accepted)
        return;
    if (dlg->wordWrap() != wordWrap())
        ChkZawijanie->trigger();
    const SetupOptions chosen = dlg->options();
    chosen.write(m_settings);
    setSetupOptions(chosen);
}

void TOknoGl::rebuildToolbarsMenu()
{
    m_toolbarsMenu->clear();
    for (QToolBar *tb : findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly)) {
        QAction *a = m_toolbarsMenu->addAction(tb->windowTitle());
        a->setObjectName(tb->objectName() + QStringLiteral("_tbMenu"));
        a->setCheckable(true);
        a->setChecked(!tb->isHidden());
        connect(a, &QAction::triggered, tb, &QToolBar::setVisible);
    }
}

void TOknoGl::FormShow(const QStringList &documents)
{
    const bool first = !m_firstShown;
    if (first) {
        m_firstShown = true;
        // Toolbar positions: restored now, when every part of the window has added
        // its toolbars; then the view settings win over what the state says.
        const QByteArray state
            = m_settings.store().value(kToolbarz + QLatin1Char('/') + kToolbarState).toByteArray();
        if (!state.isEmpty())
            restoreState(state);
        m_mainToolBar->setVisible(Pasekprzyciskow1->isChecked());
        m_filePanelDock->setVisible(Panelplikow1->isChecked());
        m_previewDock->hide();
        resizeDocks({ m_filePanelDock }, { m_startup.splitter1 }, Qt::Horizontal);
        rebuildToolbarsMenu();
    }
    if (m_setup.openPrevious)
        for (const QString &f : m_settings.readNumberedList(QStringLiteral("StartupFiles")))
            m_documents->Open(f, 0);
    for (const QString &f : documents)
        m_documents->Open(f, 0);
    // After the documents above, so that a recovered file already open is replaced in
    // its own tab rather than opened twice.
    if (first)
        m_recovery->offerRecovery();
    Splash::finish(this);
    raise();
    activateWindow();
    // Once, over the window: the definitions are read for the whole run, and a faulty
    // part of them is left out rather than stopping the start.
    if (first) {
        const QString problems = TagDefs::problemsReport(TagDefs::shared().problems());
        if (!problems.isEmpty())
            MsgBox::show(this, QMessageBox::Critical, TagDefs::problemsCaption(), problems);
    }
}

QString TOknoGl::writeTemporaryFile(const QString &action, const QString &documentFile, const QString &name,
    QByteArrayView bytes, QString *error)
{
    const TemporaryFileWrite w = WriteTemporaryFile(documentFile, name, bytes, PrivateFolder());
    if (!w.refusedPath.isEmpty() && !m_refusedTemporaryFiles.contains(w.refusedPath)) {
        // Told once per file: the tag preview is written on every change in the grid.
        m_refusedTemporaryFiles << w.refusedPath;
        MsgBox::show(this, QMessageBox::Warning, action + QStringLiteral(": ostrzeżenie"),
            QStringLiteral("Plik ") + QDir::toNativeSeparators(w.refusedPath)
                + QStringLiteral(" nie jest zwykłym plikiem należącym do Ciebie (może to być dowiązanie "
                                 "podłożone przez innego użytkownika), więc nie zostanie nadpisany.\n")
                + (w.ok ? QStringLiteral("Podgląd zapisano w folderze prywatnym: ")
                            + QDir::toNativeSeparators(w.path)
                            + QStringLiteral("\nOdnośniki względne mogą w nim nie działać.")
                        : QString()));
    }
    if (!w.ok) {
        if (error)
            *error = w.errorText;
        return QString();
    }
    registerTemporaryFile(w.path);
    return w.path;
}

QString TOknoGl::writePreviewFile()
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return QString();
    QString error;
    const QString path = writeTemporaryFile(QStringLiteral("Podgląd"), e->state().fileName, PreviewFileName(),
        EncodeDocumentText(e->text(), e->state().iso), &error);
    if (path.isEmpty())
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Podgląd: błąd"),
            QStringLiteral("Nie można zapisać pliku podglądu ") + PreviewFileName() + QStringLiteral(":\n")
                + error);
    return path;
}

QString TOknoGl::Podglad1Click()
{
    if (!currentEditorOrNull())
        return QString();
    if (!m_preview->internalChosen() && !m_preview->browserChosen()) {
        MsgBox::show(this, QMessageBox::Information, QStringLiteral("Podgląd: informacja"),
            QStringLiteral("Podgląd jest wyłączony."));
        return QString();
    }
    if (!m_preview->internalChosen())
        return PodgladPrzegladarka1Click();
    const QString path = writePreviewFile();
    if (path.isEmpty())
        return path;
    m_previewDock->show();
    m_preview->showPage(CurrentEditor()->text(), path);
    return path;
}

QString TOknoGl::PodgladPrzegladarka1Click()
{
    const QString path = writePreviewFile();
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return path;
}

void TOknoGl::PomocPomoc1Click()
{
    const QString readme = DataFilePath(QStringLiteral("README.md"));
    QFile f(readme);
    if (!f.open(QIODevice::ReadOnly)) {
        MsgBox::show(this, QMessageBox::Warning, QStringLiteral("Pomoc: błąd"),
            QStringLiteral("Nie znaleziono pliku pomocy ") + readme + QLatin1Char('.'));
        return;
    }
    if (!m_help) {
        auto *browser = new QTextBrowser;
        browser->setObjectName(QStringLiteral("Pomoc"));
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setOpenExternalLinks(true);
        browser->setWindowTitle(QStringLiteral("Markora - pomoc"));
        browser->resize(700, 600);
        m_help = browser;
    }
    auto *browser = static_cast<QTextBrowser *>(m_help.data());
    browser->setMarkdown(QString::fromUtf8(f.readAll()));
    // Open at the section for users; the whole file stays readable around it.
    for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0 && b.text().contains(kHelpHeading, Qt::CaseInsensitive)) {
            QTextCursor c(b);
            browser->setTextCursor(c);
            browser->ensureCursorVisible();
            break;
        }
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
}

// The close sequence after every document was closed: toolbar positions, help,
// temporary files, the window values and the editor look.
void TOknoGl::closeSequence()
{
    // Every document was saved or given up: nothing is left to recover.
    m_recovery->discardRecovery();
    m_settings.store().setValue(kToolbarz + QLatin1Char('/') + kToolbarState, saveState());
    if (m_help)
        m_help->close();
    // Only a file of ours goes: one that was replaced by somebody else's meanwhile stays.
    for (const QString &f : std::as_const(m_tempFiles))
        if (QFileInfo(f).isFile() && !RemoveOwnFile(f))
            reportOnStderr(QStringLiteral("nie można usunąć pliku tymczasowego %1").arg(f));
    m_tempFiles.clear();

    m_startup.zawijanie = ChkZawijanie->isChecked();
    m_startup.pasekPrzyc = Pasekprzyciskow1->isChecked();
    m_startup.panelPlikow = Panelplikow1->isChecked();
    m_startup.status = Pasekstatusu1->isChecked();
    if (m_filePanelDock->width() > 0 && m_filePanelDock->isVisible())
        m_startup.splitter1 = m_filePanelDock->width();
    if (auto *upper = findChild<QWidget *>(QStringLiteral("PlGorny")); upper && upper->isVisible())
        m_startup.splitter2 = upper->height();
    if (m_previewDock->isVisible())
        m_startup.splitter3 = m_previewDock->height();
    m_startup.pliki = m_filePanel->filterIndex();
    if (m_preview->msieButton()->isEnabled() && m_preview->mozButton()->isEnabled())
        m_startup.podgladMsie = m_preview->internalChosen();
    m_startup.defTemplate = m_documents->defaultTemplate();
    // The user toolbar knows the slots as they are now.
    m_startup.userButtons = userToolBar()->slotNames();
    m_startup.write(m_settings);
    m_setup.writeEditor(m_settings);
}
