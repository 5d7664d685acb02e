#include "app/ui/contentcontroller.h"

#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/setupcontroller.h"
#include "base/ui/msgbox.h"
#include "services/templates.h"
#include "services/ui/tprojektypanel.h"
#include "services/ui/tszablondial.h"
#include "services/ui/twstawkipanel.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLocale>
#include <QTime>

namespace {
const QString kNewFromTemplateError = QStringLiteral("Nowy z szablonu: błąd");
const QString kCannotRead = QStringLiteral("Nie można odczytać szablonu %1:\n%2");
const QString kFillTitle = QStringLiteral("Wypełnianie szablonu");
const QString kTemplateSaved = QStringLiteral("Zapisano szablon %1");
} // namespace

ContentController::Places ContentController::defaultPlaces()
{
    return { ShippedTemplateFolder(), UserTemplateFolder(), DefaultProjectsFilePaths() };
}

ContentController::ContentController(QWidget &window, DocumentManager &documents, AssistController &assist,
    const SetupController &setup, MarkoraSettings &settings, const Places &places)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
    , m_assist(assist)
    , m_setup(setup)
    , m_places(places)
{
    PlikiNowyZSzablonu1 = new QAction(QStringLiteral("Nowy z &szablonu..."), &window);
    PlikiNowyZSzablonu1->setObjectName(QStringLiteral("PlikiNowyZSzablonu1"));
    connect(PlikiNowyZSzablonu1, &QAction::triggered, this, &ContentController::PlikiNowyZSzablonu1Click);
    PlikiZapiszJakoSzablon1 = new QAction(QStringLiteral("Zapisz jako sza&blon..."), &window);
    PlikiZapiszJakoSzablon1->setObjectName(QStringLiteral("PlikiZapiszJakoSzablon1"));
    connect(PlikiZapiszJakoSzablon1, &QAction::triggered, this, [this] { PlikiZapiszJakoSzablon1Click(); });

    m_snippets = new TWstawkiPanel(settings);
    m_snippetsDock = new QDockWidget(QStringLiteral("Wstawki"), &window);
    m_snippetsDock->setObjectName(QStringLiteral("DokWstawki"));
    m_snippetsDock->setWidget(m_snippets);
    connect(m_snippets, &TWstawkiPanel::snippetChosen, this, [this](const QString &text) {
        // The insertion rule gives the document the focus back.
        if (!m_assist.InsertSnippet(text))
            Q_EMIT statusMessage(QStringLiteral("Wstawka: żaden dokument nie jest otwarty."));
    });

    m_projects = new TProjektyPanel(places.projects);
    m_projectsDock = new QDockWidget(QStringLiteral("Projekty"), &window);
    m_projectsDock->setObjectName(QStringLiteral("DokProjekty"));
    m_projectsDock->setWidget(m_projects);
    m_projects->activeDocument = [this]() -> std::optional<QString> {
        const TEditor *e = m_documents.currentEditorOrNull();
        if (!e)
            return std::nullopt;
        return e->state().fileName;
    };
    connect(m_projects, &TProjektyPanel::openFiles, &m_documents, [this](const QStringList &files) {
        for (const QString &f : files)
            m_documents.Open(f, 0);
    });
    // "Dodaj dokument" follows the active document and its name.
    connect(&m_documents, &DocumentManager::activeDocumentChanged, m_projects,
        &TProjektyPanel::activeDocumentChanged);
    connect(
        &m_documents, &DocumentManager::documentSavedAs, m_projects, &TProjektyPanel::activeDocumentChanged);
    m_projects->activeDocumentChanged();
}

void ContentController::loadProjects() { m_projects->load(); }

void ContentController::PlikiNowyZSzablonu1Click()
{
    TSzablonDial dialog(&m_window, m_places.shippedTemplates, m_places.userTemplates);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    newFromTemplate(dialog.chosenPath());
}

TEditor *ContentController::newFromTemplate(const QString &path)
{
    const SetupOptions &options = m_setup.options();
    const QLocale locale;
    const TemplateDocument t = LoadTemplate(path, DocumentEncoding::fromIso(options.inIso), options.tabWidth,
        locale.toString(QDate::currentDate(), QLocale::ShortFormat),
        locale.toString(QTime::currentTime(), QLocale::ShortFormat),
        [this](const QString &name) { return MsgBox::input(&m_window, kFillTitle, name); });
    if (t.status == TemplateDocument::Failed) {
        MsgBox::show(&m_window, QMessageBox::Warning, kNewFromTemplateError,
            kCannotRead.arg(QDir::toNativeSeparators(path), t.errorText));
        return nullptr;
    }
    // As "Nowy": a cancelled question leaves the document empty.
    return m_documents.NewFrom(
        t.status == TemplateDocument::Filled ? t.text : QString(), t.encoding, t.lineBreak);
}

QString ContentController::PlikiZapiszJakoSzablon1Click()
{
    const TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return QString();
    const QString path = TSzablonDial::saveAsTemplate(
        &m_window, e->text(), e->state().encoding, e->state().lineBreak, m_places.userTemplates);
    if (!path.isEmpty())
        Q_EMIT statusMessage(kTemplateSaved.arg(QDir::toNativeSeparators(path)));
    return path;
}
