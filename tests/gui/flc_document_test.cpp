// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// FLC documents through the real template: the open check and load failures with their
// messages, leader-head completion, and Save / Save As (palette, offsets and delay
// written, every frame byte kept, the original untouched when the save fails).
#include <QDir>
#include <filesystem>
#include <map>

#include "app/command_ids.h"
#include "core/flc_reader.h"
#include "core/frame_pixels.h"
#include "flc/flc_doc.h"
#include "gui_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

class RecordingApp : public CWinApp {
public:
    QStringList recent;
    void AddToRecentFileList(const QString& path) override { recent << path; }
};

FlcFrameStore decode(const Bytes& bytes)
{
    FlcFrameStore store;
    readFlcFrames(bytes.data(), bytes.size(), store);
    return store;
}

}  // namespace

class FlcDocumentTest : public QObject, qvtest::GuiHarness<RecordingApp> {
    Q_OBJECT
private:
    CFlcView* viewOf(CDocument* doc) { return doc ? qobject_cast<CFlcView*>(doc->GetFirstView()) : nullptr; }

private slots:
    void initTestCase() { startGui("QuorvaneFlcDocumentTest"); }
    void init()
    {
        resetGui({"Options"});
        app_->recent.clear();
    }
    void cleanup() { closeGui(); }
    void cleanupTestCase() { stopGui(); }

    void openingRefusesWarnsOrCompletesEachKindOfFile()
    {
        const Bytes good = buildAnimation(qvtest::shape(24, 16, 4));
        auto wide = qvtest::shape(241, 16, 2);
        wide.directions = 1;
        auto lh = qvtest::shape(40, 30, 30, true);
        lh.speed = 0;
        FlcBuilder keyOnly(8, 8);  // its only pictures are key frames
        keyOnly.header.frames = 1;
        keyOnly.frame({Chunk::color256(testPalette()), Chunk::byteRun(Picture(64, 7), 8, 8)});
        // 8 directions of 4 frames, cut inside the third frame of direction 3: two whole
        // directions and two frames of the third can be read, 22 of 32 frames cannot.
        const size_t cut = decode(good).records.at(2 * 5 + 3).position + 20;  // (key + 4) per direction
        enum { Refused, Empty, Loaded };
        const struct {
            const char* name;
            Bytes bytes;  // none: the file does not exist
            int outcome;
            const char* message;
            unsigned flags;
            const char* more;
        } rows[] = {
            {"unit.fli", good, Refused, str::IDS_INVALID_FORMAT, MB_ICONERROR, ""},  // the extension decides first
            {"missing.flc", {}, Refused, str::IDS_INVALID_FORMAT, MB_ICONERROR, ""},
            {"wide.flc", buildAnimation(wide), Empty, str::IDS_INVALID_FORMAT, MB_OK, ""},  // passes the open check only
            {"UNIT.FLC", good, Loaded, nullptr, 0, ""},
            {"leader.flc", buildAnimation(lh), Loaded, nullptr, 0, ""},
            {"keyonly.flc", keyOnly.build(), Loaded, str::IDS_UNUSUAL_FORMAT, MB_OK, ""},
            {"cut.flc", Bytes(good.begin(), good.begin() + long(cut)), Loaded, str::IDS_UNUSUAL_FORMAT, MB_OK,
             "\r\n\r\n22 of 32 frames could not be read: the file is damaged or cut short."},
        };
        std::map<std::string, CFlcView*> views;
        for (const auto& r : rows) {
            const QString name = QString::fromLatin1(r.name);
            const QString file = r.bytes.empty() ? path(name) : writeFile(name, r.bytes);
            boxes_.clear();
            CDocument* doc = template_->OpenDocumentFile(file);
            CFlcView* view = viewOf(doc);
            QVERIFY2(r.outcome != Refused || !doc, r.name);
            QVERIFY2((view && view->isLoaded()) == (r.outcome == Loaded), r.name);
            if (r.outcome == Empty && view) QVERIFY(view->frames().empty() && view->frameNumber() == 0);
            QStringList said;
            if (r.message) said << qvtest::msg(r.message, {file.toStdString()}) + QLatin1String(r.more);
            QCOMPARE(messages(), said);
            if (r.message) QCOMPARE(boxes_.shown()[0].flags, r.flags);
            views[r.name] = view;
        }
        QVERIFY(qobject_cast<CFlcDoc*>(views["UNIT.FLC"]->GetDocument()) && views["UNIT.FLC"]->isRunning());

        // A leader head is completed as the reader does.
        CFlcView* head = views["leader.flc"];
        QVERIFY(head->isLeaderHead());
        QCOMPARE(head->header().speed, 10u);
        QCOMPARE(head->frameCount(), 30);
        QCOMPARE(head->GetPreferredSize(), QSize(42, 34));

        // In the cut file every direction either plays only its own frames or cannot be chosen.
        CFlcView* view = views["cut.flc"];
        QCOMPARE(view->frames().size(), size_t(10));
        for (int code = 0; code <= 8; ++code) {
            const bool usable = code <= 3;
            QCOMPARE(view->playback().directionEnabled(uint32_t(code)), usable);
            view->setDirection(code);
            QCOMPARE(view->direction(), usable ? code : 0);
            const int first = code == 0 || !usable ? 0 : (code - 1) * 4;
            QCOMPARE(view->frameCount(), code == 0 || !usable ? 10 : code == 3 ? 2 : 4);
            view->stop();
            for (auto step : {IAnimationControl::NavFirst, IAnimationControl::NavNext, IAnimationControl::NavNext}) {
                view->navigate(step);
                QVERIFY(view->frameNumber() >= 0 && view->frameNumber() <= view->frameCount());
                view->RequestRedraw();
                view->RenderTick();
                const int drawn = view->playback().lastDrawn();
                QVERIFY2(drawn >= first && drawn < first + view->frameCount(), qPrintable(QString::number(code)));
            }
        }
    }

    // Pictures that cannot be had are said as missing memory, first.
    void outOfMemoryIsSaidAsSuch()
    {
        const QString unit = writeFile(QStringLiteral("unit.flc"), buildAnimation(qvtest::shape(24, 16, 4)));
        setFrameAllocationFaultHook([](size_t) { return true; });
        CFlcView* starved = viewOf(template_->OpenDocumentFile(unit));
        setFrameAllocationFaultHook(nullptr);
        QVERIFY(!boxes_.shown().empty());
        QCOMPARE(boxes_.shown()[0].text, qvtest::msg(str::IDS_NOT_ENOUGH_MEMORY, {"CFlcView::LoadAnimation"}));
        QVERIFY(!starved || !starved->isLoaded());
    }

    void saveWritesPaletteOffsetsAndDelayButNoFrameByte()
    {
        auto anim = qvtest::shape(24, 16, 10);
        anim.speed = 70;
        const Bytes original = buildAnimation(anim);
        const QString file = writeFile(QStringLiteral("unit.flc"), original);
        CDocument* doc = template_->OpenDocumentFile(file);
        CFlcView* view = viewOf(doc);
        QVERIFY(view && view->isLoaded());

        // Colours and offsets, saved at the file's own speed: the speed stays.
        Palette256& pal = view->displayPalette();
        pal[3] = PaletteEntry::fromRgb(1, 2, 3);
        pal[200] = PaletteEntry::fromRgb(250, 251, 252);
        QVERIFY(view->ApplyDisplayPalette());
        QVERIFY(doc->IsModified());
        view->mutableHeader().leftOffset = 100;
        view->mutableHeader().topOffset = 102;
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        QVERIFY(boxes_.shown().empty());

        const Bytes saved = readFile(file);
        QCOMPARE(saved.size(), original.size());
        FlcHeader h = FlcHeader::parse(saved.data());
        QCOMPARE(h.leftOffset, uint16_t(100));
        QCOMPARE(h.topOffset, uint16_t(102));
        QCOMPARE(h.speed, 70u);
        QCOMPARE(h.animationTime, 700u);
        const FlcFrameStore before = decode(original), after = decode(saved);
        QVERIFY(after.basePalette[3] == PaletteEntry::fromRgb(1, 2, 3));
        QVERIFY(after.basePalette[200] == PaletteEntry::fromRgb(250, 251, 252));
        // Beyond the header and the palette chunk, not one byte moved.
        const size_t pos = before.paletteChunkPositions.at(0);
        for (size_t i = kFlcHeaderSize; i < saved.size(); ++i)
            if (i < pos + 4 || i >= pos + 4 + 768) QCOMPARE(saved[i], original[i]);
        QVERIFY(!doc->IsModified());

        // Played at a custom delay of 120 ms, 10 frames per direction: speed 120, time 1200.
        view->setCustomDelay(120);
        view->setDelayMode(kDelayCustom);
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        h = FlcHeader::parse(readFile(file).data());
        QCOMPARE(h.speed, 120u);
        QCOMPARE(h.animationTime, 1200u);
        QVERIFY(decode(readFile(file)).frames == before.frames);
    }

    void failedSaveLeavesTheTargetAndSaveAsMovesTheDocument()
    {
        const Bytes original = buildAnimation(qvtest::shape(24, 16, 4));
        const QString file = writeFile(QStringLiteral("first.flc"), original);
        CDocument* doc = template_->OpenDocumentFile(file);
        CFlcView* view = viewOf(doc);
        QVERIFY(view && view->isLoaded());
        view->displayPalette()[7] = PaletteEntry::fromRgb(70, 80, 90);
        view->ApplyDisplayPalette();

        // A read-only target: the message, the file as it was, the temporary copy gone.
        namespace fs = std::filesystem;
        fs::permissions(file.toStdString(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const QStringList tempsBefore = QDir::temp().entryList({QStringLiteral("quorvane-*.flc")}, QDir::Files);
        QVERIFY(!view->SaveAnimation());
        fs::permissions(file.toStdString(), fs::perms::owner_read | fs::perms::owner_write);
        QCOMPARE(messages().size(), 1);
        const QString text = messages()[0];
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_ICONERROR));
        QVERIFY(text.startsWith(QStringLiteral("Cannot copy from\r\n'")));
        QVERIFY(text.endsWith(QStringLiteral("'\r\nto\r\n'") + file + QStringLiteral("'.")));
        QVERIFY(text.contains(QStringLiteral(".flc'\r\nto")));
        QVERIFY(readFile(file) == original);
        QCOMPARE(QDir::temp().entryList({QStringLiteral("quorvane-*.flc")}, QDir::Files), tempsBefore);
        // A target in a folder that does not exist fails the same way.
        QVERIFY(!view->SaveFLC(path(QStringLiteral("no/such/dir/x.flc"))));
        QCOMPARE(messages().size(), 2);

        // Save As, cancelled and then done: the document moves, the old file stays.
        dialogs_.cancel();
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        QCOMPARE(doc->GetPathName(), file);
        const QString target = path(QStringLiteral("second.flc"));
        dialogs_.pick(target);
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        const auto& seen = dialogs_.seen().back();
        QVERIFY(!seen.open);
        QCOMPARE(seen.title, QStringLiteral("Save FLC as"));
        QCOMPARE(seen.filter, QStringLiteral("Dominara FLC files (*.FLC)|*.flc||"));
        QCOMPARE(seen.defaultExt, QStringLiteral("flc"));
        QCOMPARE(seen.initialPath, file);
        QVERIFY(readFile(file) == original);
        QCOMPARE(doc->GetPathName(), target);
        QCOMPARE(view->loadedPath(), target);
        QVERIFY(app_->recent.contains(target));
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), target);
        QVERIFY(decode(readFile(target)).basePalette[7] == PaletteEntry::fromRgb(70, 80, 90));

        // Refresh reloads the file now behind the document; unsaved edits are lost.
        view->displayPalette()[7] = PaletteEntry::fromRgb(1, 1, 1);
        view->ApplyDisplayPalette();
        QVERIFY(view->OnCommand(ID_REFRESH));
        QVERIFY(view->isLoaded() && !doc->IsModified());
        QVERIFY(view->displayPalette()[7] == PaletteEntry::fromRgb(70, 80, 90));
    }

    void newDocumentReopensTheLastFileOnlyAtStartUp()
    {
        const QString file = writeFile(QStringLiteral("last.flc"), buildAnimation(qvtest::shape(24, 16, 4)));
        WriteProfileString(QStringLiteral("Recent FLC Files"), QStringLiteral("File1"), file);
        QVERIFY(!template_->OpenDocumentFile(QString()));
        CFlcDoc::reopenAtStartup() = [] { return true; };
        CDocument* doc = template_->OpenDocumentFile(QString());
        CFlcDoc::reopenAtStartup() = nullptr;
        QVERIFY(doc && viewOf(doc)->isLoaded());
        QCOMPARE(doc->GetPathName(), file);
        QVERIFY(app_->recent.isEmpty());
        RemoveProfileValue(QStringLiteral("Recent FLC Files"));
    }
};

QTEST_MAIN(FlcDocumentTest)
#include "flc_document_test.moc"
