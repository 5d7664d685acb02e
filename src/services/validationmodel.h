#pragma once

#include "services/validator.h"

#include <QAbstractTableModel>
#include <QString>

// The rows of one markup check as a table: "Rodzaj", "Wiersz", "Kolumna", "Komunikat".
// It remembers which document was checked and keeps the rows' places in step with its
// edits, so that a row leads back to its place.
class ValidationModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ColumnKind, ColumnLine, ColumnColumn, ColumnText, ColumnCount };

    explicit ValidationModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The rows of a check of document documentId (named documentName) replace the list.
    void setResult(int documentId, const QString &documentName, const ValidationResult &result);
    void clear();

    const ValidationMessage &row(int i) const { return m_result.messages[i]; }
    int documentId() const { return m_documentId; }
    const ValidationResult &result() const { return m_result; }
    // "strona.html (HTML5): błędy 1, ostrzeżenia 2, informacje 0" and, when some were
    // left out, how many; empty before a check.
    QString summary() const;

    // The checked text changed: the rows' places follow (a place in removed text goes
    // to where the removal was). Line and column stay as the check reported them.
    void textChanged(int from, int charsRemoved, int charsAdded);

    static QString kindName(ValidationMessage::Kind kind);

private:
    ValidationResult m_result;
    int m_documentId = 0;
    QString m_documentName;
};
