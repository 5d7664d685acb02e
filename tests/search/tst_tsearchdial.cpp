#include "base/documents.h"
#include "guitestsupport.h"
#include "search/findresults.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

class TestTSearchDial : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pages();
    void optionUpdate();
    void optionsHeights();
    void enterRunsFindOnlyWhenEnabled();
    void enterReachesFocusedCombo();
    void compileErrorPlacesCaret();
    void findNextNotFound();
    void findAllFillsPanel();
    void replaceAllAndJump();
    void replaceAllNoMatch();
    void closedDocumentJump();
    void historyAndStatePersist();
    void handEditedStateFallsBack_data();
    void handEditedStateFallsBack();
    void handEditedHistoryKeptToLimits();

private:
    TSearchDial *open(int page);
    void closeDialog();
    template <class T> T *child(const char *name)
    {
        T *w = TSearchDial::instance()->findChild<T *>(QString::fromLatin1(name));
        Q_ASSERT(w);
        return w;
    }

    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<StringDocumentSet> m_docs;
    FindResultsPanel *m_panel = nullptr;
    testsupport::ScriptedUser m_user;
    QList<MsgBox::Request> &m_shown = m_user.asked; // every message box the windows showed
    QStringList m_status;
};

void TestTSearchDial::init()
{
    IsolatedTestCase::init();
    m_main = std::make_unique<QWidget>();
    m_docs = std::make_unique<StringDocumentSet>();
    m_panel = new FindResultsPanel(m_docs.get(), m_main.get());
    m_shown.clear();
    m_status.clear();
}

void TestTSearchDial::cleanup()
{
    closeDialog();
    m_main.reset();
    m_docs.reset();
    IsolatedTestCase::cleanup();
}

TSearchDial *TestTSearchDial::open(int page)
{
    return TSearchDial::showPage(
        page, m_main.get(), m_docs.get(), m_panel, [this](const QString &t) { m_status << t; });
}

void TestTSearchDial::closeDialog()
{
    if (TSearchDial *d = TSearchDial::instance()) {
        d->hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QVERIFY(!TSearchDial::instance());
}

void TestTSearchDial::pages()
{
    TSearchDial *d = open(0);
    QCOMPARE(d->windowTitle(), QStringLiteral("Znajdź & zamień"));
    QVERIFY(!d->isModal());
    QVERIFY(child<QPushButton>("FindAllBtn")->isVisible());
    QVERIFY(!child<QComboBox>("ReplCombo")->isVisible());
    QVERIFY(!child<QPushButton>("ReplBtn")->isVisible());
    QCOMPARE(open(1), d); // one window
    QCOMPARE(d->page(), 1);
    QVERIFY(!child<QPushButton>("FindAllBtn")->isVisible());
    for (const char *name : { "ReplLbl", "ReplCombo", "ReplOpt", "ReplBtn", "ReplAllBtn" })
        QVERIFY2(d->findChild<QWidget *>(QString::fromLatin1(name))->isVisible(), name);
    closeDialog();
    QVERIFY(open(0) != nullptr);
}

void TestTSearchDial::optionUpdate()
{
    open(1);
    auto *findOpt = child<QLabel>("FindOpt");
    QCOMPARE(findOpt->text(), QStringLiteral("Opcje: "));
    QCOMPARE(child<QLabel>("ReplOpt")->text(), QStringLiteral("Opcje:"));
    QVERIFY(!child<QCheckBox>("UzDot")->isEnabled());
    child<QCheckBox>("WyszCase")->click();
    child<QCheckBox>("UzReg")->click();
    QCOMPARE(findOpt->text(), QStringLiteral("Opcje: wielkość liter, wyrażenia regularne"));
    QVERIFY(child<QCheckBox>("UzDot")->isEnabled());
    child<QCheckBox>("UzDot")->click();
    child<QCheckBox>("UzReg")->click();
    // A checked box counts even while disabled.
    QVERIFY(!child<QCheckBox>("UzDot")->isEnabled());
    QCOMPARE(findOpt->text(), QStringLiteral("Opcje: wielkość liter, . = [^\\n]"));
    child<QCheckBox>("UzSS")->click();
    QCOMPARE(child<QLabel>("ReplOpt")->text(), QStringLiteral("Opcje: sekwencje specjalne"));

    QVERIFY(child<QPushButton>("FindBtn")->isEnabled());
    child<QRadioButton>("ZakresWsz")->click();
    QVERIFY(!child<QPushButton>("FindBtn")->isEnabled());
    QVERIFY(!child<QPushButton>("ReplBtn")->isEnabled());
    child<QRadioButton>("ZakresAkt")->click();
    QVERIFY(child<QPushButton>("ReplBtn")->isEnabled());
    child<QCheckBox>("WyszSel")->click();
    QVERIFY(!child<QPushButton>("FindBtn")->isEnabled());
    QCOMPARE(findOpt->text(), QStringLiteral("Opcje: wielkość liter, selekcja, . = [^\\n]"));
}

void TestTSearchDial::optionsHeights()
{
    TSearchDial *d = open(0);
    auto *opt = child<QPushButton>("OptBtn");
    QVERIFY(!opt->isChecked());
    QCOMPARE(d->height(), 232);
    opt->click();
    QCOMPARE(d->height(), 313);
    QVERIFY(child<QWidget>("OptArea")->isVisible());
    opt->click();
    QCOMPARE(d->height(), 232);
}

void TestTSearchDial::enterRunsFindOnlyWhenEnabled()
{
    StringDocument *doc = m_docs->add(QStringLiteral("one two two"));
    open(1);
    auto *find = child<QComboBox>("FindCombo");
    find->setEditText(QStringLiteral("two"));
    QTest::keyClick(find->lineEdit(), Qt::Key_Return);
    QCOMPARE(doc->selStart(), 4);
    QCOMPARE(doc->selLength(), 3);
    child<QCheckBox>("WyszSel")->click();
    QTest::keyClick(find->lineEdit(), Qt::Key_Return);
    QCOMPARE(doc->selStart(), 4);
    auto *repl = child<QComboBox>("ReplCombo");
    repl->setEditText(QStringLiteral("2"));
    QTest::keyClick(repl->lineEdit(), Qt::Key_Return);
    QCOMPARE(doc->text(), QStringLiteral("one two two"));
    child<QCheckBox>("WyszSel")->click();
    QTest::keyClick(repl->lineEdit(), Qt::Key_Return);
    QCOMPARE(doc->text(), QStringLiteral("one 2 two"));
    QCOMPARE(doc->selStart(), 6); // the next match
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(find->count(), 1);
    QCOMPARE(repl->itemText(0), QStringLiteral("2"));
}

void TestTSearchDial::enterReachesFocusedCombo()
{
    // The keyboard delivers to the focus widget, which is the combo itself (its line edit
    // hands the focus on to it), never straight to the line edit.
    StringDocument *doc = m_docs->add(QStringLiteral("one two two"));
    TSearchDial *d = open(1);
    QVERIFY(QTest::qWaitForWindowActive(d));
    auto *find = child<QComboBox>("FindCombo");
    auto *repl = child<QComboBox>("ReplCombo");
    find->lineEdit()->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("two"));
    QCOMPARE(find->currentText(), QStringLiteral("two"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(doc->selStart(), 4);
    QCOMPARE(doc->selLength(), 3);
    repl->lineEdit()->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(doc->text(), QStringLiteral("one 2 two"));
    QCOMPARE(doc->selStart(), 6);
    QVERIFY(m_shown.isEmpty());
    QVERIFY(TSearchDial::instance()); // Enter did not close the window
}

void TestTSearchDial::compileErrorPlacesCaret()
{
    m_docs->add(QStringLiteral("abc"));
    open(0);
    child<QCheckBox>("UzReg")->click();
    auto *find = child<QComboBox>("FindCombo");
    find->setEditText(QStringLiteral("a)b"));
    TSearchDial::instance()->FindBtnClick();
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].caption, QStringLiteral("Wyszukiwanie: błąd"));
    QCOMPARE(m_shown[0].text, QStringLiteral("Błąd w wyrażeniu regularnym.\nNieparzyste nawiasy ()."));
    QCOMPARE(find->lineEdit()->selectionStart(), 1);
    QCOMPARE(find->lineEdit()->selectedText(), QStringLiteral(")"));
    QCOMPARE(find->count(), 0); // a failed Prepare stores no history

    m_shown.clear();
    find->setEditText(QStringLiteral("("));
    TSearchDial::instance()->FindAllBtnClick();
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].text, QStringLiteral("Błąd w wyrażeniu regularnym.\nNieparzyste nawiasy ()."));
    QCOMPARE(m_panel->model()->rowCount(), 0);
}

void TestTSearchDial::findNextNotFound()
{
    StringDocument *doc = m_docs->add(QStringLiteral("x.y xay"));
    open(0);
    child<QComboBox>("FindCombo")->setEditText(QStringLiteral("x.y"));
    TSearchDial::instance()->FindBtnClick();
    QCOMPARE(doc->selStart(), 0);
    TSearchDial::instance()->FindBtnClick();
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].icon, QMessageBox::Information);
    QCOMPARE(m_shown[0].caption, QStringLiteral("Wyszukiwanie: informacja"));
    QCOMPARE(m_shown[0].text, QStringLiteral("Nie znaleziono szukanego wyrażenia."));
    QCOMPARE(doc->selStart(), 0);
}

void TestTSearchDial::findAllFillsPanel()
{
    m_docs->add(QStringLiteral("a b a"), QStringLiteral("/d/one.html"));
    m_docs->add(QStringLiteral("a"), QStringLiteral("/d/two.html"));
    m_panel->hide();
    open(0);
    child<QComboBox>("FindCombo")->setEditText(QStringLiteral("a"));
    child<QRadioButton>("ZakresWsz")->click();
    TSearchDial::instance()->FindAllBtnClick();
    QVERIFY(!m_panel->isHidden());
    QCOMPARE(m_panel->tabs()->currentWidget()->objectName(), QStringLiteral("TabFind"));
    QCOMPARE(m_panel->model()->rowCount(), 4);
    QCOMPARE(m_panel->model()->row(3).text, QStringLiteral("Znaleziono 3 wystąpień wyrażenia \"a\"."));
    QVERIFY(m_shown.isEmpty());
    QVERIFY(!m_status.isEmpty());
    QVERIFY(m_status.last().endsWith(QStringLiteral("aby przerwać wyszukiwanie...")));
    // The view shows the model with pictures.
    QAbstractItemModel *shown = m_panel->view()->model();
    QCOMPARE(shown->rowCount(), 4);
    QVERIFY(!shown->data(shown->index(0, 0), Qt::DecorationRole).isNull());

    TSearchDial::instance()->FindAllBtnClick(); // rows accumulate
    QCOMPARE(m_panel->model()->rowCount(), 8);
    m_panel->findChild<QToolButton *>(QStringLiteral("BtnWynikiClBef"))->click();
    TSearchDial::instance()->FindAllBtnClick();
    QCOMPARE(m_panel->model()->rowCount(), 4);
    m_panel->findChild<QToolButton *>(QStringLiteral("BtnWynikiClear"))->click();
    QCOMPARE(m_panel->model()->rowCount(), 0);
}

void TestTSearchDial::replaceAllAndJump()
{
    StringDocument *doc = m_docs->add(QStringLiteral("xax"));
    open(1);
    child<QComboBox>("FindCombo")->setEditText(QStringLiteral("x"));
    child<QComboBox>("ReplCombo")->setEditText(QStringLiteral("[$&]"));
    child<QCheckBox>("UzSS")->click();
    TSearchDial::instance()->ReplAllBtnClick();
    QCOMPARE(doc->text(), QStringLiteral("[x]a[x]"));
    QCOMPARE(m_panel->model()->rowCount(), 3);
    doc->setSelection(0, 0);
    const QModelIndex second = m_panel->view()->model()->index(1, 0);
    m_panel->FindResultsDblClick(second);
    QCOMPARE(doc->selStart(), 4);
    QCOMPARE(doc->selectedText(), QStringLiteral("[x]"));
    QVERIFY(doc->undoSnapshot());
    QCOMPARE(doc->text(), QStringLiteral("xax"));
}

void TestTSearchDial::replaceAllNoMatch()
{
    StringDocument *doc = m_docs->add(QStringLiteral("abc"));
    open(1);
    child<QComboBox>("FindCombo")->setEditText(QStringLiteral("q"));
    TSearchDial::instance()->ReplAllBtnClick();
    QVERIFY(doc->isModified());
    QCOMPARE(m_panel->model()->rowCount(), 1);
    QCOMPARE(m_panel->model()->row(0).text, QStringLiteral("Zamieniono 0 wystąpień wyrażenia \"q\"."));
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].caption, QStringLiteral("Zamiana: informacja"));
    QCOMPARE(m_shown[0].text, QStringLiteral("Nie znaleziono szukanego wyrażenia."));
}

void TestTSearchDial::closedDocumentJump()
{
    m_docs->add(QStringLiteral("abc"));
    open(0);
    child<QComboBox>("FindCombo")->setEditText(QStringLiteral("b"));
    TSearchDial::instance()->FindAllBtnClick();
    m_docs->remove(0);
    m_panel->FindResultsDblClick(m_panel->view()->model()->index(0, 0));
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].caption, QStringLiteral("Wyszukiwanie: informacja"));
    QCOMPARE(m_shown[0].text, QStringLiteral("Okienko z tym dokumentem zostało już zamknięte!"));
    m_shown.clear();
    m_panel->FindResultsDblClick(m_panel->view()->model()->index(1, 0)); // summary row: nothing
    QVERIFY(m_shown.isEmpty());
}

void TestTSearchDial::historyAndStatePersist()
{
    m_docs->add(QStringLiteral("abc"));
    open(1);
    auto *find = child<QComboBox>("FindCombo");
    for (int i = 1; i <= 16; ++i) {
        find->setEditText(QStringLiteral("t%1").arg(i));
        TSearchDial::instance()->FindBtnClick();
    }
    QCOMPARE(find->count(), 15);
    QCOMPARE(find->itemText(0), QStringLiteral("t16"));
    QCOMPARE(find->itemText(14), QStringLiteral("t2"));
    find->setEditText(QStringLiteral("T5"));
    TSearchDial::instance()->FindBtnClick();
    QCOMPARE(find->count(), 15);
    QCOMPARE(find->itemText(0), QStringLiteral("T5"));
    QCOMPARE(find->currentText(), QStringLiteral("T5"));
    child<QComboBox>("ReplCombo")->setEditText(QStringLiteral("zamiennik, z przecinkiem"));
    child<QCheckBox>("UzReg")->click();
    child<QCheckBox>("UzDot")->click();
    child<QRadioButton>("ZakresWsz")->click();
    child<QPushButton>("OptBtn")->click();
    closeDialog();

    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lindenworks"),
            QStringLiteral("Markora"));
        s.beginGroup(QStringLiteral("Okna/Znajdź"));
        QCOMPARE(s.value(QStringLiteral("FindCombo.Text")).toString(), QStringLiteral("T5"));
        QVERIFY(s.value(QStringLiteral("ZakresWsz.Checked")).toBool());
    }

    TSearchDial *d = open(0);
    find = child<QComboBox>("FindCombo");
    QCOMPARE(find->count(), 15);
    QCOMPARE(find->itemText(0), QStringLiteral("T5"));
    QCOMPARE(find->currentText(), QStringLiteral("T5"));
    QCOMPARE(child<QComboBox>("ReplCombo")->currentText(), QStringLiteral("zamiennik, z przecinkiem"));
    QVERIFY(child<QCheckBox>("UzReg")->isChecked());
    QVERIFY(child<QCheckBox>("UzDot")->isChecked());
    QVERIFY(child<QCheckBox>("UzDot")->isEnabled());
    QVERIFY(child<QRadioButton>("ZakresWsz")->isChecked());
    QVERIFY(!child<QPushButton>("FindBtn")->isEnabled());
    QCOMPARE(d->height(), 313);
    QCOMPARE(child<QLabel>("FindOpt")->text(), QStringLiteral("Opcje: wyrażenia regularne, . = [^\\n]"));
}

void TestTSearchDial::handEditedStateFallsBack_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("checked"); // UzReg.Checked
    QTest::addColumn<bool>("placed");
    QTest::newRow("place on the screen")
        << QStringLiteral("100") << QStringLiteral("50") << QString() << true;
    QTest::newRow("huge left") << QStringLiteral("300000000") << QStringLiteral("50") << QString() << false;
    QTest::newRow("huge negative top")
        << QStringLiteral("100") << QStringLiteral("-300000000") << QString() << false;
    QTest::newRow("off every screen")
        << QStringLiteral("20000") << QStringLiteral("20000") << QString() << false;
    QTest::newRow("left not a number")
        << QStringLiteral("lewo") << QStringLiteral("50") << QString() << false;
    QTest::newRow("check not a bool") << QString() << QString() << QStringLiteral("tak") << false;
}

void TestTSearchDial::handEditedStateFallsBack()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QFETCH(QString, checked);
    QFETCH(bool, placed);
    const QPoint opensAt = open(0)->pos();
    closeDialog();
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lindenworks"),
            QStringLiteral("Markora"));
        s.beginGroup(QStringLiteral("Okna/Znajdź"));
        s.remove(QString());
        for (const auto &[key, value] :
            { std::pair { QStringLiteral("Left"), left }, std::pair { QStringLiteral("Top"), top },
                std::pair { QStringLiteral("UzReg.Checked"), checked } })
            if (!value.isNull())
                s.setValue(key, value);
    }
    TSearchDial *d = open(0);
    QCOMPARE(d->pos(), placed ? QPoint(left.toInt(), top.toInt()) : opensAt);
    QVERIFY(!child<QCheckBox>("UzReg")->isChecked());
}

void TestTSearchDial::handEditedHistoryKeptToLimits()
{
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lindenworks"),
            QStringLiteral("Markora"));
        QStringList items;
        for (int i = 0; i < 100; ++i)
            items << QString(1000, QLatin1Char('a' + i % 26)) << QString();
        s.setValue(QStringLiteral("Okna/Znajdź/FindCombo.Items"), items);
        s.setValue(QStringLiteral("Okna/Znajdź/ReplCombo.Items"), QStringLiteral("jeden"));
    }
    open(1);
    auto *find = child<QComboBox>("FindCombo");
    QCOMPARE(find->count(), SearchEngine::HistorySize);
    for (int i = 0; i < find->count(); ++i)
        QCOMPARE(find->itemText(i), QString(SearchEngine::HistoryEntryLength, QLatin1Char('a' + i)));
    QCOMPARE(child<QComboBox>("ReplCombo")->itemText(0), QStringLiteral("jeden"));
}

QTEST_MAIN(TestTSearchDial)
#include "tst_tsearchdial.moc"
