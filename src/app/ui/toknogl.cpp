#include "app/ui/toknogl.h"

#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/recoverycontroller.h"
#include "base/ui/msgbox.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

TOknoGl::TOknoGl(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("OknoGl"));
    setWindowTitle(QStringLiteral("Markora"));
    resize(1000, 700);

    createMenus();
    createToolBar();
    createStatusBar();

    // Each subsystem adds its menus, toolbars and panels here, one call each.
    // (tag assistance and insertion: the host of every editor, so before the documents)
    setupAssist();
    // (documents)
    m_documents = new DocumentManager(*this, m_assist.get(), m_settings, m_setup);
    setCentralWidget(m_documents->area());
    connect(m_documents, &DocumentManager::activeDocumentChanged, this, &TOknoGl::activeDocumentChanged);
    connect(m_documents, &DocumentManager::hasDocumentsChanged, this, [this](bool has) {
        for (QAction *a : std::as_const(m_needsDocument))
            a->setEnabled(has);
    });
    connect(m_documents, &DocumentManager::refreshRequested, this, &TOknoGl::Timer1Timer);
    connect(m_documents, &DocumentManager::statusMessage, this,
        [this](const QString &text) { setStatusPanel(3, text); });
    connect(m_documents, &DocumentManager::recentFilesChanged, this, &TOknoGl::rebuildRecentMenu);
    connect(m_assist.get(), &AssistController::filesDropped, m_documents, [this](const QStringList &files) {
        for (const QString &f : files)
            m_documents->Open(f, 0);
    });
    // (start-up and settings)
    setupStartup();
    // (text services)
    setupServices();
    // (extensions)
    setupPlugins();
    // (crash recovery)
    m_recovery = new RecoveryController(*m_documents, this);

    rebuildRecentMenu();
    m_documents->startUntitled();

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
        QKeySequence::SaveAs, [this] { m_documents->PlikiZapiszjako1Click(); }));
    needs(addAction(pliki, QStringLiteral("PlikiZapiszwszystkie1"), QStringLiteral("Zapisz &wszystkie"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [this] { m_documents->PlikiZapiszwszystkie1Click(); }));
    pliki->addSeparator();
    needs(addAction(pliki, QStringLiteral("PlikiZamknij1"), QStringLiteral("Za&mknij"), QKeySequence::Close,
        [this] { m_documents->PlikiZamknij1Click(); }));
    needs(addAction(pliki, QStringLiteral("PlikiZamknijwszystkie1"), QStringLiteral("Zamknij wszystki&e"),
        QKeySequence(), [this] { m_documents->PlikiZamknijwszystkie1Click(); }));
    pliki->addSeparator();
    m_recentMenu = pliki->addMenu(QStringLiteral("Ostatnio &używane"));
    m_recentMenu->setObjectName(QStringLiteral("MRUFileList"));
    pliki->addSeparator();
    addAction(pliki, QStringLiteral("PlikiKoniec1"), QStringLiteral("&Koniec"), QKeySequence::Quit,
        [this] { close(); });

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

    QMenu *polskie = menuBar()->addMenu(QStringLiteral("Polskie &litery"));
    polskie->setObjectName(QStringLiteral("Polskielitery1"));
    m_needsDocument << polskie->menuAction();
    QMenu *kodowanie = polskie->addMenu(QStringLiteral("&Kodowanie pl"));
    kodowanie->setObjectName(QStringLiteral("Kodowaniepl1"));
    m_charsetGroup = new QActionGroup(this);
    QAction *win = addAction(kodowanie, QStringLiteral("Win1"), QStringLiteral("&Windows 1250 (lub brak)"),
        QKeySequence(), [this] {
            m_documents->setIsoCharset(currentEditorOrNull(), false);
            Timer1Timer();
        });
    QAction *iso
        = addAction(kodowanie, QStringLiteral("ISO1"), QStringLiteral("&ISO 8859-2"), QKeySequence(), [this] {
              m_documents->setIsoCharset(currentEditorOrNull(), true);
              Timer1Timer();
          });
    QAction *utf = addAction(kodowanie, QStringLiteral("UTF81"),
        QStringLiteral("&UTF-8 (jeszcze nie działa)"), QKeySequence(), [] {});
    utf->setEnabled(false);
    for (QAction *a : { win, iso }) {
        a->setCheckable(true);
        m_charsetGroup->addAction(a);
    }

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
        if (auto *a = findChild<QAction *>(actionName)) {
            a->setIcon(style()->standardIcon(icon));
            m_mainToolBar->addAction(a);
            if (QWidget *w = m_mainToolBar->widgetForAction(a))
                w->setObjectName(name);
        }
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
    const int widths[4] = { 90, 50, 50, 0 };
    for (int i = 0; i < 4; ++i) {
        m_statusPanels[i] = new QLabel(this);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
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
    if (index >= 0 && index < 4)
        m_statusPanels[index]->setText(text);
}

QString TOknoGl::statusPanel(int index) const
{
    return index >= 0 && index < 4 ? m_statusPanels[index]->text() : QString();
}

// ---- Tag assistance: its pane, buttons and menu items ----------------------------

void TOknoGl::setupAssist()
{
    m_assist = std::make_unique<AssistController>(*this);
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
        for (QAction *a : group) {
            m_mainToolBar->addAction(a);
            if (QWidget *w = m_mainToolBar->widgetForAction(a))
                w->setObjectName(a->objectName());
        }
    }
    m_needsDocument << m_assist->entryModeActions();
    connect(this, &TOknoGl::activeDocumentChanged, m_assist.get(), &AssistController::activeDocumentChanged);
}

QWidget *TOknoGl::upperPane() const { return m_upperPane; }
int TOknoGl::upperPaneHeight() const { return m_upperPane->height(); }

void TOknoGl::setUpperPaneHeight(int height)
{
    resizeDocks({ m_upperPane }, { std::max(40, height) }, Qt::Vertical);
}

void TOknoGl::Timer1Timer()
{
    TEditor *e = currentEditorOrNull();
    if (m_assist)
        m_assist->Timer1TimerAssist(e);
    auto enable = [this](const char *name, bool on) {
        if (auto *a = findChild<QAction *>(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    if (!e) {
        setStatusPanel(0, QStringLiteral("?"));
        setStatusPanel(1, QStringLiteral("?"));
        return;
    }
    const int start = e->selStart();
    const TextAccess &text = e->textAccess();
    const int line = text.lineOf(start);
    setStatusPanel(0, QStringLiteral("%1:%2").arg(line).arg(start - text.lineStart(line)));
    const bool iso = e->state().iso;
    setStatusPanel(1, iso ? QStringLiteral("ISO") : QStringLiteral("Win"));
    if (auto *a = findChild<QAction *>(QStringLiteral("ISO1")))
        a->setChecked(iso);
    if (auto *a = findChild<QAction *>(QStringLiteral("Win1")))
        a->setChecked(!iso);
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

void TOknoGl::closeEvent(QCloseEvent *e)
{
    // Close all comes first: a refused close keeps the window and every setting as it was.
    if (!m_documents->CloseAll()) {
        e->ignore();
        return;
    }
    try {
        closeSequence();
        m_documents->writeRecentFiles();
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

void TOknoGl::rebuildRecentMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList recent = m_documents->recentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(a, &QAction::triggered, m_documents,
            [this, path] { m_documents->MRUFileListMRUItemClick(path); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}
