#include "ext/ui/tprzeniesdial.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

void copyButtonLook(const QToolButton *from, QToolButton *to)
{
    to->setText(from->text());
    to->setFont(from->font());
    to->setIcon(from->icon());
    to->setToolTip(from->toolTip());
    to->setCheckable(from->isCheckable());
}

TPrzeniesDial::TPrzeniesDial(QToolButton *source, QWidget *parent)
    : QDialog(parent)
    , Podglad(new QToolButton(this))
    , LbAkcja(new QLabel(this))
    , m_slots(new QButtonGroup(this))
    , BtnGotowe(new QPushButton(QStringLiteral("Gotowe!"), this))
{
    setObjectName(QStringLiteral("PrzeniesDial"));
    setWindowTitle(QStringLiteral("Przenieś na pasek użytkownika"));
    setModal(true);

    Podglad->setObjectName(QStringLiteral("Podglad"));
    if (source) {
        copyButtonLook(source, Podglad);
        Podglad->setChecked(source->isChecked());
        LbAkcja->setText(source->toolTip());
    }
    LbAkcja->setObjectName(QStringLiteral("LbAkcja"));
    LbAkcja->setTextFormat(Qt::PlainText);
    LbAkcja->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QGridLayout;
    top->addWidget(Podglad, 0, 0, 2, 1, Qt::AlignTop);
    top->addWidget(new QLabel(QStringLiteral("Akcja:"), this), 0, 1);
    top->addWidget(LbAkcja, 1, 1);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);
    auto *prompt = new QLabel(
        QStringLiteral("Wybierz teraz przycisk, który ma się zachowywać jak ten powyższy:"), this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    auto *row = new QHBoxLayout;
    m_slots->setExclusive(true);
    for (int slot = 1; slot <= 6; ++slot) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("Slot%1").arg(slot));
        b->setText(QString::number(slot));
        b->setCheckable(true);
        m_slots->addButton(b, slot);
        row->addWidget(b);
    }
    row->addStretch(1);
    layout->addLayout(row);

    BtnGotowe->setObjectName(QStringLiteral("BtnGotowe"));
    BtnGotowe->setEnabled(false);
    BtnGotowe->setDefault(true);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BtnGotowe);
    layout->addLayout(bottom);

    connect(m_slots, &QButtonGroup::idToggled, this, [this] { BtnGotowe->setEnabled(chosenSlot() != 0); });
    connect(BtnGotowe, &QPushButton::clicked, this, [this] {
        if (chosenSlot() != 0)
            accept();
    });
}

int TPrzeniesDial::chosenSlot() const { return std::max(0, m_slots->checkedId()); }

void TPrzeniesDial::chooseSlot(int slot)
{
    if (QAbstractButton *b = m_slots->button(slot))
        b->setChecked(true);
}

QString TPrzeniesDial::action() const { return LbAkcja->text(); }

QAbstractButton *TPrzeniesDial::slotButton(int slot) const { return m_slots->button(slot); }
