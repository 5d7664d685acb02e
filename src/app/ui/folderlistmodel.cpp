#include "app/ui/folderlistmodel.h"

#include "app/folderlisting.h"

#include <QDir>
#include <QFileIconProvider>

FolderListModel::FolderListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_icon(QFileIconProvider().icon(QAbstractFileIconProvider::File))
{
    m_pool.setMaxThreadCount(1);
}

FolderListModel::~FolderListModel()
{
    if (m_cancel)
        m_cancel->store(true);
    // A read still running posts its result to this object; that event dies with it.
    m_pool.waitForDone();
}

void FolderListModel::setFolder(const QString &folder)
{
    if (folder == m_folder && !m_names.isEmpty())
        return;
    if (folder != m_folder && !m_names.isEmpty()) {
        // Another folder: nothing of the old list may linger while the new one is read.
        beginResetModel();
        m_names.clear();
        endResetModel();
    }
    m_folder = folder;
    // What is being read for the old folder is of no use now.
    if (m_cancel)
        m_cancel->store(true);
    m_again = false;
    m_running = false;
    start();
}

void FolderListModel::setNameFilters(const QStringList &patterns)
{
    if (patterns == m_patterns)
        return;
    m_patterns = patterns;
    refresh();
}

void FolderListModel::refresh()
{
    if (m_running)
        m_again = true;
    else
        start();
}

void FolderListModel::start()
{
    const quint64 serial = ++m_serial;
    if (m_folder.isEmpty()) {
        apply(serial, QStringList());
        return;
    }
    m_running = true;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_pool.start(
        [this, serial, folder = m_folder, patterns = m_patterns, hidden = m_hiddenPrefix, cancel = m_cancel] {
            QStringList names = ListFolder(folder, FolderEntries::Files, patterns, cancel.get());
            if (cancel->load())
                return;
            if (!hidden.isEmpty())
                names.removeIf([&hidden](const QString &n) { return n.startsWith(hidden); });
            QMetaObject::invokeMethod(
                this, [this, serial, names] { apply(serial, names); }, Qt::QueuedConnection);
        });
}

void FolderListModel::apply(quint64 serial, const QStringList &names)
{
    if (serial != m_serial)
        return;
    m_running = false;
    for (const FolderListEdit &e : DiffSortedLists(m_names, names)) {
        if (e.insert) {
            beginInsertRows(QModelIndex(), e.row, e.row + e.count - 1);
            m_names.insert(e.row, e.count, QString());
            for (int k = 0; k < e.count; ++k)
                m_names[e.row + k] = names[e.from + k];
            endInsertRows();
        } else {
            beginRemoveRows(QModelIndex(), e.row, e.row + e.count - 1);
            m_names.remove(e.row, e.count);
            endRemoveRows();
        }
    }
    Q_EMIT listed();
    if (m_again) {
        m_again = false;
        start();
    }
}

QString FolderListModel::filePath(int row) const
{
    return row >= 0 && row < m_names.size() ? QDir(m_folder).filePath(m_names[row]) : QString();
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_names[index.row()];
    case Qt::DecorationRole:
        return m_icon;
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(filePath(index.row()));
    default:
        return QVariant();
    }
}
