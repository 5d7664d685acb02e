#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

class Spelling;
class TColorMemo;

// Underlines the misspelt words of an editor's visible lines: after a pause in typing,
// or soon after the view moved, the words on screen are checked and handed to the
// control as wavy marks. A keystroke only restarts the pause (the control moves the
// marks itself), so typing costs the same whatever the document's size.
class SpellHighlighter : public QObject
{
    Q_OBJECT
public:
    static constexpr int TypingPauseMs = 400;
    static constexpr int ViewPauseMs = 30;

    // A child of editor; spelling may be null (nothing underlined).
    SpellHighlighter(TColorMemo *editor, std::shared_ptr<Spelling> spelling);
    // The editor's highlighter, or nullptr.
    static SpellHighlighter *of(const TColorMemo *editor);

    // Another dictionary set (or none): the visible lines are checked again.
    void setSpelling(std::shared_ptr<Spelling> spelling);
    Spelling *spelling() const { return m_spelling.get(); }
    // Checks the visible lines now (after a word was added or ignored, on a new screen).
    void checkNow();
    // A check is waiting for its pause.
    bool isPending() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void viewMoved();

    TColorMemo *m_editor;
    std::shared_ptr<Spelling> m_spelling;
    QTimer m_timer;
};
