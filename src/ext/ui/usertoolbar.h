#pragma once

#include "ext/userslots.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QToolBar>
#include <functional>

class InsertToolTabs;
class QToolButton;
class TPrzeniesDial;

// The "Użytkownika" toolbar: six user buttons Btn1 … Btn6 (captions "1".."6", their slot
// number as the "tag" property), each of which can become a copy of a button of the
// insertion tool tabs. The source's object name is kept per slot in the settings
// (ext/userslots.h).
class UserToolBar : public QToolBar
{
    Q_OBJECT
public:
    static constexpr int SlotCount = UserSlotCount;

    explicit UserToolBar(QWidget *parent = nullptr);

    // Btn<slot> for slot 1..6, null otherwise.
    QToolButton *userButton(int slot) const;
    // The object name of the button copied into the slot; empty when unassigned.
    QString slotName(int slot) const;

    // Reads the six slot names. They are resolved among the buttons of the attached
    // tool tabs (now, or when attachToolTabs is called); a name that names no button
    // there is forgotten without a word.
    void loadSlots(const MarkoraSettings &settings);
    // The six slot names (empty for unassigned), and setting them as loadSlots does.
    QStringList slotNames() const;
    void setSlotNames(const QStringList &names);
    // Writes the six slot names back (a name not yet resolved is written unchanged).
    void saveSlots(MarkoraSettings &settings) const;

    // Connects the right-click of every tool-tab button to the move dialog and
    // resolves the stored slot names among that widget's buttons.
    void attachToolTabs(InsertToolTabs *tabs);

    // Makes user button slot act like source: caption, font, glyph, hint, click action,
    // checkable state and group (a QButtonGroup's or a default action's QActionGroup,
    // whose exclusive policy carries allow-all-up). A previous assignment of the slot is
    // undone first. False for a bad slot or a null source.
    bool assign(int slot, QToolButton *source);

    // The right-click on a tool-tab button: the modal "Przenieś na pasek użytkownika"
    // dialog; "Gotowe!" assigns the chosen slot.
    void moveToUserToolbar(QToolButton *source);

    // How the dialog is run; tests answer in the user's place. Returns the dialog's result.
    std::function<int(TPrzeniesDial &)> execDialog;

private:
    struct Slot
    {
        QString name;
        QPointer<QToolButton> source;
        bool pending = false; // name read but not yet looked up
    };

    void clearSlot(int slot);
    void userButtonClick(int slot, bool checked);
    void resolvePending();

    QToolButton *m_buttons[SlotCount] = {};
    Slot m_slots[SlotCount];
    QPointer<InsertToolTabs> m_tabs;
};
