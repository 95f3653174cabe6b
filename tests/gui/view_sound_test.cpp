// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The sound preview of a unit animation: choosing WAV and AMB files (and refusing bad
// ones), the AMB report and its Save, playing with the animation and from the Sound
// panel through a recording player, the panel's enable rules, and a computer without
// an audio output.
#include <QAbstractButton>
#include <QLineEdit>

#include "app/control_panels.h"
#include "gui_harness.h"
#include "platform/ui/utils.h"
#include "support/unit_builder.h"
#include "view/information_dlg.h"
#include "view/sound_player.h"

using namespace qv;
using namespace qv::test;

namespace {

class RecordingPlayer : public ISoundPlayer {
public:
    bool output = true;
    QStringList calls;  // "play NAME loop", "play NAME once", "stop"
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

class ViewSoundTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
    RecordingPlayer player_;
    std::unique_ptr<CControlPanels> panels_;

    CFlcView* openUnit(bool leaderHead = false)
    {
        CFlcView* view = openAnimation(qvtest::shape(24, 16, 2, leaderHead));
        if (view) view->OnActivateView(true);
        return view;
    }
    bool enabled(int id) const { return panels_->control(id)->isEnabled(); }
    bool allEnabled(std::initializer_list<int> ids, bool on) const
    {
        return std::all_of(ids.begin(), ids.end(), [&](int id) { return enabled(id) == on; });
    }
    void click(int id) const { qobject_cast<QAbstractButton*>(panels_->control(id))->click(); }

private slots:
    void initTestCase()
    {
        startGui("QuorvaneViewSoundTest");
        setSoundPlayer(&player_);
    }
    void cleanupTestCase()
    {
        stopGui();
        setSoundPlayer(nullptr);
    }
    void init()
    {
        resetGui({"Options", "Dlg Wav"});
        panels_ = std::make_unique<CControlPanels>();
        setControlPanels(panels_.get());
        player_.calls.clear();
        player_.output = true;
    }
    void cleanup()
    {
        closeGui();
        setControlPanels(nullptr);
        panels_.reset();
    }

    void choosingWavAndAmbFilesFillsTheSoundList()
    {
        CFlcView* view = openUnit();
        QVERIFY(view && view->isSoundAllowed());
        const QString wav = writeFile(QStringLiteral("Run.wav"), buildWav());
        dialogs_.pick(wav);
        click(IDC_SOUND_BROWSE);
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_SOUND_SELECT_TITLE));
        QCOMPARE(dialogs_.seen().back().filter, QString::fromUtf8(str::IDS_SOUND_FILTER));
        QCOMPARE(view->soundList(), QStringList{wav});
        QCOMPARE(qobject_cast<QLineEdit*>(panels_->control(IDC_SOUND_FILE))->text(), wav);
        QCOMPARE(GetProfileString(QStringLiteral("Dlg Wav"), QStringLiteral("Last Opend")), wav);
        QVERIFY(messages().isEmpty());

        // A WAV whose header claims more data than the file holds is refused; nothing changes.
        const QString lying = writeFile(QStringLiteral("Lying.wav"), buildWav(WavShape().withDataSize(0x7FFFFFF0u)));
        dialogs_.pick(lying);
        view->chooseSoundFile();
        QCOMPARE(messages(), QStringList{uFormatString(str::IDS_WAV_NOT_VALID, {lying.toStdString()})});
        QCOMPARE(view->soundFile(), wav);

        // An AMB file: its WAV names beside it, reported in the information dialog, which saves.
        const QString amb = writeFile(QStringLiteral("Attack.amb"), buildAmb({"Swing", "Hit"}));
        const QString report = path(QStringLiteral("report.txt"));
        QString header, text;
        whenShown<CInformationDlg>([&](CInformationDlg* info) {
            QCOMPARE(info->windowTitle(), QString::fromUtf8(str::IDS_AMB_CHECK_TITLE));
            header = info->header();
            text = info->text();
            dialogs_.pick(report);
            QVERIFY(info->Save());
            info->accept();
        });
        dialogs_.pick(amb);
        view->chooseSoundFile();
        const QStringList expected = {path(QStringLiteral("Swing.wav")), path(QStringLiteral("Hit.wav"))};
        QCOMPARE(view->soundList(), expected);
        QCOMPARE(header, QString::fromUtf8(str::IDS_AMB_VALID));
        const QString names = expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QCOMPARE(text, uFormatString(str::IDS_AMB_CONTENT, {amb.toStdString(), names.toStdString()}));
        QFile saved(report);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), (header + QStringLiteral("\r\n\r\n") + text).toLocal8Bit());

        // An AMB file that fails its check: the file is kept, the list is empty, nothing plays.
        const QString bad = writeFile(QStringLiteral("Bad.amb"), buildAmb({"x"}, "RIFF"));
        boxes_.clear();
        dialogs_.pick(bad);
        view->chooseSoundFile();
        QCOMPARE(messages(), QStringList{uFormatString(str::IDS_AMB_NOT_VALID, {bad.toStdString()})});
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
        QVERIFY(view && view->SetSoundFile(writeFile(QStringLiteral("Run.wav"), buildWav())));
        QVERIFY(panels_->isAutoplayChecked());
        QVERIFY(allEnabled({IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL, IDC_AUTOPLAY}, true));

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

        // Autoplay unchecked: the panel's Play plays once, the animation starts without its sound.
        click(IDC_AUTOPLAY);
        QVERIFY(!panels_->isAutoplayChecked());
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        view->play();
        QCOMPARE(player_.plays(), QStringList{QStringLiteral("play Run.wav once")});
        click(IDC_AUTOPLAY);

        // Several files play one after the other (a bad one skipped) while the play
        // controls are disabled.
        const QString amb = writeFile(QStringLiteral("Walk.amb"), buildAmb({"Step1", "Broken", "Step2"}));
        writeFile(QStringLiteral("Step1.wav"), buildWav());
        writeFile(QStringLiteral("Broken.wav"), buildWav(WavShape().withFormat(2)));
        writeFile(QStringLiteral("Step2.wav"), buildWav());
        whenShown<CInformationDlg>([](CInformationDlg* info) { info->accept(); });
        QVERIFY(view->SetSoundFile(amb));
        player_.calls.clear();
        click(IDC_SOUND_PLAY);
        QVERIFY(view->isPlayingSoundList());
        QVERIFY(allEnabled({IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}, false) && enabled(IDC_SOUND_DEL));
        view->SoundSequenceStep();
        view->SoundSequenceStep();
        QCOMPARE(player_.plays(), (QStringList{QStringLiteral("play Step1.wav once"), QStringLiteral("play Step2.wav once")}));
        QVERIFY(!view->isPlayingSoundList());
        QVERIFY(allEnabled({IDC_AUTOPLAY, IDC_SOUND_PLAY, IDC_SOUND_STOP}, true));

        // "&Del": no sound file, the sound stops, its buttons go off.
        click(IDC_SOUND_DEL);
        QVERIFY(view->soundFile().isEmpty());
        QCOMPARE(player_.calls.back(), QStringLiteral("stop"));
        QVERIFY(allEnabled({IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}, false) && enabled(IDC_SOUND_BROWSE));
    }

    void noAudioOutputDisablesPlayingAndLeaderHeadsHaveNoSound()
    {
        player_.output = false;
        CFlcView* view = openUnit();
        QVERIFY(view->SetSoundFile(writeFile(QStringLiteral("Run.wav"), buildWav())));
        QVERIFY(!enabled(IDC_SOUND_PLAY) && enabled(IDC_SOUND_STOP) && enabled(IDC_SOUND_DEL));
        QCOMPARE(panels_->control(IDC_SOUND_PLAY)->toolTip(), QString::fromUtf8(str::IDS_SOUND_NO_OUTPUT));
        view->playSound();
        view->play();
        QVERIFY(player_.plays().isEmpty());
        QVERIFY(messages().isEmpty());

        // The real player on a computer without an audio output (as on CI): choosing and
        // playing neither fail nor wait. With an output it would sound, so it is left alone.
        setSoundPlayer(nullptr);
        if (!soundPlayer().hasOutput()) {
            dialogs_.pick(writeFile(QStringLiteral("Real.wav"), buildWav()));
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
        QVERIFY(allEnabled({IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PLAY_SOUND, IDC_AUTOPLAY, IDC_SOUND_PLAY}, false));
    }
};

QTEST_MAIN(ViewSoundTest)
#include "view_sound_test.moc"
