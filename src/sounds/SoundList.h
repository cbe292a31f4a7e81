#pragma once

#include <QObject>
#include <QString>
#include <vector>

/// How a check command treats every item of the sound list.
enum class CheckMode { CheckAll = 0, UncheckAll = 1, CheckInverse = 2 };

/// The sound check list's content: sound names kept in alphabetical order (letter case ignored),
/// one check mark each, and at most one selected item. The window's list widget is a view of it.
class SoundList : public QObject
{
    Q_OBJECT
public:
    int count() const { return int(m_items.size()); }
    const QString& text(int row) const { return m_items.at(std::size_t(row)).name; }
    bool isChecked(int row) const { return m_items.at(std::size_t(row)).checked; }
    /// The selected item's row, or -1 when none is selected.
    int currentRow() const { return m_currentRow; }

    void setChecked(int row, bool checked);
    /// Selects the item at row; -1 selects none.
    void setCurrentRow(int row);
    void applyCheckMode(CheckMode mode);

    /// Refilling: beginRefill() empties the list and stops signalling changes; append() adds
    /// names in any order and sortItems() puts them in order once; endRefill() signals one full
    /// refresh.
    void beginRefill();
    void append(const QString& name);
    void sortItems();
    void endRefill();

signals:
    /// Items, check marks or the selection may all have changed.
    void refreshed();
    void checkChanged(int row);
    void currentRowChanged(int row);

private:
    struct Item
    {
        QString name;
        bool checked = false;
    };
    std::vector<Item> m_items;
    int m_currentRow = -1;
    bool m_refilling = false;
};
