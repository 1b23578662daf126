// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the mark icons mark00.ico ... mark25.ico that the editor shows beside each point.
// Every icon holds a 16x16 and a 32x32 image, each drawn for its own size, with the mark
// number in pixel digits so that it stays crisp without depending on installed fonts.
//
// Usage: makeicons OUTDIR [PNGDIR]
// With PNGDIR, each mark's 32x32 image is written there as markNN.png as well: the
// icons an exported KMZ carries.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSaveFile>
#include <QString>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/markcolours.h"
#include "core/markrule.h"

namespace {


// 3x5 digits for the 16x16 images, one string per row, '#' is lit.
constexpr std::array<std::array<const char*, 5>, 10> kSmallDigits{{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", "..#", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

// 6x10 digits with two pixel strokes for the 32x32 images.
constexpr std::array<std::array<const char*, 10>, 10> kLargeDigits{{
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},
    {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "##....", "######"},
    {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "....##", "##..##", ".####."},
    {"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.", "...##.", "...##."},
    {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "....##", "##..##", ".####."},
    {".####.", "##..##", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", "..##..", "..##..", "..##.."},
    {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "##..##", ".####."},
}};

enum class Shape { Circle, RoundedSquare, Diamond, Shield, House };

constexpr std::array<Shape, 5> kShapes{Shape::Circle, Shape::RoundedSquare, Shape::Diamond,
                                       Shape::Shield, Shape::House};

// Mark 0 is "no mark": a plain grey disc.
Shape ShapeOf(int mark) { return mark == 0 ? Shape::Circle : kShapes[(mark - 1) % kShapes.size()]; }
QColor ColourOf(int mark) { return QColor(tovik::markcolours::Of(mark)); }

// The outline of a shape filling the square `r`.
QPainterPath ShapePath(Shape shape, const QRectF& r)
{
    QPainterPath path;
    const qreal w = r.width();
    switch (shape) {
    case Shape::Circle:
        path.addEllipse(r);
        break;
    case Shape::RoundedSquare:
        path.addRoundedRect(r, w * 0.22, w * 0.22);
        break;
    case Shape::Diamond: {
        // Reaches past the square so that two digits fit; the tips are cut by the image edge.
        const QRectF d = r.adjusted(-w * 0.08, -w * 0.08, w * 0.08, w * 0.08);
        const QPointF c = d.center();
        path.addPolygon(QPolygonF{{QPointF(c.x(), d.top()), QPointF(d.right(), c.y()), QPointF(c.x(), d.bottom()),
                                   QPointF(d.left(), c.y())}});
        path.closeSubpath();
        break;
    }
    case Shape::Shield:
        path.moveTo(r.topLeft());
        path.lineTo(r.topRight());
        path.lineTo(r.right(), r.top() + r.height() * 0.55);
        path.lineTo(r.center().x(), r.bottom());
        path.lineTo(r.left(), r.top() + r.height() * 0.55);
        path.closeSubpath();
        break;
    case Shape::House:
        path.moveTo(r.center().x(), r.top());
        path.lineTo(r.right(), r.top() + r.height() * 0.42);
        path.lineTo(r.bottomRight());
        path.lineTo(r.bottomLeft());
        path.lineTo(r.left(), r.top() + r.height() * 0.42);
        path.closeSubpath();
        break;
    }
    return path;
}

// The lit pixels of a mark number set in one of the digit bitmaps, `gap` pixels apart.
struct Digits {
    std::vector<bool> lit;
    int width = 0;
    int height = 0;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && lit[y * width + x]; }
};

template <std::size_t Rows>
Digits SetDigits(int mark, const std::array<std::array<const char*, Rows>, 10>& font, int glyphWidth, int gap)
{
    const QByteArray text = QByteArray::number(mark);
    Digits d;
    d.width = int(text.size()) * (glyphWidth + gap) - gap;
    d.height = int(Rows);
    d.lit.assign(std::size_t(d.width * d.height), false);
    for (int i = 0; i < text.size(); ++i) {
        const auto& glyph = font[std::size_t(text[i] - '0')];
        for (int y = 0; y < d.height; ++y)
            for (int x = 0; x < glyphWidth; ++x)
                if (glyph[std::size_t(y)][x] == '#')
                    d.lit[std::size_t(y * d.width + i * (glyphWidth + gap) + x)] = true;
    }
    return d;
}

// Paints the digits in white with their top left at (left, top), each lit pixel ringed
// by `halo` so that the number stands out from any fill.
void PaintDigits(QPainter& p, const Digits& d, int left, int top, const QColor& halo)
{
    for (int y = -1; y <= d.height; ++y)
        for (int x = -1; x <= d.width; ++x) {
            bool ringed = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    ringed = ringed || d.at(x + dx, y + dy);
            if (ringed)
                p.fillRect(left + x, top + y, 1, 1, d.at(x, y) ? QColor(Qt::white) : halo);
        }
}

QImage DrawMark(int mark, int size)
{
    const bool small = size < 24;
    const Shape shape = ShapeOf(mark);
    const QColor colour = ColourOf(mark);
    const QColor edge = colour.darker(190);

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The body is odd-sized at 16 so that it centres on a pixel like the digits do;
    // the spare row and column take a faint drop shadow.
    const QRectF body = small ? QRectF(0.5, 0.5, 14, 14) : QRectF(2, 2, 28, 28);
    const QPainterPath path = ShapePath(shape, body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, small ? 70 : 60));
    p.drawPath(path.translated(1, 1));
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, colour.lighter(118));
    fill.setColorAt(1, colour.darker(112));
    p.setBrush(fill);
    p.setPen(QPen(edge, small ? 1.0 : 2.0, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.drawPath(path);

    const Digits digits = small ? SetDigits(mark, kSmallDigits, 3, 1) : SetDigits(mark, kLargeDigits, 6, 2);
    // The shield narrows downwards and the house upwards; their numbers move to the wide part.
    const qreal shift = shape == Shape::Shield ? -1 : shape == Shape::House ? 1 : 0;
    const qreal centre = small ? 7.5 : 16.0;
    const int left = int(std::lround(centre - digits.width / 2.0));
    const int top = int(std::lround(centre + shift * (small ? 1 : 2) - digits.height / 2.0));
    QColor halo = edge;
    halo.setAlpha(small ? 230 : 200);
    p.setRenderHint(QPainter::Antialiasing, false);
    PaintDigits(p, digits, left, top, halo);
    p.end();
    return image;
}

void AppendLe(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

// One icon image as a 32-bit DIB: a BITMAPINFOHEADER of twice the height, the BGRA rows
// bottom-up, then the 1-bit AND mask (set where transparent), each row padded to 4 bytes.
QByteArray EncodeDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    AppendLe(out, 40, 4);                       // biSize
    AppendLe(out, std::uint32_t(w), 4);         // biWidth
    AppendLe(out, std::uint32_t(2 * h), 4);     // biHeight: colour plus mask
    AppendLe(out, 1, 2);                        // biPlanes
    AppendLe(out, 32, 2);                       // biBitCount
    AppendLe(out, 0, 4);                        // biCompression: BI_RGB
    AppendLe(out, std::uint32_t(h * (w * 4 + maskStride)), 4);  // biSizeImage
    AppendLe(out, 0, 4);                        // biXPelsPerMeter
    AppendLe(out, 0, 4);                        // biYPelsPerMeter
    AppendLe(out, 0, 4);                        // biClrUsed
    AppendLe(out, 0, 4);                        // biClrImportant
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            AppendLe(out, row[x], 4);  // 0xAARRGGBB little-endian is B, G, R, A
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray bits(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) == 0)
                bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
        out.append(bits);
    }
    return out;
}

// An ICO file: ICONDIR, one ICONDIRENTRY per image, then the images.
QByteArray EncodeIco(const std::vector<QImage>& images)
{
    const int headerSize = 6 + 16 * int(images.size());
    QByteArray head, body;
    AppendLe(head, 0, 2);  // reserved
    AppendLe(head, 1, 2);  // type: icon
    AppendLe(head, std::uint32_t(images.size()), 2);
    for (const QImage& image : images) {
        const QByteArray dib = EncodeDib(image);
        head.append(char(image.width() >= 256 ? 0 : image.width()));
        head.append(char(image.height() >= 256 ? 0 : image.height()));
        head.append('\0');     // palette size
        head.append('\0');     // reserved
        AppendLe(head, 1, 2);   // planes
        AppendLe(head, 32, 2);  // bits per pixel
        AppendLe(head, std::uint32_t(dib.size()), 4);
        AppendLe(head, std::uint32_t(headerSize + body.size()), 4);
        body.append(dib);
    }
    return head + body;
}

// Reads a written icon back as the editor will and checks that both images survived,
// transparency and all.
bool ReadsBack(const QString& path, const std::vector<QImage>& drawn)
{
    QImageReader reader(path, "ico");
    if (reader.imageCount() != int(drawn.size()))
        return false;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (!reader.jumpToImage(int(i)))
            return false;
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage want = drawn[i].convertToFormat(QImage::Format_ARGB32);
        if (read.size() != want.size())
            return false;
        for (int y = 0; y < want.height(); ++y)
            for (int x = 0; x < want.width(); ++x) {
                const QRgb a = read.pixel(x, y), b = want.pixel(x, y);
                if (qAlpha(a) != qAlpha(b) ||
                    (qAlpha(b) != 0 && (std::abs(qRed(a) - qRed(b)) > 2 || std::abs(qGreen(a) - qGreen(b)) > 2 ||
                                        std::abs(qBlue(a) - qBlue(b)) > 2)))
                    return false;
            }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: makeicons OUTDIR [PNGDIR]\n");
        return 2;
    }
    const QString pngDir = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!pngDir.isEmpty() && !QDir(pngDir).mkpath(".")) {
        std::fprintf(stderr, "makeicons: cannot create %s\n", argv[2]);
        return 1;
    }
    const QDir outDir(QString::fromLocal8Bit(argv[1]));
    if (!outDir.mkpath(".")) {
        std::fprintf(stderr, "makeicons: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool canCheck = QImageReader::supportedImageFormats().contains("ico");
    if (!canCheck)
        std::fprintf(stderr, "makeicons: no ICO reader, the icons are not read back\n");

    for (int mark = 0; mark < tovik::kMarkCount; ++mark) {
        const QString path = outDir.filePath(QStringLiteral("mark%1.ico").arg(mark, 2, 10, QLatin1Char('0')));
        QSaveFile file(path);
        const std::vector<QImage> images{DrawMark(mark, 16), DrawMark(mark, 32)};
        const QByteArray ico = EncodeIco(images);
        if (!file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size() || !file.commit()) {
            std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(path));
            return 1;
        }
        if (!pngDir.isEmpty()) {
            const QString png = QDir(pngDir).filePath(QStringLiteral("mark%1.png").arg(mark, 2, 10, QLatin1Char('0')));
            if (!images[1].save(png, "PNG")) {
                std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(png));
                return 1;
            }
        }
        if (canCheck && !ReadsBack(path, images)) {
            std::fprintf(stderr, "makeicons: %s does not read back as two images\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
