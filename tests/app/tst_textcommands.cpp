#include "app/ui/documentmanager.h"
#include "app/ui/tagmatchcontroller.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

// Commands over the text of the current document, reached from the main window: the
// matching tags (highlight, jump to the partner, select the element) and the letters
// and entities.
class TstTextCommands : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void pairHighlighted_data();
    void pairHighlighted();
    void marksFollowDeletionAhead();
    void jumpToPartnerAndBack();
    void selectElementThenParents();
    void partnerTooFarGoesToStatusBar();
    void lettersAndEntities_data();
    void lettersAndEntities();
    void nothingToConvertLeavesNoUndo();
    void shortcutsAreUnique();
};

namespace {

// Loads text with "^" as the caret into the window's editor.
TEditor *loadWithCaret(TOknoGl &w, QString text)
{
    const int caret = int(text.indexOf(QLatin1Char('^')));
    text.remove(caret, 1);
    TEditor *e = w.CurrentEditor();
    e->loadText(text);
    e->setSelection(caret, 0);
    return e;
}

// "start:text" of every mark the editor shows.
QStringList marks(const TEditor *e)
{
    QStringList out;
    for (const QTextEdit::ExtraSelection &s : e->extraSelections())
        out << QString::number(s.cursor.selectionStart()) + QLatin1Char(':') + s.cursor.selectedText();
    out.sort();
    return out;
}

void trigger(TOknoGl &w, const char *action)
{
    QAction *a = w.findChild<QAction *>(QString::fromLatin1(action));
    QVERIFY2(a && a->isEnabled(), action);
    a->trigger();
}

} // namespace

void TstTextCommands::pairHighlighted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("marks");
    QTest::newRow("nested, end tag") << QStringLiteral("<div><p>x^</p></div>") << int(TagMatch::Matched)
                                     << QStringList { QStringLiteral("5:<p>"), QStringLiteral("9:</p>") };
    QTest::newRow("nested, start tag")
        << QStringLiteral("<div^><p>x</p></div>") << int(TagMatch::Matched)
        << QStringList { QStringLiteral("0:<div>"), QStringLiteral("13:</div>") };
    QTest::newRow("void element") << QStringLiteral("<p>a<br^>b</p>") << int(TagMatch::Single)
                                  << QStringList { QStringLiteral("4:<br>") };
    QTest::newRow("optional end") << QStringLiteral("<ul><li^>one<li>two</ul>") << int(TagMatch::ImpliedEnd)
                                  << QStringList { QStringLiteral("4:<li>") };
    QTest::newRow("in a comment") << QStringLiteral("<!-- <b^> --><b>x</b>") << int(TagMatch::NoTag)
                                  << QStringList();
    QTest::newRow("in a script") << QStringLiteral("<script>if (a<b^>c) f();</script>")
                                 << int(TagMatch::NoTag) << QStringList();
    QTest::newRow("end of a script") << QStringLiteral("<script>if (a<b>c) f();</script^>")
                                     << int(TagMatch::Matched)
                                     << QStringList { QStringLiteral("0:<script>"),
                                            QStringLiteral("23:</script>") };
    QTest::newRow("no partner") << QStringLiteral("<div>x</span^></div>") << int(TagMatch::NoPartner)
                                << QStringList { QStringLiteral("6:</span>") };
    QTest::newRow("text") << QStringLiteral("<b>x^y</b>") << int(TagMatch::NoTag) << QStringList();
}

void TstTextCommands::pairHighlighted()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QStringList, marks);
    TOknoGl w;
    TEditor *e = loadWithCaret(w, text);
    // The caret rests, and the pair appears.
    QTRY_COMPARE(::marks(e), marks);
    QCOMPARE(int(w.tagMatch()->shown().status), status);
    // The marks follow the caret: every text starts with a tag.
    e->setSelection(0, 0);
    w.tagMatch()->refresh();
    QVERIFY(::marks(e).value(0).startsWith(QStringLiteral("0:<")));
}

void TstTextCommands::marksFollowDeletionAhead()
{
    TOknoGl w;
    TEditor *e = loadWithCaret(w, QStringLiteral("<i><b>x^</b></i>"));
    QTRY_COMPARE(marks(e), QStringList({ QStringLiteral("3:<b>"), QStringLiteral("7:</b>") }));
    // Delete takes the end tag's "<": the caret stays, the pair is gone.
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->selStart(), 7);
    QTRY_VERIFY(marks(e).isEmpty());
}

void TstTextCommands::jumpToPartnerAndBack()
{
    TOknoGl w;
    TEditor *e = loadWithCaret(w, QStringLiteral("<div>\n<p>one</p>\n<d^iv>two</div>\n</div>"));
    trigger(w, "EdycjaParaZnacznika1");
    QCOMPARE(e->selStart(), 25);
    QCOMPARE(e->textAccess().mid(25, 6), QStringLiteral("</div>"));
    QCOMPARE(e->selLength(), 0);
    trigger(w, "EdycjaParaZnacznika1");
    QCOMPARE(e->selStart(), 17);
    // From the outer end tag to the outer start.
    e->setSelection(34, 0);
    trigger(w, "EdycjaParaZnacznika1");
    QCOMPARE(e->selStart(), 0);
    // No tag at the caret: said, nothing moves.
    e->setSelection(10, 0);
    trigger(w, "EdycjaParaZnacznika1");
    QCOMPARE(e->selStart(), 10);
    QCOMPARE(w.statusPanel(3), QStringLiteral("Kursor nie stoi na znaczniku."));
}

void TstTextCommands::selectElementThenParents()
{
    TOknoGl w;
    TEditor *e = loadWithCaret(w, QStringLiteral("<body><div><p>a <b>x^y</b></p><br></div></body>"));
    QStringList selected;
    for (int i = 0; i < 4; ++i) {
        trigger(w, "EdycjaZaznaczElement1");
        selected << e->selectedText();
    }
    QCOMPARE(selected,
        QStringList({ QStringLiteral("<b>xy</b>"), QStringLiteral("<p>a <b>xy</b></p>"),
            QStringLiteral("<div><p>a <b>xy</b></p><br></div>"),
            QStringLiteral("<body><div><p>a <b>xy</b></p><br></div></body>") }));
    trigger(w, "EdycjaZaznaczElement1");
    QCOMPARE(e->selLength(), int(selected.last().size()));
    QCOMPARE(w.statusPanel(3), QStringLiteral("Zaznaczenia nie obejmuje żaden element."));
}

void TstTextCommands::partnerTooFarGoesToStatusBar()
{
    TOknoGl w;
    w.tagMatch()->setScanBudget(1000);
    const QString filler = QStringLiteral("<p>text</p>\n").repeated(200);
    TEditor *e = loadWithCaret(w, QStringLiteral("<d^iv>") + filler + QStringLiteral("</div>"));
    w.tagMatch()->refresh();
    QCOMPARE(w.tagMatch()->shown().status, TagMatch::TooFar);
    QCOMPARE(marks(e), QStringList { QStringLiteral("0:<div>") });
    QCOMPARE(w.statusPanel(3), TagMatcher::tooFarText());
    for (const char *command : { "EdycjaParaZnacznika1", "EdycjaZaznaczElement1" }) {
        w.setStatusPanel(3, QString());
        trigger(w, command);
        QCOMPARE(w.statusPanel(3), TagMatcher::tooFarText());
        QCOMPARE(e->selStart(), 2);
        QCOMPARE(e->selLength(), 0);
    }
    // Within reach the same pair is found.
    w.tagMatch()->setScanBudget(TagMatcher::DefaultScanBudget);
    trigger(w, "EdycjaParaZnacznika1");
    QCOMPARE(e->selStart(), 5 + int(filler.size()));
}

void TstTextCommands::lettersAndEntities_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("selected");
    const QString polish = QStringLiteral("<p title=\"&quot;\">Zażółć &lt;b&gt; &amp; gęślą</p>");
    QTest::newRow("document, named")
        << polish << 3 << 0 << QStringLiteral("LiteryNaEncje1")
        << QStringLiteral("<p title=\"&quot;\">Za&zdot;&oacute;&lstrok;&cacute; &lt;b&gt; &amp; "
                          "g&eogon;&sacute;l&aogon;</p>")
        << QString();
    QTest::newRow("selection, numeric")
        << polish << 21 << 3 << QStringLiteral("LiteryNaKody1")
        << QStringLiteral("<p title=\"&quot;\">Zaż&#243;&#322;&#263; &lt;b&gt; &amp; gęślą</p>")
        << QStringLiteral("&#243;&#322;&#263;");
    QTest::newRow("document, to letters")
        << QStringLiteral("&aogon;&#261;&#x105; &amp;lt; &lt;&gt;&quot;&#60; &nbsp;&euro;") << 0 << 0
        << QStringLiteral("EncjeNaLitery1")
        << QStringLiteral("ąąą &amp;lt; &lt;&gt;&quot;&#60; ") + QChar(0xA0) + QChar(0x20AC) << QString();
    QTest::newRow("selection, to letters")
        << QStringLiteral("&eacute; &eacute;") << 0 << 8 << QStringLiteral("EncjeNaLitery1")
        << QStringLiteral("é &eacute;") << QStringLiteral("é");
}

void TstTextCommands::lettersAndEntities()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, command);
    QFETCH(QString, expected);
    QFETCH(QString, selected);
    TOknoGl w;
    TEditor *e = w.CurrentEditor();
    e->loadText(text);
    e->setSelection(selStart, selLength);
    QAction *a = w.findChild<QAction *>(command);
    QVERIFY(a && a->isEnabled());
    QVERIFY(w.menuNamed(QStringLiteral("Polskielitery1"))->actions().contains(a));
    a->trigger();
    QCOMPARE(e->text(), expected);
    QCOMPARE(e->selectedText(), selected);
    QVERIFY(e->isModified());
    QVERIFY(!w.statusPanel(3).isEmpty());
    // One undo brings the text back.
    trigger(w, "EdycjaCofnij1");
    QCOMPARE(e->text(), text);
}

void TstTextCommands::nothingToConvertLeavesNoUndo()
{
    TOknoGl w;
    TEditor *e = w.CurrentEditor();
    e->loadText(QStringLiteral("<p>plain &lt;ascii&gt; &amp; &quot;</p>"));
    trigger(w, "LiteryNaEncje1");
    trigger(w, "EncjeNaLitery1");
    QCOMPARE(e->text(), QStringLiteral("<p>plain &lt;ascii&gt; &amp; &quot;</p>"));
    QVERIFY(!e->isModified());
    QVERIFY(!e->CanUndo());
    QCOMPARE(w.statusPanel(3), QStringLiteral("Nie ma encji do zamiany na litery."));
}

void TstTextCommands::shortcutsAreUnique()
{
    TOknoGl w;
    QHash<QString, QString> owner;
    for (const QAction *a : w.findChildren<QAction *>()) {
        for (const QKeySequence &k : a->shortcuts()) {
            const QString key = k.toString(QKeySequence::PortableText);
            QVERIFY2(!owner.contains(key),
                qPrintable(
                    key + QStringLiteral(": ") + owner.value(key) + QStringLiteral(", ") + a->objectName()));
            owner.insert(key, a->objectName());
        }
    }
    QCOMPARE(owner.value(QStringLiteral("Ctrl+M")), QStringLiteral("EdycjaParaZnacznika1"));
    QCOMPARE(owner.value(QStringLiteral("Ctrl+Shift+M")), QStringLiteral("EdycjaZaznaczElement1"));
}

QTEST_MAIN(TstTextCommands)
#include "tst_textcommands.moc"
