#include "services/validationmodel.h"

#include <algorithm>

ValidationModel::ValidationModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int ValidationModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_result.messages.size());
}

int ValidationModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ValidationModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_result.messages.size())
        return QVariant();
    const ValidationMessage &m = m_result.messages[index.row()];
    if (role == Qt::ToolTipRole && index.column() == ColumnText)
        return m.key.isEmpty() ? m.text : m.text + QStringLiteral(" (") + m.key + u')';
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case ColumnKind:
        return kindName(m.kind);
    case ColumnLine:
        return m.line > 0 ? QVariant(m.line) : QVariant();
    case ColumnColumn:
        return m.line > 0 ? QVariant(m.column) : QVariant();
    case ColumnText:
        return m.text;
    }
    return QVariant();
}

QVariant ValidationModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case ColumnKind:
        return QStringLiteral("Rodzaj");
    case ColumnLine:
        return QStringLiteral("Wiersz");
    case ColumnColumn:
        return QStringLiteral("Kolumna");
    case ColumnText:
        return QStringLiteral("Komunikat");
    }
    return QVariant();
}

void ValidationModel::setResult(int documentId, const QString &documentName, const ValidationResult &result)
{
    beginResetModel();
    m_documentId = documentId;
    m_documentName = documentName;
    m_result = result;
    endResetModel();
}

void ValidationModel::clear() { setResult(0, QString(), ValidationResult()); }

QString ValidationModel::summary() const
{
    if (m_documentId == 0)
        return QString();
    const QString version = m_result.htmlVersion >= 500 ? QStringLiteral("HTML5")
        : m_result.htmlVersion >= 400                   ? QStringLiteral("HTML 4.01")
                                                        : QStringLiteral("HTML");
    const auto &f = m_result.found;
    QString s = QStringLiteral("%1 (%2): błędy %3, ostrzeżenia %4, informacje %5")
                    .arg(m_documentName, version)
                    .arg(f[ValidationMessage::Error])
                    .arg(f[ValidationMessage::Warning])
                    .arg(f[ValidationMessage::Info]);
    if (f[ValidationMessage::Access] > 0)
        s += QStringLiteral(", dostępność %1").arg(f[ValidationMessage::Access]);
    if (m_result.dropped > 0)
        s += QStringLiteral("; pominięto %1 dalszych").arg(m_result.dropped);
    return s;
}

QString ValidationModel::kindName(ValidationMessage::Kind kind)
{
    switch (kind) {
    case ValidationMessage::Error:
        return QStringLiteral("Błąd");
    case ValidationMessage::Warning:
        return QStringLiteral("Ostrzeżenie");
    case ValidationMessage::Info:
        return QStringLiteral("Informacja");
    case ValidationMessage::Access:
        return QStringLiteral("Dostępność");
    }
    return QString();
}

void ValidationModel::textChanged(int from, int charsRemoved, int charsAdded)
{
    const int end = from + charsRemoved;
    for (ValidationMessage &m : m_result.messages) {
        if (m.position >= end)
            m.position += charsAdded - charsRemoved;
        else if (m.position > from)
            m.position = from;
    }
}
