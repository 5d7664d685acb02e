#include "services/ui/twstawkipanel.h"

#include "base/ui/msgbox.h"
#include "services/snippetexpand.h"
#include "services/snippetfile.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// The panel's texts.
const QString kWstaw = QStringLiteral("Wstaw");
const QString kDodaj = QStringLiteral("Dodaj...");
const QString kZmien = QStringLiteral("Zmień...");
const QString kZmienNazwe = QStringLiteral("Zmień nazwę...");
const QString kUsun = QStringLiteral("Usuń");
const QString kEksportuj = QStringLiteral("Eksportuj...");
const QString kImportuj = QStringLiteral("Importuj...");
const QString kWstawHint = QStringLiteral("Wstawia wybraną wstawkę do dokumentu (także dwuklik)");
const QString kNewTitle = QStringLiteral("Nowa wstawka");
const QString kChangeTitle = QStringLiteral("Zmiana wstawki");
const QString kRenameTitle = QStringLiteral("Zmiana nazwy wstawki");
const QString kNameLabel = QStringLiteral("&Nazwa:");
const QString kTextLabel = QStringLiteral("&Tekst:");
const QString kMarkersNote = QStringLiteral(
    "{{zaznaczenie}} — tu trafi zaznaczony tekst (tekst przed nim i po nim obejmie zaznaczenie),\n"
    "{{kursor}} — tu stanie kursor po wstawieniu.");
const QString kNamePrompt = QStringLiteral("Nowa nazwa:");
const QString kError = QStringLiteral("Wstawki: błąd");
const QString kQuestion = QStringLiteral("Wstawki: pytanie");
const QString kBadName = QStringLiteral("Nazwa wstawki nie może być pusta ani zawierać znaków sterujących "
                                        "(także końca wiersza).");
const QString kNameTaken = QStringLiteral("Wstawka „%1” już jest.");
const QString kDeleteQuestion = QStringLiteral("Usunąć wstawkę „%1”?");
const QString kExportError = QStringLiteral("Eksport wstawek: błąd");
const QString kExportFailed = QStringLiteral("Nie można zapisać pliku %1:\n%2");
const QString kImportError = QStringLiteral("Import wstawek: błąd");
const QString kImportWarning = QStringLiteral("Import wstawek: ostrzeżenie");
const QString kImportQuestion = QStringLiteral("Import wstawek: pytanie");
const QString kImportInfo = QStringLiteral("Import wstawek: informacja");
const QString kCannotRead = QStringLiteral("Nie można odczytać pliku %1:\n%2");
const QString kNotUtf8 = QStringLiteral("Plik %1 nie jest tekstem w UTF-8: nic nie wczytano.");
const QString kProblems = QStringLiteral("Tych wierszy pliku %1 nie zrozumiano i je pominięto:\n%2");
const QString kProblemLine = QStringLiteral("wiersz %1: %2");
const QString kMoreProblems = QStringLiteral("… i %1 innych");
const QString kConflicts
    = QStringLiteral("Te wstawki już są, z innym tekstem:\n%1\n\n"
                     "Tak — zastąp je wczytanymi, Nie — zostaw obecne, Anuluj — nie wczytuj nic.");
const QString kImported = QStringLiteral("Wczytano wstawek: %1.");
const QString kFileFilter
    = QStringLiteral("Wstawki (*.wstawki);;Pliki tekstowe (*.txt);;Wszystkie pliki (*)");
const QString kExportTitle = QStringLiteral("Eksport wstawek");
const QString kImportTitle = QStringLiteral("Import wstawek");

constexpr int kListedProblems = 10;

// The text of a QPlainTextEdit exactly: toPlainText would turn no-break spaces into spaces.
QString editorText(const QPlainTextEdit *edit)
{
    QString s = edit->document()->toRawText();
    s.replace(QChar::ParagraphSeparator, u'\n');
    s.replace(QChar::LineSeparator, u'\n');
    return s;
}
} // namespace

TWstawkiPanel::TWstawkiPanel(MarkoraSettings &settings, QWidget *parent)
    : QWidget(parent)
    , m_store(settings)
{
    setObjectName(QStringLiteral("WstawkiPanel"));
    PasekWstawek = new QToolBar(this);
    PasekWstawek->setObjectName(QStringLiteral("PasekWstawek"));
    PasekWstawek->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addCommand = [this](const char *name, const QString &text, void (TWstawkiPanel::*handler)()) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    Wstaw = addCommand("WstawkiWstaw", kWstaw, &TWstawkiPanel::WstawClick);
    Wstaw->setToolTip(kWstawHint);
    Dodaj = addCommand("WstawkiDodaj", kDodaj, &TWstawkiPanel::DodajClick);
    Zmien = addCommand("WstawkiZmien", kZmien, &TWstawkiPanel::ZmienClick);
    ZmienNazwe = addCommand("WstawkiZmienNazwe", kZmienNazwe, &TWstawkiPanel::ZmienNazweClick);
    Usun = addCommand("WstawkiUsun", kUsun, &TWstawkiPanel::UsunClick);
    Eksportuj = addCommand("WstawkiEksportuj", kEksportuj, &TWstawkiPanel::EksportujClick);
    Importuj = addCommand("WstawkiImportuj", kImportuj, &TWstawkiPanel::ImportujClick);
    PasekWstawek->addActions({ Wstaw, Dodaj, Zmien, ZmienNazwe, Usun });
    PasekWstawek->addSeparator();
    PasekWstawek->addActions({ Eksportuj, Importuj });

    auto *split = new QSplitter(Qt::Vertical, this);
    ListaWstawek = new QListWidget(split);
    ListaWstawek->setObjectName(QStringLiteral("ListaWstawek"));
    ListaWstawek->setContextMenuPolicy(Qt::CustomContextMenu);
    TekstWstawki = new QPlainTextEdit(split);
    TekstWstawki->setObjectName(QStringLiteral("TekstWstawki"));
    TekstWstawki->setReadOnly(true);
    TekstWstawki->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PasekWstawek);
    layout->addWidget(split, 1);

    connect(ListaWstawek, &QListWidget::currentRowChanged, this, &TWstawkiPanel::ListaWstawekChange);
    connect(ListaWstawek, &QListWidget::itemDoubleClicked, this, &TWstawkiPanel::WstawClick);
    connect(ListaWstawek, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu(this);
        menu.addActions({ Wstaw, Dodaj, Zmien, ZmienNazwe, Usun });
        menu.addSeparator();
        menu.addActions({ Eksportuj, Importuj });
        menu.exec(ListaWstawek->viewport()->mapToGlobal(pos));
    });
    refresh();
}

void TWstawkiPanel::refresh()
{
    const QString keep = currentName();
    {
        const QSignalBlocker block(ListaWstawek);
        ListaWstawek->clear();
        for (const Snippet &s : m_store.all())
            ListaWstawek->addItem(s.name);
    }
    setCurrentName(keep);
    ListaWstawekChange();
}

QStringList TWstawkiPanel::names() const
{
    QStringList out;
    for (int i = 0; i < ListaWstawek->count(); ++i)
        out << ListaWstawek->item(i)->text();
    return out;
}

QString TWstawkiPanel::currentName() const
{
    const QListWidgetItem *item = ListaWstawek->currentItem();
    return item ? item->text() : QString();
}

void TWstawkiPanel::setCurrentName(const QString &name)
{
    for (int i = 0; i < ListaWstawek->count(); ++i) {
        if (ListaWstawek->item(i)->text() == name) {
            ListaWstawek->setCurrentRow(i);
            return;
        }
    }
    ListaWstawek->setCurrentRow(ListaWstawek->count() > 0 ? 0 : -1);
}

void TWstawkiPanel::ListaWstawekChange()
{
    const std::optional<QString> text = m_store.text(currentName());
    TekstWstawki->setPlainText(text.value_or(QString()));
    updateActions();
}

void TWstawkiPanel::updateActions()
{
    const bool chosen = !currentName().isEmpty();
    for (QAction *a : { Wstaw, Zmien, ZmienNazwe, Usun })
        a->setEnabled(chosen);
    Eksportuj->setEnabled(ListaWstawek->count() > 0);
}

bool TWstawkiPanel::checkNewName(const QString &name, const QString &except)
{
    if (!SnippetStore::isValidName(name)) {
        MsgBox::show(this, QMessageBox::Warning, kError, kBadName);
        return false;
    }
    const QString taken = m_store.existingName(name);
    if (!taken.isEmpty() && taken.compare(except, Qt::CaseInsensitive) != 0) {
        MsgBox::show(this, QMessageBox::Warning, kError, kNameTaken.arg(taken));
        return false;
    }
    return true;
}

bool TWstawkiPanel::addSnippet(const QString &name, const QString &text)
{
    if (!checkNewName(name))
        return false;
    m_store.put(name, text);
    refresh();
    setCurrentName(name);
    return true;
}

bool TWstawkiPanel::changeSnippet(const QString &name, const QString &text)
{
    if (!m_store.text(name))
        return false;
    m_store.put(name, text);
    refresh();
    return true;
}

bool TWstawkiPanel::renameSnippet(const QString &from, const QString &to)
{
    if (from == to || !m_store.text(from) || !checkNewName(to, from))
        return false;
    m_store.rename(from, to);
    refresh();
    setCurrentName(to);
    return true;
}

bool TWstawkiPanel::deleteSnippet(const QString &name)
{
    if (!m_store.text(name))
        return false;
    if (MsgBox::show(this, QMessageBox::Question, kQuestion, kDeleteQuestion.arg(name),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_store.remove(name);
    refresh();
    return true;
}

bool TWstawkiPanel::exportTo(const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(WriteSnippetFile(m_store.all()));
        if (file.commit())
            return true;
    }
    MsgBox::show(this, QMessageBox::Critical, kExportError,
        kExportFailed.arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

int TWstawkiPanel::importFrom(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        MsgBox::show(this, QMessageBox::Critical, kImportError, kCannotRead.arg(shown, f.errorString()));
        return -1;
    }
    const SnippetFile file = ReadSnippetFile(f.readAll());
    if (!file.readable) {
        MsgBox::show(this, QMessageBox::Critical, kImportError, kNotUtf8.arg(shown));
        return -1;
    }
    if (!file.problems.isEmpty()) {
        QStringList lines;
        for (const SnippetFileProblem &p : file.problems.mid(0, kListedProblems))
            lines << kProblemLine.arg(p.line).arg(p.text);
        if (file.problems.size() > kListedProblems)
            lines << kMoreProblems.arg(file.problems.size() - kListedProblems);
        MsgBox::show(this, QMessageBox::Warning, kImportWarning, kProblems.arg(shown, lines.join(u'\n')));
    }

    QList<Snippet> fresh;
    QList<Snippet> conflicting;
    for (const Snippet &s : file.snippets) {
        const QString taken = m_store.existingName(s.name);
        if (taken.isEmpty())
            fresh << s;
        else if (m_store.text(taken) != s.text)
            conflicting << Snippet { taken, s.text };
    }
    if (!conflicting.isEmpty()) {
        QStringList names;
        for (const Snippet &s : std::as_const(conflicting))
            names << QStringLiteral("„%1”").arg(s.name);
        const auto answer = MsgBox::show(this, QMessageBox::Question, kImportQuestion,
            kConflicts.arg(names.join(QStringLiteral(", "))),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
        if (answer == QMessageBox::Cancel)
            return -1;
        if (answer == QMessageBox::Yes)
            fresh << conflicting;
    }
    for (const Snippet &s : std::as_const(fresh))
        m_store.put(s.name, s.text);
    refresh();
    MsgBox::show(this, QMessageBox::Information, kImportInfo, kImported.arg(fresh.size()));
    return int(fresh.size());
}

std::optional<Snippet> TWstawkiPanel::editSnippet(const QString &title, const Snippet &start)
{
    if (editHook)
        return editHook(title, start);
    QDialog dialog(this);
    dialog.setWindowTitle(title);
    auto *name = new QLineEdit(start.name, &dialog);
    auto *text = new QPlainTextEdit(&dialog);
    text->setPlainText(start.text);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *note = new QLabel(kMarkersNote, &dialog);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    auto *form = new QFormLayout;
    form->addRow(kNameLabel, name);
    form->addRow(kTextLabel, text);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form, 1);
    layout->addWidget(note);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Changing a snippet keeps its name: renaming is a command of its own.
    name->setReadOnly(!start.name.isEmpty());
    dialog.resize(520, 320);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Snippet { name->text().trimmed(), editorText(text) };
}

QString TWstawkiPanel::chooseFile(bool save)
{
    if (fileHook)
        return fileHook(save);
    return save
        ? QFileDialog::getSaveFileName(this, kExportTitle, QStringLiteral("wstawki.wstawki"), kFileFilter)
        : QFileDialog::getOpenFileName(this, kImportTitle, QString(), kFileFilter);
}

void TWstawkiPanel::WstawClick()
{
    const std::optional<QString> text = m_store.text(currentName());
    if (text)
        Q_EMIT snippetChosen(*text);
}

void TWstawkiPanel::DodajClick()
{
    std::optional<Snippet> s
        = editSnippet(kNewTitle, Snippet { QString(), kSnippetSelectionMarker.toString() });
    // A refused name brings the editor back with what was typed.
    while (s && !addSnippet(s->name, s->text))
        s = editSnippet(kNewTitle, *s);
}

void TWstawkiPanel::ZmienClick()
{
    const QString name = currentName();
    const std::optional<QString> text = m_store.text(name);
    if (!text)
        return;
    if (const std::optional<Snippet> s = editSnippet(kChangeTitle, Snippet { name, *text }))
        changeSnippet(name, s->text);
}

void TWstawkiPanel::ZmienNazweClick()
{
    const QString name = currentName();
    if (name.isEmpty())
        return;
    if (const std::optional<QString> to = MsgBox::input(this, kRenameTitle, kNamePrompt, name))
        renameSnippet(name, to->trimmed());
}

void TWstawkiPanel::UsunClick() { deleteSnippet(currentName()); }

void TWstawkiPanel::EksportujClick()
{
    const QString path = chooseFile(true);
    if (!path.isEmpty())
        exportTo(path);
}

void TWstawkiPanel::ImportujClick()
{
    const QString path = chooseFile(false);
    if (!path.isEmpty())
        importFrom(path);
}
