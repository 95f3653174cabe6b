// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/pictor.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/strings.h"

using namespace qv;

class PictorTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void convertsBetweenQImageAndBitmap()
    {
        Bitmap indexed = Bitmap::create(3, 2, 8);
        indexed.pixels = {0, 1, 2, 2, 1, 255};
        indexed.palette[1] = PaletteEntry::fromRgb(10, 20, 30);
        indexed.palette[255] = PaletteEntry::fromRgb(255, 0, 255);
        const QImage q = toQImage(indexed);
        QCOMPARE(q.format(), QImage::Format_Indexed8);
        QCOMPARE(q.colorCount(), 256);
        QCOMPARE(q.pixel(1, 0), qRgb(10, 20, 30));
        QCOMPARE(q.pixel(2, 1), qRgb(255, 0, 255));
        const Bitmap back = fromQImage(q);
        QCOMPARE(back.pixels, indexed.pixels);
        QVERIFY(back.palette == indexed.palette);

        Bitmap rgb = Bitmap::create(5, 1, 24);  // odd width: QImage rows are padded, ours are not
        for (size_t i = 0; i < rgb.pixels.size(); ++i) rgb.pixels[i] = uint8_t(i * 17);
        QCOMPARE(fromQImage(toQImage(rgb)).pixels, rgb.pixels);
        QCOMPARE(fromQImage(toQImage(rgb).convertToFormat(QImage::Format_RGB32)).pixels, rgb.pixels);
    }

    void savesAndLoadsPcxAndBmpAtEveryDepth()
    {
        Palette256 pal;
        for (int i = 0; i < 256; ++i) pal[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i / 2), 0);
        PictorBitmap bmp = PICTOR::CreateBitmap(7, 3, 8, &pal);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 7; ++c) PICTOR::PutPixelValue(bmp, r, c, uint32_t(r * 7 + c) * 11);

        for (int format : {kPictorFormatPcx, kPictorFormatBmp}) {
            for (int bits : {8, 24}) {
                const QString file = path(format == kPictorFormatPcx ? "s.pcx" : "s.bmp");
                PICTOR::SaveBitmap(file, bmp, format, bits);
                const PictorFileInfo info = PICTOR::FileInfo(file);
                QCOMPARE(QList<int>({info.width, info.height, info.bitsPerPixel, info.format}),
                         QList<int>({7, 3, bits, format}));
                CPictorImage image;
                image.LoadFile(file);
                QVERIFY(image.IsLoaded());
                QCOMPARE(image.bitmap().bitsPerPixel(), bits);
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 7; ++c)
                        QCOMPARE(PICTOR::GetPixelColor(image.bitmap(), r, c), PICTOR::GetPixelColor(bmp, r, c));
            }
        }
        // Grey: an 8-bit file whose colours are greys.
        PICTOR::SaveBitmap(path("g.bmp"), bmp, kPictorFormatBmp, 0);
        PictorBitmap grey;
        PICTOR::LoadFile(path("g.bmp"), grey);
        QCOMPARE(grey.bitsPerPixel(), 8);
        const uint32_t g = PICTOR::GetPixelColor(grey, 2, 6);
        QCOMPARE(g >> 16, g & 0xFF);
    }

    void loadsOtherFormatsThroughQt()
    {
        QImage png(4, 2, QImage::Format_RGB32);
        png.fill(qRgb(1, 2, 3));
        png.setPixel(3, 1, qRgb(200, 100, 50));
        QVERIFY(png.save(path("p.png")));
        PictorBitmap bmp;
        PictorFileInfo info;
        PICTOR::LoadFile(path("p.png"), bmp, &info);
        QCOMPARE(info.format, int(kPictorFormatPng));
        QCOMPARE(bmp.bitsPerPixel(), 24);
        QCOMPARE(PICTOR::GetPixelColor(bmp, 1, 3), 0xC86432u);

        // A 4-bit BMP: the core codec refuses it, Qt reads it, the information keeps 4 bits.
        // Its headers: 122 bytes, pixels at 118; 2 x 1 pixels, 1 plane, 4 bits, 16 colours.
        const QByteArray header = QByteArray::fromHex(
            "424d7a0000000000000076000000280000000200000001000000010004000000000004000000000000000000000010000000"
            "00000000");
        Bytes f(header.begin(), header.end());
        ByteWriter w(f);
        for (int i = 0; i < 16; ++i) w.u32(uint32_t(i * 0x101010));
        w.u32(0x0000002F);  // pixels 2 and 15
        QVERIFY(writeFileAtomic(path("four.bmp").toStdString(), f));
        QCOMPARE(PICTOR::FileInfo(path("four.bmp")).bitsPerPixel, 4);
        PICTOR::LoadFile(path("four.bmp"), bmp, &info);
        QCOMPARE(info.bitsPerPixel, 4);
        QCOMPARE(bmp.bitsPerPixel(), 8);
        QCOMPARE(PICTOR::GetPixelColor(bmp, 0, 1), 0xF0F0F0u);
    }

    void drawsOnPaletteBitmapsByNearestColour()
    {
        Palette256 pal;  // entries 0 and 255 are both black
        pal[7] = PaletteEntry::fromRgb(250, 250, 250);
        PictorBitmap bmp = PICTOR::CreateBitmap(5, 3, 8, &pal);
        PICTOR::FillBitmapIndex(bmp, 255);
        {
            auto dc = PICTOR::CreatePictorDC(bmp);
            dc->painter().setPen(QPen(QColor(255, 255, 255), 0));
            dc->painter().drawLine(0, 1, 4, 1);
        }
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(PICTOR::GetPixelValue(bmp, 0, c), 255u);  // untouched pixels keep their index
            QCOMPARE(PICTOR::GetPixelValue(bmp, 1, c), 7u);
        }
        PICTOR::FillBitmap(bmp, 0x000000);  // a colour fill takes the lowest matching entry
        QCOMPARE(PICTOR::GetPixelValue(bmp, 2, 2), 0u);
    }

    void refusesWithAMessage()
    {
        PictorBitmap bmp = PICTOR::CreateBitmap(2, 2, 24);
        try {
            PICTOR::ChangeBitmapHue(bmp, 361);
            QFAIL("no exception");
        } catch (const CPictorException& e) {
            QCOMPARE(e.code(), int(kPictorErrorArgument));
            QCOMPARE(e.message(), formatMessage(str::IDS_IMG_BAD_RANGE, {361, -360, 360}));
        }
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::SaveBitmap(path("x.pcx"), bmp, 3, 8));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::SaveBitmap(path("no/such/dir/x.pcx"), bmp, 1, 8));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::LoadFile(path("missing.bmp"), bmp));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::TrimBitmap(bmp, QRect(1, 1, 2, 2)));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::CreateBitmap(0, 5, 8));
        QVERIFY(writeFileAtomic(path("junk.pcx").toStdString(), Bytes{10, 5, 1}));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::LoadFile(path("junk.pcx"), bmp));
        QCOMPARE(bmp.width(), 2);  // a failed load leaves the bitmap as it was
    }
};

QTEST_MAIN(PictorTest)
#include "pictor_test.moc"
