// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The playback state machine driven by a hand-moved clock: frame timing in both delay
// modes, the cap on late ticks, navigation and winding limits, directions and the drawn flag.
// The view's tests check the commands' enabled states and a file of fewer directions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "core/playback.h"

using namespace qv;

namespace {

struct RecordingHost : PlaybackHost {
    std::vector<uint32_t> timerPeriods;
    void restartRenderTimer(uint32_t ms) override { timerPeriods.push_back(ms); }
};

class PlaybackTest : public ::testing::Test {
protected:
    uint32_t now = 1000;
    RecordingHost host;
    Playback pb{[this] { return now; }, &host};

    // Loads an animation the way the view does at the end of a successful load.
    void load(uint8_t directions, uint16_t framesPerDirection, uint32_t speed, uint32_t savedDirection = 0)
    {
        pb.setAnimation(directions, framesPerDirection, static_cast<uint16_t>(directions * framesPerDirection), speed);
        pb.setDirectionRaw(directions == 8 ? savedDirection : 0);
        pb.setFrameRange();
        pb.setLoaded(true);
        pb.startPlayback();
    }
    // One render tick `ms` after the previous one; returns whether it composed.
    bool tick(uint32_t ms)
    {
        now += ms;
        bool compose = false;
        EXPECT_TRUE(pb.renderTick(compose));
        if (compose) pb.beginDrawFrame();
        return compose;
    }
    // Winds until the timer stops; returns the steps taken.
    int windToLimit()
    {
        int steps = 0;
        for (; pb.windTimerOn() && steps < 20; ++steps) pb.windTick();
        return steps;
    }
};

TEST_F(PlaybackTest, DefaultModeShowsEachFrameForTheFileSpeedWithoutDrift)
{
    // Ticks come at the timer's period, each up to 3 ms late (as a precise timer keeps its
    // cadence); after 100 frames the clock is within half a tick of 100 x speed.
    const std::pair<uint32_t, uint32_t> speedsAndPeriods[] = {{10, 10}, {55, 28}, {100, 50}, {120, 40}, {1000, 50}};
    for (const auto& [speed, period] : speedsAndPeriods) {
        SCOPED_TRACE(speed);
        load(1, 250, speed);
        EXPECT_EQ(host.timerPeriods.back(), period);
        const uint32_t start = now;
        uint32_t scheduled = now, shown = 0;
        while (pb.current() < 100 && now - start < 200000) {
            scheduled += period;
            const uint32_t late = (scheduled * 7) % 4;
            tick(scheduled + late - now);
            if (pb.current() > shown) {
                EXPECT_EQ(pb.current(), shown + 1);  // no frame is skipped
                shown = pb.current();
                const int due = static_cast<int>(shown * speed);
                EXPECT_LE(std::abs(static_cast<int>(now - start) - due), static_cast<int>(period / 2 + 4));
            }
        }
        EXPECT_EQ(pb.current(), 100);
    }
}

TEST_F(PlaybackTest, LateTicksAreCappedPauseFreezesTimeAndStopAndPlayResetTheRange)
{
    load(1, 10, 120);  // ticks every 40 ms
    tick(900);
    EXPECT_EQ(pb.current(), 2);  // the frames of 250 ms, not of 900
    EXPECT_FLOAT_EQ(pb.countdown(), 110.0f);
    tick(90);  // 20 ms left: due at this tick
    EXPECT_EQ(pb.current(), 3);
    // Time spent paused is not a late tick.
    pb.togglePause();
    tick(5000);
    pb.togglePause();
    tick(40);
    EXPECT_FLOAT_EQ(pb.elapsed(), 0.04f);

    load(8, 3, 10, 2);  // direction S: frames 3..5, wrapping within them
    tick(10), tick(10), tick(10);
    EXPECT_EQ(pb.current(), 3);
    pb.setCustomDelay(300);
    pb.setDelayMode(kDelayCustom);
    EXPECT_EQ(host.timerPeriods.back(), 300u);
    tick(1);  // the timer period is the delay: any tick is a frame
    EXPECT_EQ(pb.current(), 4);
    // Stop returns to the file's own speed and to the range's first frame.
    pb.stop();
    EXPECT_EQ(host.timerPeriods.back(), 10u);
    EXPECT_EQ(pb.current(), 3);
    tick(50);
    EXPECT_EQ(pb.current(), 3);

    // Pause freezes time but lets the user step; Play restarts at the range's start.
    load(1, 10, 10);
    tick(10), tick(10), tick(10);
    EXPECT_TRUE(pb.togglePause());
    tick(10), tick(10);
    EXPECT_EQ(pb.current(), 3);
    // Stepping works while paused.
    const AnimationButtonState s = pb.buttonState();
    EXPECT_TRUE(s.next && s.previous && s.first && s.last && s.slider && s.forward);
    EXPECT_FALSE(s.play);
    pb.navigate(NavigateKind::Next);
    EXPECT_TRUE(tick(10));
    EXPECT_EQ(pb.lastDrawn(), 4);
    // The same in custom mode: a paused view does not step.
    pb.setCustomDelay(100);
    pb.setDelayMode(kDelayCustom);
    tick(100), tick(100);
    EXPECT_EQ(pb.current(), 4);
    EXPECT_FALSE(pb.togglePause());
    tick(100);
    EXPECT_EQ(pb.current(), 5);
    // Play from the middle of a paused range restarts at its first frame.
    pb.togglePause();
    pb.play();
    EXPECT_FALSE(pb.paused());
    EXPECT_EQ(pb.current(), 0);
    EXPECT_EQ(pb.customDelay(), 100u);  // a set custom delay is kept
}

TEST_F(PlaybackTest, StillViewComposesOnceMoreAfterAChangeAndAnEmptyViewNever)
{
    bool compose = true;
    EXPECT_FALSE(pb.renderTick(compose));
    EXPECT_FALSE(compose);
    const AnimationButtonState empty = pb.buttonState();
    EXPECT_FALSE(empty.play || empty.stop || empty.slider || empty.frameTexts);
    EXPECT_EQ(pb.setDirection(3), 0u);

    load(1, 10, 10);
    EXPECT_TRUE(tick(50));  // running: every tick composes
    EXPECT_TRUE(tick(50));
    pb.stop();
    pb.requestRedraw();
    for (const bool composes : {true, true, false, false}) EXPECT_EQ(tick(50), composes);
    pb.navigate(NavigateKind::Next);
    for (const bool composes : {true, true, false}) EXPECT_EQ(tick(50), composes);
    EXPECT_EQ(pb.lastDrawn(), 1);
    pb.sliderReleased(7);  // releasing the slider redraws at the chosen frame
    EXPECT_TRUE(tick(50));
    EXPECT_EQ(pb.lastDrawn(), 7);

    // Unloading empties the view again.
    pb.setCustomDelay(200);
    pb.unload();
    EXPECT_FALSE(pb.running());
    EXPECT_EQ(pb.customDelay(), 0u);
    EXPECT_EQ(pb.frameNumberText(), "0");
    EXPECT_FALSE(pb.renderTick(compose));
}

TEST_F(PlaybackTest, NavigationDirectionsAndWindingStayOnTheRangesOwnFrames)
{
    load(8, 4, 100, 1);
    pb.stop();
    // Next and Last stop at the direction's last frame, never the next direction's first.
    for (int i = 0; i < 10; ++i) pb.navigate(NavigateKind::Next);
    EXPECT_EQ(pb.current(), 3);
    EXPECT_EQ(pb.frameNumberText(), "3");
    EXPECT_EQ(pb.setDirection(2), 2u);
    pb.navigate(NavigateKind::Last);
    EXPECT_EQ(pb.beginDrawFrame(), 7);
    pb.navigate(NavigateKind::First);
    EXPECT_EQ(pb.current(), 4);

    // The slider covers the range's frames; positions past them are kept inside.
    pb.setDirection(0);
    EXPECT_EQ(pb.sliderMaximum(), 31);
    EXPECT_EQ(pb.frameCountText(), "32");
    pb.beginDrawFrame(), pb.beginDrawFrame();
    ASSERT_TRUE(pb.drawn());
    pb.sliderDragged(5);
    EXPECT_EQ(pb.current(), 5);
    EXPECT_FALSE(pb.drawn());  // dragging shows each frame live, at the next tick
    pb.sliderReleased(99);
    EXPECT_EQ(pb.current(), 31);

    // Winding steps to the range's limits, only in the active view.
    load(8, 5, 100, 3);
    pb.stop();
    pb.toggleWind(true);
    EXPECT_FALSE(pb.windTimerOn());  // an inactive view ignores the buttons
    pb.setActive(true);
    pb.toggleWind(true);
    EXPECT_EQ(windToLimit(), 4);
    EXPECT_EQ(pb.current(), pb.end() - 1);
    EXPECT_FALSE(pb.windForward());
    pb.toggleWind(false);
    EXPECT_EQ(windToLimit(), 4);
    EXPECT_EQ(pb.current(), pb.first());
    EXPECT_FALSE(pb.windBack());
    // Toggling again ends winding.
    pb.toggleWind(true);
    pb.toggleWind(true);
    EXPECT_FALSE(pb.windTimerOn());
}

}  // namespace
