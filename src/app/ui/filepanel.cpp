#include "app/ui/filepanel.h"

#include "app/ui/folderlistmodel.h"
#include "app/ui/foldertreemodel.h"
#include "base/filefilter.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

PnPodPanPlikow::PnPodPanPlikow(const QString &filter, QWidget *parent)
    : QWidget(parent)
    , m_filter(filter)
{
    setObjectName(QStringLiteral("PnPodPanPlikow"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *split = new QSplitter(Qt::Vertical, this);
    m_dirs = new FolderTreeModel(this);
    m_tree = new QTreeView(split);
    m_tree->setObjectName(QStringLiteral("DrzewoFolderow"));
    m_tree->setModel(m_dirs);
    m_tree->header()->hide();
    // Deep folders scroll sideways rather than losing their names to "...".
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setToolTip(QStringLiteral("Foldery"));

    m_files = new FolderListModel(this);
    // The program's own temporary files ("~Markora$HTML.HTML", "~Markora$Hint.html").
    m_files->setHiddenPrefix(QStringLiteral("~Markora$"));
    m_list = new QListView(split);
    m_list->setObjectName(QStringLiteral("Zbiory"));
    m_list->setModel(m_files);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setToolTip(QStringLiteral("Pliki (dwuklik otwiera)"));
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    FiltrPlikow = new QComboBox(this);
    FiltrPlikow->setObjectName(QStringLiteral("FiltrPlikow"));
    FiltrPlikow->addItems(ToQtNameFilters(m_filter));
    // The long filter texts must not widen the panel past its stored width.
    FiltrPlikow->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FiltrPlikow->setMinimumContentsLength(8);
    setMinimumWidth(60);
    layout->addWidget(FiltrPlikow);

    m_watcher = new QFileSystemWatcher(this);
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietTime);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &PnPodPanPlikow::WatcherDirectoryChanged);
    connect(&m_quiet, &QTimer::timeout, this, &PnPodPanPlikow::ObserwatorTimer);
    connect(m_files, &FolderListModel::listed, this, &PnPodPanPlikow::listRefreshed);

    connect(m_tree, &QTreeView::clicked, this, &PnPodPanPlikow::folderClicked);
    connect(m_tree, &QTreeView::activated, this, &PnPodPanPlikow::folderClicked);
    connect(m_tree, &QTreeView::expanded, this, &PnPodPanPlikow::watchFolders);
    connect(m_list, &QListView::doubleClicked, this, [this] { ZbioryDblClick(); });
    connect(FiltrPlikow, &QComboBox::currentIndexChanged, this, &PnPodPanPlikow::applyFilter);
    applyFilter();
}

PnPodPanPlikow::~PnPodPanPlikow() = default;

void PnPodPanPlikow::folderClicked(const QModelIndex &index)
{
    if (index.isValid())
        selectFolder(m_dirs->filePath(index));
}

void PnPodPanPlikow::selectFolder(const QString &folder)
{
    const QFileInfo fi(folder);
    if (folder.isEmpty() || !fi.isDir())
        return;
    m_folder = QDir::cleanPath(fi.absoluteFilePath());
    const QModelIndex dirIndex = m_dirs->indexForPath(m_folder);
    if (dirIndex.isValid()) {
        m_tree->setCurrentIndex(dirIndex);
        m_tree->scrollTo(dirIndex);
    }
    m_files->setFolder(m_folder);
    watchFolders();
}

void PnPodPanPlikow::watchFolders()
{
    // The folder and every folder above it (renaming or removing any of them takes the
    // listed folder away, and only its parent hears of it), and what the tree shows.
    QSet<QString> wanted;
    for (QString f = m_folder; !f.isEmpty();) {
        wanted.insert(f);
        const QString parent = QFileInfo(f).absolutePath();
        if (parent == f)
            break;
        f = parent;
    }
    for (const QString &f : m_dirs->readFolders())
        wanted.insert(f);
    const QStringList watchedList = m_watcher->directories();
    const QSet<QString> watched(watchedList.begin(), watchedList.end());
    const QSet<QString> gone = watched - wanted;
    const QSet<QString> added = wanted - watched;
    if (!gone.isEmpty())
        m_watcher->removePaths(QStringList(gone.begin(), gone.end()));
    for (const QString &f : added)
        if (QFileInfo(f).isDir())
            m_watcher->addPath(f);
}

void PnPodPanPlikow::WatcherDirectoryChanged(const QString &path)
{
    m_changed.insert(path);
    // The first change of a burst starts the wait; the rest join it.
    if (!m_quiet.isActive())
        m_quiet.start();
}

void PnPodPanPlikow::ObserwatorTimer()
{
    const QSet<QString> changed = std::exchange(m_changed, {});
    for (const QString &f : changed)
        m_dirs->refresh(f);
    if (!m_folder.isEmpty() && !QFileInfo(m_folder).isDir()) {
        QString up = m_folder;
        do {
            const QString parent = QFileInfo(up).absolutePath();
            if (parent == up)
                break;
            up = parent;
        } while (!QFileInfo(up).isDir());
        selectFolder(up);
        return;
    }
    if (changed.contains(m_folder))
        m_files->refresh();
    // A folder removed and made again lost its watch; new folders of the tree get one.
    watchFolders();
}

void PnPodPanPlikow::setFilterIndex(int index)
{
    FiltrPlikow->setCurrentIndex(qBound(0, index, FiltrPlikow->count() - 1));
}

int PnPodPanPlikow::filterIndex() const { return FiltrPlikow->currentIndex(); }

void PnPodPanPlikow::applyFilter() { m_files->setNameFilters(FilterPatterns(m_filter, filterIndex())); }

QStringList PnPodPanPlikow::selectedFiles() const
{
    QModelIndexList rows = m_list->selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList out;
    for (const QModelIndex &i : std::as_const(rows))
        out << m_files->filePath(i.row());
    return out;
}

void PnPodPanPlikow::selectFiles(const QStringList &names)
{
    QItemSelectionModel *sel = m_list->selectionModel();
    sel->clearSelection();
    for (int r = 0; r < m_files->rowCount(); ++r) {
        const QModelIndex i = m_files->index(r, 0);
        if (names.contains(i.data().toString()))
            sel->select(i, QItemSelectionModel::Select);
    }
}

void PnPodPanPlikow::ZbioryDblClick()
{
    const QStringList files = selectedFiles();
    if (!files.isEmpty())
        Q_EMIT openFiles(files);
}

QStringList PnPodPanPlikow::listedNames() const { return m_files->names(); }
