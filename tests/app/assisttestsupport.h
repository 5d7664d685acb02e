#pragma once

#include "app/msgbox.h"
#include "app/toknogl.h"
#include "testsupport.h"

#include <QApplication>
#include <QtTest>

namespace assisttest {

// Answers message boxes and input questions in the user's place and records them.
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

// A main window shown and active, its current editor holding text with the caret at
// caret (-1: at the end).
inline void prepare(TOknoGl &w, const QString &text = QString(), int caret = -1)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    TEditor *e = w.CurrentEditor();
    e->loadText(text);
    e->setSelection(caret < 0 ? int(text.size()) : caret, 0);
    e->setFocus();
}

} // namespace assisttest
