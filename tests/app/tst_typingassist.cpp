#include "app/ui/thintballoon.h"
#include "app/ui/twstlist.h"
#include "assisttestsupport.h"
#include "base/codepage.h"
#include "tags/ui/taggrid.h"

#include <QMenu>
#include <QTableWidget>

using assisttest::load;
using assisttest::prepare;
using assisttest::ScriptedUser;
using assisttest::setOption;

// Typing in the main window's editor as a user does: the key handler with Enter, ">",
// overwrite and the parameter list, the switches, the status panels, the context menu's
// parameter inserter, the syntax hint and the tag preview file.
class TstTypingAssist : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void greaterClosesTag_data();
    void greaterClosesTag();
    void greaterClosingIsOneUndoStep();
    void valueListOffersListedValues_data();
    void valueListOffersListedValues();
    void dataAttributeEditedInInspector_data();
    void dataAttributeEditedInInspector();
    void spaceOpensParameterList_data();
    void spaceOpensParameterList();
    void parameterListInTheMiddleOfALongLine();
    void parameterListInAHiddenWindow();
    void typingGoesOnWhileListIsOpen();
    void choosingQuotedParameterLeavesCaretBetweenQuotes();
    void listKeysThatEndIt_data();
    void listKeysThatEndIt();
    void enterByEntryMode_data();
    void enterByEntryMode();
    void statusPanelsAndOverwrite();
    void switchesPersistBetweenRuns();
    void modeButtonsFollowTheDocument();
    void parInserterInsertsAtTagEnd();
    void syntaxHintConditions();
    void hintPreviewFileWrittenInDocumentFolder_data();
    void hintPreviewFileWrittenInDocumentFolder();
    void hintPreviewNeverWritesThroughAPlantedLink();
};

void TstTypingAssist::greaterClosesTag_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("optionalChoiceP"); // "" = not stored
    QTest::addColumn<bool>("closingOn");
    QTest::addColumn<bool>("lowerCase");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    QTest::newRow("<TD") << "<TD"
                         << "" << true << false << "<TD></TD>" << 4;
    QTest::newRow("<BR ends=0") << "<BR"
                                << "" << true << false << "<BR>" << 4;
    QTest::newRow("<P default") << "<P"
                                << "" << true << false << "<P></P>" << 3;
    QTest::newRow("<P stored no") << "<P"
                                  << "false" << true << false << "<P>" << 3;
    QTest::newRow("<P stored yes") << "<P"
                                   << "true" << true << false << "<P></P>" << 3;
    QTest::newRow("<table border=1") << "<table border=1"
                                     << "" << true << false << "<table border=1></table>" << 16;
    QTest::newRow("closing tag") << "</TD"
                                 << "" << true << false << "</TD>" << 5;
    QTest::newRow("outside tags") << "a"
                                  << "" << true << false << "a>" << 2;
    QTest::newRow("switch up") << "<TD"
                               << "" << false << false << "<TD>" << 4;
    // The closing follows the case the tag was typed in; the lower-case option is for commands.
    QTest::newRow("lower-case insertion, typed upper") << "<TD"
                                                       << "" << true << true << "<TD></TD>" << 4;
    QTest::newRow("typed lower") << "<section"
                                 << "" << true << false << "<section></section>" << 9;
    QTest::newRow("<img> void") << "<img src=\"a.png\" alt=\"\""
                                << "" << true << false << "<img src=\"a.png\" alt=\"\">" << 24;
    QTest::newRow("<source> void") << "<source src=\"f.webm\""
                                   << "" << true << false << "<source src=\"f.webm\">" << 21;
    QTest::newRow("<wbr> void") << "<wbr"
                                << "" << true << false << "<wbr>" << 5;
    QTest::newRow("<li> default") << "<li"
                                  << "" << true << false << "<li></li>" << 4;
    QTest::newRow("<li> stored no") << "<li"
                                    << "false" << true << false << "<li>" << 4;
    QTest::newRow("<svg> element closing itself")
        << "<svg><circle r=\"2\"/"
        << "" << true << false << "<svg><circle r=\"2\"/></svg>" << 20;
    QTest::newRow("inside a comment") << "<!-- <div"
                                      << "" << true << false << "<!-- <div>" << 10;
    QTest::newRow("<!DOCTYPE html>") << "<!DOCTYPE html"
                                     << "" << true << false << "<!DOCTYPE html>" << 15;
}

void TstTypingAssist::greaterClosesTag()
{
    QFETCH(QString, typed);
    QFETCH(QString, optionalChoiceP);
    QFETCH(bool, closingOn);
    QFETCH(bool, lowerCase);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    ScriptedUser user;
    TOknoGl w;
    // The "Zamykanie" choice for the typed tag, kept under its upper-case name.
    const QString tagName = typed.mid(1).section(QLatin1Char(' '), 0, 0).toUpper();
    if (!optionalChoiceP.isEmpty())
        w.settings().writeBool(
            QStringLiteral("Zamykanie"), tagName, optionalChoiceP == QLatin1String("true"));
    w.assist()->setAssistSwitch(QStringLiteral("ChkZamykanie"), closingOn);
    w.assist()->setAssistSwitch(QStringLiteral("ChkWstawiacz"), false); // spaces stay plain typing
    setOption(w, &SetupOptions::lowerCaseInsert, lowerCase);
    TEditor *e = load(w);
    QTest::keyClicks(e, typed);
    QTest::keyClick(e, '>');
    QCOMPARE(e->text(), expected);
    QCOMPARE(e->selStart(), caret);
    QCOMPARE(e->selLength(), 0);
    QVERIFY(user.asked.isEmpty());
}

void TstTypingAssist::greaterClosingIsOneUndoStep()
{
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("x <TD"));
    QTest::keyClick(e, '>');
    QCOMPARE(e->text(), QStringLiteral("x <TD></TD>"));
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("x <TD"));
}

void TstTypingAssist::valueListOffersListedValues_data()
{
    QTest::addColumn<QString>("typed"); // into the editor, ending with "=" or a chosen entry
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QString>("inList"); // typed while the list is open, then a key
    QTest::addColumn<QString>("expected"); // "|" marks the caret
    QTest::newRow("= after TYPE, a quote, a prefix, Enter") << "<input type=" << true << "\"em\n"
                                                            << "<input type=\"email\"|";
    QTest::newRow("= then Enter at once") << "<input type=" << true << "\n"
                                          << "<input type=\"text\"|";
    QTest::newRow("upper case tag") << "<INPUT TYPE=" << true << "ch\n"
                                    << "<INPUT TYPE=\"checkbox\"|";
    QTest::newRow("Escape keeps what was typed") << "<input type=" << true << "\"d\x1b"
                                                 << "<input type=\"d|";
    QTest::newRow("typing on past the value") << "<video preload=" << true << "\"auto\" "
                                              << "<video preload=\"auto\" |";
    QTest::newRow("no values: plain =") << "<input class=" << true << ""
                                        << "<input class=|";
    QTest::newRow("switched off") << "<input type=" << false << ""
                                  << "<input type=|";
}

void TstTypingAssist::valueListOffersListedValues()
{
    QFETCH(QString, typed);
    QFETCH(bool, switchOn);
    QFETCH(QString, inList);
    QFETCH(QString, expected);
    TOknoGl w;
    w.assist()->setAssistSwitch(QStringLiteral("ChkWstawiacz"), switchOn);
    prepare(w);
    TEditor *e = w.CurrentEditor();
    // Each key where the user's would go: the space opens the parameter list, which then
    // has the focus.
    const auto type = [](const QString &keys) {
        for (const QChar c : keys) {
            QWidget *target = QApplication::focusWidget();
            if (c == QLatin1Char('\n'))
                QTest::keyClick(target, Qt::Key_Return);
            else if (c == QChar(0x1b))
                QTest::keyClick(target, Qt::Key_Escape);
            else
                QTest::keyClick(target, c.toLatin1());
        }
    };
    type(typed);
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    const bool opens = !inList.isEmpty();
    QCOMPARE(list->isVisible(), opens);
    if (opens) {
        // Every value tags.ini lists for the parameter, as it writes them.
        const QString tag = typed.mid(1).section(QLatin1Char(' '), 0, 0);
        const QString arg = typed.section(QLatin1Char(' '), 1).chopped(1);
        const QStringList values = TagDefs::shared().argDescriptor(tag, arg).choices();
        QVERIFY(values.size() >= 3);
        QCOMPARE(list->count(), values.size());
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(list->item(i)->text(), values.at(i));
        type(inList);
        // A space after the value opens the parameter list again.
        QCOMPARE(list->isVisible(), inList.endsWith(QLatin1Char(' ')));
    }
    QString shown = e->text();
    shown.insert(e->selStart(), QLatin1Char('|'));
    QCOMPARE(shown, expected);
}

void TstTypingAssist::dataAttributeEditedInInspector_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lowerCaseEdit");
    QTest::addColumn<QString>("rebuilt");
    QTest::newRow("upper-case tag") << "<SECTION data-id=\"42\" HIDDEN>x</SECTION>" << false
                                    << "<SECTION HIDDEN DATA-ID=\"43\">x</SECTION>";
    QTest::newRow("lower-case editing") << "<section data-id=\"42\" hidden>x</section>" << true
                                        << "<section hidden data-id=\"43\">x</section>";
}

void TstTypingAssist::dataAttributeEditedInInspector()
{
    QFETCH(QString, text);
    QFETCH(bool, lowerCaseEdit);
    QFETCH(QString, rebuilt);
    TOknoGl w;
    setOption(w, &SetupOptions::lowerCaseEdit, lowerCaseEdit);
    TEditor *e = load(w, text, 3);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorDoubleClick(e));
    TagInspector *insp = w.assist()->tagInspector();
    int row = -1;
    for (int i = 0; i < insp->rowCount(); ++i)
        if (insp->rowName(i) == QLatin1String("data-id"))
            row = i;
    QVERIFY(row >= 0);
    QCOMPARE(insp->rowKind(row), QStringLiteral("text"));
    QCOMPARE(insp->rowValue(row), QStringLiteral("42"));
    QVERIFY(insp->remainder().isEmpty());
    QVERIFY(insp->setRowValue(row, QStringLiteral("43")));
    QCOMPARE(e->text(), rebuilt);
}

void TstTypingAssist::spaceOpensParameterList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("entry"); // an entry the list must hold

    QTest::newRow("after tag name") << "<A" << true << "HREF=\"\"";
    QTest::newRow("after a value") << "<IMG SRC=\"a.gif\"" << true << "ALT=\"\"";
    QTest::newRow("bool entry bare") << "<TD" << true << "NOWRAP";
    QTest::newRow("inside quoted value") << "<A HREF=\"a" << false << "";
    QTest::newRow("outside tags") << "<B>text" << false << "";
    QTest::newRow("tag without parameters") << "<NOBR" << false << "";
    QTest::newRow("unknown tag") << "<XYZ" << false << "";
    QTest::newRow("lower case: entries in lower case") << "<video" << true << "controls";
    QTest::newRow("own parameters first") << "<input" << true << "type=\"\"";
    QTest::newRow("<svg>") << "<svg" << true << "viewbox=\"\"";
    QTest::newRow("<template>") << "<template" << true << "shadowrootmode=\"\"";
    QTest::newRow("element inside <svg>") << "<svg><path" << false << "";
    QTest::newRow("<!DOCTYPE>") << "<!DOCTYPE html" << false << "";
    QTest::newRow("comment") << "<!-- komentarz" << false << "";
}

void TstTypingAssist::spaceOpensParameterList()
{
    QFETCH(QString, text);
    QFETCH(bool, opens);
    QFETCH(QString, entry);
    TOknoGl w;
    prepare(w, text);
    TEditor *e = w.CurrentEditor();
    QTest::keyClick(e, ' ');
    // The space lands in the document either way, exactly once.
    QCOMPARE(e->text(), text + QLatin1Char(' '));
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(list);
    QCOMPARE(list->isVisible(), opens);
    if (!opens)
        return;
    QCOMPARE(list->Tag, int(text.size()) + 1);
    QVERIFY(!list->findItems(entry, Qt::MatchExactly).isEmpty());
    QCOMPARE(list->currentRow(), 0);
    if (text == QLatin1String("<input"))
        QCOMPARE(list->item(0)->text(), entry);
    // The list opens under the caret's line, inside the window.
    const QRect caret = e->cursorRect();
    const QPoint caretInWindow = e->viewport()->mapTo(&w, caret.topLeft());
    QVERIFY(list->geometry().top() > caretInWindow.y());
    QCOMPARE(list->geometry().left(), caretInWindow.x());
    QVERIFY(w.rect().contains(list->geometry()));
}

void TstTypingAssist::parameterListInTheMiddleOfALongLine()
{
    // One line of 2 MB of minified markup, the caret after a value of a tag in its middle.
    QString half;
    while (half.size() < 1000 * 1000)
        half += QStringLiteral("<p class=\"x\">tekst akapitu</p>");
    const QString tag = QStringLiteral("<IMG SRC=\"a.gif\"");
    const QString text = half + tag + QStringLiteral(">") + half;
    const int caret = int(half.size() + tag.size());
    TOknoGl w;
    prepare(w, text, caret);
    TEditor *e = w.CurrentEditor();
    QTest::keyClick(e, ' ');
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(list->isVisible());
    QCOMPARE(list->Tag, caret + 1);
    QVERIFY(!list->findItems(QStringLiteral("ALT=\"\""), Qt::MatchExactly).isEmpty());
    QCOMPARE(e->textAccess().mid(caret - 4, 6), QStringLiteral("gif\" >"));
}

void TstTypingAssist::parameterListInAHiddenWindow()
{
    // The list is a child of the window: with the window off the screen it is never
    // visible, yet it opens, takes the typing and inserts the chosen entry all the same.
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("<TD"));
    QTest::keyClick(e, ' ');
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(!list->isHidden());
    QVERIFY(!w.assist()->ShowSyntaxHint());
    QTest::keyClicks(list, QStringLiteral("al"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"\""));
    QCOMPARE(e->selStart(), 11);
    // ALIGN's values follow; Escape leaves the quotes empty.
    QVERIFY(!list->isHidden());
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(list->isHidden());
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"\""));
}

void TstTypingAssist::typingGoesOnWhileListIsOpen()
{
    TOknoGl w;
    prepare(w, QStringLiteral("<TD"));
    TEditor *e = w.CurrentEditor();
    QTest::keyClick(e, ' ');
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(list->isVisible());
    QTest::keyClicks(list, QStringLiteral("ali"));
    QCOMPARE(e->text(), QStringLiteral("<TD ali"));
    QVERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Backspace);
    QCOMPARE(e->text(), QStringLiteral("<TD al"));
    // The entry that begins with what was typed is current; Enter takes it and replaces
    // what was typed since the list opened.
    QCOMPARE(list->currentItem()->text(), QStringLiteral("ALIGN=\"\""));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"\""));
    QCOMPARE(e->selStart(), 11);
    // The values of ALIGN come next, and typing picks among them too.
    QVERIFY(list->isVisible());
    QTest::keyClicks(list, QStringLiteral("c"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("center"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(e->text(), QStringLiteral("<TD ALIGN=\"center\""));
    QCOMPARE(e->selStart(), int(e->text().size()));
    QVERIFY(!list->isVisible());
}

void TstTypingAssist::choosingQuotedParameterLeavesCaretBetweenQuotes()
{
    TOknoGl w;
    prepare(w, QStringLiteral("<p><a>x</a>"), 5);
    TEditor *e = w.CurrentEditor();
    QTest::keyClick(e, ' ');
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(list->isVisible());
    // In the case of the tag they go into.
    const auto found = list->findItems(QStringLiteral("href=\"\""), Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    // A mouse click on the item chooses it.
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    QCOMPARE(e->text(), QStringLiteral("<p><a href=\"\">x</a>"));
    QCOMPARE(e->selStart(), 12);
    QCOMPARE(e->selLength(), 0);
    QVERIFY(!list->isVisible());
    QTest::keyClicks(e, QStringLiteral("b c.html"));
    QCOMPARE(e->text(), QStringLiteral("<p><a href=\"b c.html\">x</a>"));
}

void TstTypingAssist::listKeysThatEndIt_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Escape") << "Esc"
                            << "<A ";
    QTest::newRow("=") << "="
                       << "<A =";
    QTest::newRow("quote") << "\""
                           << "<A \"";
    QTest::newRow(">") << ">"
                       << "<A ></A>";
}

void TstTypingAssist::listKeysThatEndIt()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TOknoGl w;
    prepare(w, QStringLiteral("<A"));
    TEditor *e = w.CurrentEditor();
    QTest::keyClick(e, ' ');
    auto *list = w.findChild<TWstList *>(QStringLiteral("WstList"));
    QVERIFY(list->isVisible());
    if (key == QLatin1String("Esc"))
        QTest::keyClick(list, Qt::Key_Escape);
    else
        QTest::keyClick(list, key.at(0).toLatin1());
    QCOMPARE(e->text(), expected);
    QVERIFY(!list->isVisible());
}

void TstTypingAssist::enterByEntryMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("indentOn");
    QTest::addColumn<QString>("expected");
    const QString before = QStringLiteral("<TABLE>\n  \t<TD>x");
    QTest::newRow("table cell") << 2 << false << true << before + QStringLiteral("</TD>\n  \t<TD>");
    QTest::newRow("table row (Shift)")
        << 2 << true << true << before + QStringLiteral("</TD>\n  \t</TR><TR>\n  \t<TD>");
    QTest::newRow("list item") << 1 << false << true << before + QStringLiteral("\n  \t<LI>");
    QTest::newRow("normal") << 0 << false << true << before + QStringLiteral("\n  \t");
    QTest::newRow("normal, no indent") << 0 << false << false << before + QStringLiteral("\n");
    QTest::newRow("table cell, no indent") << 2 << false << false << before + QStringLiteral("</TD>\n<TD>");
}

void TstTypingAssist::enterByEntryMode()
{
    QFETCH(int, mode);
    QFETCH(bool, shift);
    QFETCH(bool, indentOn);
    QFETCH(QString, expected);
    TOknoGl w;
    w.assist()->setAssistSwitch(QStringLiteral("ChkIndent"), indentOn);
    setOption(w, &SetupOptions::lowerCaseInsert, true); // Enter's texts are inserted as written all the same
    TEditor *e = load(w, QStringLiteral("<TABLE>\n  \t<TD>x"));
    e->state().entryMode = mode;
    QTest::keyClick(e, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(e->text(), expected);
    QCOMPARE(e->selStart(), int(expected.size()));
}

void TstTypingAssist::statusPanelsAndOverwrite()
{
    ScriptedUser user;
    user.answers << QMessageBox::No; // do not save at the end
    TOknoGl w;
    load(w, QStringLiteral("ab\ncd"), 0);
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(0), QStringLiteral("0:0"));
    QCOMPARE(w.statusPanel(2), QStringLiteral("INS"));
    TEditor *e = w.CurrentEditor();
    e->setSelection(4, 0);
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(0), QStringLiteral("1:1"));

    QTest::keyClick(e, Qt::Key_Insert);
    QVERIFY(w.assist()->overwriteMode());
    QCOMPARE(w.statusPanel(2), QStringLiteral("OVR"));
    e->setSelection(0, 0);
    QTest::keyClicks(e, QStringLiteral("XY"));
    QCOMPARE(e->text(), QStringLiteral("XY\ncd"));
    // At the line's end the typed character takes the line break's place.
    QTest::keyClick(e, 'Z');
    QCOMPARE(e->text(), QStringLiteral("XYZcd"));
    // A selection is replaced as usual, not one character more.
    e->setSelection(0, 2);
    QTest::keyClick(e, 'q');
    QCOMPARE(e->text(), QStringLiteral("qZcd"));
    QTest::keyClick(e, Qt::Key_Insert);
    QVERIFY(!w.assist()->overwriteMode());
    QTest::keyClick(e, 'r');
    QCOMPARE(e->text(), QStringLiteral("qrZcd"));
    QCOMPARE(w.statusPanel(2), QStringLiteral("INS"));

    QVERIFY(w.documents().CloseAll());
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(0), QStringLiteral("?"));
    QCOMPARE(w.statusPanel(1), QStringLiteral("?"));
}

void TstTypingAssist::switchesPersistBetweenRuns()
{
    const QStringList names = { QStringLiteral("ChkHTMLHint"), QStringLiteral("ChkWstawiacz"),
        QStringLiteral("ChkZamykanie"), QStringLiteral("ChkAuto"), QStringLiteral("ChkIndent") };
    {
        TOknoGl w;
        for (const QString &n : names) {
            auto *a = w.findChild<QAction *>(n);
            QVERIFY2(a, qPrintable(n));
            QVERIFY2(a->isChecked(), qPrintable(n)); // all down at first
            QVERIFY(!a->toolTip().isEmpty());
        }
        // The user clicks two of them up.
        w.findChild<QAction *>(QStringLiteral("ChkZamykanie"))->trigger();
        w.findChild<QAction *>(QStringLiteral("ChkAuto"))->trigger();
        QVERIFY(w.settings().sync());
    }
    TOknoGl w;
    QVERIFY(w.assist()->assistSwitch(QStringLiteral("ChkHTMLHint")));
    QVERIFY(!w.assist()->assistSwitch(QStringLiteral("ChkZamykanie")));
    QVERIFY(!w.assist()->assistSwitch(QStringLiteral("ChkAuto")));
    QVERIFY(w.assist()->assistSwitch(QStringLiteral("ChkIndent")));
    load(w, QStringLiteral("<TD"));
    QTest::keyClick(w.CurrentEditor(), '>');
    QCOMPARE(w.CurrentEditor()->text(), QStringLiteral("<TD>"));
}

void TstTypingAssist::modeButtonsFollowTheDocument()
{
    ScriptedUser user;
    TOknoGl w;
    load(w);
    auto *list = w.findChild<QAction *>(QStringLiteral("BtnTrybList"));
    auto *table = w.findChild<QAction *>(QStringLiteral("BtnTabTryb"));
    QVERIFY(list && table);
    TEditor *first = w.CurrentEditor();
    list->trigger();
    QCOMPARE(first->state().entryMode, 1);
    QVERIFY(list->isChecked());
    table->trigger();
    QCOMPARE(first->state().entryMode, 2);
    QVERIFY(!list->isChecked());
    QVERIFY(table->isChecked());
    // Each document keeps its own mode; the buttons show the current one's.
    TEditor *second = w.documents().New();
    w.Timer1Timer();
    QCOMPARE(second->state().entryMode, 0);
    QVERIFY(!table->isChecked());
    w.documents().activate(0);
    QVERIFY(table->isChecked());
    table->trigger();
    QCOMPARE(first->state().entryMode, 0);
    QVERIFY(w.documents().CloseAll());
    QVERIFY(!list->isEnabled());
    QVERIFY(!table->isEnabled());
}

void TstTypingAssist::parInserterInsertsAtTagEnd()
{
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("<IMG SRC=\"a b.gif\">"), 12);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorContextMenu(e, e->mapToGlobal(QPoint(5, 5))));
    QMenu *popup = w.assist()->editorPopup();
    QCOMPARE(popup->objectName(), QStringLiteral("EditorPopup"));
    QVERIFY(popup->isVisible());
    auto *par = w.findChild<QMenu *>(QStringLiteral("ParInserter"));
    QVERIFY(par && par->menuAction()->isEnabled());
    QAction *alt = nullptr;
    for (QAction *a : par->actions())
        if (a->text() == QLatin1String("ALT=\"\""))
            alt = a;
    QVERIFY(alt);
    popup->hide();
    alt->trigger();
    // After the quoted value the caret stood in, between the new quotes.
    QCOMPARE(e->text(), QStringLiteral("<IMG SRC=\"a b.gif\" ALT=\"\">"));
    QCOMPARE(e->selStart(), 24);
    // With a selection the sub-menu is disabled.
    e->setSelection(0, 3);
    QVERIFY(host.editorContextMenu(e, e->mapToGlobal(QPoint(5, 5))));
    QVERIFY(!par->menuAction()->isEnabled());
    popup->hide();
}

void TstTypingAssist::syntaxHintConditions()
{
    TOknoGl w;
    load(w, QStringLiteral("<TD ALIGN=left>x"), 4);
    auto *balloon = qobject_cast<THintBalloon *>(w.assist()->syntaxHintBalloon());
    QVERIFY(balloon);
    QVERIFY(w.assist()->ShowSyntaxHint());
    QVERIFY(balloon->isVisible());
    QVERIFY(balloon->text().startsWith(QStringLiteral("TD: ")));
    QVERIFY(balloon->text().contains(QLatin1Char('\n')));
    QCOMPARE(balloon->palette().color(QPalette::Window), QColor(0x8F, 0xF2, 0x95));
    QVERIFY(balloon->maximumWidth() <= balloon->screen()->availableGeometry().width() / 2);
    // Under the caret's line.
    TEditor *e = w.CurrentEditor();
    QVERIFY(balloon->geometry().top() > e->viewport()->mapToGlobal(e->cursorRect().topLeft()).y());

    // Moving out of the tag takes the balloon away.
    e->setSelection(16, 0);
    w.Timer1Timer();
    QVERIFY(!balloon->isVisible());
    QVERIFY(w.assist()->ShowSyntaxHint() == false);
    e->setSelection(4, 0);
    QVERIFY(w.assist()->ShowSyntaxHint());
    QTest::keyClick(e, Qt::Key_Escape);
    QVERIFY(!balloon->isVisible());
    QVERIFY(!balloon->isVisible());
    e->setSelection(1, 2); // a selection
    QVERIFY(!w.assist()->ShowSyntaxHint());
    e->setSelection(4, 0);
    w.assist()->setAssistSwitch(QStringLiteral("ChkHTMLHint"), false);
    QVERIFY(!w.assist()->ShowSyntaxHint());
    w.assist()->setAssistSwitch(QStringLiteral("ChkHTMLHint"), true);
    QTest::keyClick(e, ' '); // the list is open
    QVERIFY(!w.assist()->ShowSyntaxHint());
}

void TstTypingAssist::hintPreviewFileWrittenInDocumentFolder_data()
{
    QTest::addColumn<int>("mode"); // how the document is opened
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("sample"); // the sample text's bytes
    QTest::newRow("Windows-1250") << 1 << QByteArray("windows-1250")
                                  << CodePage::encode(QStringLiteral("Zażółć"), CodePage::Windows1250);
    QTest::newRow("UTF-8: the document's own")
        << 3 << QByteArray("utf-8") << QByteArray("Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87");
}

void TstTypingAssist::hintPreviewFileWrittenInDocumentFolder()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, sample);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("strona.html"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<P ALIGN=left>tekst</P>");
    }
    ScriptedUser user;
    TOknoGl w;
    QVERIFY(w.documents().Open(file, mode) > 0);
    w.show();
    TEditor *e = w.CurrentEditor();
    setOption(w, &SetupOptions::pdUse, true);
    setOption(w, &SetupOptions::sampleText, QStringLiteral("Zażółć"));
    QSignalSpy written(w.assist(), &AssistController::hintPreviewWritten);
    e->setSelection(3, 0);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorDoubleClick(e));
    TagInspector *insp = w.assist()->tagInspector();
    int row = -1;
    for (int i = 0; i < insp->rowCount(); ++i)
        if (insp->rowName(i).compare(QLatin1String("ALIGN"), Qt::CaseInsensitive) == 0)
            row = i;
    QVERIFY(row >= 0);
    QVERIFY(insp->setRowValue(row, QStringLiteral("center")));
    const QString path = dir.filePath(QStringLiteral("~Markora$Hint.html"));
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.first().first().toString(), path);
    QVERIFY(w.temporaryFiles().paths().contains(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("<html><head><META HTTP-EQUIV=\"Content-type\" CONTENT=\"text/html;charset="
        + charset + "\"></head><body><P ALIGN=\"center\">"));
    QVERIFY(bytes.contains(sample));
    // Written again, registered once.
    QVERIFY(insp->setRowValue(row, QStringLiteral("right")));
    QCOMPARE(written.size(), 2);
    QCOMPARE(w.temporaryFiles().paths().count(path), 1);
    QVERIFY(user.asked.isEmpty());
    // Off: no file.
    setOption(w, &SetupOptions::pdUse, false);
    QVERIFY(insp->setRowValue(row, QStringLiteral("left")));
    QCOMPARE(written.size(), 2);
    QCOMPARE(e->text(), QStringLiteral("<P ALIGN=\"left\">tekst</P>"));
}

void TstTypingAssist::hintPreviewNeverWritesThroughAPlantedLink()
{
    QTemporaryDir shared, home, runtime;
    testsupport::ScopedEnv privateFolder("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString victim
        = testsupport::writeFile(home.filePath(QStringLiteral("praca.html")), "the user's work");
    const QString file
        = testsupport::writeFile(shared.filePath(QStringLiteral("strona.html")), "<P ALIGN=left>x</P>");
    const QString planted = shared.filePath(QStringLiteral("~Markora$Hint.html"));
    QVERIFY(QFile::link(victim, planted));
    ScriptedUser user;
    TOknoGl w;
    QVERIFY(w.documents().Open(file, 1) > 0);
    w.show();
    TEditor *e = w.CurrentEditor();
    setOption(w, &SetupOptions::pdUse, true);
    QSignalSpy written(w.assist(), &AssistController::hintPreviewWritten);
    e->setSelection(3, 0);
    EditorHost &host = *w.assist();
    QVERIFY(host.editorDoubleClick(e));
    TagInspector *insp = w.assist()->tagInspector();
    QVERIFY(insp->rowCount() > 0);
    QVERIFY(insp->setRowValue(0, QStringLiteral("center")));
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.first().first().toString(), runtime.filePath(QStringLiteral("~Markora$Hint.html")));
    QCOMPARE(testsupport::readFile(victim), QByteArray("the user's work"));
    QVERIFY(QFileInfo(planted).isSymLink());
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.first().caption, QStringLiteral("Podgląd znacznika: ostrzeżenie"));
}

QTEST_MAIN(TstTypingAssist)
#include "tst_typingassist.moc"
