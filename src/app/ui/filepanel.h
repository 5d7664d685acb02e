#pragma once

#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListView;
class QSortFilterProxyModel;
class QTreeView;

// The file panel: a folder tree over a list of the selected folder's files, with the
// file-type filter FiltrPlikow. Both views follow changes on disk (the model watches
// the folders it shows).
class PnPodPanPlikow : public QWidget
{
    Q_OBJECT
public:
    // filter: "Description|masks|..." as FilePanelFilter gives it.
    explicit PnPodPanPlikow(const QString &filter, QWidget *parent = nullptr);

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
    // Names the list shows now, in list order (the model fills in the background).
    QStringList listedNames() const;
    QListView *fileList() const { return m_list; }

    // Double-click in the list: opens every selected file.
    void ZbioryDblClick();

Q_SIGNALS:
    void openFiles(const QStringList &paths);

private:
    void applyFilter();
    void folderClicked(const QModelIndex &index);

    QString m_filter;
    QString m_folder;
    QComboBox *FiltrPlikow;
    QTreeView *m_tree;
    QListView *m_list;
    QFileSystemModel *m_dirs;
    QFileSystemModel *m_files;
    QSortFilterProxyModel *m_shown;
};
