#include "app/ui/assistcontroller.h"
#include "app/ui/checkscontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/servicescontroller.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/toknogl.h"
#include "app/ui/tsetupdial.h"
#include "guitestsupport.h"
#include "search/ui/findresultspanel.h"
#include "services/hunspelldictionary.h"
#include "services/ui/checkoptionspage.h"
#include "services/ui/spelldial.h"
#include "services/ui/spellhighlighter.h"
#include "services/ui/tidyfixdial.h"
#include "services/ui/validationpage.h"
#include "services/validationmodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {
// An unclosed element, a missing alt and an unknown attribute, on lines 4 to 6.
const char16_t kPage[] = u"<!DOCTYPE html>\n"
                         u"<html lang=\"pl\"><head><title>Próba</title></head>\n"
                         u"<body>\n"
                         u"<div>\n"
                         u"<p>Zażółć gęślą <img src=\"a.png\"></p>\n"
                         u"<p><span kolor=\"red\">jaźń</span></p>\n"
                         u"</body></html>\n";

bool polishInstalled() { return HunspellDictionary::Installed().contains(QStringLiteral("pl_PL")); }

// Answers the next modal dialog of type D, once it is up, by clicking its button named
// button.
template <typename D> void answerDialog(const QString &button)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, button] {
        if (auto *dlg = qobject_cast<D *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            dlg->template findChild<QPushButton *>(button)->click();
        }
    });
    poll->start();
}

QStringList markedWords(TEditor *e)
{
    QStringList out;
    for (const TWavyMark &m : e->WavyMarks())
        out << e->textAccess().mid(m.Position, m.Length);
    return out;
}
} // namespace

class TstChecks : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void validationRowsJumpToTheirPlaces_data();
    void validationRowsJumpToTheirPlaces();
    void escStopsTheCheck();
    void fixAcceptedOrDeclined_data();
    void fixAcceptedOrDeclined();
    void misspeltWordsUnderlinedAndMenu();
    void underlinesFarIntoALongPage();
    void spellDialogWalksFromTheCaret();
    void missingDictionaryTurnsSpellingOff();
    void setupPageStoresTheOptions();
    void secondDictionaryChosenInSetup();
};

// Each row of the check leads to its tag, also after lines were added above it.
void TstChecks::validationRowsJumpToTheirPlaces_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("editedAbove");
    const struct
    {
        const char *key;
        const char16_t *tag;
        int line;
    } rows[] = { { "MISSING_ENDTAG_FOR", u"<div>", 4 }, { "MISSING_ATTRIBUTE", u"<img src=\"a.png\">", 5 },
        { "PROPRIETARY_ATTRIBUTE", u"<span kolor=\"red\">", 6 } };
    for (const auto &r : rows)
        for (bool edited : { false, true })
            QTest::addRow("%s%s", r.key, edited ? ", edited above" : "")
                << QString::fromLatin1(r.key) << QString::fromUtf16(r.tag) << r.line << edited;
}

void TstChecks::validationRowsJumpToTheirPlaces()
{
    QFETCH(QString, key);
    QFETCH(QString, tag);
    QFETCH(int, line);
    QFETCH(bool, editedAbove);
    testsupport::ScriptedUser user;
    TOknoGl w;
    TEditor *e = w.CurrentEditor();
    e->loadText(QString::fromUtf16(kPage));
    QSignalSpy finished(w.checks(), &ChecksController::validationFinished);
    w.findChild<QAction *>(QStringLiteral("SprawdzPoprawnosc1"))->trigger();
    QVERIFY(finished.wait(20000));
    ValidationPage *page = w.checks()->validationPage();
    QCOMPARE(w.services()->findResults()->tabs()->currentWidget(), page);
    const ValidationModel *model = page->model();
    int row = -1;
    for (int i = 0; i < model->rowCount(); ++i)
        if (model->row(i).key == key)
            row = i;
    QVERIFY2(row >= 0, qPrintable(key));
    QCOMPARE(model->data(model->index(row, ValidationModel::ColumnLine)).toInt(), line);
    QCOMPARE(model->data(model->index(row, ValidationModel::ColumnKind)).toString(),
        QStringLiteral("Ostrzeżenie"));
    QVERIFY(model->summary().contains(QStringLiteral("HTML5")));

    if (editedAbove) {
        // Two lines more above, and the tag's own line longer before it.
        QTextCursor c(e->document());
        c.insertText(QStringLiteral("<!-- nowe -->\n\n"));
        c.setPosition(int(e->text().indexOf(tag)));
        c.insertText(QStringLiteral("<b>"));
    }
    const QString expectedText = e->text();
    page->WynikiPoprawnoscDblClick(model->index(row, ValidationModel::ColumnText));
    QCOMPARE(e->selectedText(), tag);
    QCOMPARE(e->selStart(), int(expectedText.indexOf(tag)));
    QCOMPARE(e->text(), expectedText);
    QVERIFY(user.asked.isEmpty());
}

// Esc in the window stops the check; the rows of the last one stay.
void TstChecks::escStopsTheCheck()
{
    TOknoGl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QString page = QStringLiteral("<!DOCTYPE html>\n<title>t</title>\n");
    while (page.size() < 4 * 1000 * 1000)
        page += QStringLiteral("<p>Akapit <b>pogrubiony</b> i <img src=\"a.png\"></p>\n");
    w.CurrentEditor()->loadText(page);
    QSignalSpy finished(w.checks(), &ChecksController::validationFinished);
    w.findChild<QAction *>(QStringLiteral("SprawdzPoprawnosc1"))->trigger();
    QVERIFY(w.checks()->isBusy());
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(finished.wait(60000));
    QVERIFY(!w.checks()->isBusy());
    QCOMPARE(w.checks()->validationPage()->model()->rowCount(), 0);
    QCOMPARE(w.statusPanel(3), QStringLiteral("Sprawdzanie poprawności przerwane."));
}

void TstChecks::fixAcceptedOrDeclined_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("button"); // empty: no difference shown
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("caption"); // the message shown, if any
    const QString messy = QStringLiteral("<!DOCTYPE html>\n<html><head><title>t</title></head>\n"
                                         "<body><P>Ala<P>kot</body></html>\n");
    QTest::newRow("accepted") << messy << QStringLiteral("BtnZastosuj") << true << QString();
    QTest::newRow("declined") << messy << QStringLiteral("BtnAnuluj") << false << QString();
    QTest::newRow("errors tidy cannot mend")
        << QStringLiteral(
               "<!DOCTYPE html>\n<html><head><title>t</title></head><body><foo>x</foo></body></html>\n")
        << QString() << false << QStringLiteral("Porządkowanie kodu: ostrzeżenie");
}

void TstChecks::fixAcceptedOrDeclined()
{
    QFETCH(QString, page);
    QFETCH(QString, button);
    QFETCH(bool, changed);
    QFETCH(QString, caption);
    testsupport::ScriptedUser user;
    TOknoGl w;
    TEditor *e = w.CurrentEditor();
    e->loadText(page);
    QSignalSpy finished(w.checks(), &ChecksController::fixFinished);
    if (!button.isEmpty())
        answerDialog<TidyFixDial>(button);
    w.findChild<QAction *>(QStringLiteral("PoprawKod1"))->trigger();
    QVERIFY(finished.wait(20000));
    QCOMPARE(e->text() != page, changed);
    QCOMPARE(e->isModified(), changed);
    QCOMPARE(user.asked.size(), caption.isEmpty() ? 0 : 1);
    if (!caption.isEmpty())
        QCOMPARE(user.asked.first().caption, caption);
    if (changed) {
        QVERIFY(e->text().contains(QStringLiteral("<p>Ala</p>")));
        QVERIFY(e->CanUndo());
        e->Undo();
        QCOMPARE(e->text(), page);
    }
}

// Only the page's text is underlined; the menu replaces, adds to the personal list and
// ignores.
void TstChecks::misspeltWordsUnderlinedAndMenu()
{
    if (!polishInstalled())
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    testsupport::ScriptedUser user;
    TOknoGl w;
    w.show();
    TEditor *e = w.CurrentEditor();
    e->loadText(QStringLiteral("<p class=\"żułw\" title=\"Mały żułw\">Zielony żułw i Kowalsky "
                               "<script>żułw</script>grzmotnoł</p>"));
    QVERIFY(w.checks()->spelling());
    SpellHighlighter *h = SpellHighlighter::of(e);
    QVERIFY(h);
    h->checkNow();
    QCOMPARE(markedWords(e),
        (QStringList { QStringLiteral("żułw"), QStringLiteral("żułw"), QStringLiteral("Kowalsky"),
            QStringLiteral("grzmotnoł") }));
    QCOMPARE(e->WavyMarks().at(1).Position, int(e->text().indexOf(QStringLiteral("żułw i"))));

    // The context menu over the second "żułw": suggestions first.
    QMenu *popup = w.assist()->editorPopup();
    auto entries = [&](int at) {
        e->setSelection(at, 0);
        w.checks()->addSpellingEntries(e, popup);
        QStringList names;
        for (QAction *a : popup->actions())
            if (a->objectName().startsWith(QStringLiteral("Popup")))
                names << (a->objectName() == QStringLiteral("PopupPodpowiedz") ? a->text() : a->objectName());
        return names;
    };
    const int word = int(e->text().indexOf(QStringLiteral("żułw i")));
    QStringList names = entries(word + 2);
    QVERIFY2(names.contains(QStringLiteral("żółw")), qPrintable(names.join(u',')));
    QVERIFY(names.contains(QStringLiteral("PopupDodajDoSlownika")));
    QVERIFY(names.contains(QStringLiteral("PopupIgnoruj")));
    QCOMPARE(entries(int(e->text().indexOf(QStringLiteral("Zielony")))), QStringList());
    QCOMPARE(entries(int(e->text().indexOf(QStringLiteral("class")))), QStringList());

    entries(word + 4); // just after the word
    for (QAction *a : popup->actions())
        if (a->text() == QStringLiteral("żółw"))
            a->trigger();
    QVERIFY(e->text().contains(QStringLiteral("Zielony żółw i")));
    e->Undo();
    QVERIFY(e->text().contains(QStringLiteral("Zielony żułw i")));

    entries(int(e->text().indexOf(QStringLiteral("Kowalsky"))));
    popup->findChild<QAction *>(QStringLiteral("PopupDodajDoSlownika"))->trigger();
    entries(int(e->text().indexOf(QStringLiteral("grzmotnoł"))));
    popup->findChild<QAction *>(QStringLiteral("PopupIgnoruj"))->trigger();
    QCOMPARE(markedWords(e), (QStringList { QStringLiteral("żułw"), QStringLiteral("żułw") }));
    const QString personal = QString::fromUtf8(testsupport::readFile(Spelling::DefaultPersonalPath()));
    QCOMPARE(personal, QStringLiteral("Kowalsky\n"));

    // The toggle takes the underlines away, and typing brings no check while it is off.
    w.checks()->spellingToggle()->trigger();
    QVERIFY(e->WavyMarks().isEmpty());
    QTest::keyClicks(e, QStringLiteral(" kotek"));
    QVERIFY(!h->isPending());
    QVERIFY(user.asked.isEmpty());
}

// Far past the tokenizer's look-back, the marks are those of the whole text on screen.
void TstChecks::underlinesFarIntoALongPage()
{
    if (!polishInstalled())
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    TOknoGl w;
    w.show();
    QString page;
    for (int i = 0; page.size() < 3 * SpellTokenizer::LookBack; ++i)
        page += QStringLiteral("<p title=\"Wiersz %1\">Ktury żułw, <b>wogóle</b> nie.</p>\n").arg(i);
    TEditor *e = w.CurrentEditor();
    e->loadText(page);
    e->verticalScrollBar()->setValue(e->verticalScrollBar()->maximum() / 2);
    const std::shared_ptr<Spelling> sp = w.checks()->spelling();
    QVERIFY(sp);
    SpellHighlighter::of(e)->checkNow();
    const auto [from, to] = e->VisibleRange();
    QVERIFY(from > SpellTokenizer::LookBack);
    QVector<TWavyMark> expected;
    for (const SpellWord &word : sp->misspelt(StringTextAccess(page), from, to))
        expected.append({ word.position, word.length });
    QVERIFY(expected.size() > 10);
    QCOMPARE(e->WavyMarks(), expected);
}

// From the caret to the end, then from the start back to the caret.
void TstChecks::spellDialogWalksFromTheCaret()
{
    if (!polishInstalled())
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    QTemporaryDir dir;
    SpellingSetup setup;
    setup.personalPath = dir.filePath(QStringLiteral("slownik.txt"));
    auto spelling = std::make_shared<Spelling>(setup);
    const QString text = QStringLiteral("<p>Pierwszy żułw, <b>ktury</b> idzie.</p>\n<p>Zolw i żułw.</p>");
    StringDocument doc(1, text);
    doc.setSelection(int(text.indexOf(QStringLiteral("idzie"))), 0);
    SpellDial dlg(&doc, spelling);
    auto wait = [&] { QTRY_VERIFY(!dlg.isSearching()); };
    dlg.start();
    wait();
    QCOMPARE(dlg.current().word, QStringLiteral("Zolw"));
    QCOMPARE(doc.selectedText(), QStringLiteral("Zolw"));
    dlg.BtnPominClick();
    wait();
    QCOMPARE(dlg.current().word, QStringLiteral("żułw"));
    QCOMPARE(dlg.replacementEdit()->text(), QStringLiteral("żółw"));
    dlg.BtnIgnorujClick(); // every "żułw" from now on
    wait();
    QCOMPARE(dlg.current().word, QStringLiteral("ktury"));
    QCOMPARE(dlg.current().position, int(text.indexOf(QStringLiteral("ktury"))));
    dlg.replacementEdit()->setText(QStringLiteral("który"));
    dlg.BtnZamienClick();
    wait();
    QVERIFY(dlg.isFinished());
    QCOMPARE(doc.text(), QString(text).replace(QStringLiteral("ktury"), QStringLiteral("który")));
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), text);
}

void TstChecks::missingDictionaryTurnsSpellingOff()
{
    testsupport::ScriptedUser user;
    TOknoGl w;
    QTemporaryDir empty;
    SpellingSetup setup;
    setup.folders = { empty.path() };
    ChecksController checks(w, w.documents(), w.settings(), *w.services()->findResults(), setup);
    QVERIFY(checks.spellingToggle()->isChecked());
    QVERIFY(!checks.spelling());
    QVERIFY(!checks.spellingToggle()->isChecked());
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.first().caption, QStringLiteral("Sprawdzanie pisowni: ostrzeżenie"));
    QVERIFY(user.asked.first().text.contains(QStringLiteral("hunspell-pl")));
    // The walk in a dialog says the same instead of opening.
    checks.SprawdzPisownieClick();
    QCOMPARE(user.asked.size(), 2);
    QVERIFY(!SpellHighlighter::of(w.CurrentEditor()) || !SpellHighlighter::of(w.CurrentEditor())->spelling()
        || SpellHighlighter::of(w.CurrentEditor())->spelling()->isAvailable());
}

void TstChecks::setupPageStoresTheOptions()
{
    TOknoGl w;
    TSetupDial *dlg = w.setup()->setupDialog();
    Q_EMIT w.setup()->dialogOpening(dlg);
    Q_EMIT w.setup()->dialogOpening(dlg); // the page is added once
    QCOMPARE(dlg->findChildren<CheckOptionsPage *>().size(), 1);
    auto *access = dlg->findChild<QComboBox *>(QStringLiteral("CbDostepnosc"));
    access->setCurrentIndex(2);
    dlg->findChild<QCheckBox *>(QStringLiteral("ChkTidyInformacje"))->setChecked(false);
    Q_EMIT w.setup()->dialogAccepted(dlg);
    QCOMPARE(w.checks()->options().validation.accessLevel, 2);
    const CheckOptions stored = CheckOptions::read(w.settings());
    QCOMPARE(stored.validation.accessLevel, 2);
    QVERIFY(!stored.validation.info);
}

// A dictionary of a few words in UTF-8: "<name>.aff" and "<name>.dic" in folder.
void writeDictionary(const QString &folder, const QString &name, const QStringList &words)
{
    testsupport::writeFile(QDir(folder).filePath(name + QStringLiteral(".aff")), "SET UTF-8\n");
    testsupport::writeFile(QDir(folder).filePath(name + QStringLiteral(".dic")),
        (QString::number(words.size()) + u'\n' + words.join(u'\n') + u'\n').toUtf8());
}

// The second dictionary offered is one of those installed; chosen, it is loaded at once.
void TstChecks::secondDictionaryChosenInSetup()
{
    testsupport::ScriptedUser user;
    TOknoGl w;
    QTemporaryDir folder;
    writeDictionary(folder.path(), QStringLiteral("pl_PL"), { QStringLiteral("ala"), QStringLiteral("ma") });
    writeDictionary(folder.path(), QStringLiteral("en_GB"), { QStringLiteral("cat") });
    SpellingSetup setup;
    setup.folders = { folder.path() };
    setup.personalPath = folder.filePath(QStringLiteral("slownik.txt"));
    ChecksController checks(w, w.documents(), w.settings(), *w.services()->findResults(), setup);
    QVERIFY(checks.spelling());
    QVERIFY(!checks.spelling()->isCorrect(QStringLiteral("cat")));

    TSetupDial *dlg = w.setup()->setupDialog();
    checks.setupDialogOpening(dlg);
    auto *second
        = dlg->findChild<CheckOptionsPage *>()->findChild<QComboBox *>(QStringLiteral("CbDrugiSlownik"));
    QStringList offered;
    for (int i = 0; i < second->count(); ++i)
        offered << second->itemData(i).toString();
    QCOMPARE(offered, (QStringList { QString(), QStringLiteral("en_GB") }));
    second->setCurrentIndex(1);
    checks.setupDialogAccepted(dlg);
    QCOMPARE(checks.options().secondDictionary, QStringLiteral("en_GB"));
    QVERIFY(checks.spelling()->isCorrect(QStringLiteral("cat")));
    QVERIFY(checks.spelling()->isCorrect(QStringLiteral("ala")));
    QVERIFY(user.asked.isEmpty());
}

QTEST_MAIN(TstChecks)
#include "tst_checks.moc"
