#include "forms/artwork/artwork.h"

#include "forms/artwork/painting.h"
#include "forms/definitions.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPoint>
#include <QSaveFile>

#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// Pictures are painted with QPainter onto an image of size x ratio device pixels, never scaled
// up from a smaller bitmap. Pictures that lie over a window background (the arrangement
// pictures, the results panel, the blue pill) start from the background's own pixels at their
// place, so that they blend into it; the English tabs are the part of the background under
// their control, painted with other words.

namespace artwork {
namespace {

using detail::TabWords;
using detail::Window;

// How a picture starts before its own drawing goes over it.
enum class Start : std::uint8_t {
    White,        // a picture of its own
    Clear,        // a picture of its own drawn over what lies under it (a button's face)
    Background,   // a whole window background with the Finnish tab words
    Under,        // the part of its window's background under the control that places it
    EnglishUnder, // the same part painted with the English tab words, and nothing over it
};

// Paints over the start, in the picture's pixels; `place` is the picture's top-left corner in
// its window's client area (zero for a picture of its own).
using Paint = void (*)(QPainter &p, QSize size, QPoint place);

struct Entry
{
    const char *name;
    int width;
    int height;
    Start start = Start::White;
    Paint paint = nullptr;
    Place place = {};   // the control whose place an Under or EnglishUnder picture is drawn for
    Window window = {}; // a Background's window
};

template <int N> void arrangement(QPainter &p, QSize, QPoint place)
{
    // Drawn in client coordinates, so that it stands at the same place in every picture box.
    p.translate(-place);
    detail::paintArrangement(p, N);
}

template <int N> void arrangementAlone(QPainter &p, QSize size, QPoint)
{
    // Alone on white, scaled to fit the smaller picture.
    const QRectF area = detail::ArrangementArea;
    const qreal scale =
        qMin((size.width() - 4) / area.width(), (size.height() - 4) / area.height());
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.scale(scale, scale);
    p.translate(-area.center());
    detail::paintArrangement(p, N);
}

template <int SizeNo> void installation(QPainter &p, QSize size, QPoint)
{
    detail::paintInstallation(p, SizeNo, size);
}

constexpr Entry Entries[] = {
    {"form1_background", 1024, 768, Start::Background, nullptr, {}, Window::Form1},
    {"form2_background", 1024, 768, Start::Background, nullptr, {}, Window::Form2},
    {"form3_background", 1024, 768, Start::Background, nullptr, {}, Window::Form3},
    {"arrangement1", 426, 331, Start::Under, arrangement<1>, {"Form1", "Picture1", 0}},
    {"arrangement2", 433, 322, Start::Under, arrangement<2>, {"Form1", "Picture1", 1}},
    {"arrangement3", 431, 320, Start::Under, arrangement<3>, {"Form1", "Picture1", 2}},
    {"arrangement4", 438, 319, Start::Under, arrangement<4>, {"Form1", "Picture1", 3}},
    {"arrangement5", 435, 312, Start::Under, arrangement<5>, {"Form1", "Picture1", 4}},
    {"arrangement6", 435, 325, Start::Under, arrangement<6>, {"Form1", "Picture1", 5}},
    {"arrangement7", 426, 326, Start::Under, arrangement<7>, {"Form1", "Picture1", 6}},
    {"arrangement1_print", 398, 300, Start::White, arrangementAlone<1>},
    {"arrangement2_print", 405, 294, Start::White, arrangementAlone<2>},
    {"arrangement3_print", 405, 292, Start::White, arrangementAlone<3>},
    {"arrangement4_print", 397, 283, Start::White, arrangementAlone<4>},
    {"arrangement5_print", 404, 280, Start::White, arrangementAlone<5>},
    {"arrangement6_print", 397, 295, Start::White, arrangementAlone<6>},
    {"arrangement7_print", 399, 300, Start::White, arrangementAlone<7>},
    {"installation_m8", 331, 132, Start::White, installation<1>},
    {"installation_m10", 326, 125, Start::White, installation<2>},
    {"installation_m12", 334, 145, Start::White, installation<3>},
    {"installation_m16", 330, 125, Start::White, installation<4>},
    {"results_panel",
     417,
     250,
     Start::Under,
     [](QPainter &p, QSize, QPoint) { detail::paintResultsPanel(p); },
     {"Form1", "ImgPodlozh"}},
    {"blue_pill",
     187,
     58,
     Start::Under,
     [](QPainter &p, QSize, QPoint) { detail::paintBluePill(p); },
     {"Form1", "ImgSHOW"}},
    {"form1_tabs_eng", 537, 54, Start::EnglishUnder, nullptr, {"Form1", "Image2"}},
    {"form2_drawing", 407, 207, Start::White,
     [](QPainter &p, QSize size, QPoint) { detail::paintDimensionedDrawing(p, size); }},
    {"form2_tabs_eng", 423, 49, Start::EnglishUnder, nullptr, {"Form2", "Image2"}},
    {"form3_back_eng", 90, 23, Start::EnglishUnder, nullptr, {"Form3", "ImgEng"}},
    {"yes_button", 96, 28, Start::Clear,
     [](QPainter &p, QSize, QPoint) { detail::paintYesButton(p); }},
};

const Entry *findEntry(const QString &name)
{
    for (const Entry &e : Entries)
        if (name == QLatin1String(e.name))
            return &e;
    return nullptr;
}

QImage blankImage(QSize size, qreal dpr, const QColor &fill)
{
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(fill);
    return image;
}

void startPainting(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A painter scales for a device pixel ratio above 1 only; a picture drawn smaller (a window
    // zoomed out) is scaled here.
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1;
    if (dpr < 1)
        p.scale(dpr, dpr);
}

// The program's definition of the window that shows a background.
const forms::FormDef &windowOf(const Entry &background)
{
    for (const forms::FormDef *form : forms::Windows)
        if (form->picture && qstrcmp(form->picture, background.name) == 0)
            return *form;
    qFatal("artwork: no window shows %s", background.name);
}

// Background images by window, words and ratio, kept once drawn: the cut pictures need them too.
// Only the program's own definitions come here.
QImage backgroundImage(const forms::FormDef &form, Window window, TabWords words, qreal dpr)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1/%2/%3")
                            .arg(static_cast<int>(window))
                            .arg(static_cast<int>(words))
                            .arg(dpr);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QImage image = blankImage(QSize(1024, 768), dpr, Qt::white);
    {
        QPainter p(&image);
        startPainting(p);
        detail::paintBackground(p, window, words, form);
    }
    cache.insert(key, image);
    return image;
}

// Where a placed picture lies: the definition of the window whose background it blends into,
// that background, and the picture's top-left corner in the window's client area.
struct Placement
{
    const forms::FormDef *form;
    Window window;
    QPoint place;
};

Placement placement(const Entry &e)
{
    const forms::FormDef *form = forms::findDefinition(e.place.window);
    const forms::ControlDef *control =
        form ? forms::findControl(*form, e.place.control, e.place.index) : nullptr;
    const Entry *background =
        form && form->picture ? findEntry(QLatin1String(form->picture)) : nullptr;
    if (!control || !background || background->start != Start::Background)
        qFatal("artwork: %s has no place on a window background", e.name);
    return {form, background->window, detail::clientRect(*form, *control).topLeft()};
}

// The picture drawn anew (not cached).
QImage draw(const Entry &e, qreal dpr)
{
    const QSize size(e.width, e.height);
    if (e.start == Start::Background)
        return backgroundImage(windowOf(e), e.window, TabWords::Finnish, dpr);

    QImage image;
    QPoint place;
    if (e.start == Start::White || e.start == Start::Clear) {
        image = blankImage(size, dpr,
                           e.start == Start::White ? QColor(Qt::white) : QColor(Qt::transparent));
    } else {
        const Placement where = placement(e);
        place = where.place;
        const TabWords words =
            e.start == Start::EnglishUnder ? TabWords::English : TabWords::Finnish;
        if (words == TabWords::English) {
            // Only this part is rasterised: the English background is not kept.
            image = blankImage(size, dpr, Qt::white);
            QPainter p(&image);
            startPainting(p);
            p.translate(-place);
            detail::paintBackground(p, where.window, words, *where.form);
        } else {
            const QImage background = backgroundImage(*where.form, where.window, words, dpr);
            image = background.copy(QRect(place * dpr, size * dpr));
            image.setDevicePixelRatio(dpr);
        }
    }
    if (e.paint) {
        QPainter p(&image);
        startPainting(p);
        e.paint(p, size, place);
    }
    return image;
}

// Kept pictures on disk: a header, then the pixels as the image holds them, read by mapping the
// file, so that a picture costs neither drawing nor decoding and only the pages painted are
// read.
struct KeptHeader
{
    char magic[8];
    std::int32_t width;
    std::int32_t height;
    std::int32_t bytesPerLine;
    std::int32_t format;
    double devicePixelRatio;
};
constexpr char KeptMagic[8] = {'K', 'I', 'I', 'L', 'A', 'P', 'I', 'C'};

QString &keptFolder()
{
    static QString folder;
    return folder;
}

// Empty when nothing is kept on disk.
QString keptFile(const QString &name, QSize size, qreal dpr)
{
    if (keptFolder().isEmpty())
        return {};
    const QSize pixels = size * dpr;
    return QStringLiteral("%1/%2-%3x%4-%5.pixels")
        .arg(keptFolder(), name)
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(dpr);
}

// The kept picture of `pixels` device pixels at the ratio; a null image for anything else: a file
// of another size or format, cut short, or no regular file (a named pipe is not waited on).
QImage readKept(const QString &file, qreal dpr, QSize pixels)
{
    if (file.isEmpty())
        return {};
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat status = {};
    KeptHeader header = {};
    void *mapped = MAP_FAILED;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size >= off_t(sizeof header) &&
        ::pread(fd, &header, sizeof header, 0) == ssize_t(sizeof header) &&
        std::memcmp(header.magic, KeptMagic, sizeof KeptMagic) == 0 &&
        header.devicePixelRatio == dpr && header.width == pixels.width() &&
        header.height == pixels.height() && header.width > 0 && header.height > 0 &&
        off_t(header.bytesPerLine) == 4 * off_t(header.width) &&
        header.format == QImage::Format_ARGB32_Premultiplied &&
        status.st_size == off_t(sizeof header) + off_t(header.bytesPerLine) * header.height)
        // Private and writable: the image's pixels are its own, as a drawn image's are, while
        // the pages stay the file's until written.
        mapped = ::mmap(nullptr, std::size_t(status.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE,
                        fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return {};
    struct Mapping
    {
        void *address;
        std::size_t size;
    };
    auto *mapping = new Mapping{mapped, std::size_t(status.st_size)};
    QImage image(
        static_cast<uchar *>(mapped) + sizeof header, header.width, header.height,
        header.bytesPerLine, static_cast<QImage::Format>(header.format),
        [](void *m) {
            const auto *mapping = static_cast<Mapping *>(m);
            ::munmap(mapping->address, mapping->size);
            delete mapping;
        },
        mapping);
    image.setDevicePixelRatio(dpr);
    return image;
}

void writeKept(const QString &file, const QImage &image)
{
    if (file.isEmpty() || !QDir().mkpath(QFileInfo(file).path()))
        return;
    KeptHeader header = {};
    std::memcpy(header.magic, KeptMagic, sizeof KeptMagic);
    header.width = image.width();
    header.height = image.height();
    header.bytesPerLine = std::int32_t(image.bytesPerLine());
    header.format = image.format();
    header.devicePixelRatio = image.devicePixelRatio();
    // Whole or not at all: another run may be reading the folder.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(reinterpret_cast<const char *>(&header), sizeof header);
    out.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    out.commit();
}

} // namespace

QStringList names()
{
    QStringList list;
    for (const Entry &e : Entries)
        list << QString::fromLatin1(e.name);
    return list;
}

QSize nominalSize(const QString &name)
{
    const Entry *e = findEntry(name);
    return e ? QSize(e->width, e->height) : QSize();
}

Place placeOf(const QString &name)
{
    const Entry *e = findEntry(name);
    return e && e->start != Start::White && e->start != Start::Background ? e->place : Place{};
}

bool paint(QPainter &painter, const QString &name)
{
    const Entry *e = findEntry(name);
    if (!e)
        return false;
    const QSize size(e->width, e->height);
    painter.save();
    startPainting(painter);
    painter.fillRect(QRect(QPoint(), size), Qt::white);
    QPoint place;
    if (e->start == Start::Background) {
        detail::paintBackground(painter, e->window, TabWords::Finnish, windowOf(*e));
    } else if (e->start != Start::White) {
        const Placement where = placement(*e);
        place = where.place;
        painter.translate(-place);
        detail::paintBackground(
            painter, where.window,
            e->start == Start::EnglishUnder ? TabWords::English : TabWords::Finnish, *where.form);
        painter.translate(place);
    }
    if (e->paint)
        e->paint(painter, size, place);
    painter.restore();
    return true;
}

bool paintBackground(QPainter &painter, const forms::FormDef &form)
{
    const Entry *e = form.picture ? findEntry(QLatin1String(form.picture)) : nullptr;
    if (!e || e->start != Start::Background)
        return false;
    painter.save();
    startPainting(painter);
    painter.fillRect(QRect(0, 0, e->width, e->height), Qt::white);
    detail::paintBackground(painter, e->window, TabWords::Finnish, form);
    painter.restore();
    return true;
}

void keepPicturesIn(const QString &folder)
{
    keptFolder() = folder;
}

QImage keptPicture(const QString &name, qreal devicePixelRatio)
{
    const QSize size = nominalSize(name);
    if (size.isEmpty() || devicePixelRatio <= 0)
        return {};
    return readKept(keptFile(name, size, devicePixelRatio), devicePixelRatio,
                    size * devicePixelRatio);
}

void removeOtherKeptPictures(const QString &folder)
{
    const QFileInfo kept(folder);
    QDir parent = kept.dir();
    for (const QString &other :
         parent.entryList({QStringLiteral("pictures-*")}, QDir::Dirs | QDir::NoDotAndDotDot))
        if (other != kept.fileName())
            QDir(parent.filePath(other)).removeRecursively();
}

QPixmap picture(const QString &name, qreal devicePixelRatio, qreal scale)
{
    const QSize size = nominalSize(name);
    if (size.isEmpty() || devicePixelRatio <= 0 || scale <= 0)
        return {};
    static QHash<QString, QPixmap> cache;
    const QString key = name + QLatin1Char('@') + QString::number(devicePixelRatio) +
                        QLatin1Char('x') + QString::number(scale);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    // Drawn (or read back) for as many device pixels as the scaled picture covers; its ratio is
    // the device's, so that it covers the scaled size in the window's pixels.
    const qreal drawnRatio = devicePixelRatio * scale;
    const QString file = keptFile(name, size, drawnRatio);
    QImage image = readKept(file, drawnRatio, size * drawnRatio);
    if (image.isNull()) {
        image = draw(*findEntry(name), drawnRatio);
        writeKept(file, image);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    // The image's pixels become the pixmap's without a copy.
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace artwork
