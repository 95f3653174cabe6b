// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// FLC documents through the real template: the open check and load failures with their
// messages, leader-head completion, and Save / Save As (palette and delay written, the
// original untouched when the save fails).
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
            Bytes bytes;
            int outcome;
            const char* message;
            unsigned flags;
            const char* more;
        } rows[] = {
            {"unit.fli", good, Refused, str::IDS_INVALID_FORMAT, MB_ICONERROR, ""},  // the extension decides first
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
            const QString file = writeFile(name, r.bytes);
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

        // A leader head, completed as the reader does, gets the window of its own size.
        QCOMPARE(views["leader.flc"]->GetPreferredSize(), QSize(42, 34));

        // In the cut file every direction either plays only its own frames or cannot be chosen.
        CFlcView* view = views["cut.flc"];
        QCOMPARE(view->frames().size(), size_t(10));
        for (int code = 0; code <= 8; ++code) {
            const bool usable = code <= 3;
            QCOMPARE(view->playback().directionEnabled(uint32_t(code)), usable);
            view->setDirection(code);
            QCOMPARE(view->direction(), usable ? code : 0);
            const int first = code == 0 || !usable ? 0 : (code - 1) * 4;
            const int count = code == 0 || !usable ? 10 : code == 3 ? 2 : 4;
            QCOMPARE(view->frameCount(), count);
            view->stop();
            view->navigate(IAnimationControl::NavLast);
            view->RequestRedraw();
            view->RenderTick();
            QCOMPARE(view->playback().lastDrawn(), first + count - 1);
        }
    }

    // Pictures that cannot be had are said as missing memory, first.
    void outOfMemoryIsSaidAsSuch()
    {
        const QString unit = writeFile(QStringLiteral("unit.flc"), buildAnimation(qvtest::shape(24, 16, 4)));
        setFrameAllocationFaultHook([](size_t) { return true; });
        CFlcView* starved = viewOf(template_->OpenDocumentFile(unit));
        setFrameAllocationFaultHook(nullptr);
        QCOMPARE(messages().value(0), qvtest::msg(str::IDS_NOT_ENOUGH_MEMORY, {"CFlcView::LoadAnimation"}));
        QVERIFY(!starved || !starved->isLoaded());
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
        QVERIFY(readFile(file) == original);
        QCOMPARE(QDir::temp().entryList({QStringLiteral("quorvane-*.flc")}, QDir::Files), tempsBefore);

        // Save As, cancelled and then done: the document moves, the old file stays.
        dialogs_.cancel();
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        QCOMPARE(doc->GetPathName(), file);
        const QString target = path(QStringLiteral("second.flc"));
        dialogs_.pick(target);
        QVERIFY(view->OnCommand(ID_FILE_SAVE_AS));
        const auto& seen = dialogs_.seen().back();
        QCOMPARE(seen.title, QStringLiteral("Save FLC as"));
        QCOMPARE(seen.filter, QStringLiteral("Dominara FLC files (*.FLC)|*.flc||"));
        QCOMPARE(seen.defaultExt, QStringLiteral("flc"));
        QCOMPARE(seen.initialPath, file);
        QVERIFY(readFile(file) == original);
        QCOMPARE(doc->GetPathName(), target);
        QVERIFY(app_->recent.contains(target));
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), target);
        QVERIFY(decode(readFile(target)).basePalette[7] == PaletteEntry::fromRgb(70, 80, 90));

        // Played at a delay of the user's, the unit is saved with it as its speed.
        view->setCustomDelay(120);
        view->setDelayMode(kDelayCustom);
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        QCOMPARE(FlcHeader::parse(readFile(target).data()).speed, 120u);

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
