#include "guitestsupport.h"
#include "insert/relativepath.h"
#include "insert/ui/taddressedit.h"
#include "insert/ui/tbodydial.h"
#include "insert/ui/tcoloredit.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ScriptedUser;

// What the insertion dialogs check and say before anything is inserted: the questions and
// refusals, the notes of the relative-path rule, a picture whose size cannot be read, and
// the values and place each dialog keeps.
class TestInsertDial : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void imageAltAndPicture();
    void refusals_data();
    void refusals();
    void keywordTicksFollowTheText();
    void valuesAndPlaceKept();
};

void TestInsertDial::imageAltAndPicture()
{
    ScriptedUser user;
    QTemporaryDir dir;
    QImage picture(12, 7, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(dir.filePath(QStringLiteral("kot.png"))));
    const QString text = testsupport::writeFile(dir.filePath(QStringLiteral("tekst.png")), "nie obrazek");

    // An unsaved document: the address is absolute and the dialog says why.
    TImageDial d({});
    d.EdSrc->FileChosen(dir.filePath(QStringLiteral("kot.png")));
    QCOMPARE(d.EdSrc->text(), RelativeLink(QString(), dir.filePath(QStringLiteral("kot.png"))).href);
    QVERIFY(d.EdSrc->text().startsWith(QLatin1String("file:///")));
    QVERIFY(!d.EdSrc->LbUwaga->isHidden());
    QCOMPARE(d.EdSrc->LbUwaga->text(), LinkPathNote(LinkPathKind::Unsaved));
    QCOMPARE(d.EdSzerokosc->text(), QStringLiteral("12"));
    QCOMPARE(d.EdWysokosc->text(), QStringLiteral("7"));
    QVERIFY(!d.Podglad->pixmap().isNull());
    // "Odczytaj z pliku" follows a file: URL too.
    d.EdSzerokosc->clear();
    d.BtnRozmiarClick();
    QCOMPARE(d.EdSzerokosc->text(), QStringLiteral("12"));
    QVERIFY(user.asked.isEmpty());

    // Not a picture: the sizes are emptied and the user is told.
    d.EdSrc->FileChosen(text);
    QVERIFY(d.EdSzerokosc->text().isEmpty() && d.EdWysokosc->text().isEmpty());
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Wstawianie obrazka: ostrzeżenie"));
    QVERIFY(user.asked[0].text.contains(QStringLiteral("tekst.png")));
    QVERIFY(d.LbRozmiar->text().startsWith(QStringLiteral("Nie odczytano rozmiaru")));
    QVERIFY(d.Podglad->pixmap().isNull());

    // No description: asked whether the picture is decorative; No keeps the dialog open.
    d.EdSrc->setText(QStringLiteral("kot.png"));
    d.EdAlt->clear();
    user.answers << QMessageBox::No << QMessageBox::Yes;
    d.BtnOKClick();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(user.asked.last().caption, QStringLiteral("Wstawianie obrazka: pytanie"));
    QCOMPARE(user.asked.last().buttons, QMessageBox::Yes | QMessageBox::No);
    d.BtnOKClick();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(d.ChkOzdobny->isChecked());
    QCOMPARE(d.insertion().opening, QStringLiteral("<IMG SRC=\"kot.png\" ALT=\"\">"));
    QCOMPARE(user.asked.size(), 3);
}

void TestInsertDial::refusals_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("says"); // a part of the message
    QTest::newRow("picture without a source") << "image"
                                              << "Wstawianie obrazka: błąd"
                                              << "Podaj plik";
    QTest::newRow("body colour") << "body"
                                 << "Wstawianie znacznika BODY: błąd"
                                 << "„zielony” nie jest kolorem";
    QTest::newRow("table width") << "table"
                                 << "Kreator tabeli: błąd"
                                 << "w procentach";
    QTest::newRow("frame size") << "frames"
                                << "Kreator ramek: błąd"
                                << "Rozmiar ramki 2";
    QTest::newRow("e-mail without @") << "mail"
                                      << "Wstawianie odnośnika: błąd"
                                      << "znak @";
    QTest::newRow("META without a name") << "meta"
                                         << "Wstawianie znacznika META: błąd"
                                         << "nazwę";
    QTest::newRow("script file missing") << "script"
                                         << "Wstawianie skryptu: błąd"
                                         << "plik skryptu";
    QTest::newRow("style selector of brackets") << "style"
                                                << "Wstawianie stylu: błąd"
                                                << "selektor";
}

void TestInsertDial::refusals()
{
    QFETCH(QString, dialog);
    QFETCH(QString, caption);
    QFETCH(QString, says);
    ScriptedUser user;
    std::unique_ptr<TInsertDial> d;
    if (dialog == QLatin1String("image")) {
        auto *image = new TImageDial({});
        image->EdSrc->setText(QStringLiteral("  "));
        d.reset(image);
    } else if (dialog == QLatin1String("body")) {
        auto *body = new TBodyDial({});
        body->EdLink->setText(QStringLiteral("zielony"));
        d.reset(body);
    } else if (dialog == QLatin1String("table")) {
        auto *table = new TTableDial({});
        table->EdSzerokosc->setText(QStringLiteral("szeroka"));
        d.reset(table);
    } else if (dialog == QLatin1String("frames")) {
        auto *frames = new TFrameDial({});
        frames->TblRamki->item(1, 0)->setText(QStringLiteral("1/2"));
        d.reset(frames);
    } else if (dialog == QLatin1String("mail")) {
        auto *link = new TLinkDial({});
        link->CbRodzaj->setCurrentIndex(int(LinkKind::Mail));
        link->EdAdres->setText(QStringLiteral("jan.example.pl"));
        d.reset(link);
    } else if (dialog == QLatin1String("meta")) {
        auto *meta = new TMetaDial({});
        meta->CbNazwa->setEditText(QStringLiteral(" "));
        d.reset(meta);
    } else if (dialog == QLatin1String("script")) {
        auto *script = new TScriptDial({});
        script->RbZPliku->setChecked(true);
        QVERIFY(!script->ChkKomentarz->isEnabled());
        d.reset(script);
    } else {
        auto *style = new TStyleDial({});
        style->EdSelektor->setText(QStringLiteral("{ }"));
        d.reset(style);
    }
    d->BtnOKClick();
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, caption);
    QVERIFY2(user.asked[0].text.contains(says), qPrintable(user.asked[0].text));
}

void TestInsertDial::keywordTicksFollowTheText()
{
    QTemporaryDir dir;
    const QString list = testsupport::writeFile(
        dir.filePath(QStringLiteral("keywords.txt")), QByteArray("; lista\r\ngóry\r\nmorze\r\nŁódź\r\n"));
    InsertTarget target;
    target.isoCharset = true;
    THeadDial d(target, nullptr, list);
    QCOMPARE(d.LbSlowa->count(), 3);
    QVERIFY(d.ChkKodowanie->text().contains(QStringLiteral("iso-8859-2")));
    d.EdSlowa->setText(QStringLiteral("łódź, zamki"));
    QCOMPARE(d.LbSlowa->item(2)->checkState(), Qt::Checked);
    QCOMPARE(d.LbSlowa->item(0)->checkState(), Qt::Unchecked);
    d.LbSlowa->item(0)->setCheckState(Qt::Checked);
    d.LbSlowa->item(2)->setCheckState(Qt::Unchecked);
    QCOMPARE(d.EdSlowa->text(), QStringLiteral("zamki, góry"));

    THeadDial missing({}, nullptr, dir.filePath(QStringLiteral("brak.txt")));
    QCOMPARE(missing.LbSlowa->count(), 0);
    QVERIFY(missing.LbSlowaPlik->text().contains(QStringLiteral("Nie ma listy")));
    QVERIFY(missing.ChkKodowanie->text().contains(QStringLiteral("windows-1250")));
}

void TestInsertDial::valuesAndPlaceKept()
{
    TableFields table;
    table.rows = 3;
    table.columns = 4;
    table.caption = QStringLiteral("Cennik");
    table.width = QStringLiteral("80%");
    QPoint place;
    {
        TTableDial d({});
        QVERIFY(d.fields() == TableFields());
        d.setFields(table);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.move(d.pos() + QPoint(23, 17));
        place = d.pos();
        d.BtnOKClick();
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }
    {
        TTableDial d({});
        QVERIFY(d.fields() == table);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.pos(), place);
        // Cancelled: the place is kept, the values are not.
        d.SpWiersze->setValue(9);
        d.move(place + QPoint(5, 5));
        d.BtnAnuluj->click();
    }
    TTableDial d({});
    QCOMPARE(d.fields().rows, 3);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.pos(), place + QPoint(5, 5));
}

QTEST_MAIN(TestInsertDial)
#include "tst_insertdial.moc"
