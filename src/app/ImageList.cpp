#include "ImageList.h"

#include <QAction>
#include <QPainter>
#include <QSvgRenderer>
#include <QToolButton>

namespace {
constexpr int Glyph = 40;
} // namespace

QPixmap ImageList::image(int index) const
{
    QPixmap picture(2 * Glyph, Glyph);
    // No colour of the picture stands for transparency: what is not drawn stays clear.
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(m_files.at(index));
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(0, 0, 2 * Glyph, Glyph));
    return picture;
}

QIcon ImageList::icon(int index) const
{
    const QPixmap picture = image(index);
    QIcon icon;
    icon.addPixmap(picture.copy(0, 0, Glyph, Glyph), QIcon::Normal);
    icon.addPixmap(picture.copy(Glyph, 0, Glyph, Glyph), QIcon::Disabled);
    return icon;
}

void DrawButton(const ImageList& images, QToolButton* button, int index)
{
    // The button follows its action, so the picture goes on the action.
    button->defaultAction()->setIcon(images.icon(index));
}
