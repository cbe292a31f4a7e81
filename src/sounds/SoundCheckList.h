#pragma once

#include <QListWidget>
#include <QPointer>

class SoundList;

/// The sound check list on screen: a view of a SoundList that hands the user's changes back to
/// it, takes dropped files and shows the name of the item last clicked as its hint.
class SoundCheckList : public QListWidget
{
    Q_OBJECT
public:
    explicit SoundCheckList(QWidget* parent = nullptr);

    /// Shows the list and follows it from now on.
    void bind(SoundList& list);

signals:
    /// The user turned a check box over or chose another item.
    void userChanged();
    /// A character key was typed while the list had the focus.
    void characterTyped();
    /// A key was released while the list had the focus.
    void keyUp(int key);
    /// Files were dropped onto the list, by their full paths.
    void filesDropped(const QStringList& paths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showAll();
    void showCheck(int row);
    void showCurrentRow(int row);

    QPointer<SoundList> m_list; // gone first when the window closes
    bool m_showing = false;     // the program, not the user, is changing the widget
};
