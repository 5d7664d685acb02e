#include "insert/ui/tcoloredit.h"

#include "base/ui/drawnicon.h"
#include "insert/pagemarkup.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

TColorEdit::TColorEdit(QWidget *parent)
    : QWidget(parent)
{
    CbKolor = new QComboBox(this);
    CbKolor->setEditable(true);
    CbKolor->setInsertPolicy(QComboBox::NoInsert);
    CbKolor->addItem(QString());
    CbKolor->addItems(HtmlColourNames());
    CbKolor->setMinimumContentsLength(9);
    BtnKolor = new QToolButton(this);
    BtnKolor->setToolTip(QStringLiteral("Wybierz kolor z palety"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CbKolor, 1);
    layout->addWidget(BtnKolor);
    setFocusProxy(CbKolor);
    connect(BtnKolor, &QToolButton::clicked, this, &TColorEdit::BtnKolorClick);
    connect(CbKolor, &QComboBox::editTextChanged, this, &TColorEdit::CbKolorChange);
    CbKolorChange();
}

QString TColorEdit::text() const { return CbKolor->currentText().trimmed(); }

void TColorEdit::setText(const QString &text) { CbKolor->setEditText(text); }

void TColorEdit::BtnKolorClick()
{
    const std::optional<QString> current = NormalizeColour(text());
    const QColor initial(current && !current->isEmpty() ? *current : QStringLiteral("#FFFFFF"));
    const QColor chosen = QColorDialog::getColor(initial, this, QStringLiteral("Wybierz kolor"));
    if (chosen.isValid())
        setText(chosen.name(QColor::HexRgb).toUpper());
}

void TColorEdit::CbKolorChange()
{
    const std::optional<QString> colour = NormalizeColour(text());
    const QColor pen = palette().color(QPalette::WindowText);
    BtnKolor->setIcon(DrawnIcon(16, [&](QPainter &p) {
        p.setPen(pen);
        if (colour && !colour->isEmpty())
            p.setBrush(QColor(*colour));
        p.drawRect(QRectF(0.5, 0.5, 15, 15));
        if (!colour)
            p.drawLine(QPointF(0.5, 15.5), QPointF(15.5, 0.5)); // not a colour
    }));
}
