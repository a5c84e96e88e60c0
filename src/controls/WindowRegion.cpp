#include "controls/WindowRegion.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <vector>

namespace {

// No region is ever made from more rectangles than this at once; the batches are joined by
// union.
constexpr int MaxRectanglesPerBatch = 2000;

// One run of window pixels in a row: [left, right).
struct Run {
    int left = 0;
    int right = 0;
};

// Turns rows of runs into a region, batch by batch. Within a batch, a row whose runs are the
// same as those of the row above widens that band downwards instead of adding rectangles, so a
// skin costs one rectangle per distinct band rather than one per row and run: the window
// system pays for every rectangle of an outline.
class BatchedRegion {
public:
    BatchedRegion() { rects_.reserve(MaxRectanglesPerBatch); }

    void addRow(int y, std::span<const Run> runs) {
        // A batch may end inside a row; the rest of the row starts the next batch.
        while (!runs.empty()) {
            const auto taken = std::min<std::size_t>(runs.size(), MaxRectanglesPerBatch - runs_);
            addBand(y, runs.first(taken));
            runs = runs.subspan(taken);
            runs_ += int(taken);
            if (runs_ == MaxRectanglesPerBatch)
                flush();
        }
    }

    QRegion finish() {
        flush();
        return result_;
    }

private:
    void addBand(int y, std::span<const Run> runs) {
        const std::span<QRect> band = std::span(rects_).subspan(bandStart_);
        if (bandBottom_ == y - 1 && band.size() == runs.size() &&
            std::equal(band.begin(), band.end(), runs.begin(), [](const QRect& r, const Run& run) {
                return r.left() == run.left && r.right() == run.right - 1;
            })) {
            for (QRect& r : band)
                r.setBottom(y);
        } else {
            bandStart_ = rects_.size();
            for (const Run& run : runs)
                rects_.emplace_back(QPoint(run.left, y), QPoint(run.right - 1, y));
        }
        bandBottom_ = y;
    }

    // The batch is already in the banded order a region keeps, so it is handed over as it is.
    void flush() {
        QRegion batch;
        batch.setRects(rects_.data(), int(rects_.size()));
        result_ = first_ ? batch : result_.united(batch);
        first_ = false;
        rects_.clear();
        bandStart_ = 0;
        bandBottom_.reset();
        runs_ = 0;
    }

    std::vector<QRect> rects_;
    std::size_t bandStart_ = 0;      // first rectangle of the band the next row may widen
    std::optional<int> bandBottom_;  // last row of that band
    int runs_ = 0;                   // runs taken into this batch, merged or not
    QRegion result_;
    bool first_ = true;
};

// The picture as 32-bit words 0xXXRRGGBB, the form the scan reads.
QImage asPixelWords(const QImage& image) {
    switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return image;
        default:
            // Not premultiplied, so a key-colour pixel keeps its colour whatever its alpha.
            return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
    }
}

bool platformShapesWindows() {
    // Wayland takes a window's mask as its input region only; the compositor draws every pixel
    // of the surface.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

std::optional<QRegion> RegionFromBitmap(const QImage& bitmap) {
    if (bitmap.isNull())
        return std::nullopt;
    try {
        const QImage pixels = asPixelWords(bitmap);
        if (pixels.isNull())
            return std::nullopt;
        const int width = pixels.width();
        const quint32 key = SkinKeyColour & 0x00ffffff;

        std::vector<unsigned char> isKey(width);
        std::vector<Run> runs;
        runs.reserve(width / 2 + 1);
        BatchedRegion region;
        for (int y = 0; y < pixels.height(); ++y) {
            // Marking the key pixels first keeps this loop free of branches, so the compiler
            // compares several pixels at a time; the runs are then found with memchr.
            const auto* row = reinterpret_cast<const quint32*>(pixels.constScanLine(y));
            for (int x = 0; x < width; ++x)
                isKey[x] = (row[x] & 0x00ffffff) == key;

            runs.clear();
            const unsigned char* const begin = isKey.data();
            const unsigned char* const end = begin + width;
            for (const unsigned char* p = begin; p < end;) {
                while (p < end && *p)
                    ++p;
                if (p == end)
                    break;
                const auto* stop = static_cast<const unsigned char*>(std::memchr(p, 1, end - p));
                if (!stop)
                    stop = end;
                runs.push_back({int(p - begin), int(stop - begin)});
                p = stop;
            }
            region.addRow(y, runs);
        }
        return region.finish();
    } catch (const std::bad_alloc&) {
        // Without the memory for the outline the window simply stays rectangular.
        return std::nullopt;
    }
}

std::optional<QRegion> RegionFromBitmap(const QPixmap& bitmap) {
    if (bitmap.isNull())
        return std::nullopt;
    return RegionFromBitmap(bitmap.toImage());
}

void SetWindowOutline(QWidget& window, const QRegion& region) {
    if (!platformShapesWindows())
        window.setAttribute(Qt::WA_TranslucentBackground);
    // An empty mask means "no mask" to Qt, which would show the whole window; a pixel outside
    // it leaves nothing visible and nothing to click, as an empty outline should.
    window.setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

std::optional<QRegion> ShapeWindowFromSkin(QWidget& window, const QPixmap& normal) {
    // Without a picture there is nothing to size by; the window keeps its size.
    const QSize size = normal.isNull() ? window.size() : normal.size();
    const QScreen* screen = window.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // Integer halves, truncated, as the area or the picture may be odd in size.
    window.setGeometry(available.x() + (available.width() - size.width()) / 2,
                       available.y() + (available.height() - size.height()) / 2, size.width(),
                       size.height());

    std::optional<QRegion> outline = RegionFromBitmap(normal);
    if (outline)
        SetWindowOutline(window, *outline);
    return outline;
}

QPixmap SkinWithoutKeyColour(const QPixmap& picture) {
    if (picture.isNull())
        return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const quint32 key = SkinKeyColour & 0x00ffffff;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0x00ffffff) == key)
                row[x] = 0;
    }
    return QPixmap::fromImage(std::move(image));
}
