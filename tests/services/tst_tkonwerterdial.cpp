#include "base/documents.h"
#include "services/ui/tkonwerterdial.h"

#include "guitestsupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString znakiPath() { return testsupport::sourcePath(QStringLiteral("konfiguracja/znaki.txt")); }

} // namespace

class TstKonwerterDial : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controls();
    void radioButtonsFollowSelection();
    void convertScopes_data();
    void convertScopes();
    void missingFileAndBadLines();
    void missingTargetConvertsNothing();
    void showTable();

private:
    std::unique_ptr<TKonwerterDial> make(DocumentSet *docs, const QString &path = znakiPath())
    {
        m_shown.clear();
        return std::make_unique<TKonwerterDial>(docs, path);
    }
    static void select(QListWidget *list, const QString &name)
    {
        const auto items = list->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        list->setCurrentItem(items.front());
    }

    testsupport::ScriptedUser m_user;
    QList<MsgBox::Request> &m_shown = m_user.asked; // every message box the dialog showed
};

void TstKonwerterDial::controls()
{
    StringDocumentSet docs;
    docs.add(QStringLiteral("x"));
    auto dial = make(&docs);
    QVERIFY(m_shown.empty());
    QCOMPARE(dial->windowTitle(), QStringLiteral("Konwerter"));
    QStringList from;
    for (int i = 0; i < dial->FromList->count(); ++i)
        from.append(dial->FromList->item(i)->text());
    QCOMPARE(from,
        QStringList({ QStringLiteral("ISO 8859-2"), QStringLiteral("Windows 1250"),
            QStringLiteral("MacIntosh"), QStringLiteral("Latin 2 (DOS 852)"), QStringLiteral("Mazovia") }));
    QCOMPARE(dial->FromList->currentRow(), 1);
    QCOMPARE(dial->ToList->count(), 4);
    QCOMPARE(dial->ToList->item(3)->text(), QStringLiteral("Polskawy (bez ogonków)"));
    QCOMPARE(dial->ToList->currentRow(), 0);
    // Every target offered has a table.
    for (int i = 0; i < dial->ToList->count(); ++i)
        QVERIFY2(
            dial->lookup().find(dial->ToList->item(i)->text()), qPrintable(dial->ToList->item(i)->text()));
    QCOMPARE(dial->GroupBox1->title(), QStringLiteral("Konwertuj"));
    QCOMPARE(dial->RadioButton1->text(), QStringLiteral("Tekst zaznaczony w edytowanym dokumencie"));
    QCOMPARE(dial->RadioButton2->text(), QStringLiteral("Cały tekst w edytowanym dokumencie"));
    QCOMPARE(dial->RadioButton3->text(), QStringLiteral("Wszystkie dokumenty otwarte w edytorze"));
    QCOMPARE(dial->Button1->text(), QStringLiteral("Konwertuj"));
    QCOMPARE(dial->Button2->text(), QStringLiteral("Anuluj"));
    QCOMPARE(dial->Label3->text(),
        QStringLiteral("W okienku po lewej zaznacz kodowanie, jakiego używałeś do tej pory, w prawym - "
                       "kodowanie docelowe."));
}

void TstKonwerterDial::radioButtonsFollowSelection()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("Żółć"));
    auto dial = make(&docs);

    doc->setSelection(1, 2);
    dial->show();
    QVERIFY(dial->RadioButton1->isEnabled());
    QVERIFY(dial->RadioButton1->isChecked());
    dial->hide();

    doc->setSelection(2, 0);
    dial->show();
    QVERIFY(!dial->RadioButton1->isEnabled());
    QVERIFY(dial->RadioButton2->isChecked());
    dial->hide();
}

void TstKonwerterDial::convertScopes_data()
{
    QTest::addColumn<int>("scope"); // 1 selection, 2 active document, 3 all documents
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("otherModified");
    QTest::newRow("selection") << 1 << QStringLiteral("Żółć Zolc Żółć") << QStringLiteral("Źdźbło") << false;
    QTest::newRow("active document") << 2 << QStringLiteral("Zolc Zolc Zolc") << QStringLiteral("Źdźbło")
                                     << false;
    QTest::newRow("all documents") << 3 << QStringLiteral("Zolc Zolc Zolc") << QStringLiteral("Zdzblo")
                                   << true;
}

void TstKonwerterDial::convertScopes()
{
    QFETCH(int, scope);
    QFETCH(QString, active);
    QFETCH(QString, other);
    QFETCH(bool, otherModified);

    StringDocumentSet docs;
    StringDocument *first = docs.add(QStringLiteral("Źdźbło"));
    first->setModified(false);
    StringDocument *current = docs.add(QStringLiteral("Żółć Żółć Żółć"));
    current->setModified(false);
    StringDocument *unchanged = docs.add(QStringLiteral("plain text"));
    unchanged->setModified(false);
    docs.activate(1);
    current->setSelection(5, 4);

    auto dial = make(&docs);
    select(dial->ToList, QStringLiteral("Polskawy (bez ogonków)"));
    dial->FormShow();
    if (scope == 2)
        dial->RadioButton2->setChecked(true);
    if (scope == 3)
        dial->RadioButton3->setChecked(true);
    QTest::mouseClick(dial->Button1, Qt::LeftButton);

    QVERIFY(m_shown.empty());
    QCOMPARE(current->text(), active);
    QCOMPARE(first->text(), other);
    QCOMPARE(first->isModified(), otherModified);
    QCOMPARE(unchanged->isModified(), false);
    QVERIFY(!unchanged->state().hasSnapshot());
    // The selection is restored and the active document marked modified.
    QCOMPARE(current->selStart(), 5);
    QCOMPARE(current->selLength(), 4);
    QVERIFY(current->isModified());
    // Undo brings each changed document back.
    QVERIFY(current->undoSnapshot());
    QCOMPARE(current->text(), QStringLiteral("Żółć Żółć Żółć"));
    QCOMPARE(first->undoSnapshot(), otherModified);
    QCOMPARE(first->text(), QStringLiteral("Źdźbło"));
}

void TstKonwerterDial::missingFileAndBadLines()
{
    QTemporaryDir dir;
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("ąśż"));
    {
        auto dial = make(&docs, dir.filePath(QStringLiteral("znaki.txt")));
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(m_shown[0].icon, QMessageBox::Warning);
        QCOMPARE(m_shown[0].caption, QStringLiteral("Konwerter: błąd"));
        QCOMPARE(m_shown[0].text,
            QStringLiteral(
                "Nie można odczytać pliku konfiguracja\\znaki.txt!\nKonwerter nie będzie działał!"));
        QCOMPARE(dial->FromList->count(), 0);
        m_shown.clear();
        dial->Button1Click(); // nothing to convert, reported, text untouched
        QCOMPARE(doc->text(), QStringLiteral("ąśż"));
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(m_shown[0].caption, QStringLiteral("Konwerter: błąd"));
    }

    const QString path = dir.filePath(QStringLiteral("bad.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "; header\r\n\"A\" 1 2\r\n\"Windows 1250\" 165 198 202 163 209 211 140 143 175 185 230 234 179 241 "
        "243 156 159 191\r\n\"ISO 8859-2\" 161 198 202 163 209 211 166 172 175 177 230 234 179 241 243 182 "
        "188\r\n");
    f.close();
    auto dial = make(&docs, path);
    QCOMPARE(m_shown.size(), 2);
    QCOMPARE(m_shown[0].text, QStringLiteral("Błąd w pliku znaki.txt, linia 2."));
    QCOMPARE(m_shown[1].text, QStringLiteral("Błąd w pliku znaki.txt, linia 4."));
    QCOMPARE(m_shown[1].caption, QStringLiteral("Konwerter: błąd"));
    QCOMPARE(dial->FromList->count(), 3);
    // Windows 1250 to the damaged ISO table: ż has no target code and stays.
    m_shown.clear();
    dial->FormShow();
    QCOMPARE(dial->FromList->currentItem()->text(), QStringLiteral("Windows 1250"));
    dial->Button1Click();
    QVERIFY(m_shown.empty());
    QCOMPARE(doc->text(), QStringLiteral("±¶ż"));
}

void TstKonwerterDial::missingTargetConvertsNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("znaki.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\"Mazovia\" 143 149 144 156 165 163 152 160 161 134 141 145 146 164 162 158 166 167\r\n"
            "\"Windows 1250\" 165 198 202 163 209 211 140 143 175 185 230 234 179 241 243 156 159 191\r\n");
    f.close();
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("żółw"));
    doc->setModified(false);
    auto dial = make(&docs, path);
    dial->FormShow();
    dial->Button1Click(); // target "ISO 8859-2" is not in this file
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].caption, QStringLiteral("Konwerter: błąd"));
    QVERIFY(m_shown[0].text.contains(QStringLiteral("ISO 8859-2")));
    QCOMPARE(doc->text(), QStringLiteral("żółw"));
    QVERIFY(!doc->isModified());
    QVERIFY(!doc->state().hasSnapshot());
}

void TstKonwerterDial::showTable()
{
    StringDocumentSet docs;
    docs.add(QString());
    auto dial = make(&docs);
    select(dial->FromList, QStringLiteral("ISO 8859-2"));
    dial->FromListDblClick();
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].icon, QMessageBox::Information);
    QCOMPARE(m_shown[0].caption, QStringLiteral("ISO 8859-2"));
    // ISO codes as Windows-1250 characters: Ą (A1) shows as ˇ, Ź (AC) as ¬, ą (B1) as ±.
    QVERIFY(m_shown[0].text.startsWith(QStringLiteral("ˇ, Ć, Ę, Ł, Ń, Ó, ¦, ¬, Ż, ±, ")));
    QVERIFY(m_shown[0].text.endsWith(QStringLiteral("ó, ¶, Ľ, ż, ")));
    QCOMPARE(m_shown[0].text.size(), 18 * 3);
}

QTEST_MAIN(TstKonwerterDial)
#include "tst_tkonwerterdial.moc"
