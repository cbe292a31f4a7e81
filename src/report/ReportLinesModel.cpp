#include "ReportLinesModel.h"

#include <limits>

ReportLinesModel::ReportLinesModel(ReportText text, QObject* parent)
    : QAbstractListModel(parent), m_text(std::move(text))
{
}

int ReportLinesModel::rowCount(const QModelIndex& parent) const
{
    // A view counts rows in int; a report past that many lines shows its first ones.
    if (parent.isValid())
        return 0;
    return int(std::min<qsizetype>(m_text.lineCount(), std::numeric_limits<int>::max()));
}

QVariant ReportLinesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return m_text.line(index.row());
}
