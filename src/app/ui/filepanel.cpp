#include "app/ui/filepanel.h"

#include "base/filefilter.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// Hides the program's own temporary files ("~Markora$HTML.HTML", "~Markora$Hint.html").
class HideTemporaryFiles final : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QString name = sourceModel()->index(row, 0, parent).data().toString();
        return !name.startsWith(QLatin1String("~Markora$"));
    }
};
} // namespace

PnPodPanPlikow::PnPodPanPlikow(const QString &filter, QWidget *parent)
    : QWidget(parent)
    , m_filter(filter)
{
    setObjectName(QStringLiteral("PnPodPanPlikow"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *split = new QSplitter(Qt::Vertical, this);
    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirs->setRootPath(QString());
    m_tree = new QTreeView(split);
    m_tree->setObjectName(QStringLiteral("DrzewoFolderow"));
    m_tree->setModel(m_dirs);
    for (int c = 1; c < m_dirs->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->header()->hide();
    m_tree->setToolTip(QStringLiteral("Foldery"));

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::Files);
    m_files->setNameFilterDisables(false);
    m_list = new QListView(split);
    m_list->setObjectName(QStringLiteral("Zbiory"));
    m_shown = new HideTemporaryFiles(this);
    m_shown->setSourceModel(m_files);
    m_list->setModel(m_shown);
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

    connect(m_tree, &QTreeView::clicked, this, &PnPodPanPlikow::folderClicked);
    connect(m_tree, &QTreeView::activated, this, &PnPodPanPlikow::folderClicked);
    connect(m_list, &QListView::doubleClicked, this, [this] { ZbioryDblClick(); });
    connect(FiltrPlikow, &QComboBox::currentIndexChanged, this, &PnPodPanPlikow::applyFilter);
    applyFilter();
}

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
    const QModelIndex dirIndex = m_dirs->index(m_folder);
    if (dirIndex.isValid()) {
        m_tree->setCurrentIndex(dirIndex);
        m_tree->scrollTo(dirIndex);
    }
    m_list->setRootIndex(m_shown->mapFromSource(m_files->setRootPath(m_folder)));
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
    for (const QModelIndex &i : std::as_const(rows)) {
        const QModelIndex source = m_shown->mapToSource(i);
        if (i.column() == 0 && !m_files->isDir(source))
            out << m_files->filePath(source);
    }
    return out;
}

void PnPodPanPlikow::selectFiles(const QStringList &names)
{
    QItemSelectionModel *sel = m_list->selectionModel();
    sel->clearSelection();
    const QModelIndex root = m_list->rootIndex();
    for (int r = 0; r < m_shown->rowCount(root); ++r) {
        const QModelIndex i = m_shown->index(r, 0, root);
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

QStringList PnPodPanPlikow::listedNames() const
{
    QStringList out;
    const QModelIndex root = m_list->rootIndex();
    for (int r = 0; r < m_shown->rowCount(root); ++r)
        out << m_shown->index(r, 0, root).data().toString();
    return out;
}
