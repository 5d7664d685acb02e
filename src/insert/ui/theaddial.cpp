#include "insert/ui/theaddial.h"

#include "base/datafiles.h"
#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/ui/taddressedit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

THeadDial::THeadDial(const InsertTarget &target, QWidget *parent, const QString &keywordsPath)
    : TInsertDial(DialogSections::Head, QStringLiteral("Wstawianie nagłówka"), target, parent)
{
    EdTytul = new QLineEdit(this);
    EdOpis = new QLineEdit(this);
    EdSlowa = new QLineEdit(this);
    EdSlowa->setToolTip(QStringLiteral("Słowa kluczowe rozdzielone przecinkami"));
    LbSlowa = new QListWidget(this);
    LbSlowa->setMinimumHeight(110);
    const QString path
        = keywordsPath.isEmpty() ? DataFilePath(QStringLiteral("konfiguracja/keywords.txt")) : keywordsPath;
    bool read = false;
    for (const QString &word : ReadKeywordList(path, &read)) {
        auto *item = new QListWidgetItem(word, LbSlowa);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    LbSlowaPlik = new QLabel(read
            ? QStringLiteral("Zaznacz słowa z listy (konfiguracja/keywords.txt) albo wpisz własne.")
            : QStringLiteral("Nie ma listy słów kluczowych (konfiguracja/keywords.txt)."),
        this);
    LbSlowaPlik->setWordWrap(true);
    EdAutor = new QLineEdit(this);
    ChkKodowanie = new QCheckBox(QStringLiteral("Deklaracja kodowania dokumentu (")
            + (target.isoCharset ? QStringLiteral("iso-8859-2") : QStringLiteral("windows-1250"))
            + QLatin1Char(')'),
        this);
    EdArkusz = new TAddressEdit(
        target.fileName, QStringLiteral("Arkusze stylów (*.css);;Wszystkie pliki (*)"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Tytuł (TITLE):"), EdTytul);
    form->addRow(QStringLiteral("&Opis (description):"), EdOpis);
    form->addRow(QStringLiteral("&Słowa kluczowe:"), EdSlowa);
    form->addRow(QString(), LbSlowaPlik);
    form->addRow(QString(), LbSlowa);
    form->addRow(QStringLiteral("&Autor (author):"), EdAutor);
    form->addRow(QString(), ChkKodowanie);
    form->addRow(QStringLiteral("A&rkusz stylów (LINK):"), EdArkusz);
    setContent(form);
    setMinimumWidth(520);

    connect(LbSlowa, &QListWidget::itemChanged, this, &THeadDial::LbSlowaItemChanged);
    connect(EdSlowa, &QLineEdit::textChanged, this, &THeadDial::EdSlowaChange);
    HeadFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

HeadFields THeadDial::fields() const
{
    HeadFields f;
    f.title = EdTytul->text();
    f.description = EdOpis->text();
    f.keywords = EdSlowa->text();
    f.author = EdAutor->text();
    f.charset = ChkKodowanie->isChecked();
    f.styleSheet = EdArkusz->text();
    return f;
}

void THeadDial::setFields(const HeadFields &f)
{
    EdTytul->setText(f.title);
    EdOpis->setText(f.description);
    EdSlowa->setText(f.keywords);
    EdAutor->setText(f.author);
    ChkKodowanie->setChecked(f.charset);
    EdArkusz->setText(f.styleSheet);
    EdSlowaChange();
}

ResolvedInsertion THeadDial::insertion() const { return BuildHead(fields(), target().isoCharset); }

void THeadDial::LbSlowaItemChanged(QListWidgetItem *item)
{
    QStringList words = SplitKeywords(EdSlowa->text());
    const QString word = item->text();
    words.removeIf([&word](const QString &w) { return w.compare(word, Qt::CaseInsensitive) == 0; });
    if (item->checkState() == Qt::Checked)
        words << word;
    const QSignalBlocker block(EdSlowa);
    EdSlowa->setText(JoinKeywords(words));
}

void THeadDial::EdSlowaChange()
{
    const QStringList words = SplitKeywords(EdSlowa->text());
    const QSignalBlocker block(LbSlowa);
    for (int i = 0; i < LbSlowa->count(); ++i) {
        QListWidgetItem *item = LbSlowa->item(i);
        item->setCheckState(words.contains(item->text(), Qt::CaseInsensitive) ? Qt::Checked : Qt::Unchecked);
    }
}

void THeadDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
