#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

// The files of one folder for the file panel's list. The folder is read in a thread of
// its own; the window's thread only applies the difference to what is shown, so rows
// (and the selection on them) stay where nothing changed, and a folder of thousands of
// files never holds the window up. refresh() after a change on disk reads it again; a
// burst of refreshes while a read runs makes one more read after it.
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit FolderListModel(QObject *parent = nullptr);
    ~FolderListModel() override;

    // Lists folder (empty: nothing); the rows follow when the read is done.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    // Wildcards the files must match (case ignored); none: every file.
    void setNameFilters(const QStringList &patterns);
    // Reads the folder again.
    void refresh();
    // Files whose names start with this are never listed (the program's own temporary files).
    void setHiddenPrefix(const QString &prefix) { m_hiddenPrefix = prefix; }

    QStringList names() const { return m_names; }
    QString filePath(int row) const;
    // True while a read is running or waiting.
    bool busy() const { return m_running; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // A read was applied to the rows (whether or not anything changed).
    void listed();

private:
    void start();
    void apply(quint64 serial, const QStringList &names);

    QString m_folder;
    QStringList m_patterns;
    QString m_hiddenPrefix;
    QStringList m_names;
    QIcon m_icon;
    quint64 m_serial = 0; // of the last read asked for; older results are thrown away
    bool m_running = false;
    bool m_again = false; // asked for while a read ran
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QThreadPool m_pool; // one thread; waited for on destruction
};
