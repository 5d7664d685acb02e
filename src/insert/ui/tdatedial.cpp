#include "insert/ui/tdatedial.h"

#include "base/settings.h"
#include "insert/scriptmarkup.h"

#include <QListWidget>
#include <QVBoxLayout>

TDateDial::TDateDial(const InsertTarget &target, QWidget *parent)
    : TInsertDial(DialogSections::Date, QStringLiteral("Wstawianie daty"), target, parent)
{
    LbFormaty = new QListWidget(this);
    auto *layout = new QVBoxLayout;
    layout->addWidget(LbFormaty);
    setContent(layout);
    setMinimumSize(380, 320);
    connect(LbFormaty, &QListWidget::itemDoubleClicked, this, &TDateDial::BtnOKClick);
    setMoment(QDateTime::currentDateTime());
    DateFields f;
    ReadDialogFields(MarkoraSettings(), f);
    LbFormaty->setCurrentRow(std::min(f.format, LbFormaty->count() - 1));
}

void TDateDial::setMoment(const QDateTime &moment)
{
    const int row = LbFormaty->currentRow();
    LbFormaty->clear();
    LbFormaty->addItems(DateTexts(moment));
    LbFormaty->setCurrentRow(row);
}

DateFields TDateDial::fields() const { return { LbFormaty->currentRow() }; }

ResolvedInsertion TDateDial::insertion() const
{
    const QListWidgetItem *item = LbFormaty->currentItem();
    if (!item)
        return ResolvedInsertion();
    return { InsertMode::Plain, item->text(), QString() };
}

bool TDateDial::checkFields()
{
    if (!LbFormaty->currentItem())
        return refuse(LbFormaty, QStringLiteral("Wybierz postać daty."));
    return true;
}

void TDateDial::saveFields(MarkoraSettings &settings) const { WriteDialogFields(settings, fields()); }
