// Compares the icon a window hands the desktop (its _NET_WM_ICON property) with a picture file:
// succeeds when the window has an icon of the picture's size that looks the same.
//   window_icon_probe WINDOW-ID PICTURE
#include <QImage>
#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
/// Every icon the property holds: width, height, then width * height ARGB pixels, repeated.
std::vector<QImage> windowIcons(Display* display, Window window)
{
    std::vector<QImage> icons;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, "_NET_WM_ICON", False);
    if (XGetWindowProperty(display, window, property, 0, 1 << 24, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success || !data)
        return icons;
    // Xlib hands 32-bit items over as longs.
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long at = 0; at + 2 <= count;) {
        const unsigned long width = values[at];
        const unsigned long height = values[at + 1];
        at += 2;
        if (width == 0 || height == 0 || width > 4096 || height > 4096 || width * height > count - at)
            break;
        QImage icon(int(width), int(height), QImage::Format_ARGB32);
        for (unsigned long y = 0; y < height; ++y)
            for (unsigned long x = 0; x < width; ++x)
                icon.setPixel(int(x), int(y), uint(values[at + y * width + x] & 0xFFFFFFFFu));
        icons.push_back(icon);
        at += width * height;
    }
    XFree(data);
    return icons;
}

/// The mean difference of the premultiplied channels, 0 (the same) to 255.
double difference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            sum += std::abs(qAlpha(p) - qAlpha(q)) + std::abs(qRed(p) - qRed(q)) +
                   std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (4.0 * left.width() * left.height());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_icon_probe WINDOW-ID PICTURE\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[2]));
    if (picture.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    const std::vector<QImage> icons = windowIcons(display, Window(std::strtoul(argv[1], nullptr, 0)));
    XCloseDisplay(display);
    if (icons.empty()) {
        std::printf("the window has no icon\n");
        return 1;
    }
    QString sizes;
    const QImage* sameSize = nullptr;
    for (const QImage& icon : icons) {
        sizes += QStringLiteral(" %1x%2").arg(icon.width()).arg(icon.height());
        if (icon.size() == picture.size())
            sameSize = &icon;
    }
    if (!sameSize) {
        std::printf("window icon sizes:%s; none is %dx%d\n", qPrintable(sizes), picture.width(),
                    picture.height());
        return 1;
    }
    const QImage& compared = *sameSize;
    const double mean = difference(compared, picture);
    // Two renderers smooth the edges a little differently; another picture differs by far more.
    const bool same = mean < 8;
    std::printf("window icon sizes:%s; compared at %dx%d: mean difference %.1f of 255: %s\n",
                qPrintable(sizes), picture.width(), picture.height(), mean,
                same ? "the same picture" : "a different picture");
    return same ? 0 : 1;
}
