#include "services/ui/filesearchpage.h"

#include "base/filefilter.h"
#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "search/findresults.h"
#include "search/searchengine.h"
#include "search/ui/findresultspanel.h"
#include "services/filesearchjob.h"
#include "services/filesearchpagestate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace {

// While a run goes, Esc anywhere in the program stops it (and closes nothing).
class EscapeKey final : public QObject
{
public:
    explicit EscapeKey(std::function<void()> pressed)
        : m_pressed(std::move(pressed))
    {
        qApp->installEventFilter(this);
    }
    ~EscapeKey() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            if (event->type() == QEvent::KeyPress)
                m_pressed();
            event->accept();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_pressed;
};

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QComboBox *makeCombo(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxCount(SearchEngine::HistorySize);
    combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return combo;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void addHistory(QComboBox *combo)
{
    const QString text = combo->currentText();
    QStringList items = comboItems(combo);
    SearchEngine::addToHistory(items, text);
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

// "heading" and one path a line, when there are paths.
void listPaths(QString &text, const QString &heading, const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += heading;
    for (const QString &p : paths)
        text += QLatin1Char('\n') + QDir::toNativeSeparators(p);
}

} // namespace

FileSearchPage::FileSearchPage(FindResultsPanel *results, FileReplaceHistory &history,
    const QString &maskFilter, const QString &startFolder, PrepareFn prepare, StatusFn status,
    QWidget *parent)
    : QWidget(parent)
    , m_results(results)
    , m_history(history)
    , m_prepare(std::move(prepare))
    , m_status(std::move(status))
{
    setObjectName(QStringLiteral("FileSearchPage"));
    buildControls(maskFilter);
    restoreState(startFolder);
    updateButtons();
}

FileSearchPage::~FileSearchPage()
{
    saveState();
    // The window closed during a run: the run stops after its file, and the files it
    // changed can still be undone.
    if (m_job) {
        m_job->disconnect(this);
        m_job->cancel();
        m_job->wait();
        const std::lock_guard<std::mutex> lock(m_runUndo->mutex);
        if (m_runUndo->undo && !m_runUndo->undo->isEmpty())
            m_history.append(m_runUndo->undo);
    }
}

void FileSearchPage::buildControls(const QString &maskFilter)
{
    auto *folderLbl = new QLabel(QStringLiteral("&Folder:"), this);
    FolderEdit = new QLineEdit(this);
    FolderEdit->setObjectName(QStringLiteral("FolderEdit"));
    folderLbl->setBuddy(FolderEdit);
    FolderBtn = makeButton(this, "FolderBtn", QStringLiteral("Wybierz..."));
    auto *maskLbl = new QLabel(QStringLiteral("&Maski plików:"), this);
    MaskCombo = makeCombo(this, "MaskCombo");
    MaskCombo->setToolTip(QStringLiteral("Wzorce nazw plików rozdzielone średnikami, np. *.html; *.htm"));
    maskLbl->setBuddy(MaskCombo);
    // The filters the file panel and the open dialog know, as masks.
    for (int i = 0; !FilterPatterns(maskFilter, i).isEmpty(); ++i)
        MaskCombo->addItem(FilterPatterns(maskFilter, i).join(QStringLiteral("; ")));
    SubfoldersChk = makeCheck(this, "SubfoldersChk", QStringLiteral("Z &podfolderami"));
    auto *findLbl = new QLabel(QStringLiteral("&Znajdź:"), this);
    FilesFindCombo = makeCombo(this, "FilesFindCombo");
    findLbl->setBuddy(FilesFindCombo);
    auto *replLbl = new QLabel(QStringLiteral("Zamień &na:"), this);
    FilesReplCombo = makeCombo(this, "FilesReplCombo");
    replLbl->setBuddy(FilesReplCombo);

    WyszCase = makeCheck(this, "WyszCase", QStringLiteral("Uwzględniając wielkość liter"));
    UzReg = makeCheck(this, "UzReg", QStringLiteral("Wyrażeń regularnych"));
    UzDot = makeCheck(this, "UzDot", QStringLiteral(". = [^\\n]"));
    UzSS = makeCheck(this, "UzSS", QStringLiteral("Sekwencji specjalnych"));

    FindFilesBtn = makeButton(this, "FindFilesBtn", QStringLiteral("Znajdź w plikach"));
    ReplFilesBtn = makeButton(this, "ReplFilesBtn", QStringLiteral("Zamień w plikach"));
    UndoFilesBtn = makeButton(this, "UndoFilesBtn", QStringLiteral("Cofnij zamianę"));
    UndoFilesBtn->setToolTip(QStringLiteral("Przywraca pliki zmienione przez ostatnią zamianę w plikach"));
    StopBtn = makeButton(this, "StopBtn", QStringLiteral("Przerwij"));
    StopBtn->setToolTip(QStringLiteral("Przerywa wyszukiwanie (Esc)"));
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, 1000);
    Progress->setValue(0);
    Progress->setTextVisible(false);
    Progress->setMaximumHeight(12);
    ProgressLbl = new QLabel(this);
    ProgressLbl->setObjectName(QStringLiteral("ProgressLbl"));
    ProgressLbl->setWordWrap(true);

    auto *grid = new QGridLayout;
    grid->setSpacing(3);
    grid->addWidget(folderLbl, 0, 0);
    grid->addWidget(FolderEdit, 0, 1);
    grid->addWidget(FolderBtn, 0, 2);
    grid->addWidget(maskLbl, 1, 0);
    grid->addWidget(MaskCombo, 1, 1);
    grid->addWidget(SubfoldersChk, 1, 2);
    grid->addWidget(findLbl, 2, 0);
    grid->addWidget(FilesFindCombo, 2, 1, 1, 2);
    grid->addWidget(replLbl, 3, 0);
    grid->addWidget(FilesReplCombo, 3, 1, 1, 2);
    auto *checks = new QGridLayout;
    checks->setSpacing(0);
    checks->addWidget(WyszCase, 0, 0);
    checks->addWidget(UzSS, 1, 0);
    checks->addWidget(UzReg, 0, 1);
    checks->addWidget(UzDot, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton *b : { FindFilesBtn, ReplFilesBtn, UndoFilesBtn, StopBtn })
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(grid);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    layout->addWidget(Progress);
    layout->addWidget(ProgressLbl);

    connect(FolderBtn, &QPushButton::clicked, this, &FileSearchPage::FolderBtnClick);
    connect(FindFilesBtn, &QPushButton::clicked, this, &FileSearchPage::FindFilesBtnClick);
    connect(ReplFilesBtn, &QPushButton::clicked, this, &FileSearchPage::ReplFilesBtnClick);
    connect(UndoFilesBtn, &QPushButton::clicked, this, &FileSearchPage::UndoFilesBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &FileSearchPage::StopBtnClick);
    connect(UzReg, &QCheckBox::toggled, UzDot, &QWidget::setEnabled);
}

void FileSearchPage::restoreState(const QString &startFolder)
{
    const FileSearchPageState s = FileSearchPageState::read(MarkoraSettings());
    FolderEdit->setText(s.folder.isEmpty() ? QDir::toNativeSeparators(startFolder) : s.folder);
    if (!s.masks.isEmpty())
        MaskCombo->setEditText(s.masks);
    SubfoldersChk->setChecked(s.subfolders);
    FilesFindCombo->addItems(s.findItems);
    FilesReplCombo->addItems(s.replItems);
    FilesFindCombo->setEditText(s.findText);
    FilesReplCombo->setEditText(s.replText);
    WyszCase->setChecked(s.wyszCase);
    UzReg->setChecked(s.uzReg);
    UzDot->setChecked(s.uzDot);
    UzSS->setChecked(s.uzSS);
    UzDot->setEnabled(s.uzReg);
}

void FileSearchPage::saveState() const
{
    FileSearchPageState s;
    s.folder = FolderEdit->text();
    s.masks = MaskCombo->currentText();
    s.subfolders = SubfoldersChk->isChecked();
    s.findText = FilesFindCombo->currentText();
    s.replText = FilesReplCombo->currentText();
    s.findItems = comboItems(FilesFindCombo);
    s.replItems = comboItems(FilesReplCombo);
    s.wyszCase = WyszCase->isChecked();
    s.uzReg = UzReg->isChecked();
    s.uzDot = UzDot->isChecked();
    s.uzSS = UzSS->isChecked();
    MarkoraSettings settings;
    s.write(settings);
}

bool FileSearchPage::isRunning() const { return m_job != nullptr; }

QString FileSearchPage::caption(bool replacing, const char *word) const
{
    return (replacing ? QStringLiteral("Zamień w plikach: ") : QStringLiteral("Znajdź w plikach: "))
        + QString::fromUtf8(word);
}

void FileSearchPage::updateButtons()
{
    const bool running = isRunning();
    FindFilesBtn->setEnabled(!running);
    ReplFilesBtn->setEnabled(!running);
    UndoFilesBtn->setEnabled(!running && !m_history.isEmpty());
    StopBtn->setEnabled(running);
    FolderBtn->setEnabled(!running);
}

void FileSearchPage::FolderBtnClick()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Folder do przeszukania"), QDir::fromNativeSeparators(FolderEdit->text()));
    if (!chosen.isEmpty())
        FolderEdit->setText(QDir::toNativeSeparators(chosen));
}

void FileSearchPage::FindFilesBtnClick() { start(false); }

void FileSearchPage::ReplFilesBtnClick() { start(true); }

void FileSearchPage::StopBtnClick()
{
    if (m_job)
        m_job->cancel();
}

void FileSearchPage::start(bool replacing)
{
    if (isRunning())
        return;
    const QString findText = FilesFindCombo->currentText();
    SearchOptions options;
    options.caseSensitive = WyszCase->isChecked();
    options.regularExpression = UzReg->isChecked();
    options.dotExcludesNewline = UzDot->isChecked();
    options.specialSequences = UzSS->isChecked();
    if (findText.isEmpty()) {
        MsgBox::show(this, QMessageBox::Warning, caption(replacing, "błąd"),
            QStringLiteral("Nie podano szukanego wyrażenia."));
        FilesFindCombo->setFocus();
        return;
    }
    const Regex regex = SearchEngine::prepare(findText, options);
    if (!regex.isValid()) {
        MsgBox::show(
            this, QMessageBox::Critical, caption(replacing, "błąd"), SearchTexts::compileError(regex));
        FilesFindCombo->setFocus();
        FilesFindCombo->lineEdit()->setSelection(regex.errorOffset(), 1);
        return;
    }
    addHistory(FilesFindCombo);
    if (replacing)
        addHistory(FilesReplCombo);

    FileSearchRequest request;
    request.folder = QDir::fromNativeSeparators(FolderEdit->text().trimmed());
    request.masks = FileSearcher::splitMasks(MaskCombo->currentText());
    request.subfolders = SubfoldersChk->isChecked();
    request.findText = findText;
    request.options = options;
    request.replacing = replacing;
    request.replacement = FilesReplCombo->currentText();
    if (m_prepare)
        m_prepare(request);

    if (m_results) {
        m_results->showFindPage();
        if (m_results->clearBeforeNew())
            m_results->model()->clear();
    }
    m_replacing = replacing;
    m_runFolder = request.folder;
    m_runText = findText;
    Progress->setValue(0);
    ProgressLbl->clear();

    m_job = new FileSearchJob(std::move(request), this);
    // The backups are caught where the run ends, for a page gone before the end reaches it.
    m_runUndo = std::make_shared<RunUndo>();
    connect(
        m_job, &FileSearchJob::finished, m_job,
        [kept = m_runUndo](const FileSearchSummary &s) {
            const std::lock_guard<std::mutex> lock(kept->mutex);
            kept->undo = s.undo;
        },
        Qt::DirectConnection);
    connect(m_job, &FileSearchJob::matchesFound, this, &FileSearchPage::addBatch);
    connect(m_job, &FileSearchJob::progressChanged, this, &FileSearchPage::showProgress);
    connect(m_job, &FileSearchJob::finished, this, &FileSearchPage::finish);
    m_escape = std::make_unique<EscapeKey>([this] { StopBtnClick(); });
    updateButtons();
    m_job->start();
}

void FileSearchPage::addBatch(const QList<FileMatch> &batch)
{
    if (!m_results)
        return;
    const QDir folder(m_runFolder);
    std::vector<FindResultRow> rows;
    rows.reserve(size_t(batch.size()));
    for (const FileMatch &m : batch) {
        FindResultRow r;
        r.text = m.text;
        r.replacement = m.replacement;
        r.document = QDir::toNativeSeparators(folder.relativeFilePath(m.path));
        r.position = m.openedPosition;
        r.image = m_replacing ? FindResultRow::Replaced : FindResultRow::Found;
        r.path = m.path;
        r.line = m.line;
        r.column = m.column;
        rows.push_back(std::move(r));
    }
    m_results->model()->appendRows(std::move(rows));
}

void FileSearchPage::showProgress(const FileSearchProgress &p)
{
    const double done = p.bytesTotal > 0 ? double(p.bytesDone) / double(p.bytesTotal)
                                         : (p.filesTotal > 0 ? double(p.filesDone) / p.filesTotal : 0.0);
    Progress->setValue(int(done * 1000));
    const QString text = FileSearchTexts::progress(p, m_replacing);
    ProgressLbl->setText(text);
    if (m_status)
        m_status(text);
}

void FileSearchPage::finish(const FileSearchSummary &s)
{
    m_escape.reset();
    if (m_job) {
        m_job->deleteLater();
        m_job = nullptr;
    }
    if (s.undo && !s.undo->isEmpty())
        m_history.append(s.undo);

    QString summary = m_replacing ? FileSearchTexts::replaceSummary(s, m_runText)
                                  : FileSearchTexts::findSummary(s, m_runText);
    if (s.unmappable > 0)
        summary += QStringLiteral(" Znaki, których nie ma w stronie kodowej pliku, zapisano jako &#N; (%1).")
                       .arg(s.unmappable);
    if (!s.skippedBinary.isEmpty())
        summary += QStringLiteral(" Pominięto pliki binarne: %1.").arg(s.skippedBinary.size());
    if (!s.skippedTooLarge.isEmpty())
        summary += QStringLiteral(" Pominięto zbyt duże pliki: %1.").arg(s.skippedTooLarge.size());
    if (s.cancelled)
        summary += QStringLiteral(" Przerwano.");
    if (m_results && s.error.isEmpty()) {
        FindResultRow row;
        row.text = summary;
        row.document = QDir::toNativeSeparators(m_runFolder);
        row.image = FindResultRow::Summary;
        std::vector<FindResultRow> rows;
        rows.push_back(std::move(row));
        m_results->model()->appendRows(std::move(rows));
    }
    Progress->setValue(s.cancelled ? Progress->value() : 1000);
    ProgressLbl->setText(s.error.isEmpty() ? summary : s.error);
    if (m_status)
        m_status(s.error.isEmpty() ? summary : s.error);
    updateButtons();
    Q_EMIT runFinished(s);

    if (!s.error.isEmpty()) {
        MsgBox::show(this, QMessageBox::Critical, caption(m_replacing, "błąd"), s.error);
        return;
    }
    QString problems;
    listPaths(problems, FileSearchTexts::skippedUnsaved(), s.skippedUnsaved);
    listPaths(problems, QStringLiteral("Pominięto pliki zmienione przez inny program w czasie zamiany:"),
        s.changedMeanwhile);
    QStringList failed;
    for (const FileProblem &f : s.failed)
        failed << QDir::toNativeSeparators(f.path) + QStringLiteral(": ") + f.reason;
    listPaths(problems,
        m_replacing ? QStringLiteral("Nie można odczytać lub zapisać plików:")
                    : QStringLiteral("Nie można odczytać plików:"),
        failed);
    if (!problems.isEmpty())
        MsgBox::show(this, QMessageBox::Warning, caption(m_replacing, "ostrzeżenie"), problems);
    else if (s.matches == 0 && !s.cancelled)
        MsgBox::show(
            this, QMessageBox::Information, caption(m_replacing, "informacja"), SearchTexts::notFound());
}

void FileSearchPage::UndoFilesBtnClick()
{
    if (isRunning() || m_history.isEmpty())
        return;
    const std::shared_ptr<FileReplaceUndo> last = m_history.last();
    const QMessageBox::StandardButton answer
        = MsgBox::show(this, QMessageBox::Question, QStringLiteral("Zamień w plikach: pytanie"),
            QStringLiteral("Przywrócić %1 plików sprzed ostatniej zamiany w plikach?")
                .arg(last->entries().size()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    FileSearchRequest request;
    if (m_prepare)
        m_prepare(request);
    const FileReplaceUndo::Result r = last->undo(request.skipPaths);
    // Files that could not be put back stay with the run, which may be undone again.
    if (last->isEmpty())
        m_history.removeLast();
    updateButtons();
    const QString text = FileSearchTexts::undoSummary(r);
    if (m_status)
        m_status(text.section(QLatin1Char('\n'), 0, 0));
    const bool whole = r.changedSince.isEmpty() && r.skippedUnsaved.isEmpty() && r.failed.isEmpty();
    MsgBox::show(this, whole ? QMessageBox::Information : QMessageBox::Warning,
        QStringLiteral("Zamień w plikach: ")
            + (whole ? QStringLiteral("informacja") : QStringLiteral("ostrzeżenie")),
        text);
}
