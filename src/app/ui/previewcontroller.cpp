#include "app/ui/previewcontroller.h"

#include "app/previewfile.h"
#include "app/ui/documentmanager.h"
#include "app/ui/preview.h"
#include "app/ui/temporaryfiles.h"
#include "base/codepage.h"
#include "base/datafiles.h"
#include "base/ui/msgbox.h"
#include "services/docfile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFile>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

namespace {
// The heading of README's section for users, which the help command shows.
const QString kHelpHeading = QStringLiteral("Using Markora");
} // namespace

PreviewController::PreviewController(QWidget &window, DocumentManager &documents, TemporaryFiles &files)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
    , m_files(files)
{
    const CommandLine cmd = ParseCommandLine(QCoreApplication::arguments().mid(1));
    m_internalAvailable = cmd.msie.value_or(true);
    m_browserAvailable = cmd.moz.value_or(true);
    m_pane = new TgPodBrowserem(&window);
    m_dock = new QDockWidget(QStringLiteral("Podgląd"), &window);
    m_dock->setObjectName(QStringLiteral("DokPodglad"));
    m_dock->setWidget(m_pane);
    m_dock->hide();
    connect(m_pane, &TgPodBrowserem::refreshRequested, this, [this] { Podglad1Click(); });
    connect(m_pane, &TgPodBrowserem::browserRequested, this, [this] { PodgladPrzegladarka1Click(); });

    m_podglad = new QAction(
        window.style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("&Podgląd"), &window);
    m_podglad->setObjectName(QStringLiteral("Podglad1"));
    m_podglad->setShortcut(QKeySequence(Qt::Key_F9));
    connect(m_podglad, &QAction::triggered, this, [this] { Podglad1Click(); });
    m_browser = new QAction(QStringLiteral("Podgląd w p&rzeglądarce"), &window);
    m_browser->setObjectName(QStringLiteral("PodgladPrzegladarka1"));
    m_browser->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    m_browser->setEnabled(m_browserAvailable);
    connect(m_browser, &QAction::triggered, this, [this] { PodgladPrzegladarka1Click(); });
    m_helpAction = new QAction(QStringLiteral("&Pomoc"), &window);
    m_helpAction->setObjectName(QStringLiteral("PomocPomoc1"));
    m_helpAction->setShortcut(QKeySequence::HelpContents);
    connect(m_helpAction, &QAction::triggered, this, [this] { PomocPomoc1Click(); });
}

PreviewController::~PreviewController() = default;

void PreviewController::restore(const StartupSettings &values)
{
    m_pane->setButtons(ChoosePreviewButtons(m_internalAvailable, m_browserAvailable, values.podgladMsie));
}

void PreviewController::save(StartupSettings &values) const
{
    if (m_pane->msieButton()->isEnabled() && m_pane->mozButton()->isEnabled())
        values.podgladMsie = m_pane->internalChosen();
}

QString PreviewController::writePreviewFile()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return QString();
    QString error;
    const QString path = m_files.write(QStringLiteral("Podgląd"), e->state().fileName, PreviewFileName(),
        EncodeDocumentText(e->text(), e->state().iso()), &error);
    if (path.isEmpty())
        MsgBox::show(&m_window, QMessageBox::Warning, QStringLiteral("Podgląd: błąd"),
            QStringLiteral("Nie można zapisać pliku podglądu ") + PreviewFileName() + QStringLiteral(":\n")
                + error);
    return path;
}

QString PreviewController::Podglad1Click()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return QString();
    if (!m_pane->internalChosen() && !m_pane->browserChosen()) {
        MsgBox::show(&m_window, QMessageBox::Information, QStringLiteral("Podgląd: informacja"),
            QStringLiteral("Podgląd jest wyłączony."));
        return QString();
    }
    if (!m_pane->internalChosen())
        return PodgladPrzegladarka1Click();
    const QString path = writePreviewFile();
    if (path.isEmpty())
        return path;
    m_dock->show();
    m_pane->showPage(e->text(), path);
    return path;
}

QString PreviewController::PodgladPrzegladarka1Click()
{
    const QString path = writePreviewFile();
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return path;
}

void PreviewController::showHintPreview(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    m_dock->show();
    m_pane->showPage(CodePage::decode(f.readAll(), CodePage::Windows1250), path);
}

void PreviewController::PomocPomoc1Click()
{
    const QString readme = DataFilePath(QStringLiteral("README.md"));
    QFile f(readme);
    if (!f.open(QIODevice::ReadOnly)) {
        MsgBox::show(&m_window, QMessageBox::Warning, QStringLiteral("Pomoc: błąd"),
            QStringLiteral("Nie znaleziono pliku pomocy ") + readme + QLatin1Char('.'));
        return;
    }
    if (!m_help) {
        auto *browser = new QTextBrowser;
        browser->setObjectName(QStringLiteral("Pomoc"));
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setOpenExternalLinks(true);
        browser->setWindowTitle(QStringLiteral("Markora - pomoc"));
        browser->resize(700, 600);
        m_help = browser;
    }
    auto *browser = static_cast<QTextBrowser *>(m_help.data());
    browser->setMarkdown(QString::fromUtf8(f.readAll()));
    // Open at the section for users; the whole file stays readable around it.
    for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0 && b.text().contains(kHelpHeading, Qt::CaseInsensitive)) {
            browser->setTextCursor(QTextCursor(b));
            browser->ensureCursorVisible();
            break;
        }
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
}

void PreviewController::closeHelp()
{
    if (m_help)
        m_help->close();
}
