#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// One row of the results list: a match found, a match replaced, or the summary of a run.
struct FindResultRow
{
    enum Image { Found = 0, Replaced = 1, Summary = 2 };

    QString text; // the matched text; for a summary row the summary sentence
    QString replacement; // replaced rows only: the text put in
    QString document; // the document's file name without its directory
    qsizetype position = -1; // 0-based position in the document (of the inserted text for replaced rows)
    int documentId = 0;
    int image = Found;
    // A match in a file on disk rather than in an open document: the file's absolute path
    // (document then holds it relative to the folder searched), and the 1-based line and
    // column shown in place of the position; position is where opening the file puts it.
    QString path;
    int line = 0;
    int column = 0;
};

// The results list as a table model: four columns ("Znaleziony fragment", "Indeks (#)",
// "Dokument", "Zamieniono na"; a match in a file on disk shows "line:column" as its index), rows appended in
// batches so that a million of them costs one insertion. The image index is offered through ImageRole; the
// view maps it to a picture.
class FindResultsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColumnText, ColumnPosition, ColumnDocument, ColumnReplacement, ColumnCount };
    enum Role { ImageRole = Qt::UserRole + 1, DocumentIdRole, PositionRole };

    explicit FindResultsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Appends rows at the end (one model insertion for all of them).
    void appendRows(std::vector<FindResultRow> rows);
    // Empties the list.
    void clear();
    // Row i, 0 <= i < rowCount().
    const FindResultRow &row(int i) const { return m_rows[size_t(i)]; }

    // The width in pixels each column starts with.
    static int defaultColumnWidth(int column);

private:
    std::vector<FindResultRow> m_rows;
};
