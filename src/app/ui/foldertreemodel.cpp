#include "app/ui/foldertreemodel.h"

#include "app/folderlisting.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>

struct FolderTreeModel::Node
{
    QString name; // as shown: the folder's name, or the root's path
    QString path; // absolute, cleaned
    Node *parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool read = false;
    int row = 0; // among its parent's children (kept up to date by read)
};

FolderTreeModel::FolderTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , m_icon(QFileIconProvider().icon(QAbstractFileIconProvider::Folder))
{
    int row = 0;
    for (const QFileInfo &drive : QDir::drives()) {
        auto node = std::make_unique<Node>();
        node->path = QDir::cleanPath(drive.absoluteFilePath());
        node->name = QDir::toNativeSeparators(node->path);
        node->row = row++;
        m_roots.push_back(std::move(node));
    }
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::indexOf(Node *node) const
{
    return node ? createIndex(node->row, 0, node) : QModelIndex();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const Node *p = nodeOf(parent);
    const auto &list = p ? p->children : m_roots;
    return row < int(list.size()) ? createIndex(row, 0, list[row].get()) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const Node *n = nodeOf(child);
    return n ? indexOf(n->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    const Node *p = nodeOf(parent);
    return int(p ? p->children.size() : m_roots.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const { return 1; }

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *n = nodeOf(index);
    if (!n)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return n->name;
    case Qt::DecorationRole:
        return m_icon;
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(n->path);
    default:
        return QVariant();
    }
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    const Node *p = nodeOf(parent);
    // A folder not read yet may have subfolders: reading it to know would read every
    // folder the tree shows.
    return !p || !p->read || !p->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    const Node *p = nodeOf(parent);
    return p && !p->read;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (Node *p = nodeOf(parent); p && !p->read)
        read(p);
}

void FolderTreeModel::read(Node *node)
{
    const bool first = !node->read;
    node->read = true;
    QStringList old;
    for (const auto &c : node->children)
        old << c.get()->name;
    const QStringList now = ListFolder(node->path, FolderEntries::Folders);
    const QModelIndex parent = indexOf(node);
    for (const FolderListEdit &e : DiffSortedLists(old, now)) {
        if (e.insert) {
            beginInsertRows(parent, e.row, e.row + e.count - 1);
            std::vector<std::unique_ptr<Node>> fresh;
            for (int k = 0; k < e.count; ++k) {
                auto child = std::make_unique<Node>();
                child->name = now[e.from + k];
                child->path = QDir::cleanPath(node->path + u'/' + child->name);
                child->parent = node;
                fresh.push_back(std::move(child));
            }
            node->children.insert(node->children.begin() + e.row, std::make_move_iterator(fresh.begin()),
                std::make_move_iterator(fresh.end()));
            for (size_t r = e.row; r < node->children.size(); ++r)
                node->children[r]->row = int(r);
            endInsertRows();
        } else {
            beginRemoveRows(parent, e.row, e.row + e.count - 1);
            node->children.erase(node->children.begin() + e.row, node->children.begin() + e.row + e.count);
            for (size_t r = e.row; r < node->children.size(); ++r)
                node->children[r]->row = int(r);
            endRemoveRows();
        }
    }
    // A folder found empty loses its expander.
    if (first && now.isEmpty())
        Q_EMIT dataChanged(parent, parent);
}

FolderTreeModel::Node *FolderTreeModel::find(const QString &folder) const
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    for (const auto &root : m_roots) {
        Node *n = root.get();
        if (!path.startsWith(n->path, Qt::CaseSensitive))
            continue;
        QString rest = path.mid(n->path.size());
        const QStringList parts = rest.split(u'/', Qt::SkipEmptyParts);
        for (const QString &part : parts) {
            Node *next = nullptr;
            for (const auto &c : n->children)
                if (c->name == part)
                    next = c.get();
            if (!next)
                return nullptr;
            n = next;
        }
        return n;
    }
    return nullptr;
}

QModelIndex FolderTreeModel::indexForPath(const QString &folder)
{
    const QFileInfo fi(folder);
    if (!fi.isDir())
        return QModelIndex();
    const QString path = QDir::cleanPath(fi.absoluteFilePath());
    for (const auto &root : m_roots) {
        Node *n = root.get();
        if (!path.startsWith(n->path, Qt::CaseSensitive))
            continue;
        const QStringList parts = path.mid(n->path.size()).split(u'/', Qt::SkipEmptyParts);
        for (const QString &part : parts) {
            if (!n->read)
                read(n);
            Node *next = nullptr;
            for (const auto &c : n->children)
                if (c->name == part)
                    next = c.get();
            // A hidden folder is not in the tree: its nearest shown parent stands for it.
            if (!next)
                break;
            n = next;
        }
        return indexOf(n);
    }
    return QModelIndex();
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    const Node *n = nodeOf(index);
    return n ? n->path : QString();
}

void FolderTreeModel::refresh(const QString &folder)
{
    if (Node *n = find(folder); n && n->read)
        read(n);
}

QStringList FolderTreeModel::readFolders() const
{
    QStringList out;
    std::vector<const Node *> stack;
    for (const auto &r : m_roots)
        stack.push_back(r.get());
    while (!stack.empty()) {
        const Node *n = stack.back();
        stack.pop_back();
        if (!n->read)
            continue;
        out << n->path;
        for (const auto &c : n->children)
            stack.push_back(c.get());
    }
    return out;
}
