#include "ext/ui/pluginsbar.h"

#include "base/ui/msgbox.h"
#include "ext/ui/tdoklbutton.h"

#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QToolBar>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

struct EntryError
{
};

// A registry value as text. An INI file turns an unquoted "a, b" into a list: it is
// joined back rather than lost.
QString readText(QSettings &store, const QString &key, const QString &def = QString())
{
    const QVariant value = store.value(key);
    if (!value.isValid())
        return def;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.canConvert<QString>())
        throw EntryError();
    return value.toString();
}

#ifdef Q_OS_UNIX
// Why the program cannot be run, found by looking at it: 0 when nothing is seen wrong.
int checkProgram(const QString &program)
{
    if (program.isEmpty())
        return ENOENT;
    QString path = program;
    if (!program.contains(QLatin1Char('/'))) {
        path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            return ENOENT;
    }
    const QFileInfo info(path);
    if (!info.exists())
        return ENOENT;
    if (info.isDir())
        return EACCES;
    const QByteArray native = QFile::encodeName(path);
    if (::access(native.constData(), X_OK) != 0)
        return errno;
    return 0;
}

// QProcess reports the child's failure as "<call>: <system message>"; the message
// tells the number back.
int errnoFromMessage(const QString &message)
{
    for (int n = 1; n < 256; ++n) {
        const QString text = qt_error_string(n);
        if (!text.isEmpty() && message.endsWith(QStringLiteral(": ") + text))
            return n;
    }
    return 0;
}
#endif

} // namespace

QToolBar *CreatePluginToolBar(QWidget *parent)
{
    auto *bar = new QToolBar(QStringLiteral("Doklejki"), parent);
    bar->setObjectName(QStringLiteral("Doklejki"));
    return bar;
}

QList<TDoklButton *> LoadPlugins(QToolBar *bar, QSettings &store)
{
    QList<TDoklButton *> made;
    const QStringList names = store.childGroups();
    for (const QString &name : names) {
        TDoklButton *button = nullptr;
        store.beginGroup(name);
        try {
            button = new TDoklButton(bar);
            button->setObjectName(name);
            button->setText(name); // shown only while there is no glyph
            bar->addWidget(button);
            made.append(button);
            button->Command = readText(store, QStringLiteral("Command"));
            button->WindowCaption = readText(store, QStringLiteral("WindowCaption"));
            button->setHint(readText(store, QStringLiteral("Hint"), QStringLiteral("Nie ma hinta!")));
            button->Icon = readText(store, QStringLiteral("Icon"));
            // A plug-in without a picture keeps its name on the button.
            if (!button->Icon.isEmpty()) {
                QPixmap glyph;
                if (!glyph.load(button->Icon))
                    throw EntryError();
                button->setIcon(glyph);
            }
            QObject::connect(button, &QToolButton::clicked, button, [button] { button->DoklejkaClick(); });
        } catch (const EntryError &) {
            MsgBox::show(bar->window(), QMessageBox::Critical, QStringLiteral("Przyciski doklejek: błąd"),
                QStringLiteral("Problem przy odczycie danych doklejki z rejestru (") + name
                    + QStringLiteral(")."));
        }
        store.endGroup();
    }
    return made;
}

bool StartPlugin(const QString &program, int *errorNumber, qint64 *pid)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({ QStringLiteral("-markora") });
    qint64 started = 0;
    if (!program.isEmpty() && process.startDetached(&started)) {
        if (pid)
            *pid = started;
        return true;
    }
    int number = 0;
#ifdef Q_OS_UNIX
    number = errnoFromMessage(process.errorString());
    if (number == 0)
        number = checkProgram(program);
#endif
    if (errorNumber)
        *errorNumber = number;
    return false;
}
