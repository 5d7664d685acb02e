#pragma once

#include <QObject>

class DocumentSet;
class QAction;

// Letters and entities, commands of the "Polskie litery" menu: letters to named
// entities ("LiteryNaEncje1"), letters to numeric ones ("LiteryNaKody1") and entities
// back to letters ("EncjeNaLitery1"), over the selection of the active document, or the
// whole document when nothing is selected. "&lt;", "&gt;", "&amp;" and "&quot;" stay as
// they are. A conversion is a program change: the snapshot is taken first, so Undo
// brings the text back.
class EntityCommands : public QObject
{
    Q_OBJECT
public:
    enum class Direction { ToNamed, ToNumeric, ToLetters };

    // docs outlives the commands; parent owns them and their actions.
    EntityCommands(DocumentSet &docs, QObject *parent);

    QList<QAction *> actions() const { return { m_toNamed, m_toNumeric, m_toLetters }; }

    // Converts the active document's selection (or its whole text); returns how many
    // characters or references were converted.
    int convert(Direction direction);

Q_SIGNALS:
    // A line for the status bar (panel 3): what was converted.
    void statusMessage(const QString &text);
    // The document changed: the commands and the status bar follow.
    void refreshRequested();

private:
    DocumentSet &m_docs;
    QAction *m_toNamed = nullptr;
    QAction *m_toNumeric = nullptr;
    QAction *m_toLetters = nullptr;
};
