#include "app/ui/desktopcommands.h"

#include "app/ui/documentmanager.h"
#include "base/datafiles.h"
#include "base/ui/msgbox.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>

DesktopCommands::DesktopCommands(QMainWindow &window, DocumentManager &documents)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
{
    const auto action = [&window](const char *name, const QString &text, const QList<QKeySequence> &keys) {
        auto *a = new QAction(text, &window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        return a;
    };
    // X11 reports Shift+Tab as Backtab: both spellings are the same keys.
    m_next = action("NastepnyDokument1", QStringLiteral("&Następny dokument"),
        { QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown) });
    m_previous = action("PoprzedniDokument1", QStringLiteral("&Poprzedni dokument"),
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp) });
    m_fullScreen = action("PelnyEkran1", QStringLiteral("Pełny &ekran"), { QKeySequence(Qt::Key_F11) });
    m_fullScreen->setCheckable(true);
    m_editDefinitions = action("EdytujDefinicje1", QStringLiteral("&Edytuj definicje znaczników"), {});
    connect(m_next, &QAction::triggered, this, [this] { StepDocument(1); });
    connect(m_previous, &QAction::triggered, this, [this] { StepDocument(-1); });
    connect(m_fullScreen, &QAction::triggered, this, [this](bool on) {
        m_window.setWindowState(on ? m_window.windowState() | Qt::WindowFullScreen
                                   : m_window.windowState() & ~Qt::WindowFullScreen);
    });
    connect(m_editDefinitions, &QAction::triggered, this, [this] { EdytujDefinicje1Click(); });
    // The window manager may end full screen on its own: the check mark follows.
    window.installEventFilter(this);
}

bool DesktopCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowStateChange)
        m_fullScreen->setChecked(m_window.isFullScreen());
    return QObject::eventFilter(watched, event);
}

void DesktopCommands::StepDocument(int step)
{
    const int n = m_documents.count();
    if (n < 2)
        return;
    m_documents.activate(((m_documents.activeIndex() + step) % n + n) % n);
}

int DesktopCommands::EdytujDefinicje1Click()
{
    QString error;
    const QString folder = MakeUserKonfiguracja(DataFolders::current(), &error);
    if (folder.isEmpty()) {
        MsgBox::show(&m_window, QMessageBox::Critical, QStringLiteral("Definicje znaczników: błąd"), error);
        return 0;
    }
    const QString tags = folder + QStringLiteral("/tags.ini");
    // Already open: its tab, without the question about loading it again.
    const QString canonical = QFileInfo(tags).canonicalFilePath();
    for (int i = 0; i < m_documents.count(); ++i) {
        const TEditor *e = m_documents.editorAt(i);
        if (!canonical.isEmpty() && QFileInfo(e->state().fileName).canonicalFilePath() == canonical) {
            m_documents.activate(i);
            return e->documentId();
        }
    }
    const int id = m_documents.Open(tags, 0);
    if (id != 0)
        Q_EMIT statusMessage(QStringLiteral(
            "To Twoja kopia definicji znaczników; zmiany obowiązują od następnego uruchomienia programu."));
    return id;
}
