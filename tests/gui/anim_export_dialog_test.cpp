// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Export Animation: the file chosen in the (scripted) save dialog, the choices made in
// the dialog, and the bytes written equal to what `quorvane-cli anim` writes with the same
// choices.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "cli/cli_run.h"
#include "core/file_io.h"
#include "dialogs/anim_export_dlg.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

class AnimExportDialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CWinApp> app_;
    CNewMultiDocTemplate* template_ = nullptr;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    QTemporaryDir dir_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    static Bytes read(const QString& path)
    {
        Bytes b;
        readWholeFile(path.toStdString(), b);
        return b;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setProfileNames(QStringLiteral("VelmoraTest"), QStringLiteral("QuorvaneAnimExportTest"));
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        app_ = std::make_unique<CWinApp>();
        template_ = registerFlcTemplate(*app_);
    }
    void cleanupTestCase()
    {
        template_->CloseAllDocuments(true);
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
    }

    void dialogWritesTheCliBytes_data()
    {
        QTest::addColumn<QString>("file");  // a file of the user's, or empty for one made here
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("direction");  // combo index: 0 all, d + 1 direction d
        QTest::addColumn<bool>("grid");
        QTest::addColumn<int>("background");  // default, colour, sea, land, transparent
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("quality");  // -1 lossless
        QTest::addColumn<QString>("cliArgs");
        QTest::newRow("grid webp, transparent") << QString() << "g.webp" << 0 << true << 4 << 2 << -1
                                                << "--direction all --layout grid --background transparent --scale 2";
        QTest::newRow("one direction gif over a colour")
            << QString() << "d.gif" << 4 << false << 1 << 1 << -1 << "--direction 3 --background '#102030'";
        QTest::newRow("lossy webp over sea") << QString() << "s.webp" << 0 << false << 2 << 1 << 60
                                             << "--direction all --background sea --quality 60";
        // QV_ANIM_FILES=a.flc:b.flc compares real animations as well.
        int n = 0;
        for (const QString& f : qEnvironmentVariable("QV_ANIM_FILES").split(QLatin1Char(':'), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(f)) << QFileInfo(f).absoluteFilePath() << QStringLiteral("r%1.gif").arg(++n) << 0
                                         << false << 4 << 1 << -1 << "--direction all --background transparent";
    }
    void dialogWritesTheCliBytes()
    {
        QFETCH(QString, file);
        QFETCH(QString, out);
        QFETCH(int, direction);
        QFETCH(bool, grid);
        QFETCH(int, background);
        QFETCH(int, scale);
        QFETCH(int, quality);
        QFETCH(QString, cliArgs);
        if (file.isEmpty()) {
            AnimationSpec anim;
            anim.framesPerDirection = 2;
            anim.speed = 67;
            Bytes bytes = buildAnimation(anim);
            putLE16(bytes.data() + 100, 90);  // left and top offsets
            putLE16(bytes.data() + 102, 110);
            file = path(QStringLiteral("unit.flc"));
            QVERIFY(writeFileAtomic(file.toStdString(), bytes));
        }
        CDocument* doc = template_->OpenDocumentFile(file);
        QVERIFY(doc);
        auto* view = qobject_cast<CFlcView*>(doc->GetFirstView());
        QVERIFY(view);

        dialogs_.pick(path(out));
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<CAnimExportDlg*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            shown = true;
            dlg->findChild<QComboBox*>(QStringLiteral("direction"))->setCurrentIndex(direction);
            dlg->findChild<QCheckBox*>(QStringLiteral("grid"))->setChecked(grid);
            dlg->findChild<QComboBox*>(QStringLiteral("background"))->setCurrentIndex(background);
            dlg->findChild<QLineEdit*>(QStringLiteral("colour"))->setText(QStringLiteral("#102030"));
            dlg->findChild<QSpinBox*>(QStringLiteral("scale"))->setValue(scale);
            dlg->findChild<QSpinBox*>(QStringLiteral("loop"))->setValue(0);
            dlg->findChild<QCheckBox*>(QStringLiteral("lossy"))->setChecked(quality >= 0);
            dlg->findChild<QSpinBox*>(QStringLiteral("quality"))->setValue(std::max(quality, 0));
            dlg->waitForEncoding();
            QVERIFY(!dlg->encoded().empty());
            const QString size = QLocale().toString(qulonglong(dlg->encoded().size()));
            QVERIFY(dlg->findChild<QLabel*>(QStringLiteral("size"))->text().contains(size));
            QVERIFY(!QFileInfo::exists(path(out)));  // nothing written before OK
            dlg->accept();
        });
        QVERIFY(ExportAnimation(*view, nullptr));
        QVERIFY(shown);
        QVERIFY(boxes_.shown().empty());

        const CliRun r = runCli("anim " + quote(file.toStdString()) + " -o " + quote(path("cli." + out).toStdString()) +
                                    " " + cliArgs.toStdString(),
                                dir_.path().toStdString());
        QVERIFY2(r.status == 0, r.err.c_str());
        const Bytes cli = read(path("cli." + out));
        QVERIFY(!cli.empty());
        QVERIFY(read(path(out)) == cli);
        doc->OnCloseDocument();
    }
};

QTEST_MAIN(AnimExportDialogTest)
#include "anim_export_dialog_test.moc"
