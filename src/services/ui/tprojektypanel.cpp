#include "services/ui/tprojektypanel.h"

#include "base/ui/msgbox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The panel's texts.
const QString kNowyProjekt = QStringLiteral("Nowy projekt...");
const QString kUsunProjekt = QStringLiteral("Usuń projekt");
const QString kDodajDokument = QStringLiteral("Dodaj dokument");
const QString kUsunDokument = QStringLiteral("Usuń dokument");
const QString kOtworzDokument = QStringLiteral("Otwórz dokument");
const QString kOtworzWszystkie = QStringLiteral("Otwórz wszystkie");
const QString kDodajHint = QStringLiteral("Dodaje dokument aktywny w edytorze do wybranego projektu");
const QString kCreated = QStringLiteral("Utworzony: %1");
const QString kCreatedUnknown = QStringLiteral("Utworzony: (nie wiadomo kiedy)");
const QString kNewTitle = QStringLiteral("Nowy projekt");
const QString kNamePrompt = QStringLiteral("Nazwa projektu:");
const QString kError = QStringLiteral("Projekty: błąd");
const QString kWarning = QStringLiteral("Projekty: ostrzeżenie");
const QString kQuestion = QStringLiteral("Projekty: pytanie");
const QString kInfo = QStringLiteral("Projekty: informacja");
const QString kBadName = QStringLiteral("Nazwa projektu nie może być pusta ani zawierać znaków sterujących "
                                        "(także końca wiersza).");
const QString kNameTaken = QStringLiteral("Projekt „%1” już jest.");
const QString kDeleteQuestion = QStringLiteral("Usunąć projekt „%1”? Jego dokumenty zostaną na dysku.");
const QString kUnsaved
    = QStringLiteral("Dokument nie ma jeszcze nazwy: zapisz go, a potem dodaj do projektu.");
const QString kAlreadyThere = QStringLiteral("Dokument %1 już jest w projekcie „%2”.");
const QString kDamaged = QStringLiteral("Plik projektów %1 ma wiersze, których program nie rozumie:\n%2\n\n"
                                        "Zostaną w pliku bez zmian.");
const QString kDamagedLine = QStringLiteral("wiersz %1: %2");
const QString kMoreDamaged = QStringLiteral("… i %1 innych");
const QString kCannotRead = QStringLiteral("Nie można odczytać pliku projektów %1:\n%2\n\n"
                                           "Zmiany projektów nie zostaną w nim zapisane.");
const QString kNotWritten
    = QStringLiteral("Plik projektów %1 nie został odczytany, więc program go nie zapisze.");
const QString kCannotWrite = QStringLiteral("Nie można zapisać pliku projektów %1:\n%2");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm");

constexpr int kListedLines = 10;
constexpr int kDocumentRole = Qt::UserRole + 1; // the document's row among its project's documents
} // namespace

TProjektyPanel::TProjektyPanel(const ProjectsFilePaths &paths, QWidget *parent)
    : QWidget(parent)
    , m_paths(paths)
{
    setObjectName(QStringLiteral("ProjektyPanel"));
    PasekProjektow = new QToolBar(this);
    PasekProjektow->setObjectName(QStringLiteral("PasekProjektow"));
    PasekProjektow->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addCommand = [this](const char *name, const QString &text, void (TProjektyPanel::*handler)()) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    NowyProjekt = addCommand("ProjektyNowy", kNowyProjekt, &TProjektyPanel::NowyProjektClick);
    UsunProjekt = addCommand("ProjektyUsun", kUsunProjekt, &TProjektyPanel::UsunProjektClick);
    DodajDokument = addCommand("ProjektyDodajDokument", kDodajDokument, &TProjektyPanel::DodajDokumentClick);
    DodajDokument->setToolTip(kDodajHint);
    UsunDokument = addCommand("ProjektyUsunDokument", kUsunDokument, &TProjektyPanel::UsunDokumentClick);
    OtworzDokument
        = addCommand("ProjektyOtworzDokument", kOtworzDokument, &TProjektyPanel::OtworzDokumentClick);
    OtworzWszystkie
        = addCommand("ProjektyOtworzWszystkie", kOtworzWszystkie, &TProjektyPanel::OtworzWszystkieClick);
    PasekProjektow->addActions({ NowyProjekt, UsunProjekt });
    PasekProjektow->addSeparator();
    PasekProjektow->addActions({ DodajDokument, UsunDokument });
    PasekProjektow->addSeparator();
    PasekProjektow->addActions({ OtworzDokument, OtworzWszystkie });

    DrzewoProjektow = new QTreeWidget(this);
    DrzewoProjektow->setObjectName(QStringLiteral("DrzewoProjektow"));
    DrzewoProjektow->setHeaderHidden(true);
    DrzewoProjektow->setContextMenuPolicy(Qt::CustomContextMenu);
    LbUtworzony = new QLabel(this);
    LbUtworzony->setObjectName(QStringLiteral("LbUtworzony"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PasekProjektow);
    layout->addWidget(DrzewoProjektow, 1);
    layout->addWidget(LbUtworzony);

    connect(DrzewoProjektow, &QTreeWidget::currentItemChanged, this, &TProjektyPanel::DrzewoProjektowChange);
    connect(DrzewoProjektow, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->parent())
            OtworzDokumentClick();
    });
    connect(DrzewoProjektow, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (QTreeWidgetItem *item = DrzewoProjektow->itemAt(pos))
            DrzewoProjektow->setCurrentItem(item);
        QMenu menu(this);
        menu.addActions({ OtworzDokument, OtworzWszystkie });
        menu.addSeparator();
        menu.addActions({ DodajDokument, UsunDokument });
        menu.addSeparator();
        menu.addActions({ NowyProjekt, UsunProjekt });
        menu.exec(DrzewoProjektow->viewport()->mapToGlobal(pos));
    });
    rebuild(-1, -1);
}

void TProjektyPanel::load()
{
    ProjectsLoad load = LoadProjectsFile(m_paths.read);
    const QString shown = QDir::toNativeSeparators(m_paths.read);
    m_readFailed = load.status == ProjectsLoad::Failed;
    m_list = std::move(load.list);
    rebuild(m_list.projects().isEmpty() ? -1 : 0, -1);
    if (m_readFailed) {
        MsgBox::show(this, QMessageBox::Critical, kError, kCannotRead.arg(shown, load.errorText));
        return;
    }
    if (!load.problems.isEmpty()) {
        QStringList lines;
        for (const ProjectProblem &p : load.problems.mid(0, kListedLines))
            lines << kDamagedLine.arg(p.line).arg(p.text);
        if (load.problems.size() > kListedLines)
            lines << kMoreDamaged.arg(load.problems.size() - kListedLines);
        MsgBox::show(this, QMessageBox::Warning, kWarning, kDamaged.arg(shown, lines.join(u'\n')));
    }
}

void TProjektyPanel::rebuild(int project, int document)
{
    {
        const QSignalBlocker block(DrzewoProjektow);
        DrzewoProjektow->clear();
        const QList<Project> &projects = m_list.projects();
        for (int p = 0; p < projects.size(); ++p) {
            auto *top = new QTreeWidgetItem(DrzewoProjektow, { projects[p].name });
            top->setToolTip(0,
                projects[p].created.isValid() ? kCreated.arg(projects[p].created.toString(kDateFormat))
                                              : kCreatedUnknown);
            const QStringList docs = projects[p].documents();
            for (int d = 0; d < docs.size(); ++d) {
                auto *item = new QTreeWidgetItem(top, { QFileInfo(docs[d]).fileName() });
                item->setToolTip(0, QDir::toNativeSeparators(fullPath(docs[d])));
                item->setData(0, kDocumentRole, d);
            }
            top->setExpanded(true);
        }
    }
    select(project, document);
    DrzewoProjektowChange();
}

void TProjektyPanel::select(int project, int document)
{
    QTreeWidgetItem *item = DrzewoProjektow->topLevelItem(project);
    if (item && document >= 0)
        item = item->child(document);
    DrzewoProjektow->setCurrentItem(item);
}

int TProjektyPanel::selectedProject() const
{
    QTreeWidgetItem *item = DrzewoProjektow->currentItem();
    if (!item)
        return -1;
    return DrzewoProjektow->indexOfTopLevelItem(item->parent() ? item->parent() : item);
}

int TProjektyPanel::selectedDocument() const
{
    QTreeWidgetItem *item = DrzewoProjektow->currentItem();
    return item && item->parent() ? item->data(0, kDocumentRole).toInt() : -1;
}

void TProjektyPanel::DrzewoProjektowChange()
{
    const int p = selectedProject();
    if (p < 0) {
        LbUtworzony->clear();
    } else {
        const QDateTime created = m_list.projects()[p].created;
        LbUtworzony->setText(
            created.isValid() ? kCreated.arg(created.toString(kDateFormat)) : kCreatedUnknown);
    }
    updateActions();
}

void TProjektyPanel::activeDocumentChanged() { updateActions(); }

void TProjektyPanel::updateActions()
{
    const int p = selectedProject();
    const bool documentOpen = activeDocument && activeDocument().has_value();
    UsunProjekt->setEnabled(p >= 0);
    DodajDokument->setEnabled(p >= 0 && documentOpen);
    UsunDokument->setEnabled(selectedDocument() >= 0);
    OtworzDokument->setEnabled(selectedDocument() >= 0);
    OtworzWszystkie->setEnabled(p >= 0 && !m_list.projects()[p].documents().isEmpty());
}

QString TProjektyPanel::fullPath(const QString &document) const
{
    // A path written by hand may be relative: to the projects file's folder.
    return QDir(QFileInfo(m_paths.read).absolutePath()).absoluteFilePath(document);
}

bool TProjektyPanel::writable()
{
    if (!m_readFailed)
        return true;
    MsgBox::show(
        this, QMessageBox::Critical, kError, kNotWritten.arg(QDir::toNativeSeparators(m_paths.read)));
    return false;
}

bool TProjektyPanel::save()
{
    QString error;
    if (SaveProjectsFile(m_paths.write, m_list, &error)) {
        // Written once to the user's folder, the file is read from there too.
        m_paths.read = m_paths.write;
        return true;
    }
    MsgBox::show(this, QMessageBox::Critical, kError,
        kCannotWrite.arg(QDir::toNativeSeparators(m_paths.write), error));
    return false;
}

bool TProjektyPanel::newProject(const QString &name)
{
    const QString n = name.trimmed();
    if (!ProjectList::isValidName(n)) {
        MsgBox::show(this, QMessageBox::Warning, kError, kBadName);
        return false;
    }
    if (m_list.indexOf(n) >= 0) {
        MsgBox::show(this, QMessageBox::Warning, kError, kNameTaken.arg(n));
        return false;
    }
    if (!writable())
        return false;
    m_list.addProject(n, QDateTime::currentDateTime());
    save();
    rebuild(int(m_list.projects().size()) - 1, -1);
    return true;
}

bool TProjektyPanel::deleteProject(int project)
{
    if (project < 0 || project >= m_list.projects().size() || !writable())
        return false;
    if (MsgBox::show(this, QMessageBox::Question, kQuestion,
            kDeleteQuestion.arg(m_list.projects()[project].name), QMessageBox::Yes | QMessageBox::No,
            QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_list.removeProject(project);
    save();
    rebuild(qMin(project, int(m_list.projects().size()) - 1), -1);
    return true;
}

bool TProjektyPanel::addDocument(int project, const QString &path)
{
    if (project < 0 || project >= m_list.projects().size())
        return false;
    if (path.isEmpty()) {
        MsgBox::show(this, QMessageBox::Information, kInfo, kUnsaved);
        return false;
    }
    if (m_list.projects()[project].documents().contains(path)) {
        MsgBox::show(this, QMessageBox::Information, kInfo,
            kAlreadyThere.arg(QDir::toNativeSeparators(path), m_list.projects()[project].name));
        return false;
    }
    if (!writable() || !m_list.addDocument(project, path))
        return false;
    save();
    rebuild(project, int(m_list.projects()[project].documents().size()) - 1);
    return true;
}

bool TProjektyPanel::removeDocument(int project, const QString &path)
{
    if (project < 0 || project >= m_list.projects().size() || !writable())
        return false;
    const int row = int(m_list.projects()[project].documents().indexOf(path));
    if (!m_list.removeDocument(project, path))
        return false;
    save();
    const int left = int(m_list.projects()[project].documents().size());
    rebuild(project, left == 0 ? -1 : qMin(row, left - 1));
    return true;
}

void TProjektyPanel::NowyProjektClick()
{
    if (const std::optional<QString> name = MsgBox::input(this, kNewTitle, kNamePrompt))
        newProject(*name);
}

void TProjektyPanel::UsunProjektClick() { deleteProject(selectedProject()); }

void TProjektyPanel::DodajDokumentClick()
{
    const std::optional<QString> path = activeDocument ? activeDocument() : std::nullopt;
    if (path)
        addDocument(selectedProject(), *path);
}

void TProjektyPanel::UsunDokumentClick()
{
    const int p = selectedProject();
    const int d = selectedDocument();
    if (p >= 0 && d >= 0)
        removeDocument(p, m_list.projects()[p].documents().value(d));
}

void TProjektyPanel::OtworzDokumentClick()
{
    const int p = selectedProject();
    const int d = selectedDocument();
    if (p >= 0 && d >= 0)
        Q_EMIT openFiles({ fullPath(m_list.projects()[p].documents().value(d)) });
}

void TProjektyPanel::OtworzWszystkieClick()
{
    const int p = selectedProject();
    if (p < 0)
        return;
    QStringList paths;
    for (const QString &d : m_list.projects()[p].documents())
        paths << fullPath(d);
    if (!paths.isEmpty())
        Q_EMIT openFiles(paths);
}
