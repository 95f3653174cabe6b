// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The sound preview of a unit animation: choosing WAV and AMB files (and refusing bad
// ones), the AMB report and its Save, playing with the animation and from the Sound
// panel through a recording player, the panel's enable rules, and a computer without
// an audio output.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/control_panels.h"
#include "app_support.h"
#include "core/file_io.h"
#include "core/strings.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"
#include "platform/ui/win_app.h"
#include "support/unit_builder.h"
#include "view/information_dlg.h"
#include "view/sound_player.h"

using namespace qv;
using namespace qv::test;

namespace {

class RecordingPlayer : public ISoundPlayer {
public:
    bool output = true;
    QStringList calls;  // "play PATH loop", "play PATH once", "stop"
    bool hasOutput() override { return output; }
    void play(const QString& path, bool loop) override
    {
        calls << QStringLiteral("play %1 %2").arg(GetFileName(path), loop ? QStringLiteral("loop") : QStringLiteral("once"));
    }
    void stop() override { calls << QStringLiteral("stop"); }
    // The calls other than "stop".
    QStringList plays() const { return calls.filter(QStringLiteral("play ")); }
};

}  // namespace

class ViewSoundTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    std::unique_ptr<CWinApp> app_;
    CNewMultiDocTemplate* template_ = nullptr;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    ManualClock clock_;
    RecordingPlayer player_;
    std::unique_ptr<CControlPanels> panels_;
    std::unique_ptr<QTemporaryDir> dir_;

    QString file(const QString& name, const Bytes& bytes)
    {
        const QString path = dir_->filePath(name);
        writeBytes(path.toStdString(), bytes);
        return path;
    }
    CFlcView* openUnit(bool leaderHead = false)
    {
        AnimationSpec anim;
        anim.framesPerDirection = 2;
        anim.leaderHead = leaderHead;
        if (leaderHead) anim.directions = 1;
        CDocument* doc = template_->OpenDocumentFile(
            file(leaderHead ? QStringLiteral("head.flc") : QStringLiteral("unit.flc"), buildAnimation(anim)));
        auto* view = doc ? qobject_cast<CFlcView*>(doc->GetFirstView()) : nullptr;
        if (view) view->OnActivateView(true);
        return view;
    }
    bool enabled(int id) const { return panels_->control(id)->isEnabled(); }
    void click(int id) const { qobject_cast<QAbstractButton*>(panels_->control(id))->click(); }
    // Runs `work` on the next modal dialog once it shows, then closes it.
    template <typename Work>
    void onNextModal(Work work)
    {
        QTimer::singleShot(0, this, [work] {
            QWidget* w = QApplication::activeModalWidget();
            auto* dlg = qobject_cast<QDialog*>(w);
            if (!dlg) return;
            work(*dlg);
            dlg->accept();
        });
    }

private slots:
    void initTestCase()
    {
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        setClock(&clock_);
        setSoundPlayer(&player_);
        app_ = std::make_unique<CWinApp>();
        template_ = registerFlcTemplate(*app_);
    }
    void cleanupTestCase()
    {
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
        setClock(nullptr);
        setSoundPlayer(nullptr);
    }
    void init()
    {
        settings_.clear();
        dir_ = std::make_unique<QTemporaryDir>();
        panels_ = std::make_unique<CControlPanels>();
        setControlPanels(panels_.get());
        boxes_.clear();
        player_.calls.clear();
        player_.output = true;
    }
    void cleanup()
    {
        template_->CloseAllDocuments(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        panels_.reset();
    }

    void choosingWavAndAmbFilesFillsTheSoundList()
    {
        CFlcView* view = openUnit();
        QVERIFY(view && view->isSoundAllowed());
        const QString wav = file(QStringLiteral("Run.wav"), buildWav());
        dialogs_.pick(wav);
        click(IDC_SOUND_BROWSE);
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_SOUND_SELECT_TITLE));
        QCOMPARE(dialogs_.seen().back().filter, QString::fromUtf8(str::IDS_SOUND_FILTER));
        QCOMPARE(view->soundFile(), wav);
        QCOMPARE(view->soundList(), QStringList{wav});
        QCOMPARE(qobject_cast<QLineEdit*>(panels_->control(IDC_SOUND_FILE))->text(), wav);
        QCOMPARE(GetProfileString(QStringLiteral("Dlg Wav"), QStringLiteral("Last Opend")), wav);
        QVERIFY(boxes_.shown().empty());

        // A WAV whose header claims more data than the file holds is refused; nothing changes.
        const QString lying = file(QStringLiteral("Lying.wav"), buildWav(WavSpec().withDataSize(0x7FFFFFF0u)));
        dialogs_.pick(lying);
        view->chooseSoundFile();
        QCOMPARE(boxes_.shown().back().text, uFormatString(str::IDS_WAV_NOT_VALID, {lying.toStdString()}));
        QCOMPARE(view->soundFile(), wav);

        // An AMB file: its WAV names beside it, reported in the information dialog, which saves.
        const QString amb = file(QStringLiteral("Attack.amb"), buildAmb({"Swing", "Hit"}));
        const QString report = dir_->filePath(QStringLiteral("report.txt"));
        QString header, text;
        onNextModal([&](QDialog& dlg) {
            auto* info = qobject_cast<CInformationDlg*>(&dlg);
            QVERIFY(info);
            QCOMPARE(info->windowTitle(), QString::fromUtf8(str::IDS_AMB_CHECK_TITLE));
            header = info->header();
            text = info->text();
            dialogs_.pick(report);
            QVERIFY(info->Save());
        });
        dialogs_.pick(amb);
        view->chooseSoundFile();
        const QString folder = dir_->path() + QLatin1Char('/');
        const QStringList expected = {folder + QStringLiteral("Swing.wav"), folder + QStringLiteral("Hit.wav")};
        QCOMPARE(view->soundList(), expected);
        QCOMPARE(header, QString::fromUtf8(str::IDS_AMB_VALID));
        QCOMPARE(text, uFormatString(str::IDS_AMB_CONTENT, {amb.toStdString(), (expected.join(QStringLiteral("\r\n")) +
                                                                                 QStringLiteral("\r\n")).toStdString()}));
        Bytes saved;
        QVERIFY(readWholeFile(report.toStdString(), saved));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(saved.data()), int(saved.size())),
                 (header + QStringLiteral("\r\n\r\n") + text).toLocal8Bit());

        // An AMB file that fails its check: the file is kept, the list is empty, nothing plays.
        const QString bad = file(QStringLiteral("Bad.amb"), buildAmb({"x"}, "RIFF"));
        dialogs_.pick(bad);
        view->chooseSoundFile();
        QCOMPARE(boxes_.shown().back().text, uFormatString(str::IDS_AMB_NOT_VALID, {bad.toStdString()}));
        QCOMPARE(boxes_.shown().back().flags, unsigned(MB_ICONSTOP));
        QCOMPARE(view->soundFile(), bad);
        QVERIFY(view->soundList().isEmpty());
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QVERIFY(player_.plays().isEmpty());
    }

    void soundPlaysWithTheAnimationAndFromThePanel()
    {
        CFlcView* view = openUnit();
        QVERIFY(view);
        const QString wav = file(QStringLiteral("Run.wav"), buildWav());
        QVERIFY(view->SetSoundFile(wav));
        QVERIFY(panels_->isAutoplayChecked());
        for (int id : {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL, IDC_AUTOPLAY}) QVERIFY(enabled(id));

        // One WAV with Autoplay: it loops; Pause stops it, resuming starts it again.
        player_.calls.clear();
        view->play();
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Run.wav loop")});
        view->togglePause();
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));
        view->togglePause();
        QCOMPARE(player_.calls.back(), QStringLiteral("play Run.wav loop"));
        view->stop();
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));

        // Autoplay unchecked: stops; the panel's Play then plays once.
        click(IDC_AUTOPLAY);
        QVERIFY(!panels_->isAutoplayChecked());
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Run.wav once")});
        view->play();  // no Autoplay: the animation starts without its sound
        QCOMPARE(player_.plays().size(), 1);
        click(IDC_AUTOPLAY);

        // Several files play one after the other (a bad one skipped) while the play
        // controls are disabled.
        const QString amb = file(QStringLiteral("Walk.amb"), buildAmb({"Step1", "Broken", "Step2"}));
        file(QStringLiteral("Step1.wav"), buildWav());
        file(QStringLiteral("Broken.wav"), buildWav(WavSpec().withFormat(2)));
        file(QStringLiteral("Step2.wav"), buildWav());
        onNextModal([](QDialog&) {});
        QVERIFY(view->SetSoundFile(amb));
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Step1.wav once")});
        QVERIFY(view->isPlayingSoundList());
        for (int id : {IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}) QVERIFY(!enabled(id));
        QVERIFY(enabled(IDC_SOUND_DEL));
        view->SoundSequenceStep();
        QCOMPARE(player_.plays().back(), QStringLiteral("play Step2.wav once"));
        view->SoundSequenceStep();
        QVERIFY(!view->isPlayingSoundList());
        for (int id : {IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}) QVERIFY(enabled(id));

        // "&Del": no sound file, the sound stops, its buttons go off.
        click(IDC_SOUND_DEL);
        QVERIFY(view->soundFile().isEmpty());
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));
        for (int id : {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}) QVERIFY(!enabled(id));
        QVERIFY(enabled(IDC_SOUND_BROWSE));
    }

    void noAudioOutputDisablesPlayingAndLeaderHeadsHaveNoSound()
    {
        player_.output = false;
        CFlcView* view = openUnit();
        QVERIFY(view->SetSoundFile(file(QStringLiteral("Run.wav"), buildWav())));
        QVERIFY(!enabled(IDC_SOUND_PLAY));
        QCOMPARE(panels_->control(IDC_SOUND_PLAY)->toolTip(), QString::fromUtf8(str::IDS_SOUND_NO_OUTPUT));
        QVERIFY(enabled(IDC_SOUND_STOP) && enabled(IDC_SOUND_DEL));
        view->playSound();
        view->play();
        QVERIFY(player_.plays().isEmpty());
        QVERIFY(boxes_.shown().empty());

        // The real player on a computer without an audio output (as on CI): choosing and
        // playing neither fail nor wait. With an output it would sound, so it is left alone.
        setSoundPlayer(nullptr);
        if (!soundPlayer().hasOutput()) {
            dialogs_.pick(file(QStringLiteral("Real.wav"), buildWav()));
            click(IDC_SOUND_BROWSE);
            QVERIFY(view->soundFile().endsWith(QLatin1String("Real.wav")));
            view->playSound();
            view->stopSound();
            QVERIFY(!enabled(IDC_SOUND_PLAY));
        }
        setSoundPlayer(&player_);

        view->OnActivateView(false);
        CFlcView* head = openUnit(true);
        QVERIFY(head && head->isLoaded() && !head->isSoundAllowed());
        for (int id : {IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PLAY_SOUND, IDC_AUTOPLAY, IDC_SOUND_PLAY})
            QVERIFY(!enabled(id));
    }
};

QTEST_MAIN(ViewSoundTest)
#include "view_sound_test.moc"
