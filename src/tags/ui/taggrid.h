#pragma once

#include "tags/tagassist.h"
#include "tags/tagdefs.h"
#include "tags/tagparser.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTableWidget;

// The tag inspector: the title and description of the tag loaded from the document and
// a two-column grid of its arguments (name, value editor by kind). Every change of a
// value rebuilds the tag and emits it; the main window puts it back in the document.
class TagInspector : public QWidget
{
    Q_OBJECT
public:
    // defs must outlive the inspector.
    explicit TagInspector(const TagDefs *defs, QWidget *parent = nullptr);

    // Parses a tag's text (line breaks count as spaces) and shows it; a comment ("!")
    // is ignored and leaves the inspector as it was.
    void ShowTagInInspector(const QString &tagText);
    // Adds one row per argument of the tag's "args" (its own first, then the shared ones,
    // then the event handlers), with an editor by its kind, and a text row for each
    // data-*, aria-* and role argument the tag carries.
    void FillArgumentRows(const TagText &tag);
    // Puts the parsed values into the rows and keeps the other arguments as remainder.
    void PutArgumentValues(const TagText &tag);
    // Empties title, description, grid and remainder.
    void clear();

    // "Edytuj tagi używając małych liter".
    void setLowerCaseEditing(bool on) { m_lowerCase = on; }
    bool lowerCaseEditing() const { return m_lowerCase; }

    // Replaces the error box of an argument of unknown kind (tests; caption, text).
    void setErrorReporter(std::function<void(const QString &, const QString &)> reporter);

    QString title() const;
    QString titleHint() const;
    QString description() const;
    QString remainder() const { return m_remainder; }
    int rowCount() const;
    QString rowName(int row) const;
    QString rowKind(int row) const;
    QString rowValue(int row) const;
    // Sets a row's value as the user would; emits tagRebuilt. False for a bad row or a
    // value the row's drop-down does not offer.
    bool setRowValue(int row, const QString &value);
    // The row's editor widget (QLineEdit, QComboBox, or a QWidget holding a QLineEdit
    // and a browse button), nullptr when the row has none.
    QWidget *rowEditor(int row) const;
    QTableWidget *grid() const { return m_grid; }

    // The tag as the grid now describes it.
    QString rebuiltTag() const;

Q_SIGNALS:
    // A tag was shown (the page holding the inspector should come forward).
    void tagShown();
    // A value changed; newTagText replaces the tag in the document.
    void tagRebuilt(const QString &newTagText);

private:
    struct Row
    {
        QString name;
        ArgDescriptor desc;
        QWidget *editor = nullptr;
        bool bare = false; // the argument stood in the tag without a value
        TArgVal kept; // a row without an editor writes back what the tag had
    };
    void addRow(const QString &tagName, const TagArg &tagArg, quint32 nameColor);
    // Rows for the data-*, aria-* and role arguments of the tag that no row shows yet.
    void addOpenAttributeRows(const TagText &tag, quint32 nameColor);
    void setEditorValue(const Row &row, const QString &value);
    QString editorValue(const Row &row) const;
    void valueEdited();
    void browse(int row);

    const TagDefs *m_defs;
    QLabel *m_title;
    QLabel *m_description;
    QTableWidget *m_grid;
    QList<Row> m_rows;
    QString m_tagName;
    QString m_openingHint;
    QString m_remainder;
    bool m_lowerCase = false;
    bool m_filling = false;
    std::function<void(const QString &, const QString &)> m_reportError;
};
