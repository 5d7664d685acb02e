#pragma once

#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/toknogl.h"
#include "base/ui/msgbox.h"
#include "guitestsupport.h"

#include <QApplication>
#include <QtTest>

namespace assisttest {

using testsupport::ScriptedUser;

// The window's current editor holding text with the caret at caret (-1: at the end). The
// window stays as it is: typing assistance needs no window on the screen.
inline TEditor *load(TOknoGl &w, const QString &text = QString(), int caret = -1)
{
    TEditor *e = w.CurrentEditor();
    e->loadText(text);
    e->setSelection(caret < 0 ? int(text.size()) : caret, 0);
    return e;
}

// A main window shown and active, for what the screen decides: the focus, shortcuts,
// clicks, what is visible. Its current editor holds text as load() puts it.
inline void prepare(TOknoGl &w, const QString &text = QString(), int caret = -1)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    load(w, text, caret)->setFocus();
}

// Sets one setup option in the window's options, as the setup dialog does.
template <typename T, typename V> void setOption(TOknoGl &w, T SetupOptions::*option, const V &value)
{
    SetupOptions o = w.setupOptions();
    o.*option = value;
    w.setSetupOptions(o);
}

} // namespace assisttest
