// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/pictor.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstring>

#include "core/file_io.h"
#include "core/quantize.h"
#include "core/strings.h"

namespace qv {

namespace {

[[noreturn]] void fail(int code, std::string message) { throw CPictorException(code, std::move(message)); }

void failOn(const Status& st, int code)
{
    if (!st) fail(code, st.message);
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
std::string shownPath(const QString& path) { return path.toStdString(); }

void requireBitmap(const PictorBitmap& bmp)
{
    if (!bmp.allocated() || !bmp.bitmap.valid()) fail(kPictorErrorBitmap, str::IDS_IMG_EMPTY);
}

void requireRange(int value, int low, int high)
{
    if (value < low || value > high) fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_RANGE, {value, low, high}));
}

Rect toRect(const QRect& r) { return Rect{r.x(), r.y(), r.width(), r.height()}; }

int formatFromQtName(const QByteArray& name)
{
    const QByteArray n = name.toLower();
    if (n == "pcx") return kPictorFormatPcx;
    if (n == "bmp" || n == "dib") return kPictorFormatBmp;
    if (n == "jpeg" || n == "jpg") return kPictorFormatJpeg;
    if (n == "gif") return kPictorFormatGif;
    if (n == "png") return kPictorFormatPng;
    return n.isEmpty() ? kPictorFormatUnknown : kPictorFormatOther;
}

int bitsOfQtFormat(QImage::Format f, int depth)
{
    switch (f) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8: return 8;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888: return 24;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888: return 32;
    default: return depth;
    }
}

// Reads a picture Qt understands from bytes already in memory.
bool readWithQt(const QByteArray& bytes, PictorFileInfo& info, QImage* image)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) return false;
    info.format = formatFromQtName(reader.format());
    const QSize size = reader.size();
    info.width = size.width();
    info.height = size.height();
    info.bitsPerPixel = bitsOfQtFormat(reader.imageFormat(), 0);
    if (!image && size.isValid() && info.bitsPerPixel > 0) return true;
    QImage read = reader.read();
    if (read.isNull()) return false;
    info.width = read.width();
    info.height = read.height();
    if (info.bitsPerPixel <= 0) info.bitsPerPixel = bitsOfQtFormat(read.format(), read.depth());
    if (image) *image = std::move(read);
    return true;
}

QByteArray readBytes(const QString& path, Bytes& data)
{
    if (!readWholeFile(localPath(path), data))
        fail(kPictorErrorFile, formatMessage(str::IDS_IMG_CANNOT_OPEN, {shownPath(path)}));
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
}

}  // namespace

// ---- Conversions ----

QImage toQImage(const Bitmap& bmp)
{
    if (bmp.empty() || !bmp.valid()) return QImage();
    const bool indexed = bmp.bitsPerPixel == 8;
    QImage img(bmp.width, bmp.height, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (img.isNull()) return img;
    if (indexed) {
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = bmp.palette[size_t(i)];
            table[i] = qRgb(e.red, e.green, e.blue);
        }
        img.setColorTable(table);
    }
    for (int y = 0; y < bmp.height; ++y) std::memcpy(img.scanLine(y), bmp.row(y), bmp.stride());
    return img;
}

Bitmap fromQImage(const QImage& image)
{
    if (image.isNull()) return Bitmap{};
    QImage src = image;
    if (src.format() == QImage::Format_Mono || src.format() == QImage::Format_MonoLSB)
        src = src.convertToFormat(QImage::Format_Indexed8);
    if (src.format() == QImage::Format_Indexed8 || src.format() == QImage::Format_Grayscale8) {
        Bitmap out = Bitmap::create(src.width(), src.height(), 8);
        if (src.format() == QImage::Format_Indexed8) {
            const QList<QRgb> table = src.colorTable();
            const int n = std::min<int>(int(table.size()), 256);
            for (int i = 0; i < n; ++i)
                out.palette[size_t(i)] = PaletteEntry::fromRgb(uint8_t(qRed(table[i])), uint8_t(qGreen(table[i])),
                                                               uint8_t(qBlue(table[i])));
            out.colorCount = n > 0 ? n : 256;
        } else {
            for (int i = 0; i < 256; ++i) out.palette[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i), uint8_t(i));
        }
        for (int y = 0; y < out.height; ++y) std::memcpy(out.row(y), src.constScanLine(y), out.stride());
        return out;
    }
    src = src.convertToFormat(QImage::Format_RGB888);
    Bitmap out = Bitmap::create(src.width(), src.height(), 24);
    for (int y = 0; y < out.height; ++y) std::memcpy(out.row(y), src.constScanLine(y), out.stride());
    return out;
}

// ---- Drawing context ----

PictorDC::PictorDC(PictorBitmap& target) : target_(target)
{
    requireBitmap(target);
    canvas_ = toQImage(expandTo24(target.bitmap)).convertToFormat(QImage::Format_RGB32);
    painter_ = std::make_unique<QPainter>(&canvas_);
}

PictorDC::~PictorDC() { end(); }

QPainter& PictorDC::painter() { return *painter_; }

void PictorDC::end()
{
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    const Bitmap drawn = fromQImage(canvas_);
    Bitmap& bmp = target_.bitmap;
    if (bmp.bitsPerPixel == 24) {
        bmp.pixels = drawn.pixels;
        return;
    }
    // Only pixels whose colour changed take the nearest palette entry, so untouched ones
    // keep their index even where two entries share a colour.
    NearestColorMap nearest(bmp.palette, 256);
    const size_t n = bmp.pixels.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* c = drawn.pixels.data() + 3 * i;
        const PaletteEntry& was = bmp.palette[bmp.pixels[i]];
        if (c[0] != was.red || c[1] != was.green || c[2] != was.blue) bmp.pixels[i] = nearest(c[0], c[1], c[2]);
    }
}

// ---- Files ----

PictorFileInfo PICTOR::FileInfo(const QString& path)
{
    Bytes data;
    const QByteArray bytes = readBytes(path, data);
    PictorFileInfo info;
    const int format = detectImageFormat(data.data(), data.size());
    if (format == kFormatPcx || format == kFormatBmp) {
        ImageFileInfo core;
        failOn(readImageInfo(data.data(), data.size(), core), kPictorErrorFormat);
        info.width = core.width;
        info.height = core.height;
        info.bitsPerPixel = core.bitsPerPixel;
        info.format = core.formatCode;
        return info;
    }
    if (!readWithQt(bytes, info, nullptr)) fail(kPictorErrorFormat, str::IDS_IMG_UNKNOWN_FORMAT);
    return info;
}

void PICTOR::LoadFile(const QString& path, PictorBitmap& out, PictorFileInfo* infoOut)
{
    Bytes data;
    const QByteArray bytes = readBytes(path, data);
    PictorFileInfo info;
    Bitmap bmp;
    const int format = detectImageFormat(data.data(), data.size());
    if (format == kFormatPcx || format == kFormatBmp) {
        ImageFileInfo core;
        failOn(readImageInfo(data.data(), data.size(), core), kPictorErrorFormat);
        info = PictorFileInfo{core.width, core.height, core.bitsPerPixel, core.formatCode};
        const Status st = decodeImage(data.data(), data.size(), bmp);
        if (!st) {
            // Depths our codec leaves out (1- and 4-bit, run-length coded BMPs) Qt reads.
            QImage image;
            PictorFileInfo qtInfo;
            if (format != kFormatBmp || !readWithQt(bytes, qtInfo, &image)) fail(kPictorErrorFormat, st.message);
            bmp = fromQImage(image);
        }
    } else {
        QImage image;
        if (!readWithQt(bytes, info, &image)) fail(kPictorErrorFormat, str::IDS_IMG_UNKNOWN_FORMAT);
        bmp = fromQImage(image);
    }
    if (bmp.empty()) fail(kPictorErrorFormat, str::IDS_IMG_UNKNOWN_FORMAT);
    bmp.formatCode = info.format;
    out.bitmap = std::move(bmp);
    if (infoOut) *infoOut = info;
}

void PICTOR::SaveBitmap(const QString& path, const PictorBitmap& bmp, int format, int bitsPerPixel)
{
    requireBitmap(bmp);
    if (format != kPictorFormatPcx && format != kPictorFormatBmp && format != kPictorFormatPng)
        fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_FORMAT_CODE, {format}));
    if (bitsPerPixel != 0 && bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24)
        fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_DEPTH, {bitsPerPixel}));
    Status st;
    if (format == kPictorFormatPng) {
        // PNG through Qt's writer, at the bitmap's own depth (an 8-bit one keeps its
        // palette), written in one piece.
        Bitmap source = bmp.bitmap;
        if (bitsPerPixel == 0) source = toGrayscale(bmp.bitmap);
        if (bitsPerPixel == 1) source = toBlackAndWhite(bmp.bitmap);
        if (bitsPerPixel == 24) source = expandTo24(source);
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        if (!toQImage(source).save(&buffer, "PNG"))
            fail(kPictorErrorFile, formatMessage(str::IDS_IMG_CANNOT_WRITE, {localPath(path)}));
        const Bytes data(encoded.begin(), encoded.end());
        if (!writeFileAtomic(localPath(path), data))
            fail(kPictorErrorFile, formatMessage(str::IDS_IMG_CANNOT_WRITE, {localPath(path)}));
        return;
    }
    if (bitsPerPixel == 0 || bitsPerPixel == 1) {
        const Bitmap converted = bitsPerPixel == 0 ? toGrayscale(bmp.bitmap) : toBlackAndWhite(bmp.bitmap);
        st = writeImageFile(localPath(path), converted, format, 8);
    } else {
        st = writeImageFile(localPath(path), bmp.bitmap, format, bitsPerPixel);
    }
    failOn(st, kPictorErrorFile);
}

// ---- Creating, filling, copying ----

PictorBitmap PICTOR::CreateBitmap(int width, int height, int bitsPerPixel, const Palette256* palette)
{
    if ((bitsPerPixel != 8 && bitsPerPixel != 24) || !imageSizeAllowed(width, height, bitsPerPixel))
        fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_SIZE, {width, height, bitsPerPixel}));
    PictorBitmap out;
    out.bitmap = Bitmap::create(width, height, bitsPerPixel);
    if (palette && bitsPerPixel == 8) out.bitmap.palette = *palette;
    return out;
}

void PICTOR::FillBitmap(PictorBitmap& bmp, uint32_t rgb)
{
    requireBitmap(bmp);
    Bitmap& b = bmp.bitmap;
    if (b.bitsPerPixel == 8)
        fillBitmap(b, uint32_t(nearestPaletteIndex(b.palette, 256, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb))));
    else
        fillBitmap(b, rgb & 0xFFFFFF);
}

void PICTOR::FillBitmapIndex(PictorBitmap& bmp, int index)
{
    requireBitmap(bmp);
    requireRange(index, 0, 255);
    Bitmap& b = bmp.bitmap;
    fillBitmap(b, b.bitsPerPixel == 8 ? uint32_t(index) : b.palette[size_t(index)].rgb());
}

PictorBitmap PICTOR::CopyBitmapRect(const PictorBitmap& src, const QRect& rect)
{
    requireBitmap(src);
    PictorBitmap out;
    out.bitmap = copyRegion(src.bitmap, toRect(rect));
    if (out.bitmap.empty()) fail(kPictorErrorArgument, str::IDS_IMG_BAD_RECT);
    return out;
}

void PICTOR::CombineBitmap(PictorBitmap& dst, const QPoint& dstPos, const PictorBitmap& src, const QRect& srcRect, int flags,
                           uint32_t key)
{
    requireBitmap(dst);
    requireBitmap(src);
    if (flags != kCombineCopy && flags != kCombineKeyed)
        fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_RANGE, {flags, kCombineCopy, kCombineKeyed}));
    combineRect(src.bitmap, toRect(srcRect), dst.bitmap, dstPos.x(), dstPos.y(),
                flags == kCombineKeyed ? CombineMode::Keyed : CombineMode::Copy, key);
}

// ---- Geometry ----

void PICTOR::SizeBitmap(PictorBitmap& bmp, int width, int height, ResizeMode mode)
{
    requireBitmap(bmp);
    if (!imageSizeAllowed(width, height, bmp.bitsPerPixel()))
        fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_SIZE, {width, height, bmp.bitsPerPixel()}));
    failOn(resizeBitmap(bmp.bitmap, width, height, mode), kPictorErrorArgument);
}

void PICTOR::TrimBitmap(PictorBitmap& bmp, const QRect& rect)
{
    requireBitmap(bmp);
    if (!trimBitmap(bmp.bitmap, toRect(rect))) fail(kPictorErrorArgument, str::IDS_IMG_BAD_RECT);
}

void PICTOR::FlipBitmap(PictorBitmap& bmp)
{
    requireBitmap(bmp);
    flipVertical(bmp.bitmap);
}

void PICTOR::ReverseBitmap(PictorBitmap& bmp)
{
    requireBitmap(bmp);
    flipHorizontal(bmp.bitmap);
}

// ---- Colours ----

PictorBitmap PICTOR::ColorResBitmap(const PictorBitmap& src, int bitsPerPixel)
{
    requireBitmap(src);
    if (bitsPerPixel != 8) fail(kPictorErrorArgument, formatMessage(str::IDS_IMG_BAD_DEPTH, {bitsPerPixel}));
    PictorBitmap out;
    failOn(reduceTo8Bit(src.bitmap, out.bitmap), kPictorErrorBitmap);
    return out;
}

PictorBitmap PICTOR::MapToPalette(const PictorBitmap& src, const Palette256& palette, PaletteTie tie)
{
    requireBitmap(src);
    PictorBitmap out;
    out.bitmap = mapToPalette(src.bitmap, palette, 256, tie);
    out.bitmap.formatCode = src.bitmap.formatCode;
    return out;
}

void PICTOR::GetBitmapColors(const PictorBitmap& bmp, int first, int count, PaletteEntry* out)
{
    requireRange(first, 0, 255);
    requireRange(count, 0, 256 - first);
    for (int i = 0; i < count; ++i) out[i] = bmp.bitmap.palette[size_t(first + i)];
}

void PICTOR::PutBitmapColors(PictorBitmap& bmp, int first, int count, const PaletteEntry* colours)
{
    requireRange(first, 0, 255);
    requireRange(count, 0, 256 - first);
    for (int i = 0; i < count; ++i) bmp.bitmap.palette[size_t(first + i)] = colours[i];
}

int PICTOR::GetBitmapColorCount(const PictorBitmap& bmp)
{
    requireBitmap(bmp);
    return bmp.bitmap.bitsPerPixel == 8 ? bmp.bitmap.colorCount : 0;
}

// ---- Pixels ----

namespace {
void requirePixel(const PictorBitmap& bmp, int row, int col)
{
    requireBitmap(bmp);
    if (row < 0 || col < 0 || row >= bmp.height() || col >= bmp.width()) fail(kPictorErrorArgument, str::IDS_IMG_BAD_RECT);
}
}  // namespace

uint32_t PICTOR::GetPixelColor(const PictorBitmap& bmp, int row, int col)
{
    requirePixel(bmp, row, col);
    return getPixelColor(bmp.bitmap, col, row);
}

void PICTOR::PutPixelColor(PictorBitmap& bmp, int row, int col, uint32_t rgb)
{
    requirePixel(bmp, row, col);
    setPixelColor(bmp.bitmap, col, row, rgb & 0xFFFFFF);
}

uint32_t PICTOR::GetPixelValue(const PictorBitmap& bmp, int row, int col)
{
    requirePixel(bmp, row, col);
    return getPixelValue(bmp.bitmap, col, row);
}

void PICTOR::PutPixelValue(PictorBitmap& bmp, int row, int col, uint32_t value)
{
    requirePixel(bmp, row, col);
    setPixelValue(bmp.bitmap, col, row, value);
}

const uint8_t* PICTOR::GetBitmapRow(const PictorBitmap& bmp, int row)
{
    requirePixel(bmp, row, 0);
    return bmp.bitmap.row(row);
}

// ---- Adjustments ----

namespace {

// An adjustment of the whole bitmap by `amount`, which must lie within -limit..limit.
void adjustBitmap(PictorBitmap& bmp, int amount, int limit, void (*adjust)(Bitmap&, int))
{
    requireBitmap(bmp);
    requireRange(amount, -limit, limit);
    adjust(bmp.bitmap, amount);
}

}  // namespace

void PICTOR::ChangeBitmapIntensity(PictorBitmap& bmp, int amount) { adjustBitmap(bmp, amount, 1000, changeIntensity); }

void PICTOR::ChangeBitmapContrast(PictorBitmap& bmp, int amount) { adjustBitmap(bmp, amount, 1000, changeContrast); }

void PICTOR::ChangeBitmapHue(PictorBitmap& bmp, int degrees) { adjustBitmap(bmp, degrees, 360, changeHue); }

void PICTOR::ChangeBitmapSaturation(PictorBitmap& bmp, int amount) { adjustBitmap(bmp, amount, 1000, changeSaturation); }

// ---- Drawing ----

void PICTOR::PaintDC(QPainter& painter, const PictorBitmap& bmp, const QRect& src, const QRect& dst)
{
    requireBitmap(bmp);
    painter.drawImage(dst, toQImage(bmp.bitmap), src);
}

void PICTOR::CopyToClipboard(const PictorBitmap& bmp)
{
    requireBitmap(bmp);
    QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard) fail(kPictorErrorArgument, str::IDS_IMG_NO_DISPLAY);
    clipboard->setImage(toQImage(bmp.bitmap));
}

PictorBitmap PICTOR::CaptureArea(const QRect& globalRect)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) fail(kPictorErrorArgument, str::IDS_IMG_NO_DISPLAY);
    QScreen* screen = QGuiApplication::screenAt(globalRect.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) fail(kPictorErrorArgument, str::IDS_IMG_NO_DISPLAY);
    const QRect geometry = screen->geometry();
    const QPixmap shot = screen->grabWindow(0, globalRect.x() - geometry.x(), globalRect.y() - geometry.y(),
                                            globalRect.width(), globalRect.height());
    if (shot.isNull()) fail(kPictorErrorArgument, str::IDS_IMG_NO_DISPLAY);
    PictorBitmap out;
    out.bitmap = fromQImage(shot.toImage().convertToFormat(QImage::Format_RGB888));
    return out;
}

// ---- CPictorImage ----

void CPictorImage::LoadFile(const QString& path)
{
    CloseFile();
    PictorBitmap loaded;
    PictorFileInfo info;
    PICTOR::LoadFile(path, loaded, &info);
    m_bitmap = std::move(loaded);
    m_info = info;
    m_fileName = path;
}

void CPictorImage::CloseFile()
{
    m_bitmap = PictorBitmap{};
    m_info = PictorFileInfo{};
}

void CPictorImage::Render(QPainter& painter, const QRect& target) const
{
    if (!IsLoaded()) return;
    PICTOR::PaintDC(painter, m_bitmap, QRect(0, 0, m_bitmap.width(), m_bitmap.height()), target);
}

}  // namespace qv
