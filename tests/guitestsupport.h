#pragma once

#include "base/ui/msgbox.h"
#include "testsupport.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <optional>

namespace testsupport {

// Answers message boxes and input questions in the user's place and records what was
// asked: the next scripted answer (Ok, respectively Cancel, when none is left).
class ScriptedUser
{
public:
    ScriptedUser()
    {
        MsgBox::setHandler([this](const MsgBox::Request &r) {
            asked << r;
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        });
        MsgBox::setInputHandler([this](const QString &title, const QString &prompt, const QString &) {
            prompts << title + QLatin1Char('|') + prompt;
            return inputs.isEmpty() ? std::optional<QString>() : inputs.takeFirst();
        });
    }
    ~ScriptedUser()
    {
        MsgBox::setHandler({});
        MsgBox::setInputHandler({});
    }
    QList<QMessageBox::StandardButton> answers;
    QList<std::optional<QString>> inputs;
    QList<MsgBox::Request> asked;
    QStringList prompts;
};

// Writes bytes to a new file; returns its absolute path.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    f.write(bytes);
    return QFileInfo(path).absoluteFilePath();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testsupport
