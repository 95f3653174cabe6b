// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The palette colour tools with scripted sessions: the grid's keyboard and mouse rules,
// the Color Table and Color Replace dialogs' Apply / Discard / OK / Cancel, the four tool
// dialogs, the live B.C.H.S. preview in the view, and undo and redo across Save.
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QUndoStack>

#include "app/command_ids.h"
#include "core/bitmap_ops.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "core/storyboard.h"
#include "gui_harness.h"
#include "palette/color_dialogs.h"
#include "palette/color_table.h"
#include "palette/palette_undo.h"

using namespace qv;
using namespace qv::test;

class PaletteToolsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    ScriptedColorDialogs colours_;

    CFlcView* open(QString* file = nullptr) { return openAnimation(qvtest::shape(24, 16, 2), 0, 0, file); }
    static void send(QWidget* w, QEvent::Type type, const QPoint& pos)
    {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

private slots:
    void initTestCase()
    {
        startGui("QuorvanePaletteToolsTest");
        setColorDialogService(&colours_);
    }
    void init() { resetGui({"Dlg ColorReplace", "Dlg MoveColor", "Dlg BCHS"}); }
    void cleanup() { closeGui(); }
    void cleanupTestCase()
    {
        stopGui();
        setColorDialogService(nullptr);
    }

    void gridFollowsItsKeyboardAndMouseRules()
    {
        CColorTable grid(testPalette(), CColorTable::kDestinationId);
        QSignalSpy selected(&grid, &CColorTable::selectedColorChanged);
        const struct {
            int start, key, expect;
        } moves[] = {{255, Qt::Key_Right, 0}, {15, Qt::Key_Right, 16}, {0, Qt::Key_Left, 255}, {16, Qt::Key_Left, 15},
                     {5, Qt::Key_Up, 255},    {21, Qt::Key_Up, 5},     {245, Qt::Key_Down, 0}, {5, Qt::Key_Down, 21}};
        for (const auto& m : moves) {
            send(&grid, QEvent::MouseMove, grid.cellRect(m.start).center());
            QTest::keyClick(&grid, Qt::Key(m.key));
            QCOMPARE(grid.hotCell(), m.expect);
        }
        QCOMPARE(grid.cellToolTip(1), QStringLiteral("RGB: 1, 254, 7; Idx: 1"));

        // Enter selects the hot cell; on the selected cell it opens the colour dialog.
        send(&grid, QEvent::MouseMove, grid.cellRect(37).center());
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(selected.count(), 1);
        colours_.pick(0x563412);
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(grid.cellsPalette()[37].rgb(), 0x123456u);
        QCOMPARE(selected.count(), 2);
        // A click selects; a cancelled double click changes nothing.
        send(&grid, QEvent::MouseButtonPress, grid.cellRect(40).center());
        QCOMPARE(grid.selectedCell(), 40);
        colours_.cancel();
        send(&grid, QEvent::MouseButtonDblClick, grid.cellRect(40).center());
        QCOMPARE(grid.cellColor(40), testPalette()[40].colorRef());
    }

    void colorTableOkAppliesAndCancelKeepsAndUndoWorksAcrossSave()
    {
        QString file;
        CFlcView* view = open(&file);
        QVERIFY(view && view->isLoaded());
        CDocument* doc = view->GetDocument();
        const Palette256 original = view->basePalette();
        const Bytes before = readFile(file);
        // Cancel keeps the palette; OK takes the boxes (kept at 255, an empty one is 0).
        for (bool ok : {false, true}) {
            whenShown<CColorTableDlg>([ok](CColorTableDlg* dlg) {
                QTest::mouseClick(dlg->grid(), Qt::LeftButton, {}, dlg->grid()->cellRect(3).center());
                dlg->boxes()->red->setText(QStringLiteral("300"));
                dlg->boxes()->green->setText(QString());
                dlg->boxes()->blue->setText(QStringLiteral("9"));
                QCOMPARE(dlg->boxes()->red->text(), QStringLiteral("255"));
                ok ? dlg->accept() : dlg->reject();
            });
            QVERIFY(view->OnCommand(ID_PALETTE));
            QCOMPARE(doc->IsModified(), ok);
        }
        Palette256 edited = original;
        edited[3] = PaletteEntry::fromRgb(255, 0, 9);
        QCOMPARE(view->displayPalette(), edited);
        QUndoStack* stack = paletteUndoStack(doc);
        QCOMPARE(stack->count(), 1);

        // Undo and redo across Save.
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        FlcLoadResult saved;
        QVERIFY(loadFlcAnimation(file.toStdString(), saved));
        QCOMPARE(saved.store.basePalette, edited);
        stack->undo();
        QCOMPARE(view->displayPalette(), original);
        QVERIFY(doc->IsModified());
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        QVERIFY(readFile(file) == before);  // back to the very bytes it had
        stack->redo();
        QCOMPARE(view->basePalette(), edited);
    }

    // Tools > Color Replace on an open animation, as the command opens it.
    void colorReplaceToolsApplyDiscardAndPreview()
    {
        CFlcView* view = open();
        QVERIFY(view && view->isLoaded());
        const Palette256 own = view->displayPalette();
        Palette256 source, beforeBchs;
        for (int i = 0; i < 256; ++i) source[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), 7, 7);
        QVERIFY(ExportPaletteToFile(path(QStringLiteral("src.act")).toStdString(), source, kPaletteAct));
        StoryboardInfo info;
        QVERIFY(WriteQSB(path(QStringLiteral("sb.qsb")).toStdString(), info));

        whenShown<CColorReplaceDlg>([&](CColorReplaceDlg* dlg) {
            const auto close = qScopeGuard([dlg] { dlg->reject(); });  // also when a check fails
            QVERIFY(dlg->fileRadio()->isChecked());                    // "From &File" unless remembered otherwise
            dialogs_.pick(path(QStringLiteral("src.act")));
            dlg->chooseSourceFile();
            QCOMPARE(dlg->sourcePath()->text(), path(QStringLiteral("src.act")));

            // Replace one colour, then Discard.
            dlg->sourceGrid()->SelectCell(5);
            dlg->destinationGrid()->SelectCell(2);
            dlg->replaceSelected();
            QCOMPARE(dlg->destinationGrid()->cellsPalette()[2], source[5]);
            dlg->discard();
            QCOMPARE(dlg->destinationGrid()->cellsPalette(), own);

            // Replace Range: From 250 and To 10 allow 6 colours.
            whenShown<CReplaceRangeDlg>([&](CReplaceRangeDlg* r) {
                r->fromBox()->setValue(250);
                r->toBox()->setValue(10);
                r->countBox()->setValue(100);
                QCOMPARE(r->countBox()->value(), 6);
                r->replaceRange();
                r->discard();
                QCOMPARE(r->work(), own);
                r->replaceRange();
                r->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            });
            dlg->openRange();
            for (int k = 0; k < 6; ++k) QCOMPARE(dlg->working()[size_t(10 + k)], source[size_t(250 + k)]);
            QCOMPARE(dlg->working()[16], own[16]);

            // Move Colors: the whole palette shifts right by one; Cancel after Apply keeps it.
            whenShown<CMoveColorsDlg>([&](CMoveColorsDlg* m) {
                QVERIFY(!m->leftShiftButton()->isEnabled());
                m->allBox()->click();
                QVERIFY(m->rightShiftButton()->isEnabled() && !m->moveToButton()->isEnabled());
                m->countBox()->setValue(1);
                m->shift(true);
                m->apply();
                m->reject();
            });
            dlg->openMove();
            QCOMPARE(dlg->working()[0], kToolRed);
            QCOMPARE(dlg->working()[1], own[0]);

            // B.C.H.S.: the view previews the adjusted colours and gets its own back on Cancel.
            beforeBchs = dlg->working();
            whenShown<CColorBCHSDlg>([&](CColorBCHSDlg* b) {
                b->previewBox()->setChecked(true);
                b->box(CColorBCHSDlg::Brightness)->setValue(-1000);
                QCOMPARE(view->displayPalette()[100].rgb(), 0u);
                b->box(CColorBCHSDlg::Hue)->setValue(120);  // only the last change counts
                QCOMPARE(b->adjusted()[100].rgb(), adjustHue(beforeBchs[100].rgb(), 120));
                b->reject();
            });
            dlg->openBchs();
            QCOMPARE(view->displayPalette(), own);
            dlg->apply();

            // A storyboard without its palette file: the message, a red source, an empty box.
            dialogs_.pick(path(QStringLiteral("sb.qsb")));
            dlg->chooseSourceFile();
            QCOMPARE(dlg->source(), redPalette());
            QVERIFY(dlg->sourcePath()->text().isEmpty());
            QVERIFY(boxes_.shown().back().text.endsWith(QStringLiteral("Cannot load palette file.")));
        });
        ShowColorReplace(view);
        // Apply handed the working palette to the view as one undoable step.
        QCOMPARE(view->basePalette(), beforeBchs);
        QCOMPARE(paletteUndoStack(view->GetDocument())->count(), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg MoveColor"), QStringLiteral("MoveAll"), 0), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg ColorReplace"), QStringLiteral("Pal Type"), 9), 1);
    }

    // On the first frame of an animation, in the animation's own colours.
    void selectFromImageTakesTheColourUnderThePointer()
    {
        const auto anim = qvtest::shape(24, 16, 2);
        const Picture frame = testPicture(anim.width, anim.height, 1, 0);
        const auto colourAt = [&](int x, int y) { return anim.palette[frame[size_t(y * anim.width + x)]].rgb(); };
        Palette256 target = testPalette();
        CSelectFromImageDlg dlg(target);
        dlg.resize(700, 500);
        QVERIFY(dlg.loadPicture(writeFlc(QStringLiteral("a.flc"), anim)));
        dlg.hoverAt(QPoint(6, 9));
        QCOMPARE(dlg.zoomColours()[12], colourAt(6, 9));  // at the centre
        QCOMPARE(dlg.zoomColours()[0], colourAt(4, 7));   // top left
        dlg.grid()->SelectCell(254);
        dlg.clickAt(QPoint(6, 9));
        QCOMPARE(dlg.grid()->selectedCell(), 255);
        dlg.clickAt(QPoint(1, 1));  // too near the edge
        QCOMPARE(dlg.work()[255], target[255]);
        dlg.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        QCOMPARE(target[254].rgb(), colourAt(6, 9));
    }
};

QTEST_MAIN(PaletteToolsTest)
#include "palette_tools_test.moc"
