#pragma once

#include <QListWidget>

// The parameter list that drops down under the caret when a space is typed inside a tag.
// It only reports what the user does; the main window decides (WstListClick,
// WstListKeyPress, WstListExit).
class TWstList : public QListWidget
{
    Q_OBJECT
public:
    explicit TWstList(QWidget *parent = nullptr);

    // The text position the list was opened for (the caret just after the typed space).
    int Tag = 0;

    // Shows entries. Handed the same list again (the same shared data), the items and
    // their measured width stay as they are: a tag's hundred-odd parameters are not made
    // anew on every space.
    void setEntries(const QStringList &entries);
    // The size that shows up to maxRows items without cutting their texts.
    QSize fittingSize(int maxRows = 10) const;

Q_SIGNALS:
    // An item was chosen: clicked, or Enter / line feed pressed.
    void chosen();
    // Every key press the list does not handle itself (typing meant for the document,
    // Escape); the receiver may hide the list.
    void keyTyped(QKeyEvent *e);
    // The list lost the focus.
    void left();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    QStringList m_entries; // what setEntries showed last
    int m_textWidth = 0; // the widest of them
};
