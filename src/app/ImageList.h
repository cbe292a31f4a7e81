#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStringList>

class QToolButton;

/// Pictures of 80 x 40 pixels, each two 40 x 40 glyphs side by side: the button's normal look
/// on the left and its disabled look on the right.
class ImageList
{
public:
    explicit ImageList(QStringList svgFiles) : m_files(std::move(svgFiles)) {}

    QPixmap image(int index) const;
    /// The picture as an icon whose normal and disabled modes are the two glyphs.
    QIcon icon(int index) const;

private:
    QStringList m_files;
};

/// Gives the button the picture at index of the list, through the action the button shows.
void DrawButton(const ImageList& images, QToolButton* button, int index);
