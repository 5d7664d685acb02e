#include "assisttestsupport.h"
#include "ext/ui/usertoolbar.h"
#include "insert/ui/inserttooltabs.h"
#include "tags/ui/taggrid.h"

#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

using assisttest::load;
using assisttest::prepare;
using assisttest::ScriptedUser;
using assisttest::setOption;

namespace {
// The inspector's row of that argument, -1 when it shows none.
int rowNamed(const TagInspector &inspector, const QString &name)
{
    for (int i = 0; i < inspector.rowCount(); ++i)
        if (inspector.rowName(i) == name)
            return i;
    return -1;
}
} // namespace

// The insertion commands and the tag inspector in the main window: tool tabs, the insert
// menu and its shortcuts, the questions, "Wstaw jeszcze raz", the options, the double-click
// into the inspector and the live write-back.
class TstInsertCommands : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void upperPaneHoldsToolTabsAndInspector();
    void toolTabButtonsWrapSelectedWord_data();
    void toolTabButtonsWrapSelectedWord();
    void boldByShortcutAndRepeatByF4();
    void repeatAfterCancelledAnchor();
    void anchorAndDeclarationQuestions();
    void optionsReachTheCommands();
    void styleFromSelectedTagInList();
    void entryModeFromCommands();
    void autoInterpretationLoadsInspector();
    void toolTabsDisabledWithoutDocument();
    void userToolBarRunsTheWindowsCommands();
    void doubleClickEditWritesTagBack();
    void realDoubleClickOnTagAndOnWord();
    void writeBackUndoAndGuards();
    void writeBackRunIsOneUndoStep();
    void snippetsThroughTheInsertionRule_data();
    void snippetsThroughTheInsertionRule();
};

void TstInsertCommands::upperPaneHoldsToolTabsAndInspector()
{
    TOknoGl w;
    w.show();
    auto *pane = qobject_cast<QDockWidget *>(w.upperPane());
    QVERIFY(pane);
    QCOMPARE(pane->objectName(), QStringLiteral("PlGorny"));
    QVERIFY(pane->isAncestorOf(w.assist()->insertToolTabs()));
    QVERIFY(pane->isAncestorOf(w.assist()->tagInspector()));
    QCOMPARE(w.assist()->insertToolTabs()->count(), 12);
    auto *tagi = w.findChild<QWidget *>(QStringLiteral("Tagi"));
    QVERIFY(tagi && tagi->isAncestorOf(w.assist()->tagInspector()));
    auto *tabs = qobject_cast<QTabWidget *>(tagi->parentWidget()->parentWidget());
    QVERIFY(tabs);
    QCOMPARE(tabs->tabText(tabs->indexOf(tagi)), QStringLiteral("Tagi"));
    auto *list = w.findChild<QListWidget *>(QStringLiteral("ListaTagow"));
    QVERIFY(list && list->count() > 50);
    QVERIFY(tabs->indexOf(list) >= 0);
    for (int i = 1; i < list->count(); ++i)
        QVERIFY(list->item(i - 1)->text().compare(list->item(i)->text(), Qt::CaseInsensitive) <= 0);
    w.setUpperPaneHeight(200);
    QTRY_COMPARE(w.upperPaneHeight(), 200);
    // The insert menu of the menu bar holds the table's items.
    QMenu *wstaw = w.menuNamed(QStringLiteral("Wstaw1"));
    QVERIFY(wstaw && wstaw->actions().size() > 10);
    bool repeat = false;
    for (QAction *a : wstaw->actions())
        repeat = repeat || a->objectName() == QLatin1String("Wstawjeszczeraz1");
    QVERIFY(repeat);
}

void TstInsertCommands::toolTabButtonsWrapSelectedWord_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("selStart");
    QTest::newRow("bold") << "Btn_B"
                          << "ala <B>kot</B> ma" << 7;
    QTest::newRow("italic") << "Btn_I"
                            << "ala <I>kot</I> ma" << 7;
    QTest::newRow("H2") << "Btn_H2"
                        << "ala <H2>kot</H2> ma" << 8;
    QTest::newRow("line break") << "Btn_BR"
                                << "ala <BR>kot ma" << 8;
    QTest::newRow("centre template") << "Btn_Center"
                                     << "ala <DIV ALIGN=\"Center\">kot</DIV> ma" << 24;
    QTest::newRow("form block") << "BtnForm"
                                << "ala \n<FORM>kot\n</FORM> ma" << 11;
    QTest::newRow("entity replaces") << "BtnNbsp"
                                     << "ala &nbsp; ma" << 10;
}

void TstInsertCommands::toolTabButtonsWrapSelectedWord()
{
    QFETCH(QString, button);
    QFETCH(QString, expected);
    QFETCH(int, selStart);
    ScriptedUser user;
    TOknoGl w;
    prepare(w, QStringLiteral("ala kot ma"));
    TEditor *e = w.CurrentEditor();
    e->setSelection(4, 3);
    QToolButton *b = w.assist()->insertToolTabs()->button(button);
    QVERIFY2(b, qPrintable(button));
    w.assist()->insertToolTabs()->setCurrentIndex(
        w.assist()->insertToolTabs()->indexOf(b->parentWidget()->parentWidget()->parentWidget()));
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(e->text(), expected);
    QCOMPARE(e->selStart(), selStart);
    if (button != QLatin1String("BtnNbsp"))
        QCOMPARE(e->selectedText(), QStringLiteral("kot"));
    QVERIFY(e->hasFocus());
    // One undo restores the text from before the command.
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("ala kot ma"));
}

void TstInsertCommands::boldByShortcutAndRepeatByF4()
{
    TOknoGl w;
    prepare(w, QStringLiteral("jeden dwa"));
    TEditor *e = w.CurrentEditor();
    e->setSelection(0, 5);
    QTest::keyClick(e, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(e->text(), QStringLiteral("<B>jeden</B> dwa"));
    QCOMPARE(e->selectedText(), QStringLiteral("jeden"));
    e->setSelection(13, 3);
    QTest::keyClick(e, Qt::Key_F4);
    QCOMPARE(e->text(), QStringLiteral("<B>jeden</B> <B>dwa</B>"));
    QTest::keyClick(e, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(e->text(), QStringLiteral("<B>jeden</B> <B><I>dwa</I></B>"));
    e->setSelection(0, 0);
    QTest::keyClick(e, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(e->text(), QStringLiteral("<BR><B>jeden</B> <B><I>dwa</I></B>"));
    // The undo key is the undo command: it restores the text from before the last command.
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e->text(), QStringLiteral("<B>jeden</B> <B><I>dwa</I></B>"));
}

void TstInsertCommands::repeatAfterCancelledAnchor()
{
    ScriptedUser user;
    TOknoGl w;
    prepare(w, QStringLiteral("x"));
    TEditor *e = w.CurrentEditor();
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_UClick")));
    QCOMPARE(e->text(), QStringLiteral("x<U></U>"));
    user.inputs << std::nullopt; // the anchor question cancelled
    QVERIFY(!w.assist()->runInsertCommand(QStringLiteral("BtnAnchorClick")));
    QCOMPARE(user.prompts,
        QStringList { QStringLiteral("Zakotwiczenie|Podaj nazwę kotwicy, którą mam wstawić:") });
    QCOMPARE(e->text(), QStringLiteral("x<U></U>"));
    e->setSelection(0, 0);
    QToolButton *again = w.assist()->insertToolTabs()->button(QStringLiteral("BtnWstawJRaz"));
    QVERIFY(again);
    QTest::mouseClick(again, Qt::LeftButton);
    QCOMPARE(e->text(), QStringLiteral("<U></U>x<U></U>"));
    w.findChild<QAction *>(QStringLiteral("Wstawjeszczeraz1"))->trigger();
    QCOMPARE(e->text(), QStringLiteral("<U><U></U></U>x<U></U>"));
}

void TstInsertCommands::anchorAndDeclarationQuestions()
{
    ScriptedUser user;
    TOknoGl w;
    TEditor *e = load(w);
    user.inputs << QStringLiteral("góra") << QStringLiteral("ja@example.pl");
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnAnchorClick")));
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnMailClick")));
    QCOMPARE(e->text(), QStringLiteral("<A NAME=\"góra\"><A HREF=\"mailto:ja@example.pl\"></A></A>"));
    QCOMPARE(user.prompts.last(), QStringLiteral("Odnośnik e-mailowy|Podaj adres poczty elektronicznej:"));

    e->loadText(QString());
    QVERIFY(!e->state().iso());
    user.answers << QMessageBox::Yes;
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("WstawdeklaracjISO1Click")));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].icon, QMessageBox::Question);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Wstawianie deklaracji: pytanie"));
    QCOMPARE(user.asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(e->state().iso());
    user.answers << QMessageBox::No;
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("WstawdeklaracjWin1Click")));
    QVERIFY(e->state().iso());
    QCOMPARE(user.asked.size(), 2);
}

void TstInsertCommands::optionsReachTheCommands()
{
    TOknoGl w;
    TEditor *e = load(w);
    QVERIFY(!w.setupOptions().lowerCaseInsert);
    QVERIFY(!w.setupOptions().closeParagraph);
    QCOMPARE(w.setupOptions().alignCenter, QStringLiteral("<DIV ALIGN=\"Center\">"));
    setOption(w, &SetupOptions::lowerCaseInsert, true);
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnTblStartClick")));
    QCOMPARE(e->text(), QStringLiteral("<table border=\"2\">\n<tr>\n<td>\n</td>\n</tr>\n</table>"));
    setOption(w, &SetupOptions::lowerCaseInsert, false);
    e->loadText(QString());
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_PClick")));
    QCOMPARE(e->text(), QStringLiteral("<P>"));
    SetupOptions options = w.setupOptions();
    options.closeParagraph = true;
    options.alignLeft = QStringLiteral("<P ALIGN=\"Left\">");
    options.alignCenter = QStringLiteral("<CENTER>");
    options.alignRight = QStringLiteral("<P ALIGN=\"Right\">");
    w.setSetupOptions(options);
    e->loadText(QString());
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_PClick")));
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_CenterClick")));
    QCOMPARE(e->text(), QStringLiteral("<P><CENTER></CENTER></P>"));
    // The whole pair is kept for repeating, however long.
    const QString longText
        = QStringLiteral("<SPAN TITLE=\"") + QString(300, QLatin1Char('x')) + QStringLiteral("\">");
    QVERIFY(w.assist()->InsertPair(longText, QStringLiteral("</SPAN>")));
    QCOMPARE(w.assist()->lastInsertedOpening(), longText);
    QCOMPARE(w.assist()->lastInsertedClosing(), QStringLiteral("</SPAN>"));
}

void TstInsertCommands::styleFromSelectedTagInList()
{
    TOknoGl w;
    TEditor *e = load(w);
    // Nothing selected in the list: nothing inserted.
    QVERIFY(!w.assist()->runInsertCommand(QStringLiteral("BtnWstawJakoStylClick")));
    auto *list = w.findChild<QListWidget *>(QStringLiteral("ListaTagow"));
    const auto found = list->findItems(QStringLiteral("H1"), Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    list->setCurrentItem(found.first());
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnWstawJakoStylClick")));
    QCOMPARE(e->text(), QStringLiteral("\nH1 {}"));
    QCOMPARE(e->selStart(), 5);
}

void TstInsertCommands::entryModeFromCommands()
{
    TOknoGl w;
    prepare(w);
    TEditor *e = w.CurrentEditor();
    QTest::mouseClick(w.assist()->insertToolTabs()->button(QStringLiteral("BtnTblStart")), Qt::LeftButton);
    QCOMPARE(e->state().entryMode, 2);
    QVERIFY(w.findChild<QAction *>(QStringLiteral("BtnTabTryb"))->isChecked());
    QTest::keyClicks(e, QStringLiteral("a"));
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(
        e->text(), QStringLiteral("<TABLE BORDER=\"2\">\n<TR>\n<TD>a</TD>\n<TD>\n</TD>\n</TR>\n</TABLE>"));
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnULClick")));
    QCOMPARE(e->state().entryMode, 1);
    QVERIFY(w.findChild<QAction *>(QStringLiteral("BtnTrybList"))->isChecked());
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_BClick")));
    QCOMPARE(e->state().entryMode, 1); // other commands leave the mode alone
}

void TstInsertCommands::autoInterpretationLoadsInspector()
{
    TOknoGl w;
    prepare(w, QStringLiteral("tekst"));
    TEditor *e = w.CurrentEditor();
    e->setSelection(0, 5);
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_ArialClick")));
    QCOMPARE(w.assist()->tagInspector()->titleHint(), QStringLiteral("<FONT>"));
    // The word stays selected and the focus in the editor.
    QCOMPARE(e->selectedText(), QStringLiteral("tekst"));
    QVERIFY(e->hasFocus());
    // Switched off: the inspector is left alone.
    w.assist()->tagInspector()->clear();
    w.assist()->setAssistSwitch(QStringLiteral("ChkAuto"), false);
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Btn_BClick")));
    QVERIFY(w.assist()->tagInspector()->titleHint().isEmpty());
}

void TstInsertCommands::toolTabsDisabledWithoutDocument()
{
    ScriptedUser user;
    TOknoGl w;
    w.show();
    QVERIFY(w.assist()->insertToolTabs()->isEnabled());
    QVERIFY(w.documents().CloseAll());
    QVERIFY(!w.assist()->insertToolTabs()->isEnabled());
    QVERIFY(!w.menuNamed(QStringLiteral("Wstaw1"))->menuAction()->isEnabled());
    QVERIFY(!w.assist()->runInsertCommand(QStringLiteral("Btn_BClick")));
    w.documents().New();
    QVERIFY(w.assist()->insertToolTabs()->isEnabled());
}

void TstInsertCommands::userToolBarRunsTheWindowsCommands()
{
    // A slot names a button of the window's own tool tabs; its copy runs the command in
    // the current document.
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("x"));
    w.userToolBar()->setSlotNames({ QString(), QStringLiteral("Btn_U") });
    QToolButton *user = w.userToolBar()->userButton(2);
    QVERIFY(user);
    QCOMPARE(user->toolTip(), w.assist()->insertToolTabs()->button(QStringLiteral("Btn_U"))->toolTip());
    user->click();
    QCOMPARE(e->text(), QStringLiteral("x<U></U>"));
    // The HTML5 tab's buttons too, under the common rule (lower case when the option says).
    w.userToolBar()->setSlotNames({ QStringLiteral("Html5Section") });
    setOption(w, &SetupOptions::lowerCaseInsert, true);
    e->setSelection(0, 1);
    w.userToolBar()->userButton(1)->click();
    QCOMPARE(e->text(), QStringLiteral("<section>x</section><U></U>"));
}

void TstInsertCommands::doubleClickEditWritesTagBack()
{
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("<P>Zobacz <A HREF=\"a.html\" TITLE=x>tu</A>.</P>"), 14);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorDoubleClick(e));
    QCOMPARE(e->selectedText(), QStringLiteral("<A HREF=\"a.html\" TITLE=x>"));
    TagInspector *insp = w.assist()->tagInspector();
    QCOMPARE(insp->title(), QStringLiteral("Tag: <A>"));
    int href = -1;
    for (int i = 0; i < insp->rowCount(); ++i)
        if (insp->rowName(i) == QLatin1String("HREF"))
            href = i;
    QVERIFY(href >= 0);
    QCOMPARE(insp->rowValue(href), QStringLiteral("a.html"));
    // The user types into the value's editor in the grid.
    auto *edit = insp->rowEditor(href)->findChild<QLineEdit *>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("b.html"));
    // The tag's own arguments come first, then the shared ones (TITLE).
    const QString rebuilt = QStringLiteral("<A HREF=\"b.html\" TITLE=\"x\">");
    QCOMPARE(insp->rebuiltTag(), rebuilt);
    QCOMPARE(e->text(), QStringLiteral("<P>Zobacz ") + rebuilt + QStringLiteral("tu</A>.</P>"));
    QCOMPARE(e->selectedText(), rebuilt);
    // Undo restores the tag from before the editing in the grid, in one step.
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("<P>Zobacz <A HREF=\"a.html\" TITLE=x>tu</A>.</P>"));
}

void TstInsertCommands::realDoubleClickOnTagAndOnWord()
{
    TOknoGl w;
    prepare(w, QStringLiteral("<B CLASS=x>slowo</B>"), 0);
    TEditor *e = w.CurrentEditor();
    const QFontMetrics fm(e->font());
    QTextCursor c(e->document());
    c.setPosition(4);
    QPoint inTag = e->cursorRect(c).center();
    QTest::mouseDClick(e->viewport(), Qt::LeftButton, {}, inTag);
    QCOMPARE(e->selectedText(), QStringLiteral("<B CLASS=x>"));
    QCOMPARE(w.assist()->tagInspector()->titleHint(), QStringLiteral("<B>"));
    c.setPosition(14);
    QTest::mouseDClick(e->viewport(), Qt::LeftButton, {}, e->cursorRect(c).center());
    QCOMPARE(e->selectedText(), QStringLiteral("slowo"));
}

void TstInsertCommands::writeBackUndoAndGuards()
{
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("<TD ALIGN=left>a</TD>"), 3);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorDoubleClick(e));
    TagInspector *insp = w.assist()->tagInspector();
    const int align = rowNamed(*insp, QStringLiteral("ALIGN"));
    QVERIFY(align >= 0);
    // Text typed before the tag moves it; the write-back follows.
    e->setSelection(0, 0);
    QTest::keyClicks(e, QStringLiteral("xy "));
    QVERIFY(insp->setRowValue(align, QStringLiteral("right")));
    QCOMPARE(e->text(), QStringLiteral("xy <TD ALIGN=\"right\">a</TD>"));
    // Another document: the grid no longer writes anywhere.
    TEditor *other = w.documents().New();
    other->loadText(QStringLiteral("abc"));
    QVERIFY(insp->rowCount() == 0 || !insp->setRowValue(align, QStringLiteral("center")));
    QCOMPARE(other->text(), QStringLiteral("abc"));
    QCOMPARE(e->text(), QStringLiteral("xy <TD ALIGN=\"right\">a</TD>"));
    // A comment is not taken by the grid: the double-click selects a word.
    other->loadText(QStringLiteral("<!-- uwaga -->"));
    other->setSelection(6, 0);
    QVERIFY(!host.editorDoubleClick(other));
}

void TstInsertCommands::writeBackRunIsOneUndoStep()
{
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("<TD ALIGN=left>a</TD>"), 3);
    QVERIFY(static_cast<EditorHost &>(*w.assist()).editorDoubleClick(e));
    TagInspector *insp = w.assist()->tagInspector();
    const int align = rowNamed(*insp, QStringLiteral("ALIGN"));
    QVERIFY(align >= 0);
    // Edits of the same tag make one step: undo brings back the text from before them.
    QVERIFY(insp->setRowValue(align, QStringLiteral("right")));
    QVERIFY(insp->setRowValue(align, QStringLiteral("center")));
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=left>a</TD>"));
    // A snapshot another command took in between ends the run: the next edit's undo
    // stops after that command.
    e->setSelection(3, 0);
    QVERIFY(static_cast<EditorHost &>(*w.assist()).editorDoubleClick(e));
    QVERIFY(insp->setRowValue(align, QStringLiteral("right")));
    e->setSelection(int(e->text().size()), 0);
    QVERIFY(w.assist()->InsertPlain(QStringLiteral("!")));
    QVERIFY(insp->setRowValue(align, QStringLiteral("center")));
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"center\">a</TD>!"));
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"right\">a</TD>!"));
}

void TstInsertCommands::snippetsThroughTheInsertionRule_data()
{
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<int>("selLength"); // of "kot" in "ala kot ma", from 4
    QTest::addColumn<bool>("lowerCase");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<QString>("selected");
    QTest::newRow("pair keeps the selection")
        << QStringLiteral("<B>{{zaznaczenie}}</B>") << 3 << false << QStringLiteral("ala <B>kot</B> ma") << 7
        << QStringLiteral("kot");
    QTest::newRow("pair, caret after")
        << QStringLiteral("<A HREF=\"{{zaznaczenie}}\">{{kursor}}</A>") << 3 << false
        << QStringLiteral("ala <A HREF=\"kot\"></A> ma") << 18 << QString();
    QTest::newRow("pair, no selection")
        << QStringLiteral("<A HREF=\"{{zaznaczenie}}\">{{kursor}}</A>") << 0 << false
        << QStringLiteral("ala <A HREF=\"\"></A>kot ma") << 15 << QString();
    QTest::newRow("plain replaces") << QStringLiteral("<IMG SRC=\"{{kursor}}\">") << 3 << false
                                    << QStringLiteral("ala <IMG SRC=\"\"> ma") << 14 << QString();
    QTest::newRow("lower case, caret kept")
        << QStringLiteral("<P CLASS=\"{{kursor}}\">{{zaznaczenie}}</P>") << 3 << true
        << QStringLiteral("ala <p class=\"\">kot</p> ma") << 14 << QString();
}

void TstInsertCommands::snippetsThroughTheInsertionRule()
{
    QFETCH(QString, snippet);
    QFETCH(int, selLength);
    QFETCH(bool, lowerCase);
    TOknoGl w;
    setOption(w, &SetupOptions::lowerCaseInsert, lowerCase);
    TEditor *e = load(w, QStringLiteral("ala kot ma"));
    e->setSelection(4, selLength);
    QVERIFY(w.assist()->InsertSnippet(snippet));
    QTEST(e->text(), "expected");
    QTEST(e->selStart(), "selStart");
    QTEST(e->selectedText(), "selected");
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("ala kot ma"));
}

QTEST_MAIN(TstInsertCommands)
#include "tst_insertcommands.moc"
