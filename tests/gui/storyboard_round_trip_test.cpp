// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The modder's whole round trip in the running program: an FLC is opened, Export to
// Storyboard writes its sheet, another program paints one cell of the sheet, the open
// storyboard is reloaded on the question that follows, Export to FLC writes a new FLC and
// opens it. Every frame of the new FLC is the original's, except the painted one. Export to
// Storyboard is enabled only while an FLC window with its animation is active, New
// Storyboard always.
#include <QFileInfo>
#include <QtTest>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/main_frame.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "gui/app_support.h"
#include "gui/gui_harness.h"
#include "platform/ui/doc_manager.h"
#include "storyboard/storyboard_wizard.h"
#include "view/animation_view.h"

using namespace qv;
using namespace qv::test;

class StoryboardRoundTripTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    QTemporaryDir dir_;
    std::unique_ptr<CEditorApp> app_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    // The view of the open document at `file`, or null.
    CAnimationView* viewOf(const QString& file) const
    {
        const QString wanted = QFileInfo(file).canonicalFilePath();
        for (CDocument* d : app_->docManager()->documents())
            if (QFileInfo(d->GetPathName()).canonicalFilePath() == wanted)
                return qobject_cast<CAnimationView*>(d->GetFirstView());
        return nullptr;
    }
    static std::vector<Picture> picturesOf(const CAnimationView& view)
    {
        std::vector<Picture> out;
        for (const AnimFrame& f : view.frames()) out.push_back(f.pixels.toVector());
        return out;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVANE_INSTANCE_NAME",
                QByteArray("QuorvaneV2-round-trip-test-") + QByteArray::number(QCoreApplication::applicationPid()));
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("Check File Type"), 0);
        WriteProfileInt(QStringLiteral("Dlg ExpFlc"), QStringLiteral("Preview"), 0);
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        app_ = std::make_unique<CEditorApp>();
        app_->setShowMainWindow(false);
        app_->setProgramFolder(dir_.path());
        QVERIFY(app_->InitInstance());
    }
    void cleanupTestCase()
    {
        app_->docManager()->CloseAllDocuments(false);
        app_->ExitInstance();
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
    }

    void flcToStoryboardPaintedAndBack()
    {
        // An odd width, so the last-column case of the delta encoder comes into play.
        AnimationShape anim;
        anim.width = 23;
        anim.height = 17;
        anim.framesPerDirection = 3;
        const QString flc = path(QStringLiteral("Walker.flc"));
        QVERIFY(writeAnimation(flc.toStdString(), anim));
        CMainFrame* frame = app_->mainWindow();
        QVERIFY(!frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);
        QVERIFY(frame->RouteUpdate(ID_NEW_STORYBOARD).enabled);
        QVERIFY(app_->OpenDocumentFile(flc));
        QVERIFY(frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);
        const CAnimationView* original = viewOf(flc);
        QVERIFY(original && original->isLoaded());
        std::vector<Picture> expected = picturesOf(*original);
        QCOMPARE(expected, animationPictures(anim));

        // Export to Storyboard with the wizard's defaults, then Yes to opening the storyboard.
        const QString folder = path(QStringLiteral("sheet/"));
        qvtest::whenShown<CStoryboardWizard>(this, [folder](CStoryboardWizard* w) {
            QVERIFY(qvtest::setControls(w, QStringLiteral("outputDir=") + folder));
            w->accept();
        });
        boxes_.answer(IDYES);
        QVERIFY(frame->RouteCommand(ID_EXPORT_TO_STORYBOARD));
        const QString qsb = folder + QStringLiteral("Walker.qsb");
        QCOMPARE(boxes_.shown().back().text,
                 QString::fromStdString(formatMessage(str::IDS_WIZ_EXPORTED_ASK_OPEN, {qsb.toStdString()})));
        const QString sheetPath = folder + QStringLiteral("Walker.pcx");
        QVERIFY(viewOf(qsb) && viewOf(qsb)->isLoaded());
        QCOMPARE(picturesOf(*viewOf(qsb)), expected);
        QVERIFY(!frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);  // a storyboard's window is active

        // Another program paints a block into the cell of direction 3, picture 2, with
        // colours the animation does not use, and saves the sheet by rename.
        const int row = 2, column = 1, index = row * anim.framesPerDirection + column;
        Bitmap sheet;
        QVERIFY(readImageFile(sheetPath.toStdString(), sheet));
        QCOMPARE(sheet.width, sheetWidthFor(anim.width, anim.framesPerDirection));
        for (int y = 3; y < 11; ++y)
            for (int x = 4; x < anim.width; ++x) {
                const auto colour = static_cast<uint8_t>(100 + (x + y) % 3);
                sheet.row(cellTop(anim.height, row) + y)[cellLeft(anim.width, column) + x] = colour;
                expected[index][y * anim.width + x] = colour;
            }
        boxes_.clear();
        boxes_.answer(IDYES);
        QVERIFY(writeImageFile(sheetPath.toStdString(), sheet, kFormatPcx, 8));
        QTRY_COMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text,
                 QString::fromStdString(formatMessage(str::IDS_QSB_CHANGED_ON_DISK, {qsb.toStdString()})));
        QTRY_COMPARE(picturesOf(*viewOf(qsb)), expected);

        // Export to FLC from the storyboard's window, then Yes to opening the new FLC.
        const QString out = path(QStringLiteral("Walker2.flc"));
        dialogs_.pick(out);
        boxes_.answer(IDYES);
        QVERIFY(frame->RouteCommand(ID_EXPORT_TO_FLC));
        QCOMPARE(boxes_.shown().size(), size_t(2));
        QCOMPARE(boxes_.shown()[1].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        const CAnimationView* result = viewOf(out);
        QVERIFY(result && result->isLoaded());
        QCOMPARE(result->directionCount(), original->directionCount());
        const std::vector<Picture> got = picturesOf(*result);
        QCOMPARE(got.size(), expected.size());
        for (size_t k = 0; k < got.size(); ++k) QVERIFY2(got[k] == expected[k], qPrintable(QString::number(k)));
        QVERIFY(got[index] != animationPictures(anim)[index]);
        app_->docManager()->CloseAllDocuments(false);
        QVERIFY(!frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);
    }
};

QTEST_MAIN(StoryboardRoundTripTest)
#include "storyboard_round_trip_test.moc"
