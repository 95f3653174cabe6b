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
#include <QtTest>
#include <set>

#include "app/control_panels.h"
#include "app_support.h"
#include "platform/ui/rollup.h"

using namespace qv;
using qvtest::FakeAnimation;

namespace {

const int kAllIds[] = {IDC_DIR_NW,       IDC_DIR_N,        IDC_DIR_NE,      IDC_DIR_W,        IDC_DIR_ALL,
                       IDC_DIR_E,        IDC_DIR_SW,       IDC_DIR_S,       IDC_DIR_SE,       IDC_DELAY_DEFAULT,
                       IDC_DELAY_CUSTOM, IDC_DELAY_SLIDER, IDC_DELAY_EDIT,  IDC_DELAY_SPIN,   IDC_DELAY_LABEL,
                       IDC_PLAY,         IDC_PAUSE,        IDC_STOP,        IDC_FIRST,        IDC_PREVIOUS,
                       IDC_NEXT,         IDC_LAST,         IDC_WIND_BACK,   IDC_WIND_FORWARD, IDC_FRAME_SLIDER,
                       IDC_FRAME_LABEL,  IDC_FRAME_NUMBER, IDC_FRAME_COUNT, IDC_CIV_LIST,     IDC_ALPHA_BLEND,
                       IDC_SOUND_FILE,   IDC_SOUND_BROWSE, IDC_SOUND_DEL,   IDC_PLAY_SOUND,   IDC_AUTOPLAY,
                       IDC_SOUND_PLAY,   IDC_SOUND_STOP,   IDC_INFO,        IDC_PALETTE};

std::set<int> enabledIds(const CControlPanels& p)
{
    std::set<int> out;
    for (int id : kAllIds)
        if (p.control(id)->isEnabled()) out.insert(id);
    return out;
}

// Each of `on` is enabled and each of `off` is not.
void expectEnabled(const CControlPanels& p, std::initializer_list<int> on, std::initializer_list<int> off)
{
    const std::set<int> enabled = enabledIds(p);
    for (int id : on) QVERIFY2(enabled.count(id), qPrintable(QStringLiteral("%1 is disabled").arg(id)));
    for (int id : off) QVERIFY2(!enabled.count(id), qPrintable(QStringLiteral("%1 is enabled").arg(id)));
}

QAbstractButton* button(const CControlPanels& p, int id)
{
    return qobject_cast<QAbstractButton*>(p.control(id));
}
bool checked(const CControlPanels& p, int id)
{
    return button(p, id)->isChecked();
}
QString text(const CControlPanels& p, int id)
{
    return qobject_cast<QLabel*>(p.control(id))->text();
}

}  // namespace

class PanelsTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;

private slots:
    void init() { settings_.clear(); }

    void withoutALoadedViewEverythingIsDisabled()
    {
        CControlPanels p;
        for (int id : kAllIds) QVERIFY2(p.control(id), qPrintable(QString::number(id)));
        QVERIFY(enabledIds(p).empty());
        QCOMPARE(text(p, IDC_FRAME_NUMBER), QStringLiteral("0"));
        // Both sound checks start checked.
        QVERIFY(p.isPlaySoundChecked());
        QVERIFY(p.isAutoplayChecked());
        FakeAnimation v;
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

    void runningPausedAndStoppedViewsEnableTheirControls()
    {
        CControlPanels p;
        FakeAnimation v;
        v.dir = 6;  // N
        p.attach(&v);
        const std::set<int> expected = {
            IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_ALL, IDC_DIR_E, IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE,
            // Default mode: radios and label while running, no slider/edit/spin
            IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL,
            // Running: Pause and Stop only; the texts
            IDC_PAUSE, IDC_STOP, IDC_FRAME_LABEL, IDC_FRAME_NUMBER, IDC_FRAME_COUNT, IDC_INFO};
        QCOMPARE(enabledIds(p), expected);
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
        expectEnabled(p,
                      {IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD, IDC_FRAME_SLIDER},
                      {IDC_PLAY});

        // Stopped in custom mode: navigation and the delay edit.
        v.paused = false;
        v.running = false;
        v.mode = 0;
        v.windForward = true;
        v.changed();
        expectEnabled(p,
                      {IDC_PLAY, IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD,
                       IDC_FRAME_SLIDER, IDC_DELAY_SLIDER, IDC_DELAY_EDIT, IDC_DELAY_SPIN},
                      {IDC_PAUSE, IDC_STOP, IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL});
        QVERIFY(checked(p, IDC_DELAY_CUSTOM));
        QVERIFY(checked(p, IDC_WIND_FORWARD));
        QVERIFY(!checked(p, IDC_WIND_BACK));
        // The frame slider moves the frame on keys and groove clicks, not only on release.
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_FRAME_SLIDER));
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(v.calls.last(), QStringLiteral("slider4"));
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(v.calls.last(), QStringLiteral("slider9"));

        // Fewer than eight directions leave only All.
        v.directions = 4;
        v.dir = 0;
        v.changed();
        expectEnabled(p, {IDC_DIR_ALL},
                      {IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_E, IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE});
        QVERIFY(checked(p, IDC_DIR_ALL));
    }

    void viewSoundAndExtraFollowWhatTheViewOffers()
    {
        CControlPanels p;
        FakeAnimation v;
        v.civList = true;
        v.alphaOption = true;
        v.alpha = true;
        v.soundAllowed = true;
        v.paletteDialog = true;
        p.attach(&v);
        // No sound file: its three buttons stay off.
        expectEnabled(p,
                      {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PLAY_SOUND, IDC_AUTOPLAY,
                       IDC_INFO, IDC_PALETTE},
                      {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL});
        QVERIFY(checked(p, IDC_ALPHA_BLEND));
        QCOMPARE(qobject_cast<QComboBox*>(p.control(IDC_CIV_LIST))->count(), 2);

        v.sound = QStringLiteral("/snd/attack.wav");
        v.changed(IAnimationControl::kSound);
        expectEnabled(p, {IDC_SOUND_PLAY, IDC_SOUND_STOP, IDC_SOUND_DEL}, {});
        QCOMPARE(qobject_cast<QLineEdit*>(p.control(IDC_SOUND_FILE))->text(), v.sound);

        // A leader head (a plain FLC) has no civilization colours, blending or sound choice.
        v.leader = true;
        v.soundAllowed = false;
        v.changed();
        expectEnabled(p, {IDC_INFO}, {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_PLAY, IDC_AUTOPLAY});

        // A view that offers none of them: all disabled.
        FakeAnimation plain;
        p.attach(&plain);
        expectEnabled(p, {}, {IDC_CIV_LIST, IDC_ALPHA_BLEND, IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_PALETTE});
    }

    void controlsCallTheAttachedView()
    {
        CControlPanels p;
        FakeAnimation v;
        v.running = false;
        p.attach(&v);
        for (int id : {IDC_DIR_SE, IDC_DIR_W, IDC_PLAY, IDC_PREVIOUS, IDC_LAST, IDC_WIND_BACK}) button(p, id)->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("dir3"), QStringLiteral("dir8"), QStringLiteral("play"),
                                       QStringLiteral("nav1"), QStringLiteral("nav3"), QStringLiteral("back")}));
        QVERIFY(checked(p, IDC_DIR_W));
        v.calls.clear();
        v.running = true;
        v.changed();
        for (int id : {IDC_DELAY_CUSTOM, IDC_PAUSE, IDC_STOP, IDC_INFO}) button(p, id)->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("mode0"), QStringLiteral("pause"), QStringLiteral("stop"),
                                       QStringLiteral("info")}));
    }

    void delayEditTakesTypedValuesAndClampsWhenEditingEnds()
    {
        QCOMPARE(CControlPanels::clampDelayText(QStringLiteral("1\u00A0000")), 1000);
        QCOMPARE(CControlPanels::clampDelayText(QString()), 10);

        CControlPanels p;
        FakeAnimation v;
        v.mode = 0;
        p.attach(&v);
        auto* edit = qobject_cast<QLineEdit*>(p.control(IDC_DELAY_EDIT));
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_DELAY_SLIDER));
        // Typed values pass through values below 10 without being rewritten.
        struct Case {
            const char* typed;
            int delay;
        };
        for (const Case c : {Case{"25", 25}, Case{"300", 300}, Case{"5", 10}, Case{"2000", 1000}}) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            emit edit->editingFinished();
            QCOMPARE(v.delay, c.delay);
            QCOMPARE(edit->text(), QString::number(c.delay));
            QCOMPARE(slider->value(), c.delay);
        }
        QCOMPARE(text(p, IDC_DELAY_LABEL), QStringLiteral("(1000 ms)"));
    }

    void expandedStatesAreKept()
    {
        WriteProfileInt("DlgBar", "Anim", 1);
        {
            CControlPanels p;
            QVERIFY(!p.rollup()->IsPageExpanded(kPanelDirection));
            QVERIFY(p.rollup()->IsPageExpanded(kPanelAnimation));
            p.rollup()->ExpandPage(kPanelSound, true);
            p.rollup()->ExpandPage(kPanelAnimation, false);
            p.SaveExpandedStates();
        }
        QCOMPARE(GetProfileInt("DlgBar", "Sound", -1), 1);
        QCOMPARE(GetProfileInt("DlgBar", "Anim", -1), 0);
        QCOMPARE(GetProfileInt("DlgBar", "Direct", -1), 0);
    }
};

QTEST_MAIN(PanelsTest)
#include "app_panels.moc"
