// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The recent-file lists: which list a path goes to, the maximum, persistence, the
// menus they fill, and the "Max MRU" clamp of the settings loader.
#include <QAction>
#include <QMenu>
#include <QtTest>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/settings.h"
#include "app_support.h"
#include "platform/ui/mru.h"
#include "platform/ui/profile.h"

using namespace qv;

class RecentFilesTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;

    static void addBothLists(CMruFileManager& m, int max)
    {
        m.AddList(ID_RECENT_FLC_FIRST, QStringLiteral("Recent FLC Files"), QStringLiteral("File%d"),
                  extensionFilter(QStringLiteral(".flc")), max);
        m.AddList(ID_RECENT_QSB_FIRST, QStringLiteral("Recent QSB Files"), QStringLiteral("File%d"),
                  extensionFilter(QStringLiteral(".qsb")), max);
    }

private slots:
    void init() { settings_.clear(); }

    void pathsGoToTheListOfTheirExtensionNewestFirstAndPersist()
    {
        {
            CMruFileManager m;
            addBothLists(m, 4);
            QVERIFY(m.Add(QStringLiteral("/units/Warrior/sheet.qsb")));
            for (const char* refused : {".flc", "/units/readme.txt", "/units/flc"})  // nothing before ".flc"
                QVERIFY2(!m.Add(QString::fromLatin1(refused)), refused);
            for (int i = 1; i <= 6; ++i) QVERIFY(m.Add(QStringLiteral("/a/%1.FLC").arg(i)));
            // Adding a path again (in any case) moves it to the top instead of doubling it.
            m.Add(QStringLiteral("/A/4.flc"));
            QCOMPARE(m.list(0)->paths(), (QStringList{QStringLiteral("/A/4.flc"), QStringLiteral("/a/6.FLC"),
                                                      QStringLiteral("/a/5.FLC"), QStringLiteral("/a/3.FLC")}));
            QCOMPARE(m.list(1)->paths(), QStringList{QStringLiteral("/units/Warrior/sheet.qsb")});
        }
        QCOMPARE(GetProfileString("Recent FLC Files", "File1"), QStringLiteral("/A/4.flc"));
        QCOMPARE(GetProfileString("Recent FLC Files", "File4"), QStringLiteral("/a/3.FLC"));
        CMruFileManager again;
        addBothLists(again, 4);
        QCOMPARE(again.list(0)->size(), 4);
        QCOMPARE(again.list(0)->at(0), QStringLiteral("/A/4.flc"));
        QCOMPARE(again.list(1)->at(0), QStringLiteral("/units/Warrior/sheet.qsb"));
    }

    void menusShowNumberedShortNamesOrNone()
    {
        CMruFileManager m;
        addBothLists(m, 16);
        QMenu menu;
        m.FillMenu(&menu, 0, {});
        QCOMPARE(menu.actions().size(), 1);
        QCOMPARE(menu.actions().front()->text(), QStringLiteral("(None)"));
        QVERIFY(!menu.actions().front()->isEnabled());
        QCOMPARE(menu.actions().front()->data().toInt(), int(ID_RECENT_FLC_FIRST));

        for (int i = 1; i <= 11; ++i) m.Add(QStringLiteral("/u/f%1.flc").arg(i));
        m.Add(QStringLiteral("/home/player/games/dominara/units/Longbowman/LongbowmanAttackA.flc"));
        int chosen = 0;
        m.FillMenu(&menu, 0, [&chosen](int id) { chosen = id; });
        const QList<QAction*> items = menu.actions();
        QCOMPARE(items.size(), 12);
        // Names longer than 30 characters keep their end.
        QCOMPARE(items.at(0)->text(), QStringLiteral("&1 /.../LongbowmanAttackA.flc"));
        QCOMPARE(items.at(1)->text(), QStringLiteral("&2 /u/f11.flc"));
        QCOMPARE(items.at(9)->text(), QStringLiteral("1&0 /u/f3.flc"));
        QCOMPARE(items.at(10)->text(), QStringLiteral("11 /u/f2.flc"));
        items.at(2)->trigger();
        QCOMPARE(chosen, ID_RECENT_FLC_FIRST + 2);
    }

    void abbreviationKeepsAsMuchOfTheEndAsFits()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"/short/path.flc", "/short/path.flc"},
            {"/home/player/units/Knight/KnightRun.flc", "/.../Knight/KnightRun.flc"},
            {"C:\\Games\\Dominara\\Art\\Units\\Knight\\KnightRun.flc", "C:\\...\\Knight\\KnightRun.flc"},
            // A name too long for the space is shown whole.
            {"/x/AVeryLongAnimationNameThatGoesOn.flc", "AVeryLongAnimationNameThatGoesOn.flc"}};
        for (const auto& [path, shown] : cases)
            QCOMPARE(AbbreviatePath(QString::fromLatin1(path), 30), QString::fromLatin1(shown));
        // Ampersands in names are doubled for the menu.
        CRecentFileList list(1, QStringLiteral("R"), QStringLiteral("File%d"), {}, 4);
        list.Add(QStringLiteral("/a/Tom&Jerry.flc"));
        QCOMPARE(list.GetDisplayName(0), QStringLiteral("/a/Tom&&Jerry.flc"));
    }

    void choosingAnEntryOpensItAndForgetsItWhenItFails()
    {
        CMruFileManager m;
        addBothLists(m, 4);
        m.Add(QStringLiteral("/gone/old.flc"));
        m.Add(QStringLiteral("/here/new.flc"));
        QStringList opened;
        m.opener = [&opened](const QString& p) {
            opened << p;
            return p.startsWith(QLatin1String("/here"));
        };
        CCmdUI ui(ID_RECENT_FLC_FIRST + 1);
        QVERIFY(m.OnUpdateCommand(ID_RECENT_FLC_FIRST + 1, ui));
        QVERIFY(ui.enabled);
        CCmdUI beyond(ID_RECENT_FLC_FIRST + 2);
        QVERIFY(m.OnUpdateCommand(ID_RECENT_FLC_FIRST + 2, beyond));
        QVERIFY(!beyond.enabled);
        QVERIFY(!m.OnCommand(ID_PLAY));  // not a list command

        QVERIFY(m.OnCommand(ID_RECENT_FLC_FIRST + 1));
        QCOMPARE(opened, QStringList{QStringLiteral("/gone/old.flc")});
        QCOMPARE(m.list(0)->paths(), QStringList{QStringLiteral("/here/new.flc")});
        QVERIFY(!HasProfileValue("Recent FLC Files", "File2"));
        QVERIFY(m.OnCommand(ID_RECENT_FLC_FIRST));
        QCOMPARE(m.list(0)->size(), 1);
    }

    void maxMruOutsideItsRangeBecomesFour_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("used");
        QTest::newRow("missing") << QVariant() << 4;
        QTest::newRow("3") << QVariant(3) << 4;
        QTest::newRow("4") << QVariant(4) << 4;
        QTest::newRow("9") << QVariant(9) << 9;
        QTest::newRow("16") << QVariant(16) << 16;
        QTest::newRow("17") << QVariant(17) << 4;
        QTest::newRow("100") << QVariant(100) << 4;
        QTest::newRow("-1") << QVariant(-1) << 4;
        QTest::newRow("text") << QVariant(QStringLiteral("many")) << 4;
    }
    void maxMruOutsideItsRangeBecomesFour()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, used);
        if (stored.isValid()) {
            QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
            s.setValue(QStringLiteral("Options/Max MRU"), stored);
        }
        CEditorApp app;
        app.LoadSettings();
        QCOMPARE(app.maxRecentFiles(), used);
        // Both lists hold that many entries.
        for (int i = 0; i < 20; ++i) {
            app.AddToRecentFileList(QStringLiteral("/a/%1.flc").arg(i));
            app.AddToRecentFileList(QStringLiteral("/a/%1.qsb").arg(i));
        }
        QCOMPARE(app.recentFiles().list(0)->size(), used);
        QCOMPARE(app.recentFiles().list(1)->size(), used);
        QCOMPARE(app.recentFiles().list(1)->firstCommandId(), int(ID_RECENT_QSB_FIRST));
    }
};

QTEST_MAIN(RecentFilesTest)
#include "app_recent_files.moc"
