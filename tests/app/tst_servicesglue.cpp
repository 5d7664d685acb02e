#include "app/ui/documentmanager.h"
#include "app/ui/servicescontroller.h"
#include "app/ui/toknogl.h"
#include "base/ui/msgbox.h"
#include "search/findresults.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"
#include "testsupport.h"

#include <QComboBox>
#include <QRadioButton>
#include <QtTest>

// The search window and results panel reached from the main window's commands.
class TstServicesGlue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findAllOverEveryOpenDocumentAndJump();
    void commandsNeedADocument();
};

void TstServicesGlue::findAllOverEveryOpenDocumentAndJump()
{
    testsupport::IsolatedSettings isolated;
    QStringList captions;
    MsgBox::setHandler([&](const MsgBox::Request &r) {
        captions << r.caption;
        return QMessageBox::Ok;
    });
    TOknoGl w;
    w.CurrentEditor()->loadText(QStringLiteral("<b>one</b> <B>two</B>"));
    w.documents().New()->loadText(QStringLiteral("no tags\n<b>three</b>"));
    w.findChild<QAction *>(QStringLiteral("EdycjaZnajdz1"))->trigger();
    TSearchDial *dlg = TSearchDial::instance();
    QVERIFY(dlg);
    dlg->findChild<QComboBox *>(QStringLiteral("FindCombo"))->setEditText(QStringLiteral("<b>"));
    dlg->findChild<QRadioButton *>(QStringLiteral("ZakresWsz"))->click();
    dlg->FindAllBtnClick();
    FindResultsModel *model = w.services()->findResults()->model();
    // Three matches (case-insensitive) and the summary row.
    QCOMPARE(model->rowCount(), 4);
    QVERIFY(w.services()->findResults()->isVisible() || !w.isVisible());
    // Double-clicking the last match selects it in the second document.
    w.documents().activate(0);
    w.services()->findResults()->FindResultsDblClick(model->index(2, 0));
    QCOMPARE(w.documents().activeIndex(), 1);
    QCOMPARE(w.CurrentEditor()->selectedText(), QStringLiteral("<b>"));
    QCOMPARE(w.CurrentEditor()->selStart(), 8);
    QVERIFY(captions.isEmpty());
    dlg->hide();
    MsgBox::setHandler({});
}

void TstServicesGlue::commandsNeedADocument()
{
    testsupport::IsolatedSettings isolated;
    TOknoGl w;
    QVERIFY(w.documents().CloseAll());
    for (const char *name :
        { "EdycjaZnajdz1", "EdycjaZamien1", "Konwerter1", "PlikiZapisz1", "PlikiZamknij1" })
        QVERIFY2(!w.findChild<QAction *>(QString::fromLatin1(name))->isEnabled(), name);
    w.documents().New();
    QVERIFY(w.findChild<QAction *>(QStringLiteral("EdycjaZnajdz1"))->isEnabled());
    QVERIFY(w.findChild<QAction *>(QStringLiteral("Konwerter1"))->isEnabled());
}

QTEST_MAIN(TstServicesGlue)
#include "tst_servicesglue.moc"
