// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open INI and Open Multi through the application's commands, with the real FLC
// documents and scripted dialogs, on a unit folder and a game folder made for the test.
#include <QtTest>
#include <filesystem>

#include "app/command_ids.h"
#include "app_support.h"
#include "core/strings.h"
#include "platform/ui/utils.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;
namespace fs = std::filesystem;

class BulkOpenTest : public QObject, public qvtest::EditorHarness {
    Q_OBJECT

    fs::path root() const { return fs::path(dir_->path().toStdString()); }
    static QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }
    static AnimationShape smallUnit()
    {
        AnimationShape a;
        a.directions = 8;
        a.framesPerDirection = 2;
        return a;
    }
    QString lastText() const { return boxes_.shown().empty() ? QString() : boxes_.shown().back().text; }

private slots:
    void initTestCase() { startEditorServices("bulk-test"); }
    void cleanupTestCase() { stopEditor(); }
    void init()
    {
        resetEditor();
        // A second expansion and a base game, as the game's installer records them.
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        s.setValue(QStringLiteral("Brevundi/Install_Path"), Q(root() / "Second"));
        s.setValue(QStringLiteral("Game/Install_Path"), Q(root() / "Base"));
        s.sync();
        ReloadProfile();
        QVERIFY(startEditor());
        boxes_.clear();
    }

    void openIniOpensEveryNamedAnimationAndSummarisesTheRest()
    {
        const fs::path ini = writeUnitFolder(root() / "Units", "Warrior", {"RUN", "DEFAULT", "DEATH"}, smallUnit());
        const fs::path unit = ini.parent_path();
        writeBytes(root() / "Second" / "Art" / "Units" / "Archer" / "Archer Attack.flc", buildAnimation(smallUnit()));
        writeBytes(root() / "Base" / "Art" / "Units" / "Archer" / "Archer Attack.flc", buildAnimation(smallUnit()));
        writeText(unit / "Broken.flc", "not an animation");
        writeText(ini, unitIniText({{"RUN", "warrior run.FLC"},  // case differs from the file's
                                    {"DEFAULT", "Warrior DEFAULT.flc"},
                                    {"ATTACK1", "..\\Archer\\Archer Attack.flc"},
                                    {"DEATH", "Warrior DEATH.flc"},
                                    {"FIDGET", "Gone.flc"},
                                    {"VICTORY", "Broken.flc"},
                                    {"BUILD", "..\\..\\..\\Outside.flc"},
                                    {"ROAD", "Warrior DEATH.flc"}}));  // named twice: opened twice

        dialogs_.pick(Q(ini));
        boxes_.answer(IDYES);
        QVERIFY(app_->OnCommand(ID_OPEN_INI));

        const QStringList expected = {Q(unit / "Warrior DEFAULT.flc"),
                                      Q(unit / "Warrior RUN.flc"),
                                      Q(root() / "Second" / "Art" / "Units" / "Archer" / "Archer Attack.flc"),
                                      Q(unit / "Warrior DEATH.flc"),
                                      Q(unit / "Broken.flc"),
                                      Q(unit / "Warrior DEATH.flc")};
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_INI_SELECT_TITLE));
        QCOMPARE(GetProfileString("Options", "Last INI"), Q(ini));
        // The question lists what was found, then the one summary lists what was not opened.
        QCOMPARE(boxes_.shown().size(), size_t(2));
        QString list;
        for (const QString& p : expected) list += QLatin1Char('\'') + p + QStringLiteral("'\r\n");
        QCOMPARE(boxes_.shown()[0].text, uFormatString(str::IDS_INI_ASK_OPEN, {ini.string(), list.toStdString()}));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        QStringList opened = expected;
        opened.removeAt(4);  // Broken.flc was refused by its view
        QCOMPARE(openPaths(), opened);
        const QString summary = lastText();
        QVERIFY(summary.startsWith(QLatin1Char('\'') + Q(ini) + QStringLiteral("'\r\n")));
        QVERIFY(
            summary.contains(uFormatString(str::IDS_BULK_SUMMARY_MISSING, {"FIDGET", (unit / "Gone.flc").string()})));
        QVERIFY(summary.contains(uFormatString(str::IDS_BULK_SUMMARY_OUTSIDE, {"BUILD", "..\\..\\..\\Outside.flc"})));
        QVERIFY(summary.contains(uFormatString(str::IDS_INVALID_FORMAT, {(unit / "Broken.flc").string()})));
    }

    void openIniStopsWhenThereIsNothingToOpen()
    {
        const fs::path ini = root() / "u" / "Unit.ini";
        struct Case {
            const char* name;
            std::string text;     // empty: the dialog is cancelled
            int answer;           // to the question, when one is asked
            const char* message;  // the one message expected, or nullptr for none
        };
        const Case cases[] = {
            {"cancelled", "", IDYES, nullptr},
            {"no [Animations] section", "[Speed]\r\nRUN=a.flc\r\n", IDYES, nullptr},
            {"no end marker", "[Animations]\r\nRUN=a.flc\r\n", IDYES, nullptr},
            {"nothing found", unitIniText({{"RUN", "a.flc"}}), IDYES, str::IDS_INI_NO_FLC_FOUND},
            {"answered No", unitIniText({{"RUN", "Unit.ini"}}), IDNO, str::IDS_INI_ASK_OPEN},
        };
        for (const Case& c : cases) {
            boxes_.clear();
            WriteProfileString("Options", "Last INI", QString());
            if (c.text.empty()) {
                dialogs_.cancel();
            } else {
                writeText(ini, c.text);
                dialogs_.pick(Q(ini));
            }
            if (c.answer == IDNO) boxes_.answer(IDNO);
            app_->editorDocManager()->OpenIni();
            QVERIFY2(openPaths().isEmpty(), c.name);
            QCOMPARE(boxes_.shown().size(), size_t(c.message ? 1 : 0));
            if (c.message == str::IDS_INI_NO_FLC_FOUND) QCOMPARE(lastText(), uFormatString(c.message, {ini.string()}));
            QCOMPARE(GetProfileString("Options", "Last INI"), c.text.empty() ? QString() : Q(ini));
        }
    }

    void openMultiOpensAtMostTwentyFlcAndStoryboardFiles()
    {
        app_->editorDocManager()->qsbTemplate()->setFactories([] { return new qvtest::AcceptingDoc; }, {},
                                                              [] { return new qvtest::RecordingView; });
        const fs::path folder = root() / "many";
        const Bytes flc = buildAnimation(smallUnit());
        for (int i = 0; i < 24; ++i) writeBytes(folder / ("a" + std::to_string(i) + (i % 2 ? ".FLC" : ".flc")), flc);
        writeText(folder / "board.qsb", "x");
        writeText(folder / "sheet.pcx", "x");
        fs::create_directories(folder / "sub.flc");

        dialogs_.pickMany({Q(folder)});
        boxes_.answer(IDYES);
        QVERIFY(app_->OnCommand(ID_OPEN_MULTI));
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_MULTI_SELECT_TITLE));
        QCOMPARE(boxes_.shown().size(), size_t(1));  // the question; everything opened
        const QStringList opened = openPaths();
        QCOMPARE(opened.size(), 20);
        for (const QString& p : opened) {
            const QString ext = uGetFileExt(p).toLower();
            QVERIFY2(ext == QLatin1String("flc") || ext == QLatin1String("qsb"), qPrintable(p));
        }
        QCOMPARE(GetProfileString("Options", "Last Multi"), Q(folder));
        // The next run starts where this one chose.
        app_->docManager()->CloseAllDocuments(true);
        qvtest::flushDeletes();
        dialogs_.cancel();
        app_->editorDocManager()->OpenMulti();
        QCOMPARE(dialogs_.seen().back().initialPath, Q(folder));

        // A folder without animation files.
        const fs::path none = root() / "none";
        writeText(none / "sheet.pcx", "x");
        fs::create_directories(none / "sub");
        boxes_.clear();
        dialogs_.pickMany({Q(none)});
        app_->editorDocManager()->OpenMulti();
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(lastText(), uFormatString(str::IDS_MULTI_NO_FILES_FOUND, {none.string()}));
        QVERIFY(openPaths().isEmpty());
    }
};

QTEST_MAIN(BulkOpenTest)
#include "app_bulk_open.moc"
