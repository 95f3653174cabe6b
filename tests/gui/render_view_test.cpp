// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view's drawing side through the real FLC template: each background with
// blending on and off composes exactly what the core compositor makes of the same frame;
// the background commands, their enabled and radio states and settings; the colour
// picker's answers; civilization colours (which entries change, which file is read,
// the source messages, the panel's swatches); palette import and export through their
// dialogs; and the sound preview through a recording player (WAV and AMB files chosen or
// refused, the AMB report, playing with the animation and from the Sound panel, its
// enable rules, a computer without an audio output).
#include <QAbstractButton>
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
#include "platform/ui/utils.h"
#include "support/unit_builder.h"
#include "view/background.h"
#include "view/information_dlg.h"
#include "view/sound_player.h"

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

class RecordingPlayer : public ISoundPlayer {
public:
    bool output = true;
    QStringList calls;  // "play NAME loop", "play NAME once", "stop"
    bool hasOutput() override { return output; }
    void play(const QString& path, bool loop) override
    {
        calls << QStringLiteral("play %1 %2")
                     .arg(GetFileName(path), loop ? QStringLiteral("loop") : QStringLiteral("once"));
    }
    void stop() override { calls << QStringLiteral("stop"); }
    // The calls other than "stop".
    QStringList plays() const { return calls.filter(QStringLiteral("play ")); }
};

}  // namespace

class RenderViewTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    QString data_;  // where built-in files are unpacked
    RecordingPlayer player_;
    std::unique_ptr<CControlPanels> panels_;

    CFlcView* open(bool leaderHead = false, QString* path = nullptr)
    {
        CFlcView* view = openAnimation(unitAnimation(leaderHead), 30, 12, path);
        if (view) view->OnCommand(ID_STOP);  // a still picture to compare
        return view;
    }
    // An animation whose view is the active one, shown in the panels.
    CFlcView* openActive(bool leaderHead = false)
    {
        CFlcView* view = open(leaderHead);
        if (view) view->OnActivateView(true);
        return view;
    }
    bool panelEnabled(int id) const { return panels_->control(id)->isEnabled(); }
    bool allEnabled(std::initializer_list<int> ids, bool on) const
    {
        return std::all_of(ids.begin(), ids.end(), [&](int id) { return panelEnabled(id) == on; });
    }
    void click(int id) const { qobject_cast<QAbstractButton*>(panels_->control(id))->click(); }
    // The view's current frame drawn anew.
    static const AnimFrame& redraw(CFlcView* view)
    {
        view->RequestRedraw();
        view->RenderTick();
        return view->frames().at(view->playback().lastDrawn());
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
    void initTestCase()
    {
        startGui("QuorvaneRenderViewTest");
        setSoundPlayer(&player_);
    }
    void init()
    {
        resetGui({"Options", "Game", "Dlg Wav"});
        data_ = path(QStringLiteral("data"));
        QDir().mkpath(data_);
        setViewDataFolders({data_});
        panels_ = std::make_unique<CControlPanels>();
        setControlPanels(panels_.get());
        player_.calls.clear();
        player_.output = true;
    }
    void cleanup()
    {
        closeGui();
        setViewDataFolders({});
        setControlPanels(nullptr);
        panels_.reset();
    }
    void cleanupTestCase()
    {
        stopGui();
        setSoundPlayer(nullptr);
    }

    void eachBackgroundComposesAsTheCompositorWithBlendingOnAndOff()
    {
        // A Land.pcx of the user's own lies in the data folder; Sea.pcx is not there yet.
        const QString landPath = data_ + QStringLiteral("/Land.pcx");
        QVERIFY(
            writePicture(landPath, 240, 240, schemePalette(50), [](int x, int y) { return uint8_t((x + y) % 200); }));

        CFlcView* view = open();
        QVERIFY(view && view->isLoaded());
        QVERIFY(view->OnCommand(ID_BGD_SEA));
        Surface32 sea;  // unpacked on first use
        QVERIFY(loadBackgroundPicture((data_ + QStringLiteral("/Sea.pcx")).toStdString(), sea));
        checkComposition(view, &sea, 0, "sea");

        QVERIFY(view->OnCommand(ID_BGD_LAND));
        Surface32 land;
        QVERIFY(loadBackgroundPicture(landPath.toStdString(), land));  // the user's file, not the built-in one
        checkComposition(view, &land, 0, "land");

        // Blending off: over the default colour, every index in its own colour but 255's
        // colour key matches nothing, so index 255 shows.
        QVERIFY(view->OnCommand(ID_BGD_SEA));
        QVERIFY(view->OnCommand(ID_ALPHA_BLEND) && !view->alphaBlend());
        QCOMPARE(view->backgroundType(), uint32_t(CAnimationView::kBgdDefault));
        checkComposition(view, nullptr, colorRefToRgb(view->defaultColor()), "no blending");

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
        QCOMPARE(view->fillColor(), 0x332211u);
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

        // A Sea.pcx that is no picture: the message, and the background stays.
        writeFile(QStringLiteral("data/Sea.pcx"), Bytes{'n', 'o'});
        boxes_.clear();
        QVERIFY(view->OnCommand(ID_BGD_SEA));
        QCOMPARE(messages(), QStringList{QString::fromUtf8(str::IDS_CANNOT_SET_BACKGROUND)});
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
        QCOMPARE(view->civilizationNames().at(8), QStringLiteral("Civ Color 8"));
        const Palette256 own = view->basePalette();

        view->changeCivilization(8);
        QVERIFY(messages().isEmpty());
        for (int i = 0; i < 256; ++i) QCOMPARE(view->displayPalette()[i].rgb(), (i < 64 ? scheme : own)[i].rgb());
        // The screen shows the new colours (the top-left pixel's index is below 64).
        const AnimFrame& frame = redraw(view);
        const QRgb shown = view->device()->backBuffer().pixel(view->leftOffset(), view->topOffset());
        QCOMPARE(shown & kRgbMask, scheme[frame.pixels[0]].rgb());

        // The scheme is only shown: it changes nothing to save, and Save keeps the file's
        // own colours. A palette edit made meanwhile is saved, with the scheme still on top.
        QVERIFY(!view->isDocumentModified());
        Palette256 edited = own;
        edited[0] = PaletteEntry::fromRgb(4, 5, 6);
        edited[70] = PaletteEntry::fromRgb(7, 8, 9);
        QVERIFY(view->SetFilePalette(edited));
        QCOMPARE(view->displayPalette()[0].rgb(), scheme[0].rgb());
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        FlcLoadResult saved;
        QVERIFY(loadFlcAnimation(file.toStdString(), saved));
        QCOMPARE(saved.store.basePalette, edited);

        // Civilization 9 would be ntp08.pcx, which is not there: two messages, nothing changes.
        view->changeCivilization(9);
        QCOMPARE(messages(), (QStringList{QString::fromUtf8(str::IDS_CIV_PAL_NO_FOLDER),
                                          QString::fromUtf8(str::IDS_CANNOT_GET_CIV_PALETTE)}));
        QCOMPARE(view->civilization(), 8);

        // "Default" is the animation's own palette again; the lookup with a target gives
        // the whole scheme and shows nothing.
        view->changeCivilization(0);
        Palette256 whole;
        QVERIFY(view->PaletteFromRes(8, &whole));
        QCOMPARE(whole[200].rgb(), scheme[200].rgb());
        QCOMPARE(view->displayPalette()[0].rgb(), edited[0].rgb());

        // A folder that is gone, and the game source without a game, disable the list.
        WriteProfileString(kOptions, QStringLiteral("Pal Dir"), folder + QStringLiteral("/missing"));
        QVERIFY(!view->hasCivilizationList());
        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 0);
        QVERIFY(!view->hasCivilizationList());
        boxes_.clear();
        view->changeCivilization(3);
        QVERIFY(
            messages().at(0).startsWith(QStringLiteral("You have currently selected the 'Load Palette from the Game")));
    }

    void builtinSchemesUnpackOnceAndTheViewPanelShowsSwatches()
    {
        // Without the game and no source chosen, the built-in schemes recolour.
        CFlcView* view = openActive();
        auto* list = qobject_cast<CCivColorCombo*>(panels_->control(IDC_CIV_LIST));
        QVERIFY(list && list->isEnabled());
        QCOMPARE(list->count(), 33);
        // Entry 0 shows the animation's own entry 6; the others start with the built-in colours.
        QCOMPARE(list->Swatch(0), view->displayPalette()[6].colorRef());
        QCOMPARE(list->Swatch(12), kCivSwatchColorRefs[12]);

        // Choosing civilization 2 unpacks ntp01.pcx into "Palettes"; the list's swatch
        // follows the scheme in use there, edited by the user here.
        emit list->activated(2);
        const QString unpacked = data_ + QStringLiteral("/Palettes/ntp01.pcx");
        QCOMPARE(view->civilization(), 2);
        QVERIFY(view->displayPalette() != view->basePalette());
        const Palette256 edited = schemePalette(17);
        QVERIFY(writeScheme(unpacked, edited));
        emit list->activated(0);
        emit list->activated(2);
        QCOMPARE(list->Swatch(2), edited[6].colorRef());

        // A failed choice puts the list back on the entry in force.
        QFile::remove(data_ + QStringLiteral("/Palettes/ntp04.pcx"));
        WriteProfileInt(kOptions, QStringLiteral("Pal Type"), 2);
        WriteProfileString(kOptions, QStringLiteral("Pal Dir"), data_ + QStringLiteral("/Palettes"));
        emit list->activated(5);
        QCOMPARE(messages().last(), QString::fromUtf8(str::IDS_CANNOT_GET_CIV_PALETTE));
        QCOMPARE(list->currentIndex(), 2);

        // The alpha-blend box follows the view.
        auto* alpha = qobject_cast<QAbstractButton*>(panels_->control(IDC_ALPHA_BLEND));
        alpha->click();
        QVERIFY(!view->alphaBlend() && !alpha->isChecked());
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
        Palette256 exported;
        QVERIFY(ImportPaletteFromFile(written.toStdString(), exported));
        QCOMPARE(exported, view->displayPalette());
        QCOMPARE(GetProfileString(kOptions, QStringLiteral("PalDir")), written);
        QCOMPARE(GetProfileInt(kOptions, QStringLiteral("PalFilterExp"), 0), 3);
        // A palette extension of another format is replaced.
        QCOMPARE(exportTargetPath(QStringLiteral("/p/war.ACT"), kPaletteJasc), QStringLiteral("/p/war.pal"));

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
        const AnimFrame& frame = redraw(view);
        QCOMPARE(view->device()->backBuffer().pixel(30 + 1, 12) & kRgbMask, imported[frame.pixels[1]].rgb());
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
        QCOMPARE(view->displayPalette()[3].rgb(), imported[3].rgb());
    }

    // ---- Sound ----
    void choosingWavAndAmbFilesFillsTheSoundList()
    {
        CFlcView* view = openActive();
        QVERIFY(view && view->isSoundAllowed());
        const QString wav = writeFile(QStringLiteral("Run.wav"), buildWav());
        dialogs_.pick(wav);
        click(IDC_SOUND_BROWSE);
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_SOUND_SELECT_TITLE));
        QCOMPARE(dialogs_.seen().back().filter, QString::fromUtf8(str::IDS_SOUND_FILTER));
        QCOMPARE(view->soundList(), QStringList{wav});
        QCOMPARE(GetProfileString(QStringLiteral("Dlg Wav"), QStringLiteral("Last Opend")), wav);

        // A WAV whose header claims more data than the file holds is refused; nothing changes.
        const QString lying = writeFile(QStringLiteral("Lying.wav"), buildWav(WavShape().withDataSize(0x7FFFFFF0u)));
        dialogs_.pick(lying);
        view->chooseSoundFile();
        QCOMPARE(messages(), QStringList{uFormatString(str::IDS_WAV_NOT_VALID, {lying.toStdString()})});
        QCOMPARE(view->soundFile(), wav);

        // An AMB file: its WAV names beside it, reported in the information dialog, which saves.
        const QString amb = writeFile(QStringLiteral("Attack.amb"), buildAmb({"Swing", "Hit"}));
        const QString report = path(QStringLiteral("report.txt"));
        QString header, text;
        whenShown<CInformationDlg>([&](CInformationDlg* info) {
            QCOMPARE(info->windowTitle(), QString::fromUtf8(str::IDS_AMB_CHECK_TITLE));
            header = info->header();
            text = info->text();
            dialogs_.pick(report);
            QVERIFY(info->Save());
            info->accept();
        });
        dialogs_.pick(amb);
        view->chooseSoundFile();
        const QStringList expected = {path(QStringLiteral("Swing.wav")), path(QStringLiteral("Hit.wav"))};
        QCOMPARE(view->soundList(), expected);
        QCOMPARE(header, QString::fromUtf8(str::IDS_AMB_VALID));
        const QString names = expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QCOMPARE(text, uFormatString(str::IDS_AMB_CONTENT, {amb.toStdString(), names.toStdString()}));
        QFile saved(report);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), (header + QStringLiteral("\r\n\r\n") + text).toLocal8Bit());

        // An AMB file that fails its check: the file is kept, the list is empty, nothing plays.
        const QString bad = writeFile(QStringLiteral("Bad.amb"), buildAmb({"x"}, "RIFF"));
        boxes_.clear();
        dialogs_.pick(bad);
        view->chooseSoundFile();
        QCOMPARE(messages(), QStringList{uFormatString(str::IDS_AMB_NOT_VALID, {bad.toStdString()})});
        QCOMPARE(view->soundFile(), bad);
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QVERIFY(player_.plays().isEmpty());
    }

    void soundPlaysWithTheAnimationAndFromThePanel()
    {
        CFlcView* view = openActive();
        QVERIFY(view && view->SetSoundFile(writeFile(QStringLiteral("Run.wav"), buildWav())));
        QVERIFY(allEnabled({IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL, IDC_AUTOPLAY}, true));

        // One WAV with Autoplay (on by default): it loops; Pause stops it, resuming starts
        // it again.
        player_.calls.clear();
        view->play();
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Run.wav loop")});
        view->togglePause();
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));
        view->togglePause();
        QCOMPARE(player_.calls.back(), QStringLiteral("play Run.wav loop"));
        view->stop();
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));

        // Autoplay unchecked: the panel's Play plays once, the animation starts without its sound.
        click(IDC_AUTOPLAY);
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        view->play();
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Run.wav once")});
        click(IDC_AUTOPLAY);

        // Several files play one after the other (a bad one skipped) while the play
        // controls are disabled.
        const QString amb = writeFile(QStringLiteral("Walk.amb"), buildAmb({"Step1", "Broken", "Step2"}));
        writeFile(QStringLiteral("Step1.wav"), buildWav());
        writeFile(QStringLiteral("Broken.wav"), buildWav(WavShape().withFormat(2)));
        writeFile(QStringLiteral("Step2.wav"), buildWav());
        whenShown<CInformationDlg>([](CInformationDlg* info) { info->accept(); });
        QVERIFY(view->SetSoundFile(amb));
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QVERIFY(allEnabled({IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}, false) && panelEnabled(IDC_SOUND_DEL));
        view->SoundSequenceStep();
        view->SoundSequenceStep();
        QCOMPARE(player_.plays(),
                 (QStringList{QStringLiteral("play Step1.wav once"), QStringLiteral("play Step2.wav once")}));
        QVERIFY(allEnabled({IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}, true));

        // "&Del": no sound file, the sound stops, its buttons go off.
        click(IDC_SOUND_DEL);
        QVERIFY(view->soundFile().isEmpty());
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));
        QVERIFY(allEnabled({IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}, false) && panelEnabled(IDC_SOUND_BROWSE));
    }

    void noAudioOutputDisablesPlayingAndLeaderHeadsHaveNoSound()
    {
        player_.output = false;
        CFlcView* view = openActive();
        QVERIFY(view->SetSoundFile(writeFile(QStringLiteral("Run.wav"), buildWav())));
        QVERIFY(!panelEnabled(IDC_SOUND_PLAY) && panelEnabled(IDC_SOUND_STOP) && panelEnabled(IDC_SOUND_DEL));
        QCOMPARE(panels_->control(IDC_SOUND_PLAY)->toolTip(), QString::fromUtf8(str::IDS_SOUND_NO_OUTPUT));
        view->playSound();
        view->play();
        QVERIFY(player_.plays().isEmpty() && messages().isEmpty());

        // The real player on a computer without an audio output (as on CI): choosing and
        // playing neither fail nor wait. With an output it would sound, so it is left alone.
        setSoundPlayer(nullptr);
        if (!soundPlayer().hasOutput()) {
            dialogs_.pick(writeFile(QStringLiteral("Real.wav"), buildWav()));
            click(IDC_SOUND_BROWSE);
            QVERIFY(view->soundFile().endsWith(QLatin1String("Real.wav")));
            view->playSound();
            view->stopSound();
            QVERIFY(!panelEnabled(IDC_SOUND_PLAY));
        }
        setSoundPlayer(&player_);

        view->OnActivateView(false);
        CFlcView* head = openActive(true);
        QVERIFY(head && head->isLoaded());
        QVERIFY(allEnabled({IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PLAY_SOUND, IDC_AUTOPLAY, IDC_SOUND_PLAY}, false));
    }
};

QTEST_MAIN(RenderViewTest)
#include "render_view_test.moc"
