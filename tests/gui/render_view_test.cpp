// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view's drawing side through the real FLC template: each background with
// blending on and off composes exactly what the core compositor makes of the same frame;
// the background commands, their enabled and radio states and settings; the colour
// picker's answers; civilization colours (which entries change, which file is read,
// the source messages, the panel's swatches); and palette import and export through
// their dialogs.
#include <QToolButton>

#include "app/command_ids.h"
#include "app/control_panels.h"
#include "core/bitmap.h"
#include "core/compositor.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/pcx_codec.h"
#include "gui_harness.h"
#include "palette/civ_color_combo.h"
#include "palette/palette_file_dialogs.h"
#include "platform/ui/colour_popup.h"
#include "view/background.h"

using namespace qv;
using namespace qv::test;

namespace {

const QString kOptions = QStringLiteral("Options");

// 100 x 80 frames that use every index (transparent, shadow, light, civilization and
// ordinary colours), moving from one picture to the next, in a palette whose every
// entry differs from magenta except 255.
auto unitAnimation(bool leaderHead)
{
    auto anim = qvtest::shape(100, 80, 2, leaderHead);
    anim.palette[255] = PaletteEntry::fromRgb(255, 0, 255);
    anim.picture = [](int d, int n) {
        Picture p(100 * 80);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) p[size_t(y) * 100 + size_t(x)] = uint8_t((x * 7 + y * 3 + d + n) & 0xFF);
        return p;
    };
    return anim;
}

// An 8-bit PCX file of `w` x `h` whose pixel (x, y) is index `pixel(x, y)`.
bool writePicture(const QString& path, int w, int h, const Palette256& palette,
                  const std::function<uint8_t(int, int)>& pixel)
{
    Bitmap bmp = Bitmap::create(w, h, 8);
    bmp.palette = palette;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bmp.row(y)[x] = pixel(x, y);
    return bool(writePcxFile(path.toStdString(), bmp, 8));
}

// A civilization scheme file: a 1 x 1 picture whose palette is `palette`.
bool writeScheme(const QString& path, const Palette256& palette)
{
    return writePicture(path, 1, 1, palette, [](int, int) { return uint8_t(0); });
}

Palette256 schemePalette(int seed)
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(seed), uint8_t(i), uint8_t(255 - i));
    return p;
}

}  // namespace

class RenderViewTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    QString data_;  // where built-in files are unpacked

    CFlcView* open(bool leaderHead = false, QString* path = nullptr)
    {
        CFlcView* view = openAnimation(unitAnimation(leaderHead), 30, 12, path);
        if (view) view->OnCommand(ID_STOP);  // a still picture to compare
        return view;
    }
    // The view's current frame drawn anew.
    static const AnimFrame& redraw(CFlcView* view)
    {
        view->RequestRedraw();
        view->RenderTick();
        return view->frames().at(view->playback().lastDrawn());
    }
    // The number of pixels of the frame whose index passes `test` and which show in a
    // colour other than the index's own.
    static int recoloured(CFlcView* view, const std::function<bool(uint8_t)>& test)
    {
        const AnimFrame& frame = view->frames().at(view->playback().lastDrawn());
        const QImage& back = view->device()->backBuffer();
        int n = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const uint8_t v = frame.pixels[size_t(y) * size_t(frame.width()) + size_t(x)];
                const QRgb shown = back.pixel(view->leftOffset() + x, view->topOffset() + y) & kRgbMask;
                if (test(v) && shown != view->displayPalette()[v].rgb()) ++n;
            }
        return n;
    }

    // Composes the view's current frame once and checks the unit area against the core
    // compositor's result for the same frame, background and switches.
    void checkComposition(CFlcView* view, const Surface32* picture, uint32_t fillRgb, const char* what)
    {
        QImage& back = view->device()->backBuffer();
        // What a keyed picture leaves alone stays from before, in both.
        Surface32 expected(back.width(), back.height());
        for (int y = 0; y < back.height(); ++y)
            std::copy_n(reinterpret_cast<const uint32_t*>(back.constScanLine(y)), back.width(),
                        expected.pixels.data() + size_t(y) * size_t(back.width()));
        const AnimFrame& frame = redraw(view);
        Composition c;
        ConstPixels32 pictureView;
        if (picture) {
            pictureView = picture->view();
            c.picture = &pictureView;
        }
        c.fillRgb = fillRgb;
        c.frame.left = view->leftOffset();
        c.frame.top = view->topOffset();
        c.frame.alphaBlend = view->alphaBlend();
        c.frame.leaderHead = view->isLeaderHead();
        const IndexedPixels indices{frame.pixels.data(), frame.width(), frame.height(), frame.width()};
        compose(expected.view(), indices, view->displayPalette(), c);
        for (int y = 0; y < kBackgroundSide; ++y)
            for (int x = 0; x < kBackgroundSide; ++x) {
                const uint32_t got = back.pixel(x, y) & kRgbMask;
                const uint32_t want = expected.at(x, y) & kRgbMask;
                if (got != want)
                    QFAIL(qPrintable(QString::asprintf("%s: (%d, %d) is %06x, not %06x", what, x, y, got, want)));
            }
    }

private slots:
    void initTestCase() { startGui("QuorvaneRenderViewTest"); }
    void init()
    {
        resetGui({"Options", "Game"});
        data_ = path(QStringLiteral("data"));
        QDir().mkpath(data_);
        setViewDataFolders({data_});
    }
    void cleanup()
    {
        closeGui();
        setViewDataFolders({});
    }
    void cleanupTestCase() { stopGui(); }

    void eachBackgroundComposesAsTheCompositorWithBlendingOnAndOff()
    {
        // A Land.pcx of the user's own lies in the data folder; Sea.pcx is not there yet.
        Palette256 landColours;
        for (int i = 0; i < 256; ++i) landColours[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i * 2), uint8_t(255 - i));
        const QString landPath = data_ + QStringLiteral("/Land.pcx");
        QVERIFY(writePicture(landPath, 240, 240, landColours, [](int x, int y) { return uint8_t((x + y) % 200); }));

        CFlcView* view = open();
        QVERIFY(view && view->isLoaded());
        const uint32_t defaultRgb = colorRefToRgb(view->defaultColor());
        checkComposition(view, nullptr, defaultRgb, "default");

        QVERIFY(view->OnCommand(ID_BGD_SEA));
        Surface32 sea;  // unpacked on first use
        QVERIFY(loadBackgroundPicture((data_ + QStringLiteral("/Sea.pcx")).toStdString(), sea));
        checkComposition(view, &sea, 0, "sea");
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("Bgd Type"), -1), 2);
        // Blending shows: the shadow and light indices do not keep their own colours.
        QVERIFY(recoloured(view, [](uint8_t v) { return v >= 225 && v <= 254; }) > 400);

        QVERIFY(view->OnCommand(ID_BGD_LAND));
        Surface32 land;
        QVERIFY(loadBackgroundPicture(landPath.toStdString(), land));
        QCOMPARE(land.at(10, 0) & kRgbMask, landColours[10].rgb());  // the user's file, not the built-in one
        checkComposition(view, &land, 0, "land");

        view->OnColourSelected(0x00336699u, ID_BACKGROUND_COLOR);
        checkComposition(view, nullptr, 0x996633u, "custom");

        // Blending off: over the default colour, every index in its own colour but 255's
        // colour key matches nothing, so index 255 shows.
        QVERIFY(view->OnCommand(ID_BGD_SEA));
        QVERIFY(view->OnCommand(ID_ALPHA_BLEND));
        QVERIFY(!view->alphaBlend());
        QCOMPARE(view->backgroundType(), uint32_t(CAnimationView::kBgdDefault));
        checkComposition(view, nullptr, defaultRgb, "no blending");
        QCOMPARE(recoloured(view, [](uint8_t) { return true; }), 0);

        // A leader head: its frame over black, never blended, never over a picture.
        WriteProfileInt(kOptions, QStringLiteral("AlphaBlend"), 1);
        WriteProfileInt(kOptions, QStringLiteral("Bgd Type"), 2);
        CFlcView* leader = open(true);
        QVERIFY(leader && leader->isLoaded() && leader->isLeaderHead());
        checkComposition(leader, nullptr, 0, "leader head");
    }

    void backgroundCommandsFollowTheirRulesAndSettings()
    {
        CFlcView* view = open();
        QVERIFY(view && view->isLoaded());
        for (int id : {ID_BGD_DEFAULT, ID_BGD_CUSTOM, ID_BGD_SEA, ID_BGD_LAND, ID_BACKGROUND_COLOR, ID_ALPHA_BLEND,
                       ID_ZOOM, ID_IMPORT_PALETTE, ID_EXPORT_PALETTE})
            QVERIFY2(enabled(view, id), qPrintable(QString::number(id)));
        QVERIFY(checked(view, ID_BGD_DEFAULT) && checked(view, ID_ALPHA_BLEND));

        QVERIFY(view->OnCommand(ID_BGD_LAND));
        QVERIFY(checked(view, ID_BGD_LAND) && !checked(view, ID_BGD_DEFAULT));
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("Bgd Type"), -1), 3);
        // The next animation opens over the stored background.
        CFlcView* second = open();
        QCOMPARE(second->backgroundType(), uint32_t(CAnimationView::kBgdLand));
        QVERIFY(second->backgroundPicture());

        // The colour picker: another command's answer is not for it; "Default" still
        // gives the Custom type, in the default colour.
        view->OnColourSelected(0x00112233u, ID_BACKGROUND_COLOR);
        view->OnColourSelected(0x00445566u, ID_ZOOM);
        QCOMPARE(view->customColor(), 0x00112233u);
        QCOMPARE(CurrentCustomColor(), 0x00112233u);
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("Custom Color"), -1), 0x00112233);
        view->OnColourSelected(CColourPopupXP::kDefaultColour, ID_BACKGROUND_COLOR);
        QVERIFY(checked(view, ID_BGD_CUSTOM));
        QCOMPARE(view->fillColor(), colorRefToRgb(view->defaultColor()));

        // The pop-up answers with the colour and the command that opened it.
        auto* popup = new CColourPopupXP(QPoint(10, 10), 0x000000FFu, view, ID_BACKGROUND_COLOR,
                                         QStringLiteral("Default"), QStringLiteral("Custom"));
        QSignalSpy ended(popup, &CColourPopupXP::selectionEnded);
        popup->findChild<QToolButton*>(QStringLiteral("colour16"))->click();
        QCOMPARE(ended.count(), 1);
        int count = 0;
        QCOMPARE(ended.at(0).at(0).value<uint32_t>(), CColourPopupXP::gridColours(count)[16]);
        QCOMPARE(ended.at(0).at(1).toInt(), int(ID_BACKGROUND_COLOR));

        // Without blending the background commands rest and "Bgd Type" is back to 0.
        view->toggleAlphaBlend();
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("AlphaBlend"), -1), 0);
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("Bgd Type"), -1), 0);
        for (int id : {ID_BGD_DEFAULT, ID_BGD_CUSTOM, ID_BGD_SEA, ID_BGD_LAND, ID_BACKGROUND_COLOR})
            QVERIFY(!enabled(view, id));
        QVERIFY(enabled(view, ID_ALPHA_BLEND) && !checked(view, ID_ALPHA_BLEND));
        view->toggleAlphaBlend();
        QCOMPARE(view->colorKey(), 0xFF00FFu);

        // A Sea.pcx that is no picture: the message, and the background stays.
        writeFile(QStringLiteral("data/Sea.pcx"), Bytes{'n', 'o'});
        boxes_.clear();
        QVERIFY(view->OnCommand(ID_BGD_SEA));
        QCOMPARE(messages(), QStringList{QString::fromUtf8(str::IDS_CANNOT_SET_BACKGROUND)});
        QCOMPARE(boxes_.shown().front().flags & MB_ICONMASK, unsigned(MB_ICONSTOP));
        QCOMPARE(view->backgroundType(), uint32_t(CAnimationView::kBgdDefault));

        // A leader head has no background or blending choice.
        CFlcView* leader = open(true);
        for (int id : {ID_BGD_DEFAULT, ID_BGD_SEA, ID_BACKGROUND_COLOR, ID_ALPHA_BLEND}) QVERIFY(!enabled(leader, id));
        QVERIFY(enabled(leader, ID_ZOOM) && enabled(leader, ID_EXPORT_PALETTE));
    }

    void civilizationColoursReplaceEntries0To63Only()
    {
        // The predefined folder holds only ntp07.pcx.
        const QString folder = path(QStringLiteral("schemes"));
        QDir().mkpath(folder);
        const Palette256 scheme = schemePalette(200);
        QVERIFY(writeScheme(folder + QStringLiteral("/ntp07.pcx"), scheme));
        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 2);
        WriteProfileString(kOptions, QStringLiteral("Pal Dir"), folder);

        QString file;
        CFlcView* view = open(false, &file);
        QVERIFY(view && view->isLoaded() && view->hasCivilizationList());
        QCOMPARE(view->civilizationNames().size(), 33);
        QCOMPARE(view->civilizationNames().at(8), QStringLiteral("Civ Color 8"));
        const Palette256 own = view->basePalette();
        redraw(view);
        const QImage before = view->device()->backBuffer().copy();

        view->changeCivilization(8);
        QVERIFY(messages().isEmpty());
        QCOMPARE(view->civilization(), 8);
        for (int i = 0; i < 256; ++i) QCOMPARE(view->displayPalette()[i].rgb(), (i < 64 ? scheme : own)[i].rgb());
        uint32_t swatch = 0;
        QVERIFY(view->civilizationSwatch(swatch));
        QCOMPARE(swatch, scheme[6].colorRef());

        // On the screen only the pixels of indices 0..63 change.
        const AnimFrame& frame = redraw(view);
        const QImage& after = view->device()->backBuffer();
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const uint8_t v = frame.pixels[size_t(y) * size_t(frame.width()) + size_t(x)];
                const QPoint p(view->leftOffset() + x, view->topOffset() + y);
                QCOMPARE(after.pixel(p) & kRgbMask, v < 64 ? scheme[v].rgb() : before.pixel(p) & kRgbMask);
            }

        // The scheme is only shown: it changes nothing to save, and Save keeps the file's
        // own colours. A palette edit made meanwhile is saved, with the scheme still on top.
        QVERIFY(!view->isDocumentModified());
        Palette256 edited = own;
        edited[0] = PaletteEntry::fromRgb(4, 5, 6);
        edited[70] = PaletteEntry::fromRgb(7, 8, 9);
        QVERIFY(view->SetFilePalette(edited));
        QCOMPARE(view->displayPalette()[0].rgb(), scheme[0].rgb());
        QCOMPARE(view->displayPalette()[70].rgb(), edited[70].rgb());
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        FlcLoadResult saved;
        QVERIFY(loadFlcAnimation(file.toStdString(), saved));
        QCOMPARE(saved.store.basePalette, edited);
        QVERIFY(view->SetFilePalette(own));

        // Civilization 9 would be ntp08.pcx, which is not there: two messages, nothing changes.
        view->changeCivilization(9);
        QCOMPARE(messages(), (QStringList{QString::fromUtf8(str::IDS_CIV_PAL_NO_FOLDER),
                                          QString::fromUtf8(str::IDS_CANNOT_GET_CIV_PALETTE)}));
        QCOMPARE(boxes_.shown().at(0).flags, unsigned(MB_OK));
        QCOMPARE(view->civilization(), 8);
        QCOMPARE(view->displayPalette()[0].rgb(), scheme[0].rgb());

        // "Default" is the animation's own palette again; the lookup with a target gives
        // the whole scheme and shows nothing.
        view->changeCivilization(0);
        QCOMPARE(view->displayPalette()[0].rgb(), own[0].rgb());
        Palette256 whole;
        QVERIFY(view->PaletteFromRes(8, &whole));
        QCOMPARE(whole[200].rgb(), scheme[200].rgb());
        QCOMPARE(view->displayPalette()[0].rgb(), own[0].rgb());

        // A folder that is gone, and the game source without a game, disable the list.
        WriteProfileString(kOptions, QStringLiteral("Pal Dir"), folder + QStringLiteral("/missing"));
        QVERIFY(!view->hasCivilizationList());
        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 0);
        QVERIFY(!view->hasCivilizationList());
        boxes_.clear();
        view->changeCivilization(3);
        QCOMPARE(messages().size(), 2);
        QVERIFY(messages().at(0).startsWith(QStringLiteral("You have currently selected the 'Load Palette from the Game")));
    }

    void builtinSchemesUnpackOnceAndTheViewPanelShowsSwatches()
    {
        // Without the game and no source chosen, the built-in schemes recolour.
        CFlcView* view = open();
        QVERIFY(view && view->hasCivilizationList());
        view->changeCivilization(3);
        QVERIFY(messages().isEmpty());
        QCOMPARE(view->civilization(), 3);
        QVERIFY(view->displayPalette()[10].rgb() != view->basePalette()[10].rgb() ||
                view->displayPalette()[40].rgb() != view->basePalette()[40].rgb());
        view->changeCivilization(0);

        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 1);
        CControlPanels panels;
        setControlPanels(&panels);
        view->OnActivateView(true);
        auto* list = qobject_cast<CCivColorCombo*>(panels.control(IDC_CIV_LIST));
        QVERIFY(list && list->isEnabled());
        QCOMPARE(list->count(), 33);
        QCOMPARE(list->currentIndex(), 0);
        // Entry 0 shows the animation's own entry 6; the others start with the built-in colours.
        QCOMPARE(list->Swatch(0), view->displayPalette()[6].colorRef());
        QCOMPARE(list->Swatch(12), kCivSwatchColorRefs[12]);

        // Choosing civilization 2 unpacks ntp01.pcx into "Palettes".
        emit list->activated(2);
        const QString unpacked = data_ + QStringLiteral("/Palettes/ntp01.pcx");
        QVERIFY(QFile::exists(unpacked));
        QCOMPARE(view->civilization(), 2);
        QCOMPARE(list->Swatch(2), kCivSwatchColorRefs[2]);  // equal to the scheme's entry 6

        // A scheme the user edited there is used as it is.
        const Palette256 edited = schemePalette(17);
        QVERIFY(writeScheme(unpacked, edited));
        emit list->activated(0);
        emit list->activated(2);
        QCOMPARE(view->displayPalette()[40].rgb(), edited[40].rgb());
        QCOMPARE(list->Swatch(2), edited[6].colorRef());

        // A failed choice puts the list back on the entry in force.
        QFile::remove(data_ + QStringLiteral("/Palettes/ntp04.pcx"));
        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 2);
        WriteProfileString(kOptions, QStringLiteral("Pal Dir"), data_ + QStringLiteral("/Palettes"));
        emit list->activated(5);
        QCOMPARE(messages().last(), QString::fromUtf8(str::IDS_CANNOT_GET_CIV_PALETTE));
        QCOMPARE(list->currentIndex(), 2);

        // The alpha-blend box follows the view.
        auto* alpha = qobject_cast<QAbstractButton*>(panels.control(IDC_ALPHA_BLEND));
        QVERIFY(alpha->isEnabled() && alpha->isChecked());
        alpha->click();
        QVERIFY(!view->alphaBlend() && !alpha->isChecked());
        view->OnActivateView(false);
        setControlPanels(nullptr);
    }

    void paletteImportAndExportGoThroughTheirDialogs()
    {
        QString flcPath;
        CFlcView* view = open(false, &flcPath);
        QVERIFY(view && view->isLoaded());

        // Export with the Jasc filter to a name with another extension: the name as typed
        // with ".pal" added; the dialog starts in the animation's folder.
        const QString typed = path(QStringLiteral("my.colours"));
        const QString written = typed + QStringLiteral(".pal");
        dialogs_.pick(typed, 3);
        QVERIFY(view->OnCommand(ID_EXPORT_PALETTE));
        QCOMPARE(dialogs_.seen().back().title, QStringLiteral("Select Palette file to export"));
        QCOMPARE(dialogs_.seen().back().initialPath, dir_->path());
        QCOMPARE(messages(), QStringList{QStringLiteral("Palette is successfully exported.")});
        QCOMPARE(boxes_.shown().back().flags & MB_ICONMASK, unsigned(MB_ICONINFORMATION));
        Palette256 exported;
        QVERIFY(ImportPaletteFromFile(written.toStdString(), exported));
        QCOMPARE(exported, view->displayPalette());
        QCOMPARE(GetProfileString(kOptions, QStringLiteral("PalDir")), written);
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("PalFilterExp"), 0), 3);
        QCOMPARE(exportTargetPath(QStringLiteral("/p/war.ACT"), kPaletteJasc), QStringLiteral("/p/war.pal"));
        QCOMPARE(exportTargetPath(QStringLiteral("/p/war"), kPaletteAct), QStringLiteral("/p/war.act"));

        // Import an Adobe table: it becomes the display and the base palette, the list
        // goes back to "Default", and Save writes it into the file.
        view->changeCivilization(3);
        Palette256 imported;
        for (int i = 0; i < 256; ++i) imported[i] = PaletteEntry::fromRgb(uint8_t(i), 10, uint8_t(i ^ 0x5A));
        Bytes table;
        QVERIFY(serializePalette(imported, kPaletteAct, table));
        const QString act = writeFile(QStringLiteral("new.ACT"), table);  // capitals are recognised
        boxes_.clear();
        dialogs_.pick(act, 2);
        QVERIFY(view->OnCommand(ID_IMPORT_PALETTE));
        QCOMPARE(dialogs_.seen().back().title, QStringLiteral("Select Palette file to import"));
        QCOMPARE(dialogs_.seen().back().initialPath, written);  // the last palette file, beside the animation
        QCOMPARE(messages(), QStringList{QStringLiteral("Palette is successfully imported.")});
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("PalFilterImp"), 0), 2);
        QVERIFY(view->displayPalette() == imported && view->basePalette() == imported);
        QCOMPARE(view->civilization(), 0);
        QCOMPARE(view->colorKey(), imported[255].rgb());
        const AnimFrame& frame = redraw(view);
        QCOMPARE(view->device()->backBuffer().pixel(30 + 1, 12) & kRgbMask, imported[frame.pixels[1]].rgb());
        QVERIFY(view->isDocumentModified());
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        FlcLoadResult saved;
        QVERIFY(loadFlcAnimation(flcPath.toStdString(), saved));
        QCOMPARE(saved.store.basePalette, imported);

        // Cancelling changes nothing and says nothing.
        boxes_.clear();
        dialogs_.cancel();
        QVERIFY(view->OnCommand(ID_IMPORT_PALETTE));
        QCOMPARE(dialogs_.seen().back().initialPath, act);  // the last palette file
        QVERIFY(messages().isEmpty());

        // A file that is no palette: the message, then the file is loaded again.
        const QString bad = writeFile(QStringLiteral("long.act"), Bytes(772, 7));
        view->displayPalette()[3] = PaletteEntry::fromRgb(1, 2, 3);  // an edit not saved
        dialogs_.pick(bad);
        QVERIFY(view->OnCommand(ID_IMPORT_PALETTE));
        QCOMPARE(messages(), QStringList{qvtest::msg(str::IDS_CANNOT_IMPORT_PALETTE, {bad.toStdString()})});
        QCOMPARE(boxes_.shown().back().flags, unsigned(MB_OK));
        QVERIFY(view->isLoaded());
        QCOMPARE(view->displayPalette()[3].rgb(), imported[3].rgb());
    }
};

QTEST_MAIN(RenderViewTest)
#include "render_view_test.moc"
