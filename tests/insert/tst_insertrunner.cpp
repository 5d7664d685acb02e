#include "base/documents.h"
#include "insert/insertrunner.h"

#include <QTest>

namespace {

// Scripted answers; records what was asked.
class ScriptedInteraction : public InsertInteraction
{
public:
    std::optional<QString> answer = QStringLiteral("x");
    bool yes = true;
    bool tagFound = true;
    QString selectedTag = QStringLiteral("TD");
    QStringList asked;
    int interpretations = 0;

    std::optional<QString> askText(const QString &title, const QString &prompt) override
    {
        asked << title + QLatin1Char('|') + prompt;
        return answer;
    }
    bool askYesNo(const QString &title, const QString &question) override
    {
        asked << title + QLatin1Char('|') + question;
        return yes;
    }
    bool interpretTag(EditableDocument &) override
    {
        ++interpretations;
        return tagFound;
    }
    QString selectedTagName() override { return selectedTag; }
    // What a dialog gives: a pair with an attribute, for the lower-case option to keep.
    ResolvedInsertion dialogAnswer { InsertMode::Pair, QStringLiteral("<IMG SRC=\"A.PNG\">"), QString() };
    ResolvedInsertion askDialog(const InsertCommand &command, EditableDocument &) override
    {
        asked << command.dialog;
        return dialogAnswer;
    }
};

const QString kText = QStringLiteral("abc word def");

} // namespace

class TestInsertRunner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyCommand_data();
    void everyCommand();
    void tableStartInLowerCase();
    void boldAroundSelectedWord();
    void repeatAfterCancelledAnchor();
    void tagOneInsertsOnlyOpening();
    void charsetDeclaration_data();
    void charsetDeclaration();
    void charsetDeclarationCodePages_data();
    void charsetDeclarationCodePages();
    void ssiMenuClearsAutoInterpretation();
    void pairNotRememberedWithoutTag();
    void lastPairKeptWhole();
};

void TestInsertRunner::everyCommand_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("lowerCase");
    const auto &table = insertCommands();
    for (size_t i = 0; i < table.size(); ++i) {
        for (bool lower : { false, true }) {
            const QByteArray name = table[i].objectName.toUtf8() + (lower ? " lower" : " upper");
            QTest::newRow(name.constData()) << int(i) << lower;
        }
    }
}

// Every row on "abc word def" with "word" selected: the text and selection the row's
// texts call for, in both letter cases.
void TestInsertRunner::everyCommand()
{
    QFETCH(int, index);
    QFETCH(bool, lowerCase);
    const InsertCommand &c = insertCommands()[size_t(index)];
    ScriptedInteraction ui;
    InsertCommandRunner runner(&ui);
    InsertSettings settings;
    settings.lowerCase = lowerCase;
    runner.setSettings(settings);
    StringDocument doc(1, kText);
    doc.setSelection(4, 4);

    const std::optional<QString> answer
        = c.kind == InsertKind::StyleFromTag ? std::optional<QString>(ui.selectedTag) : ui.answer;
    const ResolvedInsertion r
        = c.kind == InsertKind::Dialog ? ui.dialogAnswer : resolveCommand(c, settings, answer);
    const InsertRunResult result = runner.run(index, doc);
    if (c.kind == InsertKind::Dialog)
        QCOMPARE(ui.asked, QStringList { c.dialog });

    const QString o = lowerCase && r.mode != InsertMode::Plain ? LowerCaseTags(r.opening) : r.opening;
    const QString cl = lowerCase ? LowerCaseTags(r.closing) : r.closing;
    switch (r.mode) {
    case InsertMode::None: // only "Wstaw jeszcze raz", with nothing inserted before
        QCOMPARE(c.kind, InsertKind::Repeat);
        QVERIFY(!result.inserted);
        QCOMPARE(doc.text(), kText);
        return;
    case InsertMode::Plain:
        QVERIFY(!o.isEmpty());
        QCOMPARE(doc.text(), QStringLiteral("abc ") + o + QStringLiteral(" def"));
        QCOMPARE(doc.selStart(), 4 + o.size());
        QCOMPARE(doc.selLength(), 0);
        QVERIFY(!runner.hasLastPair());
        return;
    case InsertMode::Pair:
        QCOMPARE(
            doc.text(), QStringLiteral("abc ") + o + QStringLiteral("word") + cl + QStringLiteral(" def"));
        QCOMPARE(doc.selStart(), 4 + o.size());
        break;
    case InsertMode::Block:
        QCOMPARE(doc.text(),
            QStringLiteral("abc \n") + o + QStringLiteral("word")
                + (cl.isEmpty() ? QString() : QLatin1Char('\n') + cl) + QStringLiteral(" def"));
        QCOMPARE(doc.selStart(), 5 + o.size());
        break;
    }
    QVERIFY(!o.isEmpty() || !cl.isEmpty());
    QCOMPARE(doc.selectedText(), QStringLiteral("word"));
    QCOMPARE(result.entryMode, c.entryMode);
    QCOMPARE(runner.lastOpening(), o);
    QCOMPARE(runner.lastClosing(), cl);
    QCOMPARE(ui.interpretations, c.clearsAutoInterpretation ? 0 : 1);
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), kText);
}

void TestInsertRunner::tableStartInLowerCase()
{
    InsertCommandRunner runner;
    InsertSettings s;
    s.lowerCase = true;
    runner.setSettings(s);
    StringDocument doc(1, kText);
    doc.setSelection(4, 4);
    const InsertRunResult r = runner.run(u"BtnTblStartClick", doc);
    QCOMPARE(
        doc.text(), QStringLiteral("abc <table border=\"2\">\n<tr>\n<td>word\n</td>\n</tr>\n</table> def"));
    QCOMPARE(doc.selectedText(), QStringLiteral("word"));
    QCOMPARE(r.entryMode, 2);
}

void TestInsertRunner::boldAroundSelectedWord()
{
    InsertCommandRunner runner;
    StringDocument doc(1, kText);
    doc.setSelection(4, 4);
    runner.run(u"Btn_BClick", doc);
    QCOMPARE(doc.text(), QStringLiteral("abc <B>word</B> def"));
    QCOMPARE(doc.selStart(), 7);
    QCOMPARE(doc.selLength(), 4);
    QCOMPARE(runner.lastOpening(), QStringLiteral("<B>"));
    QCOMPARE(runner.lastClosing(), QStringLiteral("</B>"));
}

void TestInsertRunner::repeatAfterCancelledAnchor()
{
    ScriptedInteraction ui;
    InsertCommandRunner runner(&ui);
    StringDocument doc(1, kText);
    doc.setSelection(0, 3);
    runner.run(u"Btn_IClick", doc);
    QCOMPARE(doc.text(), QStringLiteral("<I>abc</I> word def"));

    ui.answer.reset();
    doc.setSelection(11, 4);
    const InsertRunResult cancelled = runner.run(u"BtnAnchorClick", doc);
    QVERIFY(!cancelled.inserted);
    QCOMPARE(ui.asked.size(), 1);
    QCOMPARE(ui.asked.first(), QStringLiteral("Zakotwiczenie|Podaj nazwę kotwicy, którą mam wstawić:"));
    QCOMPARE(doc.text(), QStringLiteral("<I>abc</I> word def"));
    // A cancelled dialog, and a date (text, put in as entities are), leave it too.
    ui.dialogAnswer = ResolvedInsertion();
    QVERIFY(!runner.run(u"BtnObrazekClick", doc).inserted);
    ui.dialogAnswer = { InsertMode::Plain, QStringLiteral("6 maja 2024"), QString() };
    doc.setSelection(0, 0);
    QVERIFY(runner.run(u"BtnDataClick", doc).inserted);
    QCOMPARE(doc.text(), QStringLiteral("6 maja 2024<I>abc</I> word def"));
    doc.setSelection(22, 4);

    const InsertRunResult again = runner.run(u"Wstawjeszczeraz1", doc);
    QVERIFY(again.inserted);
    QCOMPARE(doc.text(), QStringLiteral("6 maja 2024<I>abc</I> <I>word</I> def"));
    QCOMPARE(doc.selectedText(), QStringLiteral("word"));
}

void TestInsertRunner::tagOneInsertsOnlyOpening()
{
    InsertCommandRunner runner;
    StringDocument doc(1, kText);
    doc.setSelection(4, 4);
    runner.run(u"ZnacznikLI", doc);
    QCOMPARE(doc.text(), QStringLiteral("abc <LI>word def"));
    QCOMPARE(doc.selectedText(), QStringLiteral("word"));
    QCOMPARE(runner.lastClosing(), QString());
}

void TestInsertRunner::charsetDeclaration_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("isoBefore");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("isoAfter");
    QTest::newRow("ISO on a Win document, Yes")
        << QStringLiteral("WstawdeklaracjISO1Click") << false << true << true << true;
    QTest::newRow("ISO on a Win document, No")
        << QStringLiteral("WstawdeklaracjISO1Click") << false << false << true << false;
    QTest::newRow("ISO on an ISO document")
        << QStringLiteral("WstawdeklaracjISO1Click") << true << true << false << true;
    QTest::newRow("Win on an ISO document, Yes")
        << QStringLiteral("WstawdeklaracjWin1Click") << true << true << true << false;
    QTest::newRow("Win on an ISO document, No")
        << QStringLiteral("WstawdeklaracjWin1Click") << true << false << true << true;
    QTest::newRow("Win on a Win document")
        << QStringLiteral("WstawdeklaracjWin1Click") << false << true << false << false;
}

void TestInsertRunner::charsetDeclaration()
{
    QFETCH(QString, command);
    QFETCH(bool, isoBefore);
    QFETCH(bool, yes);
    QFETCH(bool, asked);
    QFETCH(bool, isoAfter);
    ScriptedInteraction ui;
    ui.yes = yes;
    InsertCommandRunner runner(&ui);
    StringDocument doc(1, kText);
    doc.state().setIso(isoBefore);
    doc.setSelection(0, 0);
    runner.run(command, doc);
    QVERIFY(doc.text().startsWith(QLatin1String("<META HTTP-EQUIV=\"Content-Type\"")));
    QCOMPARE(doc.text().size(),
        kText.size() + insertCommands()[size_t(findInsertCommand(command))].opening.size());
    QCOMPARE(ui.asked.size(), asked ? 1 : 0);
    if (asked)
        QVERIFY(
            ui.asked.first().startsWith(QLatin1String("Wstawianie deklaracji: pytanie|Kodowanie ustawione")));
    QCOMPARE(doc.state().iso(), isoAfter);
}

void TestInsertRunner::charsetDeclarationCodePages_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("before"); // DocumentEncoding::Id
    QTest::addColumn<bool>("bomBefore");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("bomAfter");
    const int win = DocumentEncoding::Windows1250, iso = DocumentEncoding::Iso8859_2,
              utf8 = DocumentEncoding::Utf8;
    const QString u = QStringLiteral("WstawdeklaracjUTF81Click");
    QTest::newRow("UTF-8 on a Win document, Yes") << u << win << false << true << true << utf8 << false;
    QTest::newRow("UTF-8 on an ISO document, No") << u << iso << false << false << true << iso << false;
    QTest::newRow("UTF-8 on a UTF-8 document") << u << utf8 << true << true << false << utf8 << true;
    QTest::newRow("Win on a UTF-8 document, Yes")
        << QStringLiteral("WstawdeklaracjWin1Click") << utf8 << true << true << true << win << false;
    QTest::newRow("ISO on a UTF-8 document, No")
        << QStringLiteral("WstawdeklaracjISO1Click") << utf8 << false << false << true << utf8 << false;
}

void TestInsertRunner::charsetDeclarationCodePages()
{
    QFETCH(QString, command);
    QFETCH(int, before);
    QFETCH(bool, bomBefore);
    QFETCH(bool, yes);
    QFETCH(bool, asked);
    QFETCH(int, after);
    QFETCH(bool, bomAfter);
    ScriptedInteraction ui;
    ui.yes = yes;
    InsertCommandRunner runner(&ui);
    StringDocument doc(1, kText);
    doc.state().encoding = { DocumentEncoding::Id(before), bomBefore };
    doc.setSelection(0, 0);
    runner.run(command, doc);
    QVERIFY(doc.text().startsWith(insertCommands()[size_t(findInsertCommand(command))].opening));
    QCOMPARE(ui.asked.size(), asked ? 1 : 0);
    QCOMPARE(int(doc.state().encoding.codePage), after);
    QCOMPARE(doc.state().encoding.bom, bomAfter);
}

void TestInsertRunner::ssiMenuClearsAutoInterpretation()
{
    ScriptedInteraction ui;
    InsertCommandRunner runner(&ui);
    StringDocument doc(1, kText);
    doc.setSelection(4, 4);
    runner.run(u"SSIecho", doc);
    QCOMPARE(doc.text(), QStringLiteral("abc <!--echoword --> def"));
    QVERIFY(!runner.autoInterpretation());
    QCOMPARE(ui.interpretations, 0);
    QCOMPARE(runner.lastOpening(), QStringLiteral("<!--echo"));

    // The flag stays cleared, but later insertions still leave an undo point of their own.
    doc.setSelection(0, 3);
    runner.run(u"Btn_BClick", doc);
    QCOMPARE(ui.interpretations, 0);
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), QStringLiteral("abc <!--echoword --> def"));

    // A caller that clears the flag itself (automatic closing) keeps its own snapshot.
    runner.setAutoInterpretation(false);
    doc.setSelection(0, 0);
    runner.insertPair(doc, QStringLiteral(">"), QString());
    QVERIFY(!doc.state().hasSnapshot());
    runner.setAutoInterpretation(true);
    QVERIFY(runner.autoInterpretation());
}

void TestInsertRunner::pairNotRememberedWithoutTag()
{
    ScriptedInteraction ui;
    InsertCommandRunner runner(&ui);
    StringDocument doc(1, kText);
    runner.run(u"Btn_BClick", doc);
    ui.tagFound = false;
    runner.run(u"BtnAlertClick", doc);
    QCOMPARE(ui.interpretations, 2);
    QCOMPARE(runner.lastOpening(), QStringLiteral("<B>"));

    // With ChkAuto up nothing is interpreted and every pair is remembered.
    runner.setChkAuto(false);
    runner.run(u"BtnAlertClick", doc);
    QCOMPARE(ui.interpretations, 2);
    QCOMPARE(runner.lastOpening(), QStringLiteral("alert(\"x\");"));
}

void TestInsertRunner::lastPairKeptWhole()
{
    InsertCommandRunner runner;
    StringDocument doc(1, kText);
    const QString opening = QStringLiteral("<A HREF=\"") + QString(300, u'a') + QStringLiteral("\">");
    runner.insertPair(doc, opening, QStringLiteral("</A>"));
    doc.setSelection(doc.text().size(), 0);
    runner.repeatLast(doc);
    QVERIFY(doc.text().endsWith(opening + QStringLiteral("</A>")));
    QCOMPARE(runner.lastOpening(), opening);
}

QTEST_GUILESS_MAIN(TestInsertRunner)
#include "tst_insertrunner.moc"
