#include "assisttestsupport.h"
#include "insert/ui/insertdialogs.h"
#include "insert/ui/inserttooltabs.h"
#include "insert/ui/taddressedit.h"
#include "insert/ui/tbodydial.h"
#include "insert/ui/tcoloredit.h"
#include "insert/ui/tdatedial.h"
#include "insert/ui/tframedial.h"
#include "insert/ui/theaddial.h"
#include "insert/ui/timagedial.h"
#include "insert/ui/tlinkdial.h"
#include "insert/ui/tmetadial.h"
#include "insert/ui/tscriptdial.h"
#include "insert/ui/tstyledial.h"
#include "insert/ui/ttabledial.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

using assisttest::load;
using assisttest::ScriptedUser;
using assisttest::setOption;

// The insertion dialogs and wizards as the user reaches them: a command of the tool tabs
// or the "Wstaw" menu opens the dialog, the test fills it in the user's place, and what it
// gives goes into the document through the common rule, round the selection.
class TstInsertDialogs : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void everyDialogInsertsRoundTheSelection_data();
    void everyDialogInsertsRoundTheSelection();
    void dialogsInToolTabsAndMenu();
    void cancelRepeatAndLowerCase();

private:
    QTemporaryDir m_dir;
};

namespace {

// Where the document is saved. The document's state is about to move into one value; this
// is the one line that sets its file name.
void setDocumentFile(TEditor *e, const QString &path) { e->state().fileName = path; }

// Fills the dialog the command opened as a user would, and presses OK.
void fill(TInsertDial &dialog, const QString &dir)
{
    if (auto *d = qobject_cast<TBodyDial *>(&dialog)) {
        d->EdTekst->setText(QStringLiteral("Navy"));
        d->EdTlo->setText(QStringLiteral("#fff"));
        d->EdMarginesPoziomy->setText(QStringLiteral("0"));
    } else if (auto *d = qobject_cast<THeadDial *>(&dialog)) {
        d->EdTytul->setText(QStringLiteral("Koty & psy"));
        d->EdSlowa->setText(QStringLiteral("koty"));
        const auto found = d->LbSlowa->findItems(QStringLiteral("zwierzęta"), Qt::MatchExactly);
        QVERIFY(!found.isEmpty()); // from the shipped keywords.txt
        found.first()->setCheckState(Qt::Checked);
        QCOMPARE(d->EdSlowa->text(), QStringLiteral("koty, zwierzęta"));
    } else if (auto *d = qobject_cast<TLinkDial *>(&dialog)) {
        QVERIFY(!d->EdTekst->isEnabled()); // the selection is the text
        d->EdAdres->FileChosen(dir + QStringLiteral("/strony/podstrony/o kotach.html"));
        d->CbCel->setEditText(QStringLiteral("_blank"));
    } else if (auto *d = qobject_cast<TImageDial *>(&dialog)) {
        d->EdSrc->FileChosen(dir + QStringLiteral("/obrazki/mały kot.png"));
        QCOMPARE(d->EdSzerokosc->text(), QStringLiteral("9")); // read from the file
        QCOMPARE(d->EdWysokosc->text(), QStringLiteral("4"));
        d->EdAlt->setText(QStringLiteral("Mały \"kot\""));
    } else if (auto *d = qobject_cast<TMetaDial *>(&dialog)) {
        d->RbHttpEquiv->setChecked(true);
        d->CbNazwa->setEditText(QStringLiteral("Refresh"));
        QCOMPARE(d->CbWartosc->currentText(), QStringLiteral("5")); // the usual value offered
    } else if (auto *d = qobject_cast<TDateDial *>(&dialog)) {
        d->setMoment(QDateTime(QDate(2024, 5, 6), QTime(14, 5)));
        d->LbFormaty->setCurrentRow(1);
    } else if (auto *d = qobject_cast<TScriptDial *>(&dialog)) {
        d->RbZPliku->setChecked(true);
        d->EdPlik->setText(QStringLiteral("menu.js"));
        d->ChkDefer->setChecked(true);
    } else if (auto *d = qobject_cast<TStyleDial *>(&dialog)) {
        d->EdSelektor->setText(QStringLiteral("P"));
        d->EdKolor->setText(QStringLiteral("red"));
    } else if (auto *d = qobject_cast<TTableDial *>(&dialog)) {
        d->SpWiersze->setValue(1);
        d->SpKolumny->setValue(2);
    } else if (auto *d = qobject_cast<TFrameDial *>(&dialog)) {
        d->SpRamki->setValue(2);
        d->SourceFileChosen(0, dir + QStringLiteral("/strony/menu.html"));
        d->ChkBezRamek->setChecked(false);
    } else {
        QFAIL("a dialog the test does not know");
    }
    dialog.BtnOKClick();
}

bool inMenu(const QMenu *menu, const QAction *item)
{
    for (const QAction *a : menu->actions())
        if (a == item || (a->menu() && inMenu(a->menu(), item)))
            return true;
    return false;
}

} // namespace

void TstInsertDialogs::init()
{
    testsupport::IsolatedTestCase::init();
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("strony/podstrony"));
    QDir(m_dir.path()).mkpath(QStringLiteral("obrazki"));
    QImage picture(9, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QVERIFY(picture.save(m_dir.filePath(QStringLiteral("obrazki/mały kot.png"))));
    InsertDialogs::setDriver([this](TInsertDial &d) { fill(d, m_dir.path()); });
}

void TstInsertDialogs::cleanup()
{
    InsertDialogs::setDriver({});
    testsupport::IsolatedTestCase::cleanup();
}

void TstInsertDialogs::everyDialogInsertsRoundTheSelection_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *command, const char *text) {
        QTest::newRow(command) << QString::fromLatin1(command) << QString::fromUtf8(text);
    };
    row("BtnBody",
        "ala \n<BODY TEXT=\"navy\" BGCOLOR=\"#FFFFFF\" LEFTMARGIN=\"0\" MARGINWIDTH=\"0\">\nkot\n</BODY> ma");
    row("BtnHead",
        "ala \n<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">\n"
        "<TITLE>Koty &amp; psy</TITLE>\n<META NAME=\"keywords\" CONTENT=\"koty, zwierzęta\">\nkot\n</HEAD> "
        "ma");
    row("BtnOdnosnik", "ala <A HREF=\"podstrony/o%20kotach.html\" TARGET=\"_blank\">kot</A> ma");
    row("BtnObrazek",
        "ala <IMG SRC=\"../obrazki/ma%C5%82y%20kot.png\" ALT=\"Mały &quot;kot&quot;\" WIDTH=\"9\" "
        "HEIGHT=\"4\">kot ma");
    row("BtnMeta", "ala <META HTTP-EQUIV=\"Refresh\" CONTENT=\"5\">kot ma");
    row("BtnData", "ala 6 maja 2024 ma");
    row("BtnSkrypt", "ala \n<SCRIPT TYPE=\"text/javascript\" SRC=\"menu.js\" DEFER>kot\n</SCRIPT> ma");
    row("BtnStyl", "ala \n<STYLE TYPE=\"text/css\">\nP {\n  color: red;\n}\nkot\n</STYLE> ma");
    row("BtnKreatorTabeli",
        "ala \n<TABLE BORDER=\"1\">\n  <TR>\n    <TD>kot\n    </TD>\n    <TD></TD>\n  </TR>\n</TABLE> ma");
    row("BtnKreatorRamek",
        "ala \n<FRAMESET COLS=\"25%,*\">\n  <FRAME NAME=\"menu\" SRC=\"menu.html\">\n  <FRAME "
        "NAME=\"tresc\">kot\n"
        "</FRAMESET> ma");
}

void TstInsertDialogs::everyDialogInsertsRoundTheSelection()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    ScriptedUser user;
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("ala kot ma"));
    setDocumentFile(e, m_dir.filePath(QStringLiteral("strony/index.html")));
    e->state().setIso(true);
    e->setSelection(4, 3);
    QVERIFY(w.assist()->runInsertCommand(command));
    QCOMPARE(e->text(), text);
    // The selection stays selected after the opening; the date took its place.
    const bool replaced = command == QLatin1String("BtnData");
    QCOMPARE(e->selStart(),
        replaced ? int(text.lastIndexOf(QLatin1String(" ma"))) : int(text.lastIndexOf(QLatin1String("kot"))));
    QCOMPARE(e->selectedText(), replaced ? QString() : QStringLiteral("kot"));
    QVERIFY(user.asked.isEmpty());
    // One undo gives the text from before the dialog.
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("ala kot ma"));
}

void TstInsertDialogs::dialogsInToolTabsAndMenu()
{
    TOknoGl w;
    load(w);
    QMenu *wstaw = w.menuNamed(QStringLiteral("Wstaw1"));
    QVERIFY(wstaw);
    QStringList opened;
    InsertDialogs::setDriver(
        [&opened](TInsertDial &d) { opened << QString::fromLatin1(d.metaObject()->className()); });
    for (const QString &dialog : InsertDialogs::names()) {
        const auto &table = insertCommands();
        const auto row = std::find_if(
            table.begin(), table.end(), [&](const InsertCommand &c) { return c.dialog == dialog; });
        QVERIFY2(row != table.end(), qPrintable(dialog));
        QToolButton *button = w.assist()->insertToolTabs()->button(row->objectName);
        QVERIFY2(button && button->text().endsWith(QLatin1String("...")), qPrintable(row->objectName));
        QAction *item = w.findChild<QAction *>(row->objectName);
        QVERIFY(item && item->text().endsWith(QLatin1String("...")));
        QVERIFY(inMenu(wstaw, item));
        item->trigger(); // cancelled: the driver does not accept
        button->click();
    }
    QCOMPARE(opened.size(), 2 * InsertDialogs::names().size());
    QCOMPARE(QSet<QString>(opened.begin(), opened.end()).size(), InsertDialogs::names().size());
    QCOMPARE(w.CurrentEditor()->text(), QString());
}

void TstInsertDialogs::cancelRepeatAndLowerCase()
{
    ScriptedUser user;
    TOknoGl w;
    TEditor *e = load(w, QStringLiteral("kot pies"));
    setDocumentFile(e, m_dir.filePath(QStringLiteral("strony/index.html")));
    setOption(w, &SetupOptions::lowerCaseInsert, true);
    e->setSelection(0, 3);
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("BtnObrazekClick")));
    const QString img
        = QStringLiteral("<img src=\"../obrazki/ma%C5%82y%20kot.png\" alt=\"Mały &quot;kot&quot;\" "
                         "width=\"9\" height=\"4\">");
    QCOMPARE(e->text(), img + QStringLiteral("kot pies"));
    // "Wstaw jeszcze raz" repeats the picture, without the dialog.
    InsertDialogs::setDriver([](TInsertDial &) { QFAIL("no dialog for a repeat"); });
    e->setSelection(e->text().size(), 0);
    QVERIFY(w.assist()->runInsertCommand(QStringLiteral("Wstawjeszczeraz1")));
    QCOMPARE(e->text(), img + QStringLiteral("kot pies") + img);
    // A dialog left with "Anuluj" inserts nothing and leaves the pair to repeat.
    InsertDialogs::setDriver([](TInsertDial &d) { d.BtnAnuluj->click(); });
    QVERIFY(!w.assist()->runInsertCommand(QStringLiteral("BtnKreatorTabeliClick")));
    QCOMPARE(w.assist()->lastInsertedOpening(), img);
}

QTEST_MAIN(TstInsertDialogs)
#include "tst_insertdialogs.moc"
