// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Storyboard documents in the running program: every kind of storyboard the conversions
// write opens and plays; the refusals come in their order with their messages; Save,
// Save As and Reload; the question when another program changes the files; Export to
// FLC and the Import to Storyboard dialog write the same bytes as quorvane-cli; Export to
// Storyboard follows the active window.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "core/storyboard.h"
#include "gui_harness.h"
#include "platform/ui/doc_manager.h"
#include "storyboard/import_to_qsb.h"
#include "storyboard/qsb_doc.h"
#include "storyboard/qsb_view.h"
#include "storyboard/storyboard_wizard.h"
#include "support/exported_storyboard.h"

using namespace qv;
using namespace qv::test;
using qvtest::msg;

namespace {

// Runs quorvane-cli; true when it ended with status 0.
bool runCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

ExportedStoryboardFixture fixture(bool leaderHead, int format, int depth, int paletteType = 0)
{
    ExportedStoryboardFixture s;
    s.anim = qvtest::shape(21, 14, leaderHead ? 5 : 3, leaderHead);  // odd: exercises the delta encoder's last column
    s.imageFormat = format;
    s.colorDepth = depth;
    s.paletteType = paletteType;
    return s;
}

}  // namespace

// The whole program (both document types, the main window's command routing) with the
// settings in a scratch folder.
class StoryboardDocumentTest : public QObject, qvtest::GuiHarness<CEditorApp> {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;

    QString make(const QString& name, const ExportedStoryboardFixture& s)
    {
        return QString::fromStdString(writeExportedStoryboard(dir_->path().toStdString(), name.toStdString(), s));
    }
    CQsbView* open(const QString& qsb)
    {
        CDocument* doc = app_->OpenDocumentFile(qsb);
        return doc ? qobject_cast<CQsbView*>(doc->GetFirstView()) : nullptr;
    }
    void closeAll()
    {
        app_->docManager()->CloseAllDocuments(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool enabled(int id) { return app_->mainWindow()->RouteUpdate(id).enabled; }
    // Exactly one message, `text` with `flags`.
    bool saidOnly(const QString& text, unsigned flags) const
    {
        return boxes_.shown().size() == 1 && boxes_.shown()[0].text == text && boxes_.shown()[0].flags == flags;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVANE_INSTANCE_NAME",
                QByteArray("QuorvaneV2-storyboard-test-") + QByteArray::number(QCoreApplication::applicationPid()));
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        setClock(&clock_);
        app_ = std::make_unique<CEditorApp>();
        app_->setArguments({});
        app_->setShowMainWindow(false);
        QVERIFY(app_->InitInstance());
    }
    void cleanupTestCase()
    {
        closeAll();
        stopGui();
    }
    void init() { resetGui({}); }
    void cleanup() { closeAll(); }

    // Core tests read every sheet format, depth and palette type; here one of each
    // document kind opens and plays.
    void opensAndPlaysEveryKind_data()
    {
        QTest::addColumn<bool>("leaderHead");
        QTest::newRow("unit, 8-bit PCX") << false;
        QTest::newRow("leader head, 24-bit BMP, Jasc palettes") << true;
    }
    void opensAndPlaysEveryKind()
    {
        QFETCH(bool, leaderHead);
        const ExportedStoryboardFixture s = leaderHead ? fixture(true, 1, 1, 2) : fixture(false, 0, 0);
        const QString qsb = make(QStringLiteral("Warrior"), s);
        CQsbView* view = open(qsb);
        QVERIFY(view && view->isLoaded());
        QVERIFY2(boxes_.shown().empty(), qPrintable(boxes_.shown().empty() ? QString() : boxes_.shown()[0].text));
        // Every picture comes back from the sheet as the animation had it.
        QVERIFY(view->frames().size() == animationPictures(s.anim).size());
        for (size_t k = 0; k < view->frames().size(); ++k) QVERIFY(view->frames()[k].pixels == animationPictures(s.anim)[k]);
        QCOMPARE(view->GetPreferredSize(), leaderHead ? QSize(23, 18) : QSize(242, 244));
        QCOMPARE(view->directionCount(), s.anim.directions);

        // It plays: the render timer moves through the frames.
        QVERIFY(view->isRunning());
        // (Small steps: a whole loop's worth of time at once may land on the same frame.)
        const int first = view->frameNumber();
        for (int tick = 0; tick < 40 && view->frameNumber() == first; ++tick) {
            clock_.advance(50);
            view->RenderTick();
        }
        QVERIFY(view->frameNumber() != first);
        // The commands a storyboard brings are on; Import needs no document.
        for (int id : std::initializer_list<int>{ID_EXPORT_TO_FLC, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_INFO, ID_REFRESH,
                                                 ID_IMPORT_TO_STORYBOARD})
            QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        QVERIFY(view->InfoText().startsWith(QStringLiteral("Storyboard file name:\tWarrior.qsb\r\n")));
    }

    void refusalsComeInTheirOrder()
    {
        const QString qsb = make(QStringLiteral("Unit"), fixture(false, 0, 0));
        const Bytes description = readFile(qsb);
        const QString sheet = path(QStringLiteral("Unit.pcx"));
        const Bytes sheetBytes = readFile(sheet);
        const QString deep = make(QStringLiteral("Deep"), fixture(false, 1, 1));
        const QString deepPalette = path(QStringLiteral("Deep_Default.act"));

        // The order and texts of the checks are the core's; here each comes in its box.
        const struct {
            const char* name;
            QString qsb;
            std::function<void()> damage;
            QString message;
            unsigned flags;
        } cases[] = {
            {"description of 78 bytes", qsb,
             [&] { writeFileAtomic(qsb.toStdString(), Bytes(description.begin(), description.end() - 1)); },
             msg(str::IDS_QSB_CANNOT_READ), MB_OK},
            {"sheet missing", qsb, [&] { QFile::remove(sheet); }, msg(str::IDS_QSB_IMAGE_NOT_EXIST, {sheet.toStdString()}),
             MB_ICONSTOP},
            // A 24-bit sheet cannot be cut into frames without both palette files.
            {"24-bit sheet without palettes", deep,
             [&] {
                 QFile::remove(path(QStringLiteral("Deep.act")));
                 QFile::remove(deepPalette);
             },
             msg(str::IDS_CANNOT_LOAD_PALETTE_FILE, {deepPalette.toStdString()}), MB_OK},
        };
        for (const auto& c : cases) {
            writeFileAtomic(qsb.toStdString(), description);
            writeFileAtomic(sheet.toStdString(), sheetBytes);
            c.damage();
            boxes_.clear();
            QVERIFY2(!app_->OpenDocumentFile(c.qsb), c.name);
            QVERIFY2(saidOnly(c.message, c.flags), c.name);
            QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
        }
    }

    // Save, Export to FLC (the bytes of quorvane-cli), Save As and Reload of one storyboard.
    void saveExportSaveAsAndReload()
    {
        const QString qsb = make(QStringLiteral("Knight"), fixture(false, 0, 0));
        CQsbView* view = open(qsb);
        QVERIFY(view && view->isLoaded());

        // Save: a unit played at the user's delay keeps it as its speed; the sheet stays.
        const Bytes sheetBefore = readFile(path(QStringLiteral("Knight.pcx")));
        view->setDelayMode(kDelayCustom);
        view->setCustomDelay(60);
        QVERIFY(view->SaveAnimation());
        StoryboardInfo saved;
        QVERIFY(ReadQSB(qsb.toStdString(), saved) && saved.speed == 60);
        QVERIFY(readFile(path(QStringLiteral("Knight.pcx"))) == sheetBefore);

        // Export to FLC at another delay, not opened afterwards: the success message. (Opening
        // the new FLC on the question is driven through the real window end to end.)
        view->setCustomDelay(50);
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("ExpOpen"), 0);
        app_->LoadSettings();
        const QString out = path(QStringLiteral("window.flc")), cli = path(QStringLiteral("cli.flc"));
        dialogs_.pick(out);
        QVERIFY(app_->mainWindow()->RouteCommand(ID_EXPORT_TO_FLC));
        QCOMPARE(dialogs_.seen().back().title, msg(str::IDS_EXPORT_FLC_TITLE));
        QVERIFY(saidOnly(msg(str::IDS_EXPORT_FLC_DONE, {qsb.toStdString(), out.toStdString()}), MB_ICONINFORMATION));
        QVERIFY(runCli({QStringLiteral("to-flc"), qsb, QStringLiteral("-o"), cli, QStringLiteral("--delay"),
                        QStringLiteral("50")}));
        QVERIFY(!readFile(out).empty() && readFile(out) == readFile(cli));

        // A failed Save As names the file it could not write and leaves the files there as
        // they were: the description's name is taken by a folder.
        QDir(dir_->path()).mkpath(QStringLiteral("bad/Page.qsb"));
        const Bytes oldPalette{1, 2, 3};
        QVERIFY(writeFileAtomic(path(QStringLiteral("bad/Page.act")).toStdString(), oldPalette));
        dialogs_.pick(path(QStringLiteral("bad/Page.qsb")));
        boxes_.clear();
        QVERIFY(!view->SaveAnimationAs());
        QVERIFY(saidOnly(msg(str::IDS_QSB_CANNOT_WRITE), MB_ICONSTOP));
        QVERIFY(readFile(path(QStringLiteral("bad/Page.act"))) == oldPalette);
        QVERIFY(!QFile::exists(path(QStringLiteral("bad/Page.pcx"))));
        QCOMPARE(view->GetDocument()->GetPathName(), qsb);

        // Save As: the sheet is copied under the new name, the description names it.
        QDir(dir_->path()).mkdir(QStringLiteral("copy"));
        const QString target = path(QStringLiteral("copy/Squire.qsb"));
        dialogs_.pick(target);
        QVERIFY(view->SaveAnimationAs());
        QVERIFY(readFile(path(QStringLiteral("copy/Squire.pcx"))) == sheetBefore);
        StoryboardInfo moved;
        QVERIFY(ReadQSB(target.toStdString(), moved) && moved.name() == "Squire");
        QCOMPARE(view->GetDocument()->GetPathName(), target);

        // Reload reads the sheet again (as after a change on disk, below): a sheet that is
        // gone closes the document after both messages.
        QFile::remove(path(QStringLiteral("copy/Squire.pcx")));
        boxes_.clear();
        QVERIFY(app_->mainWindow()->RouteCommand(ID_REFRESH));
        QCOMPARE(boxes_.shown().size(), size_t(2));
        QCOMPARE(boxes_.shown()[1].text, msg(str::IDS_QSB_RELOAD_FAILED, {target.toStdString()}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
    }

    void externalChangeAsksOnceAndReloads()
    {
        const QString qsb = make(QStringLiteral("Archer"), fixture(false, 0, 0));
        CQsbView* view = open(qsb);
        QVERIFY(view && view->isLoaded());
        auto* doc = qobject_cast<CQsbDoc*>(view->GetDocument());

        // Our own save is not a change by another program.
        QVERIFY(view->SaveAnimation());
        QTest::qWait(500);
        QVERIFY(boxes_.shown().empty());

        // A painter saves the sheet several times in a row, by writing a new file and
        // renaming it over the old one.
        const QString sheet = path(QStringLiteral("Archer.pcx"));
        Bitmap bmp;
        QVERIFY(readImageFile(sheet.toStdString(), bmp));
        for (int i = 0; i < 3; ++i) {
            bmp.row(1)[1] = static_cast<uint8_t>(150 + i);
            QVERIFY(writeImageFile(sheet.toStdString(), bmp, kFormatPcx, 8));
        }
        boxes_.answer(IDYES);
        QTRY_COMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text, msg(str::IDS_QSB_CHANGED_ON_DISK, {qsb.toStdString()}));
        view = qobject_cast<CQsbView*>(doc->GetFirstView());
        QTRY_COMPARE(int(view->frames()[0].pixels[0]), 152);
        QTest::qWait(500);
        QCOMPARE(boxes_.shown().size(), size_t(1));

        // The watch survives the rename: the next change asks again.
        bmp.row(1)[1] = 170;
        QVERIFY(writeImageFile(sheet.toStdString(), bmp, kFormatPcx, 8));
        boxes_.answer(IDNO);
        QTRY_COMPARE(boxes_.shown().size(), size_t(2));
        QCOMPARE(int(view->frames()[0].pixels[0]), 152);
    }

    // Export to Storyboard is on only while an FLC window with its animation is active (New
    // Storyboard always); answered Yes, the storyboard it wrote opens.
    void exportToStoryboardFollowsTheActiveWindow()
    {
        QVERIFY(!enabled(ID_EXPORT_TO_STORYBOARD));
        QVERIFY(enabled(ID_NEW_STORYBOARD));
        const QString flc = path(QStringLiteral("Walker.flc"));
        QVERIFY(writeAnimation(flc.toStdString(), qvtest::shape(23, 17, 3)));
        QVERIFY(app_->OpenDocumentFile(flc));
        QVERIFY(enabled(ID_EXPORT_TO_STORYBOARD));
        WriteProfileInt(QStringLiteral("Dlg ExpFlc"), QStringLiteral("Preview"), 0);
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("ExpOpen"), 1);
        const QString folder = path(QStringLiteral("sheet/"));
        qvtest::whenShown<CStoryboardWizard>(this, [folder](CStoryboardWizard* w) {
            QVERIFY(qvtest::setControls(w, QStringLiteral("outputDir=") + folder));
            w->accept();
        });
        boxes_.answer(IDYES);
        QVERIFY(app_->mainWindow()->RouteCommand(ID_EXPORT_TO_STORYBOARD));
        const QString qsb = folder + QStringLiteral("Walker.qsb");
        QVERIFY(saidOnly(msg(str::IDS_WIZ_EXPORTED_ASK_OPEN, {qsb.toStdString()}), MB_YESNO | MB_ICONQUESTION));
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 2);
        QVERIFY(!enabled(ID_EXPORT_TO_STORYBOARD));  // the storyboard's window is active
    }

    void importDialogWritesWhatTheCliWrites()
    {
        // The picture: a storyboard sheet of 8 rows of 3 cells of 21 x 14.
        make(QStringLiteral("Source"), fixture(false, 1, 0));
        const QString picture = path(QStringLiteral("Source.bmp"));
        QDir(dir_->path()).mkdir(QStringLiteral("gui"));
        QDir(dir_->path()).mkdir(QStringLiteral("cli"));
        {
            CImportToQSB dlg;
            dialogs_.pick(picture);
            dlg.BrowseSource();
            QCOMPARE(dlg.sourceInfo()->text(), QStringLiteral("67x121x8b"));
            dlg.destinationEdit()->setText(path(QStringLiteral("gui/Imported")));
            dlg.frameWidth()->setValue(21);
            dlg.frameHeight()->setValue(14);
            dlg.xOffset()->setValue(240);  // kept inside the unit area
            QCOMPARE(dlg.xOffset()->value(), 219);
            dlg.Centre();
            dlg.delay()->setValue(90);
            dlg.colorDepth()->setCurrentIndex(1);
            QVERIFY(dlg.ImportToQSB());
            QVERIFY(boxes_.shown().empty());
        }
        QVERIFY(
            runCli({QStringLiteral("import"), picture, QStringLiteral("-o"), path(QStringLiteral("cli/Imported.qsb")),
                    QStringLiteral("--frame"), QStringLiteral("21x14"), QStringLiteral("--center"),
                    QStringLiteral("--delay"), QStringLiteral("90"), QStringLiteral("--depth"), QStringLiteral("24")}));
        for (const char* name : {"Imported.qsb", "Imported.pcx", "Imported.act", "Imported_Default.act"}) {
            const QString n = QString::fromLatin1(name);
            const Bytes gui = readFile(path(QStringLiteral("gui/") + n));
            QVERIFY2(!gui.empty() && gui == readFile(path(QStringLiteral("cli/") + n)), name);
        }

        // Four rows ask about one direction; No keeps the dialog open and writes nothing.
        ExportedStoryboardFixture four = fixture(false, 1, 0);
        four.anim.directions = 4;
        make(QStringLiteral("Four"), four);
        CImportToQSB dlg;
        QVERIFY(dlg.SetSource(path(QStringLiteral("Four.bmp"))));
        dlg.destinationEdit()->setText(path(QStringLiteral("Imported4.qsb")));
        dlg.frameWidth()->setValue(21);
        dlg.frameHeight()->setValue(14);
        boxes_.clear();
        boxes_.answer(IDNO);
        dlg.accept();
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text, msg(str::IDS_IMPORT_ASK_ONE_DIRECTION));
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(path(QStringLiteral("Imported4.qsb"))));
    }
};

QTEST_MAIN(StoryboardDocumentTest)
#include "storyboard_document_test.moc"
