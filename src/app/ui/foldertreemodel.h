#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <vector>

// The folder tree of the file panel: the file system's roots and, below each folder read
// so far, its subfolders. A folder is read when the tree first asks for its rows (only its
// folders are kept, so a folder of thousands of files costs one pass over its names);
// refresh(folder) reads it again after a change on disk and applies the difference, so
// the folders that stay keep their rows and expansion.
class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    // The index of a folder, reading the folders above it as needed; invalid when the
    // folder is not there.
    QModelIndex indexForPath(const QString &folder);
    QString filePath(const QModelIndex &index) const;
    // Reads a folder already read again; nothing for one not read yet.
    void refresh(const QString &folder);
    // The folders read so far, whose subfolders the tree may show.
    QStringList readFolders() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void read(Node *node);
    Node *find(const QString &folder) const;

    std::vector<std::unique_ptr<Node>> m_roots;
    QIcon m_icon;
};
