#include "insert/ui/tcoloredit.h"

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
    QPixmap swatch(16, 16);
    swatch.fill(Qt::transparent);
    QPainter p(&swatch);
    p.setPen(palette().color(QPalette::WindowText));
    if (colour && !colour->isEmpty())
        p.setBrush(QColor(*colour));
    p.drawRect(0, 0, 15, 15);
    if (!colour)
        p.drawLine(0, 15, 15, 0); // not a colour
    p.end();
    BtnKolor->setIcon(QIcon(swatch));
}
