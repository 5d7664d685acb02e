#include "insert/ui/tinsertdial.h"

#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "insert/insertdialogstate.h"

#include <QGuiApplication>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TInsertDial::TInsertDial(
    QStringView section, const QString &caption, const InsertTarget &target, QWidget *parent)
    : QDialog(parent)
    , m_section(section.toString())
    , m_caption(caption)
    , m_target(target)
{
    setWindowTitle(caption);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnAnuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    BtnAnuluj->setObjectName(QStringLiteral("BtnAnuluj"));
    connect(BtnOK, &QPushButton::clicked, this, &TInsertDial::BtnOKClick);
    connect(BtnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
}

void TInsertDial::setContent(QLayout *content)
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnAnuluj);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(content, 1);
    layout->addLayout(buttons);
}

QLineEdit *TInsertDial::numberEdit(int max)
{
    auto *edit = new QLineEdit(this);
    edit->setValidator(new QIntValidator(0, max, edit));
    edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    return edit;
}

QLabel *TInsertDial::buddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
}

int TInsertDial::numberOf(const QLineEdit *edit)
{
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok && v >= 0 ? v : -1;
}

void TInsertDial::setNumber(QLineEdit *edit, int value)
{
    edit->setText(value >= 0 ? QString::number(value) : QString());
}

void TInsertDial::BtnOKClick()
{
    if (!checkFields())
        return;
    MarkoraSettings settings;
    saveFields(settings);
    accept();
}

QMessageBox::StandardButton TInsertDial::message(
    QMessageBox::Icon icon, const QString &word, const QString &text, QMessageBox::StandardButtons buttons)
{
    return MsgBox::show(this, icon, m_caption + QStringLiteral(": ") + word, text, buttons);
}

bool TInsertDial::refuse(QWidget *field, const QString &text)
{
    message(QMessageBox::Warning, QStringLiteral("błąd"), text);
    if (field)
        field->setFocus();
    return false;
}

void TInsertDial::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // A place no screen shows (edited by hand, or a screen since removed) leaves the
    // dialog where it opens.
    const DialogPlace place = DialogPlace::read(MarkoraSettings(), m_section);
    if (place.left == DialogPlace::NoPlace || place.top == DialogPlace::NoPlace)
        return;
    const QRect placed(QPoint(place.left, place.top), size());
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(placed)) {
            move(place.left, place.top);
            return;
        }
    }
}

void TInsertDial::done(int result)
{
    // Kept whichever way the dialog closes, as the tool windows keep theirs.
    if (isVisible()) {
        MarkoraSettings settings;
        DialogPlace { x(), y() }.write(settings, m_section);
    }
    QDialog::done(result);
}
