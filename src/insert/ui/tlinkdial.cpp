#include "insert/ui/tlinkdial.h"

#include "base/settings.h"
#include "insert/insertdialogstate.h"
#include "insert/ui/taddressedit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QToolButton>

TLinkDial::TLinkDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Link, QStringLiteral("Wstawianie odnośnika"), target, parent)
{
    CbRodzaj = new QComboBox(this);
    CbRodzaj->addItems({ QStringLiteral("Plik albo adres internetowy"),
        QStringLiteral("Adres poczty elektronicznej"), QStringLiteral("Kotwica w dokumencie") });
    EdAdres = new TAddressEdit(
        target.fileName, QStringLiteral("Strony (*.htm *.html *.php *.asp);;Wszystkie pliki (*)"), this);
    EdTekst = new QLineEdit(this);
    if (!target.selectedText.isEmpty()) {
        // The selection becomes the text between the tags, as every insertion wraps it.
        // Shown only: a long selection is cut for the field.
        const QString shown = target.selectedText.left(200).replace(QLatin1Char('\n'), QLatin1Char(' '));
        EdTekst->setText(target.selectedText.size() > 200 ? shown + QStringLiteral("…") : shown);
        EdTekst->setEnabled(false);
        EdTekst->setToolTip(QStringLiteral("Tekstem odnośnika jest zaznaczony fragment dokumentu"));
    }
    EdTytul = new QLineEdit(this);
    CbCel = new QComboBox(this);
    CbCel->setEditable(true);
    CbCel->addItems(LinkTargets());
    CbCel->setToolTip(QStringLiteral("Okno albo ramka, w której otworzy się odnośnik"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Rodzaj:"), CbRodzaj);
    form->addRow(QStringLiteral("&Adres (HREF):"), EdAdres);
    form->addRow(QStringLiteral("&Tekst odnośnika:"), EdTekst);
    form->addRow(QStringLiteral("&Podpowiedź (TITLE):"), EdTytul);
    form->addRow(QStringLiteral("&Cel (TARGET):"), CbCel);
    setContent(form);
    setMinimumWidth(480);

    connect(CbRodzaj, qOverload<int>(&QComboBox::currentIndexChanged), this, &TLinkDial::CbRodzajChange);
    LinkFields f;
    ReadDialogFields(MarkoraSettings(), f);
    setFields(f);
}

LinkFields TLinkDial::fields() const
{
    LinkFields f;
    f.kind = LinkKind(CbRodzaj->currentIndex());
    f.address = EdAdres->text();
    f.text = EdTekst->isEnabled() ? EdTekst->text() : QString();
    f.title = EdTytul->text();
    f.target = CbCel->currentText().trimmed();
    return f;
}

void TLinkDial::setFields(const LinkFields &f)
{
    CbRodzaj->setCurrentIndex(int(f.kind));
    CbRodzajChange(int(f.kind));
    EdAdres->setText(f.address);
    if (EdTekst->isEnabled())
        EdTekst->setText(f.text);
    EdTytul->setText(f.title);
    CbCel->setEditText(f.target);
}

ResolvedInsertion TLinkDial::insertion() const { return BuildLink(fields()); }

void TLinkDial::CbRodzajChange(int index)
{
    EdAdres->BtnWybierz->setEnabled(LinkKind(index) == LinkKind::Address);
}

bool TLinkDial::checkFields()
{
    const LinkKind kind = LinkKind(CbRodzaj->currentIndex());
    const QString address = EdAdres->text();
    if (address.isEmpty() || address == QLatin1String("#")) {
        const QString what = kind == LinkKind::Mail ? QStringLiteral("Podaj adres poczty elektronicznej.")
            : kind == LinkKind::Anchor              ? QStringLiteral("Podaj nazwę kotwicy.")
                                                    : QStringLiteral("Podaj adres odnośnika.");
        return refuse(EdAdres, what);
    }
    if (kind == LinkKind::Mail && !address.contains(QLatin1Char('@')))
        return refuse(EdAdres, QStringLiteral("Adres poczty elektronicznej musi zawierać znak @."));
    return true;
}

void TLinkDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
