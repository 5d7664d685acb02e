#pragma once

#include "services/filesearch.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>

class FileSearchJob;
class FindResultsPanel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The runs of Replace in files that can still be undone, oldest first. Their backups
// live as long as the list: the program keeps it until it closes.
using FileReplaceHistory = QList<std::shared_ptr<FileReplaceUndo>>;

// The page "W plikach" of the search window: Find and Replace in the files of a folder
// on disk ("Folder:", the file masks, "Z podfolderami") with the search's options. A run
// goes on a worker thread; its matches fill the results panel (file, line:column, the
// text), the progress shows on the page and in the status bar, and Esc or "Przerwij"
// stops it. Replace leaves alone files open in the editor with unsaved changes and lists
// them; "Cofnij zamianę w plikach" puts back the files of the last run from its backups.
class FileSearchPage : public QWidget
{
    Q_OBJECT
public:
    // What a run takes from the program as it starts: the code page of files that name
    // none, the tab width of opening, the canonical paths of the files open with unsaved
    // changes (request.skipPaths; undo reads these too).
    using PrepareFn = std::function<void(FileSearchRequest &request)>;
    using StatusFn = std::function<void(const QString &)>;

    // results and history outlive the page. maskFilter: the file filters the program
    // knows ("Description|*.a;*.b|..."), offered as masks. startFolder: the folder shown
    // when none was kept.
    FileSearchPage(FindResultsPanel *results, FileReplaceHistory &history, const QString &maskFilter,
        const QString &startFolder, PrepareFn prepare, StatusFn status, QWidget *parent = nullptr);
    // Keeps the page's state in the settings; a run still going is stopped.
    ~FileSearchPage() override;

    bool isRunning() const;

public Q_SLOTS:
    void FindFilesBtnClick();
    void ReplFilesBtnClick();
    void UndoFilesBtnClick();
    void StopBtnClick();
    void FolderBtnClick();

Q_SIGNALS:
    // A run ended and its results were shown.
    void runFinished(const FileSearchSummary &summary);

private:
    void buildControls(const QString &maskFilter);
    void restoreState(const QString &startFolder);
    void saveState() const;
    void start(bool replacing);
    void addBatch(const QList<FileMatch> &batch);
    void showProgress(const FileSearchProgress &progress);
    void finish(const FileSearchSummary &summary);
    void updateButtons();
    QString caption(bool replacing, const char *word) const;

    FindResultsPanel *m_results;
    FileReplaceHistory &m_history;
    PrepareFn m_prepare;
    StatusFn m_status;
    QPointer<FileSearchJob> m_job;
    // The backups of the run going, as it ends (on its thread).
    struct RunUndo
    {
        std::mutex mutex;
        std::shared_ptr<FileReplaceUndo> undo;
    };
    std::shared_ptr<RunUndo> m_runUndo;
    std::unique_ptr<QObject> m_escape; // the Esc key while a run goes
    bool m_replacing = false;
    QString m_runFolder;
    QString m_runText;

    QLineEdit *FolderEdit = nullptr;
    QPushButton *FolderBtn = nullptr;
    QComboBox *MaskCombo = nullptr;
    QCheckBox *SubfoldersChk = nullptr;
    QComboBox *FilesFindCombo = nullptr;
    QComboBox *FilesReplCombo = nullptr;
    QCheckBox *WyszCase = nullptr;
    QCheckBox *UzReg = nullptr;
    QCheckBox *UzDot = nullptr;
    QCheckBox *UzSS = nullptr;
    QPushButton *FindFilesBtn = nullptr;
    QPushButton *ReplFilesBtn = nullptr;
    QPushButton *UndoFilesBtn = nullptr;
    QPushButton *StopBtn = nullptr;
    QProgressBar *Progress = nullptr;
    QLabel *ProgressLbl = nullptr;
};
