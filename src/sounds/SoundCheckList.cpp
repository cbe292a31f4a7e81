#include "SoundCheckList.h"

#include "sounds/SoundList.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>

namespace {
Qt::CheckState checkState(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

QStringList localFiles(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}
} // namespace

SoundCheckList::SoundCheckList(QWidget* parent) : QListWidget(parent)
{
    // Every row holds a check box and a name: one height for all keeps a long list fast.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void SoundCheckList::bind(SoundList& list)
{
    m_list = &list;
    connect(&list, &SoundList::refreshed, this, &SoundCheckList::showAll);
    connect(&list, &SoundList::checkChanged, this, &SoundCheckList::showCheck);
    connect(&list, &SoundList::currentRowChanged, this, &SoundCheckList::showCurrentRow);
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_showing || !m_list)
            return;
        m_list->setChecked(row(item), item->checkState() == Qt::Checked);
        emit userChanged();
    });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_showing || !m_list)
            return;
        m_list->setCurrentRow(row);
        emit userChanged();
    });
    showAll();
}

void SoundCheckList::showAll()
{
    const QScopedValueRollback showing(m_showing, true);
    setUpdatesEnabled(false);
    if (count() != m_list->count()) {
        clear();
        for (int row = 0; row < m_list->count(); ++row)
            addItem(QString());
    }
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* it = item(row);
        if (it->text() != m_list->text(row))
            it->setText(m_list->text(row));
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        it->setCheckState(checkState(m_list->isChecked(row)));
    }
    setCurrentRow(m_list->currentRow());
    setUpdatesEnabled(true);
}

void SoundCheckList::showCheck(int row)
{
    const QScopedValueRollback showing(m_showing, true);
    item(row)->setCheckState(checkState(m_list->isChecked(row)));
}

void SoundCheckList::showCurrentRow(int row)
{
    const QScopedValueRollback showing(m_showing, true);
    setCurrentRow(row);
}

void SoundCheckList::keyPressEvent(QKeyEvent* event)
{
    QListWidget::keyPressEvent(event);
    if (!event->text().isEmpty())
        emit characterTyped();
}

void SoundCheckList::keyReleaseEvent(QKeyEvent* event)
{
    QListWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit keyUp(event->key());
}

void SoundCheckList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    // The empty area below the last item is no item: the hint goes.
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    setToolTip(under ? under->text() : QString());
}

void SoundCheckList::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void SoundCheckList::dragMoveEvent(QDragMoveEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void SoundCheckList::dropEvent(QDropEvent* event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(paths);
}
