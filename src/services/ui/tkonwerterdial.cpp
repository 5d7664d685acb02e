#include "services/ui/tkonwerterdial.h"

#include "base/codepage.h"
#include "base/documents.h"
#include "base/ui/msgbox.h"
#include "services/konwertertexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace T = KonwerterTexts;

TKonwerterDial::TKonwerterDial(DocumentSet *docs, const QString &znakiPath, QWidget *parent)
    : QDialog(parent)
    , m_docs(docs)
{
    setWindowTitle(T::caption());

    FromList = new QListWidget(this);
    ToList = new QListWidget(this);
    auto *fromLabel = new QLabel(T::fromLabel(), this);
    fromLabel->setBuddy(FromList);
    auto *toLabel = new QLabel(T::toLabel(), this);
    toLabel->setBuddy(ToList);

    GroupBox1 = new QGroupBox(T::scopeGroup(), this);
    RadioButton1 = new QRadioButton(T::scopeSelection(), GroupBox1);
    RadioButton2 = new QRadioButton(T::scopeDocument(), GroupBox1);
    RadioButton3 = new QRadioButton(T::scopeAll(), GroupBox1);
    auto *groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(RadioButton1);
    groupLayout->addWidget(RadioButton2);
    groupLayout->addWidget(RadioButton3);

    Label3 = new QLabel(T::label3(), this);
    Label3->setWordWrap(true);
    auto *note = new QLabel(T::editorCharsetNote(), this);
    note->setWordWrap(true);

    Button1 = new QPushButton(T::convertButton(), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(T::cancelButton(), this);

    auto *lists = new QGridLayout;
    lists->addWidget(fromLabel, 0, 0);
    lists->addWidget(toLabel, 0, 1);
    lists->addWidget(FromList, 1, 0);
    lists->addWidget(ToList, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addLayout(lists);
    layout->addWidget(GroupBox1);
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TKonwerterDial::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(FromList, &QListWidget::itemDoubleClicked, this, &TKonwerterDial::FromListDblClick);

    ToList->addItems({ QStringLiteral("ISO 8859-2"), QStringLiteral("Windows 1250"),
        QStringLiteral("MacIntosh"), T::builtinName() });
    ToList->setCurrentRow(0);

    ZnakiReadResult read = ReadZnaki(znakiPath);
    if (read.openFailed) {
        message(QMessageBox::Warning, T::errorCaption(), T::cannotRead());
        return;
    }
    for (const QString &error : std::as_const(read.errors))
        message(QMessageBox::Critical, T::errorCaption(), error);
    for (const TConvData &entry : read.entries)
        FromList->addItem(entry.name);
    if (FromList->count() > 1)
        FromList->setCurrentRow(1);
    m_lookup = ConvLookup(std::move(read.entries));
}

void TKonwerterDial::message(QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    // The table file is read before the dialog is shown: those reports go over its owner.
    MsgBox::show(isVisible() || !parentWidget() ? this : parentWidget(), icon, caption, text);
}

void TKonwerterDial::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TKonwerterDial::FormShow()
{
    const EditableDocument *doc = m_docs ? m_docs->active() : nullptr;
    const bool selection = doc && doc->selLength() > 0;
    RadioButton1->setEnabled(selection);
    if (selection)
        RadioButton1->setChecked(true);
    else
        RadioButton2->setChecked(true);
}

void TKonwerterDial::Button1Click()
{
    EditableDocument *active = m_docs ? m_docs->active() : nullptr;
    if (!active)
        return;
    const QListWidgetItem *fromItem = FromList->currentItem();
    const QListWidgetItem *toItem = ToList->currentItem();
    const TConvData *from = fromItem ? m_lookup.find(fromItem->text()) : nullptr;
    const TConvData *to = toItem ? m_lookup.find(toItem->text()) : nullptr;
    if (!from || !to) {
        // Nothing is converted; say which table is missing.
        QString text;
        if (!to)
            text = T::missingTable(toItem ? toItem->text() : QString());
        else
            text = fromItem ? T::missingTable(fromItem->text()) : T::noSource();
        message(QMessageBox::Warning, T::errorCaption(), text);
        return;
    }

    const int selStart = active->selStart();
    const int selLength = active->selLength();

    const auto convertWhole = [&](EditableDocument *doc) {
        const QString text = doc->text();
        QString converted = ConvertPolish(text, *from, *to);
        if (converted == text)
            return;
        doc->takeSnapshot();
        doc->setText(converted);
    };

    if (RadioButton3->isChecked()) {
        for (int i = 0; i < m_docs->count(); ++i)
            convertWhole(m_docs->at(i));
    } else if (RadioButton1->isChecked() && RadioButton1->isEnabled()) {
        const QString selected = active->selectedText();
        QString converted = ConvertPolish(selected, *from, *to);
        if (converted != selected) {
            active->takeSnapshot();
            active->replaceSelection(converted);
        }
    } else {
        convertWhole(active);
    }

    active->setSelection(selStart, selLength);
    active->setModified(true);
}

void TKonwerterDial::FromListDblClick()
{
    const QListWidgetItem *item = FromList->currentItem();
    const TConvData *table = item ? m_lookup.find(item->text()) : nullptr;
    if (!table)
        return;
    QString text;
    for (const unsigned char code : table->codes) {
        text.append(QChar(CodePage::toUnicode(code, CodePage::Windows1250)));
        text.append(QStringLiteral(", "));
    }
    message(QMessageBox::Information, table->name, text);
}
