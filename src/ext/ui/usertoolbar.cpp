#include "ext/ui/usertoolbar.h"

#include "base/ui/msgbox.h"
#include "ext/ui/tprzeniesdial.h"
#include "insert/ui/inserttooltabs.h"

#include <QAction>
#include <QButtonGroup>
#include <QToolButton>

UserToolBar::UserToolBar(QWidget *parent)
    : QToolBar(QStringLiteral("Użytkownika"), parent)
{
    setObjectName(QStringLiteral("Uzytkownika"));
    for (int slot = 1; slot <= SlotCount; ++slot) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("Btn%1").arg(slot));
        b->setText(QString::number(slot));
        b->setProperty("tag", slot);
        b->setAutoRaise(true);
        addWidget(b);
        m_buttons[slot - 1] = b;
        connect(
            b, &QToolButton::clicked, this, [this, slot](bool checked) { userButtonClick(slot, checked); });
    }
}

QToolButton *UserToolBar::userButton(int slot) const
{
    return slot >= 1 && slot <= SlotCount ? m_buttons[slot - 1] : nullptr;
}

QString UserToolBar::slotName(int slot) const
{
    return slot >= 1 && slot <= SlotCount ? m_slots[slot - 1].name : QString();
}

void UserToolBar::loadSlots(const MarkoraSettings &settings) { setSlotNames(UserSlotTable().read(settings)); }

QStringList UserToolBar::slotNames() const
{
    QStringList names;
    for (const Slot &s : m_slots)
        names << s.name;
    return names;
}

void UserToolBar::setSlotNames(const QStringList &names)
{
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const QString name = names.value(slot - 1);
        if (name.isEmpty())
            continue;
        clearSlot(slot);
        m_slots[slot - 1].name = name;
        m_slots[slot - 1].pending = true;
    }
    resolvePending();
}

void UserToolBar::saveSlots(MarkoraSettings &settings) const { UserSlotTable().write(settings, slotNames()); }

void UserToolBar::attachToolTabs(InsertToolTabs *tabs)
{
    if (m_tabs)
        disconnect(m_tabs, &InsertToolTabs::buttonRightClicked, this, &UserToolBar::moveToUserToolbar);
    m_tabs = tabs;
    if (!tabs)
        return;
    connect(tabs, &InsertToolTabs::buttonRightClicked, this, &UserToolBar::moveToUserToolbar);
    resolvePending();
}

void UserToolBar::resolvePending()
{
    if (!m_tabs)
        return; // names stay as read until there are buttons to look them up among
    for (int slot = 1; slot <= SlotCount; ++slot) {
        Slot &s = m_slots[slot - 1];
        if (!s.pending)
            continue;
        s.pending = false;
        if (QToolButton *source = m_tabs->button(s.name))
            assign(slot, source);
        else
            s.name.clear(); // the button is gone: the slot is simply empty
    }
}

void UserToolBar::clearSlot(int slot)
{
    QToolButton *b = m_buttons[slot - 1];
    if (QButtonGroup *group = b->group())
        group->removeButton(b);
    if (QAction *action = b->defaultAction())
        b->removeAction(action);
    b->setChecked(false);
    b->setCheckable(false);
    b->setText(QString::number(slot));
    b->setFont(QFont()); // inherit again
    b->setIcon(QIcon());
    b->setToolTip(QString());
    m_slots[slot - 1] = Slot();
}

bool UserToolBar::assign(int slot, QToolButton *source)
{
    if (slot < 1 || slot > SlotCount || !source)
        return false;
    clearSlot(slot);
    QToolButton *b = m_buttons[slot - 1];
    if (QAction *action = source->defaultAction()) {
        // The shared action brings its text, glyph, hint, check state, group and trigger.
        b->setDefaultAction(action);
        b->setFont(source->font());
    } else {
        copyButtonLook(source, b);
        // Joining the source's group makes the copy a toggle among the same buttons.
        if (QButtonGroup *group = source->group())
            group->addButton(b);
    }
    m_slots[slot - 1].name = source->objectName();
    m_slots[slot - 1].source = source;
    return true;
}

void UserToolBar::userButtonClick(int slot, bool checked)
{
    const Slot &s = m_slots[slot - 1];
    if (s.name.isEmpty() && !s.source) {
        MsgBox::show(window(), QMessageBox::Information, QStringLiteral("Przyciski użytkownika"),
            QStringLiteral("Aby przenieść tu jeden z przycisków z Zakładek HTML, kliknij na nim prawym "
                           "klawiszem myszki."));
        return;
    }
    QToolButton *source = s.source;
    if (!source || source->defaultAction())
        return; // a default action was triggered by the click itself
    // The source's own handlers run, with this button's state, and the source stays as it is.
    Q_EMIT source->clicked(checked);
}

void UserToolBar::moveToUserToolbar(QToolButton *source)
{
    if (!source)
        return;
    TPrzeniesDial dialog(source, window());
    const int result = execDialog ? execDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted || dialog.chosenSlot() == 0)
        return;
    const int slot = dialog.chosenSlot();
    assign(slot, source);
    if (!source->defaultAction())
        m_buttons[slot - 1]->setToolTip(dialog.action());
}
