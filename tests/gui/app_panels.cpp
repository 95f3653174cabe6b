// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The control bar's panels: which controls are enabled, checked and what they show for a
// view in each state, what the controls call, the delay edit's clamp, and the panels'
// expanded states.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <set>

#include "app/control_panels.h"
#include "app_support.h"
#include "platform/ui/profile.h"
#include "platform/ui/rollup.h"

using namespace qv;

namespace {

// A view whose state the test sets directly; operations are recorded.
class FakeView : public IAnimationControl {
public:
    bool loaded = true, running = true, paused = false, leader = false, windBack = false, windForward = false;
    int directions = 8, dir = 0, mode = 1, delay = 100, speed = 55, number = 3, count = 10;
    bool civList = false, alphaOption = false, alpha = false, soundAllowed = false, paletteDialog = false;
    QString sound;
    QStringList calls;

    bool isLoaded() const override { return loaded; }
    bool isRunning() const override { return running; }
    bool isPaused() const override { return paused; }
    int directionCount() const override { return directions; }
    int direction() const override { return dir; }
    int delayMode() const override { return mode; }
    int customDelay() const override { return delay; }
    int fileSpeed() const override { return speed; }
    int frameNumber() const override { return number; }
    int frameCount() const override { return count; }
    bool isWindingBack() const override { return windBack; }
    bool isWindingForward() const override { return windForward; }
    bool isLeaderHead() const override { return leader; }
    bool hasCivilizationList() const override { return civList; }
    QStringList civilizationNames() const override
    {
        return civList ? QStringList{QStringLiteral("Default"), QStringLiteral("Red")} : QStringList{};
    }
    bool hasAlphaBlendOption() const override { return alphaOption; }
    bool isAlphaBlend() const override { return alpha; }
    bool isSoundAllowed() const override { return soundAllowed; }
    QString soundFile() const override { return sound; }
    bool hasPaletteDialog() const override { return paletteDialog; }

    void play() override { calls << QStringLiteral("play"); }
    void togglePause() override { calls << QStringLiteral("pause"); }
    void stop() override { calls << QStringLiteral("stop"); }
    void navigate(NavigateKind k) override { calls << QStringLiteral("nav%1").arg(k); }
    void toggleWindBack() override { calls << QStringLiteral("back"); }
    void toggleWindForward() override { calls << QStringLiteral("forward"); }
    void setDirection(int d) override
    {
        calls << QStringLiteral("dir%1").arg(d);
        dir = d;
    }
    void setDelayMode(int m) override
    {
        calls << QStringLiteral("mode%1").arg(m);
        mode = m;
    }
    void setCustomDelay(int ms) override
    {
        calls << QStringLiteral("delay%1").arg(ms);
        delay = ms;
    }
    void frameSliderReleased(int p) override { calls << QStringLiteral("slider%1").arg(p); }
    void showInfo() override { calls << QStringLiteral("info"); }
    void changed(unsigned what = kAllPanels) { notifyControlChanged(what); }
};

const int kAllIds[] = {IDC_DIR_NW,        IDC_DIR_N,      IDC_DIR_NE,         IDC_DIR_W,        IDC_DIR_ALL,
                       IDC_DIR_E,         IDC_DIR_SW,     IDC_DIR_S,          IDC_DIR_SE,       IDC_DELAY_DEFAULT,
                       IDC_DELAY_CUSTOM,  IDC_DELAY_SLIDER, IDC_DELAY_EDIT,   IDC_DELAY_SPIN,   IDC_DELAY_LABEL,
                       IDC_PLAY,          IDC_PAUSE,      IDC_STOP,           IDC_FIRST,        IDC_PREVIOUS,
                       IDC_NEXT,          IDC_LAST,       IDC_WIND_BACK,      IDC_WIND_FORWARD, IDC_FRAME_SLIDER,
                       IDC_FRAME_LABEL,   IDC_FRAME_NUMBER, IDC_FRAME_COUNT,  IDC_CIV_LIST,     IDC_ALPHA_BLEND,
                       IDC_SOUND_FILE,    IDC_SOUND_BROWSE, IDC_SOUND_DEL,    IDC_PLAY_SOUND,   IDC_AUTOPLAY,
                       IDC_SOUND_PLAY,    IDC_SOUND_STOP, IDC_INFO,           IDC_PALETTE};

}  // namespace

class PanelsTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;

    static std::set<int> enabledIds(const CControlPanels& p)
    {
        std::set<int> out;
        for (int id : kAllIds)
            if (p.control(id)->isEnabled()) out.insert(id);
        return out;
    }
    static bool checked(const CControlPanels& p, int id)
    {
        return qobject_cast<QAbstractButton*>(p.control(id))->isChecked();
    }
    static QString text(const CControlPanels& p, int id) { return qobject_cast<QLabel*>(p.control(id))->text(); }

private slots:
    void init() { settings_.clear(); }

    void everyControlExists()
    {
        CControlPanels p;
        for (int id : kAllIds) QVERIFY2(p.control(id), qPrintable(QString::number(id)));
        QCOMPARE(p.rollup()->GetPageCount(), kPanelCount);
        // Both sound checks start checked.
        QVERIFY(p.isPlaySoundChecked());
        QVERIFY(p.isAutoplayChecked());
    }

    void withoutALoadedViewEverythingIsDisabled()
    {
        CControlPanels p;
        QVERIFY(enabledIds(p).empty());
        QCOMPARE(text(p, IDC_FRAME_NUMBER), QStringLiteral("0"));
        FakeView v;
        v.loaded = false;
        v.soundAllowed = true;
        p.attach(&v);
        QVERIFY(enabledIds(p).empty());
        v.loaded = true;
        v.changed();
        QVERIFY(!enabledIds(p).empty());
        p.detach(&v);
        QVERIFY(enabledIds(p).empty());
        QVERIFY(!v.hasControlListener());
    }

    void runningViewEnablesPauseStopAndTheDelayRadios()
    {
        CControlPanels p;
        FakeView v;
        v.dir = 6;  // N
        p.attach(&v);
        const std::set<int> on = enabledIds(p);
        const std::set<int> expected = {IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_ALL, IDC_DIR_E,
                                        IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE,
                                        // Default mode: radios and label while running, no slider/edit/spin
                                        IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL,
                                        // Running: Pause and Stop only; the texts
                                        IDC_PAUSE, IDC_STOP, IDC_FRAME_LABEL, IDC_FRAME_NUMBER, IDC_FRAME_COUNT,
                                        IDC_INFO};
        QCOMPARE(on, expected);
        QVERIFY(checked(p, IDC_DIR_N));
        QVERIFY(!checked(p, IDC_DIR_ALL));
        QVERIFY(checked(p, IDC_DELAY_DEFAULT));
        QCOMPARE(text(p, IDC_FRAME_NUMBER), QStringLiteral("3"));
        QCOMPARE(text(p, IDC_FRAME_COUNT), QStringLiteral("10"));
        // "Default" plays at the file's speed, and the label shows it, not the custom delay.
        QCOMPARE(text(p, IDC_DELAY_LABEL), QStringLiteral("(55 ms)"));
        QCOMPARE(qobject_cast<QSlider*>(p.control(IDC_FRAME_SLIDER))->maximum(), 9);

        // Paused: stepping and the slider work; Play stays off.
        v.paused = true;
        v.changed();
        const std::set<int> paused = enabledIds(p);
        for (int id : {IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD, IDC_FRAME_SLIDER})
            QVERIFY2(paused.count(id), qPrintable(QString::number(id)));
        QVERIFY(!paused.count(IDC_PLAY));
    }

    void stoppedViewInCustomModeEnablesNavigationAndTheDelayEdit()
    {
        CControlPanels p;
        FakeView v;
        v.running = false;
        v.mode = 0;
        v.windForward = true;
        p.attach(&v);
        const std::set<int> on = enabledIds(p);
        for (int id : {IDC_PLAY, IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD,
                       IDC_FRAME_SLIDER, IDC_DELAY_SLIDER, IDC_DELAY_EDIT, IDC_DELAY_SPIN})
            QVERIFY2(on.count(id), qPrintable(QString::number(id)));
        for (int id : {IDC_PAUSE, IDC_STOP, IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL})
            QVERIFY2(!on.count(id), qPrintable(QString::number(id)));
        QVERIFY(checked(p, IDC_DELAY_CUSTOM));
        QVERIFY(checked(p, IDC_WIND_FORWARD));
        QVERIFY(!checked(p, IDC_WIND_BACK));

        // The frame slider moves the frame on keys and groove clicks, not only on release.
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_FRAME_SLIDER));
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(v.calls.last(), QStringLiteral("slider4"));
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(v.calls.last(), QStringLiteral("slider9"));
    }

    void fewerThanEightDirectionsLeaveOnlyAll()
    {
        CControlPanels p;
        FakeView v;
        v.directions = 4;
        p.attach(&v);
        const std::set<int> on = enabledIds(p);
        QVERIFY(on.count(IDC_DIR_ALL));
        for (int id : {IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_E, IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE})
            QVERIFY(!on.count(id));
        QVERIFY(checked(p, IDC_DIR_ALL));
    }

    void viewSoundAndExtraFollowWhatTheViewOffers()
    {
        CControlPanels p;
        FakeView v;
        v.civList = true;
        v.alphaOption = true;
        v.alpha = true;
        v.soundAllowed = true;
        v.paletteDialog = true;
        p.attach(&v);
        std::set<int> on = enabledIds(p);
        for (int id : {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PLAY_SOUND, IDC_AUTOPLAY,
                       IDC_INFO, IDC_PALETTE})
            QVERIFY2(on.count(id), qPrintable(QString::number(id)));
        // No sound file: its three buttons stay off.
        for (int id : {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}) QVERIFY(!on.count(id));
        QVERIFY(checked(p, IDC_ALPHA_BLEND));
        QCOMPARE(qobject_cast<QComboBox*>(p.control(IDC_CIV_LIST))->count(), 2);

        v.sound = QStringLiteral("/snd/attack.wav");
        v.changed(IAnimationControl::kSound);
        on = enabledIds(p);
        for (int id : {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}) QVERIFY(on.count(id));
        QCOMPARE(qobject_cast<QLineEdit*>(p.control(IDC_SOUND_FILE))->text(), v.sound);

        // A leader head (a plain FLC) has no civilization colours, blending or sound choice.
        v.leader = true;
        v.soundAllowed = false;
        v.changed();
        on = enabledIds(p);
        for (int id : {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_PLAY, IDC_AUTOPLAY})
            QVERIFY(!on.count(id));
        QVERIFY(on.count(IDC_INFO));

        // Until the features exist the view offers none of them: all disabled.
        FakeView plain;
        p.attach(&plain);
        on = enabledIds(p);
        for (int id : {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PALETTE})
            QVERIFY(!on.count(id));
    }

    void controlsCallTheAttachedView()
    {
        CControlPanels p;
        FakeView v;
        v.running = false;
        p.attach(&v);
        qobject_cast<QAbstractButton*>(p.control(IDC_DIR_SE))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_DIR_W))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_PLAY))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_PREVIOUS))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_LAST))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_WIND_BACK))->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("dir3"), QStringLiteral("dir8"), QStringLiteral("play"),
                                       QStringLiteral("nav1"), QStringLiteral("nav3"), QStringLiteral("back")}));
        QVERIFY(checked(p, IDC_DIR_W));
        v.calls.clear();
        v.running = true;
        v.changed();
        qobject_cast<QAbstractButton*>(p.control(IDC_DELAY_CUSTOM))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_PAUSE))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_STOP))->click();
        qobject_cast<QAbstractButton*>(p.control(IDC_INFO))->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("mode0"), QStringLiteral("pause"), QStringLiteral("stop"),
                                       QStringLiteral("info")}));
    }

    void delayEditTakesTypedValuesAndClampsWhenEditingEnds()
    {
        QCOMPARE(CControlPanels::clampDelayText(QStringLiteral("1\u00A0000")), 1000);
        QCOMPARE(CControlPanels::clampDelayText(QString()), 10);

        CControlPanels p;
        FakeView v;
        v.mode = 0;
        p.attach(&v);
        auto* edit = qobject_cast<QLineEdit*>(p.control(IDC_DELAY_EDIT));
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_DELAY_SLIDER));
        // Typed values pass through values below 10 without being rewritten.
        struct Case {
            const char* typed;
            int delay;
            const char* shown;
        };
        for (const Case c : {Case{"25", 25, "25"}, Case{"300", 300, "300"}, Case{"5", 10, "10"},
                             Case{"2000", 1000, "1000"}}) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            emit edit->editingFinished();
            QCOMPARE(v.delay, c.delay);
            QCOMPARE(edit->text(), QString::fromLatin1(c.shown));
            QCOMPARE(slider->value(), c.delay);
        }
        QCOMPARE(text(p, IDC_DELAY_LABEL), QStringLiteral("(1000 ms)"));
    }

    void expandedStatesAreKept()
    {
        WriteProfileInt(QStringLiteral("DlgBar"), QStringLiteral("Anim"), 1);
        {
            CControlPanels p;
            QVERIFY(!p.rollup()->IsPageExpanded(kPanelDirection));
            QVERIFY(p.rollup()->IsPageExpanded(kPanelAnimation));
            p.rollup()->ExpandPage(kPanelSound, true);
            p.rollup()->ExpandPage(kPanelAnimation, false);
            p.SaveExpandedStates();
        }
        QCOMPARE(GetProfileInt(QStringLiteral("DlgBar"), QStringLiteral("Sound"), -1), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("DlgBar"), QStringLiteral("Anim"), -1), 0);
        QCOMPARE(GetProfileInt(QStringLiteral("DlgBar"), QStringLiteral("Direct"), -1), 0);
    }
};

QTEST_MAIN(PanelsTest)
#include "app_panels.moc"
