#include "app/ui/servicescontroller.h"

#include "app/setupoptions.h"
#include "app/ui/documentmanager.h"
#include "base/datafiles.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"
#include "services/ui/entitycommands.h"
#include "services/ui/tkonwerterdial.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <functional>

ServicesController::ServicesController(
    QWidget &window, DocumentManager &documents, const SetupOptions &options)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
    , m_options(options)
{
    m_results = new FindResultsPanel(&documents, &window);
    m_results->hide();
    connect(m_results, &FindResultsPanel::fileRequested, this, &ServicesController::openFoundFile);
    const auto action = [&window, this](const char *name, const QString &text, QStyle::StandardPixmap icon,
                            const QKeySequence &shortcut, std::function<void()> handler) {
        auto *a = new QAction(window.style()->standardIcon(icon), text, &window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
        return a;
    };
    m_find = action("EdycjaZnajdz1", QStringLiteral("&Znajdź..."), QStyle::SP_FileDialogContentsView,
        QKeySequence::Find, [this] { SearchFindClick(0); });
    m_replace = action("EdycjaZamien1", QStringLiteral("Za&mień..."), QStyle::SP_BrowserReload,
        QKeySequence(Qt::CTRL | Qt::Key_H), [this] { SearchFindClick(1); });
    m_findInFiles
        = action("EdycjaZnajdzWPlikach1", QStringLiteral("Znajdź w &plikach..."), QStyle::SP_DirOpenIcon,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [this] { SearchFindClick(2); });
    m_konwerter = action("Konwerter1", QStringLiteral("&Konwerter..."), QStyle::SP_DialogApplyButton,
        QKeySequence(), [this] { KonwerterClick(); });
    m_entities = new EntityCommands(documents, this);
    connect(m_entities, &EntityCommands::statusMessage, this, &ServicesController::statusMessage);
    connect(m_entities, &EntityCommands::refreshRequested, this, &ServicesController::refreshRequested);
}

// The search window (and a run in it) goes before the backups of the runs.
ServicesController::~ServicesController()
{
    TSearchDial *dialog = TSearchDial::instance();
    if (dialog && dialog->parent() == &m_window)
        delete dialog;
}

QList<QAction *> ServicesController::entityActions() const { return m_entities->actions(); }

void ServicesController::SearchFindClick(int page)
{
    if (!m_documents.currentEditorOrNull())
        return;
    TSearchDial::showPage(
        page, &m_window, &m_documents, m_results, [this](const QString &text) { Q_EMIT statusMessage(text); },
        [this](TSearchDial &dialog) { addFilesPage(dialog); });
}

void ServicesController::addFilesPage(TSearchDial &dialog)
{
    // The folder of the current document, when nothing was searched before.
    const TEditor *e = m_documents.currentEditorOrNull();
    const QString folder = e && !e->state().fileName.isEmpty() ? QFileInfo(e->state().fileName).absolutePath()
                                                               : QDir::currentPath();
    auto *page = new FileSearchPage(
        m_results, m_replaceHistory, m_fileFilter, folder,
        [this](FileSearchRequest &request) { prepareFileRun(request); },
        [this](const QString &text) { Q_EMIT statusMessage(text); });
    dialog.addPage(QStringLiteral("W plikach"), page);
}

void ServicesController::prepareFileRun(FileSearchRequest &request) const
{
    // Files are read as opening reads them.
    request.charsetMode = 0;
    request.defaultEncoding = m_options.newDocumentEncoding();
    request.openTabWidth = m_options.tabWidth;
    request.skipPaths.clear();
    for (int i = 0; i < m_documents.count(); ++i) {
        const TEditor *e = m_documents.editorAt(i);
        if (!e->isModified() || e->state().fileName.isEmpty())
            continue;
        const QString canonical = QFileInfo(e->state().fileName).canonicalFilePath();
        if (!canonical.isEmpty())
            request.skipPaths.insert(canonical);
    }
}

void ServicesController::openFoundFile(const QString &path, int position, int length)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    int index = -1;
    for (int i = 0; i < m_documents.count() && index < 0; ++i) {
        const QString name = m_documents.editorAt(i)->state().fileName;
        if (!name.isEmpty() && QFileInfo(name).canonicalFilePath() == canonical)
            index = i;
    }
    if (index >= 0) {
        // Open already: the place is that of the text as the editor holds it.
        m_documents.activate(index);
    } else {
        const int id = m_documents.Open(path, 0);
        index = m_documents.indexOfId(id);
        if (index < 0)
            return;
    }
    m_documents.editorAt(index)->setSelection(position, length);
    m_documents.editorAt(index)->setFocus();
    Q_EMIT refreshRequested();
}

void ServicesController::KonwerterClick()
{
    if (!m_documents.currentEditorOrNull())
        return;
    // Created on demand and released when closed, so edits to znaki.txt take effect
    // the next time.
    TKonwerterDial dlg(&m_documents, DataFilePath(QStringLiteral("konfiguracja/znaki.txt")), &m_window);
    dlg.exec();
    Q_EMIT refreshRequested();
}
