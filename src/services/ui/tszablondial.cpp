#include "services/ui/tszablondial.h"

#include "base/ui/msgbox.h"
#include "services/docfile.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The dialog's texts.
const QString kTitle = QStringLiteral("Nowy z szablonu");
const QString kColumnName = QStringLiteral("Szablon");
const QString kColumnSource = QStringLiteral("Skąd");
const QString kShipped = QStringLiteral("z programu");
const QString kUser = QStringLiteral("własny");
const QString kNone
    = QStringLiteral("Nie ma żadnych szablonów. Własne zapisuje polecenie „Zapisz jako szablon...” "
                     "(w folderze %1).");
const QString kTooLarge = QStringLiteral("(Szablon jest za duży, by go tu pokazać.)");
const QString kUnreadable = QStringLiteral("(Nie można odczytać szablonu: %1)");
const QString kCreate = QStringLiteral("&Utwórz");
const QString kCancel = QStringLiteral("Anuluj");
const QString kSaveTitle = QStringLiteral("Zapisz jako szablon");
const QString kSavePrompt = QStringLiteral("Nazwa szablonu:");
const QString kSaveError = QStringLiteral("Zapisywanie szablonu: błąd");
const QString kSaveQuestion = QStringLiteral("Zapisywanie szablonu: pytanie");
const QString kBadName = QStringLiteral("„%1” nie może być nazwą pliku szablonu.");
const QString kExists = QStringLiteral("Szablon „%1” już jest. Zastąpić go?");
const QString kFailed = QStringLiteral("Nie można zapisać szablonu %1:\n%2");

constexpr qint64 kMaxPreview = 1024 * 1024;
} // namespace

TSzablonDial::TSzablonDial(QWidget *parent, const QString &shippedFolder, const QString &userFolder)
    : QDialog(parent)
    , m_shipped(shippedFolder)
    , m_user(userFolder)
{
    setObjectName(QStringLiteral("SzablonDial"));
    setWindowTitle(kTitle);

    auto *split = new QSplitter(Qt::Horizontal, this);
    ListaSzablonow = new QTreeWidget(split);
    ListaSzablonow->setObjectName(QStringLiteral("ListaSzablonow"));
    ListaSzablonow->setHeaderLabels({ kColumnName, kColumnSource });
    ListaSzablonow->setRootIsDecorated(false);
    ListaSzablonow->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    Podglad = new QPlainTextEdit(split);
    Podglad->setObjectName(QStringLiteral("Podglad"));
    Podglad->setReadOnly(true);
    Podglad->setLineWrapMode(QPlainTextEdit::NoWrap);
    split->setStretchFactor(1, 2);

    LbBrak = new QLabel(kNone.arg(QDir::toNativeSeparators(m_user)), this);
    LbBrak->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    BtnUtworz = buttons->addButton(kCreate, QDialogButtonBox::AcceptRole);
    BtnUtworz->setObjectName(QStringLiteral("BtnUtworz"));
    BtnAnuluj = buttons->addButton(kCancel, QDialogButtonBox::RejectRole);
    BtnAnuluj->setObjectName(QStringLiteral("BtnAnuluj"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(LbBrak);
    layout->addWidget(buttons);
    resize(720, 420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ListaSzablonow, &QTreeWidget::currentItemChanged, this, &TSzablonDial::ListaSzablonowChange);
    connect(ListaSzablonow, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });
    refresh();
}

void TSzablonDial::refresh()
{
    m_entries = ListTemplates(m_shipped, m_user);
    ListaSzablonow->clear();
    for (const TemplateEntry &e : std::as_const(m_entries)) {
        auto *item = new QTreeWidgetItem(
            ListaSzablonow, { e.name, e.source == TemplateSource::User ? kUser : kShipped });
        item->setToolTip(0, QDir::toNativeSeparators(e.path));
    }
    LbBrak->setVisible(m_entries.isEmpty());
    if (!m_entries.isEmpty())
        ListaSzablonow->setCurrentItem(ListaSzablonow->topLevelItem(0));
    ListaSzablonowChange();
}

QString TSzablonDial::chosenPath() const
{
    const int row = ListaSzablonow->indexOfTopLevelItem(ListaSzablonow->currentItem());
    return row >= 0 && row < m_entries.size() ? m_entries[row].path : QString();
}

void TSzablonDial::ListaSzablonowChange()
{
    const QString path = chosenPath();
    BtnUtworz->setEnabled(!path.isEmpty());
    if (path.isEmpty()) {
        Podglad->clear();
        return;
    }
    if (QFileInfo(path).size() > kMaxPreview) {
        Podglad->setPlainText(kTooLarge);
        return;
    }
    LoadOptions options;
    options.tabWidth = 4;
    const LoadResult r = LoadDocumentFile(path, options);
    Podglad->setPlainText(r.ok ? r.text : kUnreadable.arg(r.errorText));
}

QString TSzablonDial::saveAsTemplate(QWidget *parent, const QString &text, const DocumentEncoding &encoding,
    LineBreak lineBreak, const QString &folder)
{
    const std::optional<QString> name = MsgBox::input(parent, kSaveTitle, kSavePrompt);
    if (!name)
        return QString();
    TemplateSave saved = SaveTemplate(folder, *name, text, encoding, lineBreak);
    if (saved.status == TemplateSave::Exists) {
        const QString file = QFileInfo(saved.path).fileName();
        if (MsgBox::show(parent, QMessageBox::Question, kSaveQuestion, kExists.arg(file),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
            return QString();
        saved = SaveTemplate(folder, *name, text, encoding, lineBreak, true);
    }
    switch (saved.status) {
    case TemplateSave::Saved:
        return saved.path;
    case TemplateSave::BadName:
        MsgBox::show(parent, QMessageBox::Critical, kSaveError, kBadName.arg(name->trimmed()));
        break;
    case TemplateSave::Exists:
    case TemplateSave::Failed:
        MsgBox::show(parent, QMessageBox::Critical, kSaveError,
            kFailed.arg(QDir::toNativeSeparators(saved.path), saved.errorText));
        break;
    }
    return QString();
}
