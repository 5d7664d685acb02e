#pragma once

#include "tags/tagmatch.h"

#include <QObject>
#include <QPointer>

class DocumentManager;
class QAction;
class QTimer;
class TEditor;

// Matching tags in the current editor: the tag at the caret and its partner are shown
// with a background a moment after the caret stops, looked for only around the caret
// (TagMatcher's scan budget), and two commands act on them: "Przejdź do pary znacznika"
// (Ctrl+M) puts the caret on the partner, "Zaznacz element" (Ctrl+Shift+M) selects the
// whole element, and again its parent. What cannot be answered (the partner beyond the
// budget, a tag without a pair) goes to the status bar. The window places the actions.
class TagMatchController : public QObject
{
    Q_OBJECT
public:
    // How long the caret rests before the pair is looked for (milliseconds).
    static constexpr int RestDelay = 60;

    // window: owns the controller and its actions; documents outlive it.
    TagMatchController(QWidget &window, DocumentManager &documents);

    // EdycjaParaZnacznika1, EdycjaZaznaczElement1, in menu order; both need a document.
    QList<QAction *> actions() const { return { m_jump, m_select }; }

    // How many characters one query may read (TagMatcher::DefaultScanBudget).
    void setScanBudget(int chars) { m_budget = chars; }

    // Looks for the pair at the caret of the current editor now and shows it.
    void refresh();
    // The answer shown.
    const TagMatch &shown() const { return m_shown; }

    void EdycjaParaZnacznika1Click();
    void EdycjaZaznaczElement1Click();

Q_SIGNALS:
    // A line for the status bar (panel 3).
    void statusMessage(const QString &text);

private:
    void follow(TEditor *editor);
    void show(TEditor *editor, const TagMatch &match);

    DocumentManager &m_documents;
    QPointer<TEditor> m_editor;
    QTimer *m_rest = nullptr;
    QAction *m_jump = nullptr;
    QAction *m_select = nullptr;
    TagMatch m_shown;
    int m_budget = TagMatcher::DefaultScanBudget;
};
