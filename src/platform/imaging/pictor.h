// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// PICTOR: the imaging layer every window-side class goes through for picture files and
// whole-bitmap operations. PCX and BMP files are read and written by the core codecs;
// other formats Qt can read (PNG, GIF, JPEG, ...) load through QImage for import and
// preview. Operations report failure by throwing CPictorException with a message ready to
// show. Bitmaps are PictorBitmap (the imaging layer's bitmap): a qv::Bitmap, 8-bit with
// a palette or 24-bit, so the core operations work on them without conversion.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <exception>
#include <memory>
#include <string>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/flc_format.h"

class QPainter;

namespace qv {

// Format codes the imaging layer reports. 1 and 6 are the ones storyboards record; the
// others only tell the kind of a picture loaded for import or preview.
enum PictorFormat : int {
    kPictorFormatUnknown = 0,
    kPictorFormatPcx = 1,
    kPictorFormatBmp = 6,
    kPictorFormatJpeg = 10,
    kPictorFormatGif = 14,
    kPictorFormatPng = 75,
    kPictorFormatOther = 99,  // any other format Qt reads
};

// Error codes carried by CPictorException.
enum PictorError : int {
    kPictorSuccess = 1,
    kPictorErrorFile = -1,      // a file cannot be opened, read or written
    kPictorErrorFormat = -2,    // the file's format or content is not supported
    kPictorErrorBitmap = -3,    // an empty bitmap, or one of the wrong depth
    kPictorErrorArgument = -4,  // a size, depth, rectangle or amount out of range
};

class CPictorException : public std::exception {
public:
    CPictorException(int code, std::string message) : code_(code), message_(std::move(message)) {}
    int code() const { return code_; }
    // The text to show the user (the string table's line breaks kept).
    const std::string& message() const { return message_; }
    QString GetErrorMessage() const { return QString::fromStdString(message_); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    int code_;
    std::string message_;
};

// The imaging layer's bitmap.
struct PictorBitmap {
    Bitmap bitmap;
    bool allocated() const { return !bitmap.empty(); }
    int width() const { return bitmap.width; }
    int height() const { return bitmap.height; }
    int bitsPerPixel() const { return bitmap.bitsPerPixel; }
};

// What a picture file says about itself.
struct PictorFileInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int format = kPictorFormatUnknown;
};

// ---- Conversions between QImage and qv::Bitmap ----

// An 8-bit bitmap becomes Format_Indexed8 with a 256-entry colour table; a 24-bit one
// Format_RGB888.
QImage toQImage(const Bitmap& bmp);
// Indexed pictures (Format_Indexed8, Mono, MonoLSB) become 8-bit bitmaps with their colour
// table (the rest of the palette black, colorCount the table's size); Grayscale8 an 8-bit
// bitmap with a grey palette; everything else 24-bit (any alpha dropped).
Bitmap fromQImage(const QImage& image);

// A drawing context on a bitmap (CreatePictorDC): paint on painter(); the drawing reaches
// the bitmap when the context is ended (DeletePictorDC, or destruction). Drawing on an
// 8-bit bitmap happens in true colour and each pixel then takes the nearest palette colour,
// as a drawing context on a palette bitmap does.
class PictorDC {
public:
    explicit PictorDC(PictorBitmap& target);
    ~PictorDC();
    PictorDC(const PictorDC&) = delete;
    PictorDC& operator=(const PictorDC&) = delete;
    QPainter& painter();
    // Ends the painting and writes it into the bitmap (done once; later calls do nothing).
    void end();

private:
    PictorBitmap& target_;
    QImage canvas_;
    std::unique_ptr<QPainter> painter_;
};

class PICTOR {
public:
    // Flags of CombineBitmap.
    static constexpr int kCombineCopy = 0;       // every source pixel replaces the target's
    static constexpr int kCombineKeyed = 0x800;  // source pixels equal to the key are skipped

    // ---- Files ----
    // Size, depth and format of a picture file (a 4-bit BMP reports 4). Throws when the file
    // cannot be read or is no picture.
    static PictorFileInfo FileInfo(const QString& path);
    // Loads a picture at its own depth: PCX and BMP through the core codecs (a BMP those
    // cannot read, such as a 4-bit one, through Qt, as an 8-bit bitmap); any other format
    // through QImage. `info`, when given, receives what FileInfo would.
    static void LoadFile(const QString& path, PictorBitmap& out, PictorFileInfo* info = nullptr);
    // Saves as PCX (format 1) or BMP (6). bitsPerPixel: 8 or 24; also 0 for an 8-bit grey
    // picture and 1 for an 8-bit black-and-white one. The file is written in one piece; a
    // failed save leaves any existing file as it was.
    static void SaveBitmap(const QString& path, const PictorBitmap& bmp, int format, int bitsPerPixel);

    // ---- Creating, filling, copying ----
    // A bitmap of the given size and depth (8 or 24), all zeros; an 8-bit one takes the
    // palette when given.
    static PictorBitmap CreateBitmap(int width, int height, int bitsPerPixel, const Palette256* palette = nullptr);
    static void FreeBitmap(PictorBitmap& bmp) { bmp = PictorBitmap{}; }
    // Fills with a colour 0x00RRGGBB (an 8-bit bitmap with its nearest palette entry).
    static void FillBitmap(PictorBitmap& bmp, uint32_t rgb);
    // Fills an 8-bit bitmap with a palette index (a 24-bit one with that entry's colour).
    static void FillBitmapIndex(PictorBitmap& bmp, int index);
    static PictorBitmap CopyBitmap(const PictorBitmap& src) { return src; }
    // A new bitmap of the `rect` area (clipped to the bitmap; throws when nothing remains).
    static PictorBitmap CopyBitmapRect(const PictorBitmap& src, const QRect& rect);
    // Puts the `srcRect` area of `src` at `dstPos` of `dst` (clipped), converting depths as
    // qv::combineRect does. flags: kCombineCopy, or kCombineKeyed with `key` (a palette
    // index for an 8-bit source, 0x00RRGGBB for a 24-bit one).
    static void CombineBitmap(PictorBitmap& dst, const QPoint& dstPos, const PictorBitmap& src, const QRect& srcRect,
                              int flags = kCombineCopy, uint32_t key = 0);

    // ---- Geometry (in place) ----
    static void SizeBitmap(PictorBitmap& bmp, int width, int height, ResizeMode mode = ResizeMode::Nearest);
    // Crops to `rect`, which must lie inside the bitmap.
    static void TrimBitmap(PictorBitmap& bmp, const QRect& rect);
    // Upside down.
    static void FlipBitmap(PictorBitmap& bmp);
    // Left to right.
    static void ReverseBitmap(PictorBitmap& bmp);

    // ---- Colours ----
    // An 8-bit copy with an optimised palette (qv::reduceTo8Bit); an 8-bit source is
    // copied. Only 8 bits are offered.
    static PictorBitmap ColorResBitmap(const PictorBitmap& src, int bitsPerPixel = 8);
    // An 8-bit copy over `palette`, each pixel the nearest colour (`tie` picks among equal
    // ones: a storyboard sheet takes PaletteTie::KeepSpecialIndices).
    static PictorBitmap MapToPalette(const PictorBitmap& src, const Palette256& palette,
                                     PaletteTie tie = PaletteTie::LowestIndex);
    // Palette entries first .. first + count - 1 (clipped to 0..255).
    static void GetBitmapColors(const PictorBitmap& bmp, int first, int count, PaletteEntry* out);
    static void PutBitmapColors(PictorBitmap& bmp, int first, int count, const PaletteEntry* colours);
    // How many palette entries an 8-bit bitmap has in use (its colorCount); 0 for 24 bits.
    static int GetBitmapColorCount(const PictorBitmap& bmp);

    // ---- Pixels (row, column as the original library counts them) ----
    static uint32_t GetPixelColor(const PictorBitmap& bmp, int row, int col);         // 0x00RRGGBB
    static void PutPixelColor(PictorBitmap& bmp, int row, int col, uint32_t rgb);     // nearest entry at 8 bits
    static uint32_t GetPixelValue(const PictorBitmap& bmp, int row, int col);         // index or 0x00RRGGBB
    static void PutPixelValue(PictorBitmap& bmp, int row, int col, uint32_t value);
    // One row's raw bytes (width or 3 x width, red, green, blue). Throws outside the bitmap.
    static const uint8_t* GetBitmapRow(const PictorBitmap& bmp, int row);

    // ---- Adjustments (ranges checked: out of range throws) ----
    static void ChangeBitmapIntensity(PictorBitmap& bmp, int amount);   // -1000..1000
    static void ChangeBitmapContrast(PictorBitmap& bmp, int amount);    // -1000..1000
    static void ChangeBitmapHue(PictorBitmap& bmp, int degrees);        // -360..360
    static void ChangeBitmapSaturation(PictorBitmap& bmp, int amount);  // -1000..1000

    // ---- Drawing ----
    static std::unique_ptr<PictorDC> CreatePictorDC(PictorBitmap& bmp) { return std::make_unique<PictorDC>(bmp); }
    static void DeletePictorDC(std::unique_ptr<PictorDC>& dc) { dc.reset(); }
    // Draws the `src` area of the bitmap scaled into `dst` of the painter (a plain copy).
    static void PaintDC(QPainter& painter, const PictorBitmap& bmp, const QRect& src, const QRect& dst);
    // Puts the bitmap on the system clipboard. Needs a QGuiApplication.
    static void CopyToClipboard(const PictorBitmap& bmp);
    // Grabs a rectangle of the screen (global coordinates) as a 24-bit bitmap; letting the
    // user drag the rectangle is the caller's part. Needs a QGuiApplication.
    static PictorBitmap CaptureArea(const QRect& globalRect);
};

// A loaded picture with its file name (the image model of the window classes derives
// from it and uses its bitmap as its working bitmap).
class CPictorImage {
public:
    virtual ~CPictorImage() = default;
    // Loads the file into the bitmap (throws CPictorException; the image is then closed).
    void LoadFile(const QString& path);
    void CloseFile();
    bool IsLoaded() const { return m_bitmap.allocated(); }
    const QString& GetFileName() const { return m_fileName; }
    void SetFileName(const QString& path) { m_fileName = path; }
    // The information of the loaded file (all zero when nothing was loaded from a file).
    const PictorFileInfo& GetImgFileInfo() const { return m_info; }
    // Paints the whole picture scaled into `target`.
    void Render(QPainter& painter, const QRect& target) const;
    PictorBitmap& bitmap() { return m_bitmap; }
    const PictorBitmap& bitmap() const { return m_bitmap; }

protected:
    PictorBitmap m_bitmap;
    QString m_fileName;
    PictorFileInfo m_info;
};

}  // namespace qv
