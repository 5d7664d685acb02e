#pragma once

#include <QSet>
#include <QTimer>
#include <QWidget>

class FolderListModel;
class FolderTreeModel;
class QComboBox;
class QFileSystemWatcher;
class QListView;
class QModelIndex;
class QTreeView;

// The file panel: a folder tree over a list of the selected folder's files, with the
// file-type filter FiltrPlikow. Both follow the disk: a watcher on the listed folder, the
// folders above it and the folders the tree has read reports changes, which are gathered
// for a short quiet time and then looked at once: the list is read again in the background
// (a folder of thousands of files never stops the window), the tree's changed folders are
// read again, and a listed folder that was removed or renamed leaves the list on its
// nearest folder that is still there.
class PnPodPanPlikow : public QWidget
{
    Q_OBJECT
public:
    // filter: "Description|masks|..." as FilePanelFilter gives it.
    explicit PnPodPanPlikow(const QString &filter, QWidget *parent = nullptr);
    ~PnPodPanPlikow() override;

    // Selects the folder in the tree and lists its files; an unknown folder is ignored.
    void selectFolder(const QString &folder);
    // The folder whose files are listed; empty before one is selected.
    QString currentFolder() const { return m_folder; }
    // The filter entry (clamped to the entries there are).
    void setFilterIndex(int index);
    int filterIndex() const;
    // Full paths of the selected files in the list, in list order.
    QStringList selectedFiles() const;
    // Selects the files of the list with these names (tests, scripts).
    void selectFiles(const QStringList &names);
    // Names the list shows now, in list order (it is read in the background).
    QStringList listedNames() const;
    QListView *fileList() const { return m_list; }
    QTreeView *folderTree() const { return m_tree; }
    FolderTreeModel *folderModel() const { return m_dirs; }

    // Double-click in the list: opens every selected file.
    void ZbioryDblClick();
    // The changes gathered during the quiet time, looked at once.
    void ObserwatorTimer();

    // How long changes are gathered before ObserwatorTimer looks (milliseconds).
    static constexpr int kQuietTime = 150;

Q_SIGNALS:
    void openFiles(const QStringList &paths);
    // The list was read again (after a change on disk, a new folder or filter).
    void listRefreshed();

private:
    void applyFilter();
    void folderClicked(const QModelIndex &index);
    // Watches the listed folder, the folders above it and the folders the tree has read.
    void watchFolders();
    void WatcherDirectoryChanged(const QString &path);

    QString m_filter;
    QString m_folder;
    QComboBox *FiltrPlikow;
    QTreeView *m_tree;
    QListView *m_list;
    FolderTreeModel *m_dirs;
    FolderListModel *m_files;
    QFileSystemWatcher *m_watcher;
    QTimer m_quiet; // gathers a burst of changes into one look
    QSet<QString> m_changed; // folders reported changed since the last look
};
