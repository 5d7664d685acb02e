#include "search/findresults.h"

namespace {

struct ColumnInfo
{
    const char *title; // UTF-8
    int width;
};

const ColumnInfo kColumns[FindResultsModel::ColumnCount] = {
    { "Znaleziony fragment", 350 },
    { "Indeks (#)", 60 },
    { "Dokument", 150 },
    { "Zamieniono na", 150 },
};

} // namespace

FindResultsModel::FindResultsModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int FindResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FindResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return QVariant();
    const FindResultRow &r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case ColumnText:
            return r.text;
        case ColumnPosition:
            if (r.image == FindResultRow::Summary)
                return QString();
            if (!r.path.isEmpty())
                return QStringLiteral("%1:%2").arg(r.line).arg(r.column);
            return QString::number(r.position);
        case ColumnDocument:
            return role == Qt::ToolTipRole && !r.path.isEmpty() ? r.path : r.document;
        case ColumnReplacement:
            return r.image == FindResultRow::Replaced ? r.replacement : QString();
        }
        break;
    case ImageRole:
        return r.image;
    case DocumentIdRole:
        return r.documentId;
    case PositionRole:
        return qlonglong(r.position);
    }
    return QVariant();
}

QVariant FindResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns[section].title);
    return QVariant();
}

void FindResultsModel::appendRows(std::vector<FindResultRow> rows)
{
    if (rows.empty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    if (m_rows.empty()) {
        m_rows = std::move(rows);
    } else {
        m_rows.reserve(m_rows.size() + rows.size());
        std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    }
    endInsertRows();
}

void FindResultsModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    std::vector<FindResultRow>().swap(m_rows);
    endResetModel();
}

int FindResultsModel::defaultColumnWidth(int column)
{
    return column >= 0 && column < ColumnCount ? kColumns[column].width : 0;
}
