// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// FLC documents through the real template: the open check and load failures with their
// messages, leader-head completion, and Save / Save As (palette, offsets and delay
// written, every frame byte kept, the original untouched when the save fails).
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/command_ids.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "flc/flc_doc.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "gui_harness.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

class RecordingApp : public CWinApp {
public:
    QStringList recent;
    void AddToRecentFileList(const QString& path) override { recent << path; }
};

}  // namespace

class FlcDocumentTest : public QObject, qvtest::GuiHarness<RecordingApp> {
    Q_OBJECT
private:
    QString write(const QString& name, const Bytes& bytes) { return writeFile(name, bytes); }
    static Bytes read(const QString& path) { return readFile(path); }
    CFlcView* viewOf(CDocument* doc) { return doc ? qobject_cast<CFlcView*>(doc->GetFirstView()) : nullptr; }
    static QString invalidFormat(const QString& path)
    {
        return QString::fromStdString(formatMessage(str::IDS_INVALID_FORMAT, {path.toStdString()}));
    }
    static FlcFrameStore decode(const Bytes& bytes)
    {
        FlcFrameStore store;
        readFlcFrames(bytes.data(), bytes.size(), store);
        return store;
    }

private slots:
    void initTestCase() { startGui("QuorvaneFlcDocumentTest"); }
    void init()
    {
        resetGui({"Options"});
        app_->recent.clear();
    }
    void cleanup() { closeGui(); }
    void cleanupTestCase() { stopGui(); }

    void openCheckRefusesOtherExtensionsAndMagicNumbers()
    {
        const Bytes good = buildAnimation(AnimationSpec{});
        // The extension decides first, whatever the contents.
        const QString wrongExt = write(QStringLiteral("unit.fli"), good);
        QVERIFY(!template_->OpenDocumentFile(wrongExt));
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text, invalidFormat(wrongExt));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_ICONERROR));

        const QString missing = dir_->filePath(QStringLiteral("missing.flc"));
        boxes_.clear();
        QVERIFY(!template_->OpenDocumentFile(missing));
        QCOMPARE(boxes_.shown()[0].text, invalidFormat(missing));
        QVERIFY(template_->documents().empty());

        // Upper case passes, and the view loads and plays.
        const QString upper = write(QStringLiteral("UNIT.FLC"), good);
        boxes_.clear();
        CDocument* doc = template_->OpenDocumentFile(upper);
        QVERIFY(doc);
        QVERIFY(qobject_cast<CFlcDoc*>(doc));
        CFlcView* view = viewOf(doc);
        QVERIFY(view && view->isLoaded() && view->isRunning());
        QVERIFY(boxes_.shown().empty());
        QCOMPARE(view->loadedPath(), upper);
    }

    void loadFailuresShowAPlainBoxAndLeaveTheViewEmpty()
    {
        AnimationSpec wide;
        wide.width = 241;
        wide.directions = 1;
        wide.framesPerDirection = 2;
        const QString path = write(QStringLiteral("wide.flc"), buildAnimation(wide));
        QVERIFY(checkFlcFile(path.toStdString()).ok);  // the open check passes...
        CDocument* doc = template_->OpenDocumentFile(path);
        // ...the load does not: a plain box, and an empty view.
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text, invalidFormat(path));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_OK));
        CFlcView* view = viewOf(doc);
        QVERIFY(!view || !view->isLoaded());
        if (view) {
            QVERIFY(view->frames().empty());
            QCOMPARE(view->frameNumber(), 0);
        }

        // Memory for the pictures that cannot be had is said as such, first.
        boxes_.clear();
        const QString unit = write(QStringLiteral("unit.flc"), buildAnimation(AnimationSpec{}));
        setFrameAllocationFaultHook([](size_t) { return true; });
        CFlcView* starved = viewOf(template_->OpenDocumentFile(unit));
        setFrameAllocationFaultHook(nullptr);
        QVERIFY(!boxes_.shown().empty());
        QCOMPARE(boxes_.shown()[0].text,
                 QString::fromStdString(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {"CFlcView::LoadAnimation"})));
        QVERIFY(!starved || !starved->isLoaded());
    }

    void leaderHeadIsCompletedAndUnusualFilesWarn()
    {
        AnimationSpec lh;
        lh.leaderHead = true;
        lh.directions = 1;
        lh.framesPerDirection = 30;
        lh.width = 40;
        lh.height = 30;
        lh.speed = 0;
        const QString path = write(QStringLiteral("leader.flc"), buildAnimation(lh));
        CFlcView* view = viewOf(template_->OpenDocumentFile(path));
        QVERIFY(view && view->isLoaded());
        QVERIFY(boxes_.shown().empty());
        QVERIFY(view->isLeaderHead());
        QCOMPARE(view->header().speed, 10u);  // completed as the reader does
        QCOMPARE(view->frameCount(), 30);
        QCOMPARE(view->GetPreferredSize(), QSize(42, 34));
        QCOMPARE(view->fillColor(), 0u);  // drawn over black

        // A file whose only pictures are key frames loads with the warning.
        FlcBuilder b(8, 8);
        b.header.frames = 1;
        const Picture pic(64, 7);
        b.frame({Chunk::color256(testPalette()), Chunk::byteRun(pic, 8, 8)});
        const QString keyOnly = write(QStringLiteral("keyonly.flc"), b.build());
        boxes_.clear();
        CFlcView* v2 = viewOf(template_->OpenDocumentFile(keyOnly));
        QVERIFY(v2 && v2->isLoaded());
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text,
                 QString::fromStdString(formatMessage(str::IDS_UNUSUAL_FORMAT, {keyOnly.toStdString()})));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_OK));
    }

    void damagedFileLoadsWithAWarningAndNoDirectionShowsAnotherOne()
    {
        // 8 directions of 4 frames, cut inside the third frame of direction 3: two whole
        // directions and two frames of the third can be read, 22 of 32 frames cannot.
        AnimationSpec anim;
        const Bytes whole = buildAnimation(anim);
        const FlcFrameStore full = decode(whole);
        const size_t cut = full.records.at(2 * 5 + 3).position + 20;  // (key + 4) per direction
        const QString path = write(QStringLiteral("cut.flc"), Bytes(whole.begin(), whole.begin() + long(cut)));
        CFlcView* view = viewOf(template_->OpenDocumentFile(path));
        QVERIFY(view && view->isLoaded());
        QCOMPARE(view->frames().size(), size_t(10));
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text,
                 QString::fromStdString(formatMessage(str::IDS_UNUSUAL_FORMAT, {path.toStdString()})) +
                     QStringLiteral("\r\n\r\n22 of 32 frames could not be read: the file is damaged or cut short."));

        // Every direction either plays only its own frames or cannot be chosen.
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

    void saveWritesPaletteOffsetsAndDelayButNoFrameByte()
    {
        AnimationSpec anim;
        anim.framesPerDirection = 10;
        anim.speed = 70;
        const Bytes original = buildAnimation(anim);
        const QString path = write(QStringLiteral("unit.flc"), original);
        CDocument* doc = template_->OpenDocumentFile(path);
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

        const Bytes saved = read(path);
        QCOMPARE(saved.size(), original.size());
        FlcHeader h = FlcHeader::parse(saved.data());
        QCOMPARE(h.leftOffset, uint16_t(100));
        QCOMPARE(h.topOffset, uint16_t(102));
        QCOMPARE(h.speed, 70u);
        QCOMPARE(h.animationTime, 700u);
        const FlcFrameStore before = decode(original), after = decode(saved);
        QVERIFY(after.basePalette[3] == PaletteEntry::fromRgb(1, 2, 3));
        QVERIFY(after.basePalette[200] == PaletteEntry::fromRgb(250, 251, 252));
        QVERIFY(after.frames == before.frames);
        // Beyond the header and the palette chunk, not one byte moved.
        const size_t pos = before.paletteChunkPositions.at(0);
        for (size_t i = kFlcHeaderSize; i < saved.size(); ++i)
            if (i < pos + 4 || i >= pos + 4 + 768) QCOMPARE(saved[i], original[i]);
        QVERIFY(!doc->IsModified());

        // Played at a custom delay of 120 ms, 10 frames per direction: speed 120, time 1200.
        view->setCustomDelay(120);
        view->setDelayMode(kDelayCustom);
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        h = FlcHeader::parse(read(path).data());
        QCOMPARE(h.speed, 120u);
        QCOMPARE(h.animationTime, 1200u);
        QVERIFY(decode(read(path)).frames == before.frames);
    }

    void failedSaveLeavesTheTargetAsItWas()
    {
        const Bytes original = buildAnimation(AnimationSpec{});
        const QString path = write(QStringLiteral("locked.flc"), original);
        CFlcView* view = viewOf(template_->OpenDocumentFile(path));
        QVERIFY(view && view->isLoaded());
        view->displayPalette()[5] = PaletteEntry::fromRgb(9, 9, 9);

        namespace fs = std::filesystem;
        fs::permissions(path.toStdString(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const QStringList tempsBefore = QDir::temp().entryList({QStringLiteral("quorvane-*.flc")}, QDir::Files);
        QVERIFY(!view->SaveAnimation());
        fs::permissions(path.toStdString(), fs::perms::owner_read | fs::perms::owner_write);

        QCOMPARE(boxes_.shown().size(), size_t(1));
        const QString text = boxes_.shown()[0].text;
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_ICONERROR));
        QVERIFY(text.startsWith(QStringLiteral("Cannot copy from\r\n'")));
        QVERIFY(text.endsWith(QStringLiteral("'\r\nto\r\n'") + path + QStringLiteral("'.")));
        QVERIFY(text.contains(QStringLiteral(".flc'\r\nto")));
        QVERIFY(read(path) == original);
        // The temporary copy is gone.
        QCOMPARE(QDir::temp().entryList({QStringLiteral("quorvane-*.flc")}, QDir::Files), tempsBefore);
        QCOMPARE(view->loadedPath(), path);

        // A target in a folder that does not exist fails the same way.
        boxes_.clear();
        QVERIFY(!view->SaveFLC(dir_->filePath(QStringLiteral("no/such/dir/x.flc"))));
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QVERIFY(read(path) == original);
    }

    void saveAsMovesTheDocumentAndKeepsTheOldFile()
    {
        const Bytes original = buildAnimation(AnimationSpec{});
        const QString path = write(QStringLiteral("first.flc"), original);
        CDocument* doc = template_->OpenDocumentFile(path);
        CFlcView* view = viewOf(doc);
        QVERIFY(view && view->isLoaded());
        view->displayPalette()[7] = PaletteEntry::fromRgb(70, 80, 90);
        view->ApplyDisplayPalette();

        dialogs_.cancel();
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        QCOMPARE(doc->GetPathName(), path);

        const QString target = dir_->filePath(QStringLiteral("second.flc"));
        dialogs_.pick(target);
        app_->recent.clear();
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        const auto& seen = dialogs_.seen().back();
        QVERIFY(!seen.open);
        QCOMPARE(seen.title, QStringLiteral("Save FLC as"));
        QCOMPARE(seen.filter, QStringLiteral("Dominara FLC files (*.FLC)|*.flc||"));
        QCOMPARE(seen.defaultExt, QStringLiteral("flc"));
        QCOMPARE(seen.initialPath, path);

        QVERIFY(read(path) == original);
        QCOMPARE(doc->GetPathName(), target);
        QCOMPARE(view->loadedPath(), target);
        QVERIFY(app_->recent.contains(target));
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), target);
        QVERIFY(decode(read(target)).basePalette[7] == PaletteEntry::fromRgb(70, 80, 90));

        // Refresh reloads the file now behind the document; unsaved edits are lost.
        view->displayPalette()[7] = PaletteEntry::fromRgb(1, 1, 1);
        view->ApplyDisplayPalette();
        QVERIFY(view->OnCommand(ID_REFRESH));
        QVERIFY(view->isLoaded());
        QVERIFY(!doc->IsModified());
        QVERIFY(view->displayPalette()[7] == PaletteEntry::fromRgb(70, 80, 90));
    }

    void newDocumentReopensTheLastFileOnlyAtStartUp()
    {
        const QString path = write(QStringLiteral("last.flc"), buildAnimation(AnimationSpec{}));
        WriteProfileString(QStringLiteral("Recent FLC Files"), QStringLiteral("File1"), path);
        QVERIFY(!template_->OpenDocumentFile(QString()));
        CFlcDoc::reopenAtStartup() = [] { return true; };
        CDocument* doc = template_->OpenDocumentFile(QString());
        CFlcDoc::reopenAtStartup() = nullptr;
        QVERIFY(doc);
        QCOMPARE(doc->GetPathName(), path);
        QVERIFY(app_->recent.isEmpty());
        QVERIFY(viewOf(doc) && viewOf(doc)->isLoaded());
        RemoveProfileValue(QStringLiteral("Recent FLC Files"));
    }
};

QTEST_MAIN(FlcDocumentTest)
#include "flc_document_test.moc"
