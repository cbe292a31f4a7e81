#include "SoundList.h"

#include <algorithm>

void SoundList::setChecked(int row, bool checked)
{
    Item& item = m_items.at(std::size_t(row));
    if (item.checked == checked)
        return;
    item.checked = checked;
    if (!m_refilling)
        emit checkChanged(row);
}

void SoundList::setCurrentRow(int row)
{
    const int current = row >= 0 && row < count() ? row : -1;
    if (current == m_currentRow)
        return;
    m_currentRow = current;
    if (!m_refilling)
        emit currentRowChanged(current);
}

void SoundList::applyCheckMode(CheckMode mode)
{
    for (Item& item : m_items)
        item.checked = mode == CheckMode::CheckAll    ? true
                       : mode == CheckMode::UncheckAll ? false
                                                       : !item.checked;
    if (!m_refilling)
        emit refreshed();
}

void SoundList::beginRefill()
{
    m_refilling = true;
    m_items.clear();
    m_currentRow = -1;
}

void SoundList::append(const QString& name)
{
    m_items.push_back(Item{name});
}

void SoundList::sortItems()
{
    // Names that differ only in letter case are distinct files here; they keep a fixed order.
    std::sort(m_items.begin(), m_items.end(), [](const Item& a, const Item& b) {
        const int folded = QString::compare(a.name, b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
}

void SoundList::endRefill()
{
    m_refilling = false;
    emit refreshed();
}
