#pragma once

#include "ReportLog.h"

#include <QAbstractListModel>

/// The lines of a report for a list view, each decoded only when the view shows it.
class ReportLinesModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ReportLinesModel(ReportText text, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    ReportText m_text;
};
