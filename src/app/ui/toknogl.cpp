#include "app/ui/toknogl.h"

#include "app/ui/assistcontroller.h"
#include "app/ui/checkscontroller.h"
#include "app/ui/desktopcommands.h"
#include "app/ui/contentcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/filepanel.h"
#include "app/ui/formatcontroller.h"
#include "app/ui/previewcontroller.h"
#include "app/ui/recoverycontroller.h"
#include "app/ui/servicescontroller.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/shortcutscontroller.h"
#include "app/ui/splash.h"
#include "app/ui/tagmatchcontroller.h"
#include "app/ui/tsetupdial.h"
#include "app/ui/viewcontroller.h"
#include "app/ui/viewerscontroller.h"
#include "base/filefilter.h"
#include "base/ui/msgbox.h"
#include "ext/ui/pluginsbar.h"
#include "ext/ui/usertoolbar.h"
#include "search/ui/findresultspanel.h"
#include "tags/tagdefs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

// The parts are made in the order of the start: the menus and toolbar, the assistance
// (the editors' host) and the documents, the plug-ins; then the settings are read and
// the panes placed by them; last the untitled document.
TOknoGl::TOknoGl(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("OknoGl"));
    setWindowTitle(QStringLiteral("Markora"));
    resize(1000, 700);
    // The options' owner first: every part reads them, the defaults until they are read.
    m_setup = new SetupController(*this, m_settings);
    createMenus();
    createToolBar();
    createStatusBar();
    setupAssist();
    setupDocuments();

    Splash::message(QStringLiteral("Inicjacja: paski narzędziowe i doklejki..."));
    setupPlugins();

    Splash::message(QStringLiteral("Inicjalizacja: odczytywanie konfiguracji..."));
    m_startup = StartupSettings::read(m_settings);
    m_setup->read();
    setupPanels();
    setupContent();
    m_view->restore(m_startup);
    m_preview->restore(m_startup);
    m_documents->setDefaultTemplate(m_startup.defTemplate);

    m_recovery = new RecoveryController(*m_documents, this);
    m_documents->startUntitled();
    // Every command is there now: the user's shortcuts go on them.
    m_shortcuts->applyStored();

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    connect(timer, &QTimer::timeout, this, &TOknoGl::Timer1Timer);
    timer->start(200);
}

TOknoGl::~TOknoGl() = default;

TEditor *TOknoGl::currentEditorOrNull() const
{
    return m_documents ? m_documents->currentEditorOrNull() : nullptr;
}

TEditor *TOknoGl::CurrentEditor() const { return m_documents->CurrentEditor(); }

const SetupOptions &TOknoGl::setupOptions() const { return m_setup->options(); }

void TOknoGl::setSetupOptions(const SetupOptions &options) { m_setup->setOptions(options); }

QString TOknoGl::filePanelFilter() const { return FilePanelFilter(m_startup.ogExt); }

// ---- Menus, toolbar, status bar --------------------------------------------------

QAction *TOknoGl::addAction(QMenu *menu, const QString &objectName, const QString &text,
    const QKeySequence &shortcut, std::function<void()> handler)
{
    auto *a = new QAction(text, this);
    a->setObjectName(objectName);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    menu->addAction(a);
    return a;
}

QMenu *TOknoGl::menuNamed(const QString &objectName) const { return findChild<QMenu *>(objectName); }

void TOknoGl::createMenus()
{
    auto needs = [this](QAction *a) {
        m_needsDocument << a;
        return a;
    };

    QMenu *pliki = menuBar()->addMenu(QStringLiteral("&Plik"));
    pliki->setObjectName(QStringLiteral("Pliki1"));
    addAction(pliki, QStringLiteral("PlikiNowy1"), QStringLiteral("&Nowy"), QKeySequence::New,
        [this] { m_documents->PlikiNowy1Click(); });
    addAction(pliki, QStringLiteral("PlikiOtworz1"), QStringLiteral("&Otwórz..."), QKeySequence::Open,
        [this] { m_documents->PlikiOtworz1Click(); });
    needs(addAction(pliki, QStringLiteral("PlikiWstaw1"), QStringLiteral("&Wstaw plik..."), QKeySequence(),
        [this] { m_documents->PlikiWstaw1Click(); }));
    pliki->addSeparator();
    needs(addAction(pliki, QStringLiteral("PlikiZapisz1"), QStringLiteral("&Zapisz"), QKeySequence::Save,
        [this] { m_documents->PlikiZapisz1Click(); }));
    needs(addAction(pliki, QStringLiteral("PlikiZapiszjako1"), QStringLiteral("Zapisz &jako..."),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { m_documents->PlikiZapiszjako1Click(); }));
    needs(addAction(pliki, QStringLiteral("PlikiZapiszwszystkie1"), QStringLiteral("Zapisz &wszystkie"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [this] { m_documents->PlikiZapiszwszystkie1Click(); }));
    pliki->addSeparator();
    needs(addAction(pliki, QStringLiteral("PlikiZamknij1"), QStringLiteral("Za&mknij"), QKeySequence::Close,
        [this] { m_documents->PlikiZamknij1Click(); }));
    needs(addAction(pliki, QStringLiteral("PlikiZamknijwszystkie1"), QStringLiteral("Zamknij wszystki&e"),
        QKeySequence(), [this] { m_documents->PlikiZamknijwszystkie1Click(); }));
    pliki->addSeparator(); // the recent files come here, with the documents
    // Spelled out: the standard keys of Save as and Quit are empty on some desktops.
    addAction(pliki, QStringLiteral("PlikiKoniec1"), QStringLiteral("&Koniec"),
        QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    QMenu *edycja = menuBar()->addMenu(QStringLiteral("&Edycja"));
    edycja->setObjectName(QStringLiteral("Edycja1"));
    auto editorCall = [this](void (QPlainTextEdit::*f)()) {
        return [this, f] {
            if (TEditor *e = currentEditorOrNull())
                (e->*f)();
        };
    };
    needs(addAction(edycja, QStringLiteral("EdycjaCofnij1"), QStringLiteral("&Cofnij"), QKeySequence::Undo,
        [this] { EdycjaCofnij1Click(); }));
    edycja->addSeparator();
    needs(addAction(edycja, QStringLiteral("EdycjaWytnij1"), QStringLiteral("&Wytnij"), QKeySequence::Cut,
        editorCall(&QPlainTextEdit::cut)));
    needs(addAction(edycja, QStringLiteral("EdycjaSkopiuj1"), QStringLiteral("&Skopiuj"), QKeySequence::Copy,
        editorCall(&QPlainTextEdit::copy)));
    needs(addAction(edycja, QStringLiteral("EdycjaWklej1"), QStringLiteral("W&klej"), QKeySequence::Paste,
        editorCall(&QPlainTextEdit::paste)));
    needs(addAction(
        edycja, QStringLiteral("EdycjaWyczysc1"), QStringLiteral("W&yczyść"), QKeySequence(), [this] {
            if (TEditor *e = currentEditorOrNull())
                e->textCursor().removeSelectedText();
        }));
    edycja->addSeparator();
    needs(addAction(edycja, QStringLiteral("EdycjaZaznaczwszystko1"), QStringLiteral("Zaznacz &wszystko"),
        QKeySequence::SelectAll, editorCall(&QPlainTextEdit::selectAll)));
    // Commands that act on documents from other parts of the program join these menus.
    for (QAction *a : edycja->actions())
        a->setShortcutContext(Qt::WindowShortcut);

    QMenu *wstaw = menuBar()->addMenu(QStringLiteral("&Wstaw"));
    wstaw->setObjectName(QStringLiteral("Wstaw1"));
    m_needsDocument << wstaw->menuAction();

    QMenu *ustawienia = menuBar()->addMenu(QStringLiteral("&Ustawienia"));
    ustawienia->setObjectName(QStringLiteral("Ustawienia1"));

    // The code page and line break menus come first here, with the documents.
    QMenu *polskie = menuBar()->addMenu(QStringLiteral("Polskie &litery"));
    polskie->setObjectName(QStringLiteral("Polskielitery1"));
    m_needsDocument << polskie->menuAction();

    QMenu *sprawdzanie = menuBar()->addMenu(QStringLiteral("&Sprawdzanie"));
    sprawdzanie->setObjectName(QStringLiteral("Sprawdzanie1"));

    QMenu *widok = menuBar()->addMenu(QStringLiteral("&Widok"));
    widok->setObjectName(QStringLiteral("Widok1"));

    QMenu *pomoc = menuBar()->addMenu(QStringLiteral("Pomo&c"));
    pomoc->setObjectName(QStringLiteral("Pomoc1"));
}

void TOknoGl::createToolBar()
{
    m_mainToolBar = addToolBar(QStringLiteral("Pasek przycisków"));
    m_mainToolBar->setObjectName(QStringLiteral("PasekPrzyciskow"));
    auto add = [this](const QString &actionName, QStyle::StandardPixmap icon, const QString &name) {
        QAction *a = findChild<QAction *>(actionName);
        a->setIcon(style()->standardIcon(icon));
        addToolButton(a, name);
    };
    add(QStringLiteral("PlikiNowy1"), QStyle::SP_FileIcon, QStringLiteral("BtnPlikiNowy"));
    add(QStringLiteral("PlikiOtworz1"), QStyle::SP_DialogOpenButton, QStringLiteral("BtnPlikiOtworz"));
    add(QStringLiteral("PlikiZapisz1"), QStyle::SP_DialogSaveButton, QStringLiteral("BtnPlikiZapisz"));
    add(QStringLiteral("PlikiZapiszwszystkie1"), QStyle::SP_DriveFDIcon,
        QStringLiteral("BtnZapiszWszystkie"));
    m_mainToolBar->addSeparator();
    add(QStringLiteral("EdycjaCofnij1"), QStyle::SP_ArrowBack, QStringLiteral("BtnCofnij"));
}

void TOknoGl::createStatusBar()
{
    // Panel 4, the line break, stands beside the code page (panel 1).
    const int widths[kStatusPanels] = { 90, 50, 50, 0, 50 };
    for (int i = 0; i < kStatusPanels; ++i) {
        m_statusPanels[i] = new QLabel(this);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    }
    for (const int i : { 0, 1, 4, 2, 3 }) {
        if (widths[i]) {
            m_statusPanels[i]->setMinimumWidth(widths[i]);
            statusBar()->addWidget(m_statusPanels[i]);
        } else {
            statusBar()->addWidget(m_statusPanels[i], 1);
        }
    }
}

void TOknoGl::setStatusPanel(int index, const QString &text)
{
    if (index >= 0 && index < kStatusPanels)
        m_statusPanels[index]->setText(text);
}

QString TOknoGl::statusPanel(int index) const
{
    return index >= 0 && index < kStatusPanels ? m_statusPanels[index]->text() : QString();
}

void TOknoGl::addToolButton(QAction *action, const QString &buttonName)
{
    m_mainToolBar->addAction(action);
    if (QWidget *w = m_mainToolBar->widgetForAction(action))
        w->setObjectName(buttonName);
}

// ---- The parts placed and wired --------------------------------------------------

void TOknoGl::setupAssist()
{
    m_assist = std::make_unique<AssistController>(*this, m_settings, *m_setup, m_temporaryFiles);
    connect(m_assist.get(), &AssistController::refreshRequested, this, &TOknoGl::Timer1Timer);
    m_upperPane = new QDockWidget(this);
    m_upperPane->setObjectName(QStringLiteral("PlGorny"));
    m_upperPane->setWindowTitle(QStringLiteral("Panel górny"));
    m_upperPane->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_upperPane->setAllowedAreas(Qt::TopDockWidgetArea);
    // No title bar: the pane reads as part of the window, resized by its splitter.
    m_upperPane->setTitleBarWidget(new QWidget(m_upperPane));
    m_upperPane->setWidget(m_assist->upperPaneContent());
    addDockWidget(Qt::TopDockWidgetArea, m_upperPane);
    setUpperPaneHeight(144);

    // The insert menu of the menu bar takes the items of the menu built from the table.
    menuNamed(QStringLiteral("Wstaw1"))->addActions(m_assist->insertMenuActions());
    // The switches and the entry-mode buttons on the main toolbar, a group each; the
    // buttons take their actions' names.
    for (const QList<QAction *> &group : { m_assist->switchActions(), m_assist->entryModeActions() }) {
        m_mainToolBar->addSeparator();
        for (QAction *a : group)
            addToolButton(a, a->objectName());
    }
    m_needsDocument << m_assist->entryModeActions();
}

QWidget *TOknoGl::upperPane() const { return m_upperPane; }
int TOknoGl::upperPaneHeight() const { return m_upperPane->height(); }

void TOknoGl::setUpperPaneHeight(int height)
{
    resizeDocks({ m_upperPane }, { std::max(40, height) }, Qt::Vertical);
}

void TOknoGl::setupDocuments()
{
    m_documents = new DocumentManager(*this, m_assist.get(), m_settings, m_setup->options());
    m_assist->setDocuments(m_documents);
    setCentralWidget(m_documents->area());
    m_format = new FormatController(*this, *m_documents);
    QMenu *polskie = menuNamed(QStringLiteral("Polskielitery1"));
    polskie->addMenu(m_format->codePageMenu());
    polskie->addMenu(m_format->lineBreakMenu());
    connect(m_format, &FormatController::changed, this, &TOknoGl::Timer1Timer);
    QAction *koniec = findChild<QAction *>(QStringLiteral("PlikiKoniec1"));
    menuNamed(QStringLiteral("Pliki1"))->insertMenu(koniec, m_documents->recentMenu());
    menuNamed(QStringLiteral("Pliki1"))->insertSeparator(koniec);
    connect(m_setup, &SetupController::optionsChanged, m_documents, &DocumentManager::applySetupOptions);
    m_setup->setTemplateAccess([this] { return m_documents->defaultTemplate(); },
        [this](const QString &path) { m_documents->setDefaultTemplate(path); });
    connect(m_documents, &DocumentManager::activeDocumentChanged, m_assist.get(),
        &AssistController::activeDocumentChanged);
    connect(m_documents, &DocumentManager::hasDocumentsChanged, this, [this](bool has) {
        for (QAction *a : std::as_const(m_needsDocument))
            a->setEnabled(has);
    });
    connect(m_documents, &DocumentManager::refreshRequested, this, &TOknoGl::Timer1Timer);
    connect(m_documents, &DocumentManager::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });
    connect(m_assist.get(), &AssistController::filesDropped, m_documents, [this](const QStringList &files) {
        for (const QString &f : files)
            m_documents->Open(f, 0);
    });
}

void TOknoGl::setupPlugins()
{
    m_pluginBar = CreatePluginToolBar(this);
    addToolBar(m_pluginBar);
    // The plug-in store is read once: plug-ins registered later appear after a restart.
    LoadPlugins(m_pluginBar, *PluginSettings());

    m_userBar = new UserToolBar(this);
    addToolBar(m_userBar);
    m_userBar->loadSlots(m_settings);
    // Any tool-tab button can be copied to the user toolbar with a right click.
    m_userBar->attachToolTabs(m_assist->insertToolTabs());
}

// The panes the settings size and show: the file panel, the preview, the results of
// the search; the view toggles over them.
void TOknoGl::setupPanels()
{
    m_filePanel = new PnPodPanPlikow(filePanelFilter(), this);
    m_filePanelDock = new QDockWidget(QStringLiteral("Panel plików"), this);
    m_filePanelDock->setObjectName(QStringLiteral("DokPanelPlikow"));
    m_filePanelDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_filePanelDock->setWidget(m_filePanel);
    addDockWidget(Qt::LeftDockWidgetArea, m_filePanelDock);
    m_filePanel->setFilterIndex(m_startup.pliki);
    m_filePanel->selectFolder(QDir::currentPath());
    connect(m_filePanel, &PnPodPanPlikow::openFiles, m_documents, [this](const QStringList &files) {
        for (const QString &f : files)
            m_documents->Open(f, 0);
    });
    connect(m_documents, &DocumentManager::documentSavedAs, m_filePanel,
        [this](const QString &path) { m_filePanel->selectFolder(QFileInfo(path).absolutePath()); });

    m_preview = new PreviewController(*this, *m_documents, m_temporaryFiles);
    addDockWidget(Qt::BottomDockWidgetArea, m_preview->dock());
    connect(m_assist.get(), &AssistController::hintPreviewWritten, m_preview,
        &PreviewController::showHintPreview);
    QMenu *widok = menuNamed(QStringLiteral("Widok1"));
    widok->addActions(m_preview->previewActions());
    widok->addAction(m_preview->liveAction());
    m_needsDocument << m_preview->previewActions();
    menuNamed(QStringLiteral("Pomoc1"))->addAction(m_preview->helpAction());
    menuNamed(QStringLiteral("Ustawienia1"))->addAction(m_setup->konfiguracjaAction());

    m_view = new ViewController(
        *this, *m_documents, m_settings, { m_mainToolBar, m_filePanelDock, m_upperPane, m_preview->dock() });
    m_setup->setWordWrapToggle(m_view->wordWrapToggle());
    widok->addMenu(m_view->toolbarsMenu());
    widok->addSeparator();
    widok->addActions(m_view->toggles());
    m_mainToolBar->addSeparator();
    addToolButton(m_view->wordWrapToggle(), QStringLiteral("BtnZawijanie"));
    addToolButton(m_preview->previewActions().constFirst(), QStringLiteral("BtnPodglad"));

    m_services = new ServicesController(*this, *m_documents, m_setup->options());
    m_services->setFileFilter(filePanelFilter());
    addDockWidget(Qt::BottomDockWidgetArea, m_services->findResults());
    widok->addAction(m_services->findResults()->toggleViewAction());
    const QList<QAction *> search = m_services->searchActions();
    QMenu *edycja = menuNamed(QStringLiteral("Edycja1"));
    edycja->addSeparator();
    edycja->addActions(search);
    QMenu *polskie = menuNamed(QStringLiteral("Polskielitery1"));
    polskie->addAction(m_services->converterAction());
    polskie->addSeparator();
    polskie->addActions(m_services->entityActions());
    m_needsDocument << search << m_services->converterAction();
    m_mainToolBar->addSeparator();
    addToolButton(search.at(0), QStringLiteral("BtnZnajdz"));
    addToolButton(search.at(1), QStringLiteral("BtnZamien"));
    addToolButton(m_services->converterAction(), QStringLiteral("BtnKonwerter"));
    connect(m_services, &ServicesController::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });
    connect(m_services, &ServicesController::refreshRequested, this, &TOknoGl::Timer1Timer);

    m_desktop = new DesktopCommands(*this, *m_documents);
    widok->addSeparator();
    widok->addActions(m_desktop->documentActions());
    widok->addAction(m_desktop->fullScreenAction());
    m_needsDocument << m_desktop->documentActions();
    menuNamed(QStringLiteral("Ustawienia1"))->addAction(m_desktop->editDefinitionsAction());
    connect(m_desktop, &DesktopCommands::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });

    m_tagMatch = new TagMatchController(*this, *m_documents);
    edycja->addSeparator();
    edycja->addActions(m_tagMatch->actions());
    m_needsDocument << m_tagMatch->actions();
    connect(m_tagMatch, &TagMatchController::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });

    setupChecks();
}

// The page checks: their menu, two toolbar buttons, the page of the results panel, the
// editors' context menu and the setup dialog's page.
void TOknoGl::setupChecks()
{
    m_checks = new ChecksController(*this, *m_documents, m_settings, *m_services->findResults());
    QMenu *menu = menuNamed(QStringLiteral("Sprawdzanie1"));
    menu->addActions(m_checks->markupActions());
    menu->addSeparator();
    menu->addAction(m_checks->spellingToggle());
    menu->addAction(m_checks->spellDialogAction());
    m_needsDocument << m_checks->markupActions() << m_checks->spellDialogAction();
    m_mainToolBar->addSeparator();
    addToolButton(m_checks->markupActions().constFirst(), QStringLiteral("BtnSprawdzPoprawnosc"));
    addToolButton(m_checks->spellingToggle(), QStringLiteral("BtnPisownia"));
    connect(m_documents, &DocumentManager::activeDocumentChanged, m_checks,
        &ChecksController::activeDocumentChanged);
    connect(m_assist.get(), &AssistController::editorPopupAboutToShow, m_checks,
        &ChecksController::addSpellingEntries);
    connect(m_setup, &SetupController::dialogOpening, m_checks, &ChecksController::setupDialogOpening);
    connect(m_setup, &SetupController::dialogAccepted, m_checks, &ChecksController::setupDialogAccepted);
    connect(m_checks, &ChecksController::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });
    connect(m_checks, &ChecksController::refreshRequested, this, &TOknoGl::Timer1Timer);
}

// The reusable content in the file menu and two docks on the right; the viewers in the
// preview menu; the shortcuts over every command.
void TOknoGl::setupContent()
{
    m_content = new ContentController(*this, *m_documents, *m_assist, *m_setup, m_settings);
    QMenu *pliki = menuNamed(QStringLiteral("Pliki1"));
    pliki->insertAction(
        findChild<QAction *>(QStringLiteral("PlikiOtworz1")), m_content->newFromTemplateAction());
    pliki->insertAction(
        findChild<QAction *>(QStringLiteral("PlikiZapiszwszystkie1")), m_content->saveAsTemplateAction());
    m_needsDocument << m_content->saveAsTemplateAction();
    QMenu *widok = menuNamed(QStringLiteral("Widok1"));
    for (QDockWidget *dock : { m_content->snippetsDock(), m_content->projectsDock() }) {
        addDockWidget(Qt::RightDockWidgetArea, dock);
        widok->addAction(dock->toggleViewAction());
    }
    tabifyDockWidget(m_content->snippetsDock(), m_content->projectsDock());
    m_content->snippetsDock()->raise();
    // Beside the editor, narrow; shown from the view menu (the window's saved state keeps
    // them open for the next start).
    resizeDocks({ m_content->snippetsDock() }, { 260 }, Qt::Horizontal);
    m_content->snippetsDock()->hide();
    m_content->projectsDock()->hide();
    connect(m_content, &ContentController::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });

    m_viewers = new ViewersController(*this, m_settings, m_preview->previewActions().at(1),
        [this] { return m_preview->writePreviewFile(); });
    widok->insertMenu(m_view->toolbarsMenu()->menuAction(), m_viewers->viewersMenu());
    m_needsDocument << m_viewers->viewersMenu()->menuAction();

    m_shortcuts = new ShortcutsController(*this, m_settings);
    QMenu *ustawienia = menuNamed(QStringLiteral("Ustawienia1"));
    ustawienia->addAction(m_shortcuts->shortcutsAction());
    ustawienia->addAction(m_viewers->viewersDialogAction());
    connect(m_viewers, &ViewersController::entriesRebuilt, m_shortcuts, &ShortcutsController::applyStored);
    connect(m_shortcuts, &ShortcutsController::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });
}

// ---- Commands, start and close ---------------------------------------------------

void TOknoGl::Timer1Timer()
{
    TEditor *e = currentEditorOrNull();
    // (The window's members go before its widgets: their last signals may come here.)
    if (m_assist) {
        m_assist->Timer1TimerAssist(e);
        setStatusPanel(2, m_assist->overwriteMode() ? QStringLiteral("OVR") : QStringLiteral("INS"));
    }
    auto enable = [this](const char *name, bool on) {
        if (auto *a = findChild<QAction *>(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    if (m_format) {
        m_format->refresh(e);
        setStatusPanel(1, FormatController::codePageText(e));
        setStatusPanel(4, FormatController::lineBreakText(e));
        m_statusPanels[1]->setToolTip(FormatController::codePageTip(e));
        m_statusPanels[4]->setToolTip(FormatController::lineBreakTip(e));
    }
    if (!e) {
        setStatusPanel(0, QStringLiteral("?"));
        return;
    }
    const int start = e->selStart();
    const TextAccess &text = e->textAccess();
    const int line = text.lineOf(start);
    setStatusPanel(0, QStringLiteral("%1:%2").arg(line).arg(start - text.lineStart(line)));
    const bool selected = e->selLength() > 0;
    enable("PlikiZapisz1", e->isModified());
    enable("EdycjaCofnij1", e->CanUndo());
    enable("EdycjaSkopiuj1", selected);
    enable("EdycjaWytnij1", selected);
    enable("EdycjaWyczysc1", selected);
    const QClipboard *cb = QApplication::clipboard();
    enable("EdycjaWklej1", cb && !cb->text().isEmpty());
}

void TOknoGl::EdycjaCofnij1Click()
{
    if (TEditor *e = currentEditorOrNull())
        e->Undo();
    Timer1Timer();
}

void TOknoGl::FormShow(const QStringList &documents)
{
    const bool first = !m_firstShown;
    m_firstShown = true;
    // Now every part has added its toolbars.
    if (first)
        m_view->restoreToolbarPositions(m_startup);
    m_documents->openAtStart(documents);
    // After the documents above, so that a recovered file already open is replaced in
    // its own tab rather than opened twice.
    if (first) {
        m_recovery->offerRecovery();
        // Over the window: a damaged projects file is reported with its lines.
        m_content->loadProjects();
    }
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

void TOknoGl::closeEvent(QCloseEvent *e)
{
    // Close all comes first: a refused close keeps the window and every setting as it was.
    if (!m_documents->CloseAll()) {
        e->ignore();
        return;
    }
    try {
        closeSequence();
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "markora: zamykanie przerwane: %s\n", ex.what());
    }
    // Settings that cannot be written are reported, and the window closes all the same.
    QString error;
    if (!m_settings.sync(&error)) {
        std::fprintf(stderr, "markora: nie można zapisać ustawień: %s\n", error.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    e->accept();
}

// In this order: the toolbar positions, the help, the temporary files, the window values
// and the editor look.
void TOknoGl::closeSequence()
{
    // Every document was saved or given up: nothing is left to recover.
    m_recovery->discardRecovery();
    m_view->save(m_startup);
    m_preview->closeHelp();
    m_temporaryFiles.removeAll();
    m_preview->save(m_startup);
    m_startup.pliki = m_filePanel->filterIndex();
    m_startup.defTemplate = m_documents->defaultTemplate();
    m_startup.userButtons = m_userBar->slotNames();
    m_startup.write(m_settings);
    m_setup->writeEditor();
    m_documents->writeRecentFiles();
}
