#pragma once

#include "base/ui/msgbox.h"
#include "app/ui/documentmanager.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"

#include <QApplication>
#include <QtTest>

namespace assisttest {

using testsupport::ScriptedUser;

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
