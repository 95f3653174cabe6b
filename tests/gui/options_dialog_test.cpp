// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Options dialog on a running program: every control round-trips to its setting,
// the dependent controls, Default, out-of-range and malformed values, the association
// box, and the built-in civilization schemes on a machine without the game.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "dialogs/options_dlg.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

using namespace qv;

namespace {

int value(const char* section, const char* entry) { return GetProfileInt(section, entry, -1); }

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    std::unique_ptr<CEditorApp> app_;

    void restart()
    {
        app_.reset();
        app_ = std::make_unique<CEditorApp>();
        app_->setArguments({});
        app_->setShowMainWindow(false);
        QVERIFY(app_->InitInstance());
    }

private slots:
    void initTestCase()
    {
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
    }
    void cleanupTestCase()
    {
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
    }
    void init()
    {
        app_.reset();
        settings_.clear();
        boxes_.clear();
        restart();
    }

    void everyControlRoundTripsAndOkReachesTheProgram()
    {
        {
            COptionsDlg dlg(app_->mainWindow());
            QVERIFY(!dlg.applyButton->isEnabled());
            dlg.checkAtStartup->setChecked(false);
            dlg.reloadLast->setChecked(true);
            dlg.maxMru->setValue(9);
            dlg.showToolBar->setChecked(false);
            dlg.showStatusBar->setChecked(false);
            dlg.specialBorder->setChecked(false);
            dlg.disabledSelection->setChecked(false);
            dlg.gloom->setChecked(false);
            dlg.oldStyle->setChecked(true);
            QVERIFY(!dlg.gloom->isEnabled());
            dlg.buttonIcons->setChecked(false);
            dlg.buttonEffects->setChecked(false);
            QVERIFY(!dlg.buttonIcons->isEnabled());
            QVERIFY(!dlg.browse->isEnabled());
            dlg.palFolder->setChecked(true);
            QVERIFY(dlg.browse->isEnabled() && dlg.del->isEnabled());
            dialogs_.pick(QStringLiteral("/pals"));
            dlg.browse->click();
            QCOMPARE(dlg.palDir->text(), QStringLiteral("/pals"));
            dlg.pause->setChecked(true);
            dlg.expOpen->setChecked(false);
            dlg.expAsk->setChecked(false);
            dlg.tabs->setCurrentIndex(2);
            QVERIFY(dlg.applyButton->isEnabled());
            dlg.okButton->click();
        }
        const struct {
            const char* section;
            const char* entry;
            int expected;
        } stored[] = {{"Options", "Check File Type", 0}, {"Options", "Load Doc", 1},   {"Options", "Max MRU", 9},
                      {"Options", "Show ToolBar", 0},    {"Options", "Show StatusBar", 0}, {"Menu", "Style", 1},
                      {"Menu", "Selection", 0},          {"Menu", "Gloom", 0},         {"ButtonX", "Settings", 3},
                      {"Options", "Pal Type", 2},        {"Options", "Anim Type", 1},  {"Options", "ExpOpen", 0},
                      {"Options", "ExpAsk", 0},          {"Dlg Options", "CurTab", 2}};
        for (const auto& s : stored) QVERIFY2(value(s.section, s.entry) == s.expected, s.entry);
        QCOMPARE(GetProfileString("Options", "Pal Dir"), QStringLiteral("/pals"));
        QCOMPARE(app_->maxRecentFiles(), 9);  // at once, without a restart
        QCOMPARE(app_->animationType(), 1);

        COptionsDlg again(app_->mainWindow());
        QCOMPARE(again.tabs->currentIndex(), 2);
        QVERIFY(again.oldStyle->isChecked() && !again.specialBorder->isChecked() && !again.gloom->isEnabled());
        QVERIFY(!again.buttonEffects->isChecked() && !again.buttonIcons->isChecked());
        QVERIFY(again.palFolder->isChecked() && again.pause->isChecked() && again.reloadLast->isChecked());
        QCOMPARE(again.maxMru->value(), 9);
    }

    void defaultAsksThenRemovesTheChoicesButKeepsThePaletteFolder()
    {
        COptionsDlg dlg(app_->mainWindow());
        dlg.maxMru->setValue(12);
        dlg.palFolder->setChecked(true);
        dlg.palDir->setText(QStringLiteral("/pals"));
        dlg.Apply();
        for (int answer : {IDNO, IDCANCEL}) {
            boxes_.answer(answer);
            dlg.OnDefault();
            QCOMPARE(value("Options", "Max MRU"), 12);
        }
        boxes_.answer(IDYES);
        dlg.OnDefault();
        QCOMPARE(boxes_.shown().back().text, QStringLiteral("Do you really want to set default value?"));
        QCOMPARE(boxes_.shown().back().flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
        QVERIFY(!HasProfileValue("Options", "Max MRU"));
        QVERIFY(!HasProfileValue("Options", "Pal Type"));
        QCOMPARE(GetProfileString("Options", "Pal Dir"), QStringLiteral("/pals"));
        QCOMPARE(dlg.maxMru->value(), 4);
        QCOMPARE(app_->maxRecentFiles(), 4);
        QVERIFY(dlg.associate->isChecked() && app_->editorDocManager()->CheckFileTypes());
    }

    void outOfRangeAndMalformedValuesShowDefaults()
    {
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        s.setValue(QStringLiteral("Options/Max MRU"), 99);
        s.setValue(QStringLiteral("Options/Anim Type"), QStringLiteral("fast"));
        s.setValue(QStringLiteral("Options/Pal Type"), 7);
        s.setValue(QStringLiteral("Menu/Style"), -3);
        s.setValue(QStringLiteral("ButtonX/Settings"), 0x7fff);
        s.sync();
        ReloadProfile();
        restart();
        QCOMPARE(app_->maxRecentFiles(), 4);
        QCOMPARE(app_->animationType(), 0);
        COptionsDlg dlg(app_->mainWindow());
        QCOMPARE(dlg.maxMru->value(), 4);
        QVERIFY(dlg.play->isChecked());
        QVERIFY(dlg.xpStyle->isChecked() && dlg.specialBorder->isChecked());
        QVERIFY(!dlg.buttonEffects->isChecked() && !dlg.buttonIcons->isChecked());  // only the two known bits
        QVERIFY(dlg.palGame->isChecked());
        dlg.Apply();
        QCOMPARE(value("Options", "Max MRU"), 4);
        QCOMPARE(value("Menu", "Style"), 2);
    }

    void associationBoxRegistersOrRemovesTheTypes()
    {
        COptionsDlg dlg(app_->mainWindow());
        QVERIFY(dlg.associate->isChecked());  // the test's scratch desktop has them registered
        dlg.associate->setChecked(false);
        dlg.Apply();
        QVERIFY(!app_->editorDocManager()->CheckFileTypes());
        COptionsDlg unchecked(app_->mainWindow());
        QVERIFY(!unchecked.associate->isChecked());
        unchecked.associate->setChecked(true);
        unchecked.okButton->click();
        QVERIFY(app_->editorDocManager()->CheckFileTypes());
    }

    void withoutTheGameTheBuiltinSchemesAreUsedUntilASourceIsChosen()
    {
        QVERIFY(!app_->baseGameFound());
        QCOMPARE(app_->civPaletteSource(), 1);
        COptionsDlg dlg(app_->mainWindow());
        QVERIFY(dlg.palResources->isChecked());
        QVERIFY(!dlg.builtinNote->isHidden());
        dlg.palGame->setChecked(true);  // chosen on purpose: kept, even without the game
        dlg.Apply();
        QCOMPARE(app_->civPaletteSource(), 0);
        QVERIFY(dlg.builtinNote->isHidden());
    }

    void optionsCommandIsEnabled() { QVERIFY(app_->mainWindow()->RouteUpdate(ID_OPTIONS).enabled); }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
