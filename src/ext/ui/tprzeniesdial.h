#pragma once

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class QToolButton;

// "Przenieś na pasek użytkownika": shows a copy of the right-clicked tool-tab button and
// its action, and lets the user pick the user button (1..6) that is to act like it.
// Accepted by "Gotowe!" once a slot is chosen.
class TPrzeniesDial : public QDialog
{
    Q_OBJECT
public:
    explicit TPrzeniesDial(QToolButton *source, QWidget *parent = nullptr);

    // 1..6, or 0 while none is chosen.
    int chosenSlot() const;
    void chooseSlot(int slot);
    // The hint shown under "Akcja:", which the user button takes over.
    QString action() const;

    QToolButton *preview() const { return Podglad; }
    QAbstractButton *slotButton(int slot) const;
    QPushButton *gotoweButton() const { return BtnGotowe; }

private:
    QToolButton *Podglad;
    QLabel *LbAkcja;
    QButtonGroup *m_slots;
    QPushButton *BtnGotowe;
};

// Copies what a user sees of a button: caption, font, glyph, hint, checkable state.
void copyButtonLook(const QToolButton *from, QToolButton *to);
