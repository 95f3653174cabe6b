// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The playback state machine of an animation view: frame ranges per direction, the two
// delay modes, render ticks with their cap on late ticks, frame stepping and winding, and
// the drawn flag that lets a still view stop redrawing.
//
// In "Default" mode each frame is shown for the file's speed. Timer 1 then runs at the
// speed divided into equal steps of at most 50 ms (a 55 ms file ticks every 28 ms), the
// time of each tick is measured on the clock, and a frame is shown at the tick nearest to
// its due time; the time by which a tick overshoots (or undershoots) is carried into the
// next frame, so a long run keeps in step with the clock. It knows nothing of windows: the
// clock is injected and everything a window must do (timers, panel texts, sound) goes
// to a PlaybackHost, so the whole machine runs in unit tests without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

// Milliseconds since some fixed start, wrapping at 2^32 like the system tick count.
using TickSource = std::function<uint32_t()>;

// What the playback machine asks of the window that shows it. Every hook has an empty
// default so a host only overrides what it needs.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;
    // Timer 1 (render): kill it and set it again with this period in milliseconds.
    virtual void restartRenderTimer(uint32_t /*periodMs*/) {}
    virtual void killRenderTimer() {}
    // Timer 2 (winding), fixed period kWindPeriodMs.
    virtual void startWindTimer() {}
    virtual void killWindTimer() {}
    // The frame number or count changed: refresh the frame texts.
    virtual void frameCounterChanged() {}
    // The slider's range or position may have changed (the host refreshes the slider
    // only while its view is the active one).
    virtual void frameSliderChanged() {}
    // The next tick composes the frame again; an active view refreshes its panels.
    virtual void redrawRequested() {}
    // The winding flags (the "<<" and ">>" check states) changed.
    virtual void windFlagsChanged() {}
    virtual void stopSound() {}
};

// How Navigate moves the current frame.
enum class NavigateKind { First, Previous, Next, Last };

// Delay modes: the file's own speed ("Default") or the user's delay ("Custom").
enum DelayMode : int { kDelayCustom = 0, kDelayDefault = 1 };

constexpr uint32_t kDefaultTickMs = 50;      // longest timer 1 period in "Default" mode
constexpr uint32_t kWindPeriodMs = 100;      // timer 2 period
constexpr uint32_t kMinTimerMs = 10;         // shortest period a window timer runs at
constexpr uint16_t kNoFrameDrawn = 301;      // "last drawn" when nothing was drawn yet
constexpr uint32_t kMinCustomDelay = 10;     // the delay panel's limits
constexpr uint32_t kMaxCustomDelay = 1000;

// Direction codes of the nine direction commands, in command id order
// (SW, W, NW, N, NE, E, SE, All, S).
constexpr int kDirectionCommandCodes[9] = {1, 8, 7, 6, 5, 4, 3, 0, 2};

// What the Animation panel enables, derived from the playback state.
struct AnimationButtonState {
    bool play = false, pause = false, stop = false;
    bool first = false, back = false, previous = false, next = false, forward = false, last = false;
    bool slider = false;
    bool frameTexts = false;
};

class Playback {
public:
    explicit Playback(TickSource clock, PlaybackHost* host = nullptr);

    void setHost(PlaybackHost* host) { host_ = host; }

    // --- the loaded animation ------------------------------------------------------
    // Takes the animation's shape after a successful load; `speed` is the header's
    // frame delay (already 10 when the file said 0). Does not start playback.
    void setAnimation(uint8_t directions, uint16_t framesPerDirection, uint16_t totalFrames, uint32_t speed);
    // Marks frames and surfaces as present (after the rest of the load succeeded).
    void setLoaded(bool loaded) { loaded_ = loaded; }
    // The playback side of unloading: timer 1 killed, playback stopped, everything
    // reset to empty (custom delay and frames per direction 0, not active).
    void unload();

    // --- commands ------------------------------------------------------------------
    // Play: restarts at the range's first frame.
    void play();
    // Pause: toggles the paused flag. Returns the new state.
    bool togglePause();
    // Stop: back to "Default" mode, range reset, not running.
    void stop();
    void navigate(NavigateKind kind);
    // Back (forward = false) and Forward winding buttons.
    void toggleWind(bool forward);
    // One step of timer 2.
    void windTick();
    void stopWind();
    // Returns the direction now in force (0 when the file has fewer than 8 directions).
    uint32_t setDirection(uint32_t code);
    void setDelayMode(int mode);
    void setCustomDelay(uint32_t ms);
    // The frame slider released at (or dragged to) position p of the current range; both
    // show that frame at the next tick.
    void sliderReleased(int position);
    void sliderDragged(int position);
    void requestRedraw();
    void setActive(bool active) { active_ = active; }
    // Sets the paused flag directly (a view that starts paused after loading).
    void setPaused(bool paused) { paused_ = paused; }

    // --- the lower steps, public for the views and for tests -----------------------
    void setFrameRange();
    void startPlayback();
    void stopPlayback();
    void advanceFrame(float ms);
    void restartRenderTimer();

    // One tick of timer 1. Returns false when nothing is loaded (the caller then runs
    // stopPlayback). On true, `compose` says whether the background and frame must be
    // composed again before presenting; presenting happens on every tick.
    bool renderTick(bool& compose);
    // The drawn-flag and clamping step of drawing a frame: returns the index into the
    // frame store of the frame to draw and records it as drawn.
    uint16_t beginDrawFrame();

    // --- state ---------------------------------------------------------------------
    bool loaded() const { return loaded_; }
    bool active() const { return active_; }
    bool running() const { return running_; }
    bool paused() const { return paused_; }
    bool drawn() const { return drawn_; }
    int delayMode() const { return delayMode_; }
    uint32_t customDelay() const { return customDelay_; }
    uint32_t speed() const { return speed_; }
    float countdown() const { return countdown_; }
    float elapsed() const { return elapsed_; }
    uint32_t lastTick() const { return lastTick_; }
    uint32_t thisTick() const { return thisTick_; }
    uint8_t directions() const { return directions_; }
    uint16_t framesPerDirection() const { return framesPerDirection_; }
    uint16_t totalFrames() const { return totalFrames_; }
    uint16_t first() const { return first_; }
    uint16_t end() const { return end_; }
    uint16_t current() const { return current_; }
    uint16_t lastDrawn() const { return lastDrawn_; }
    uint32_t direction() const { return direction_; }
    bool windBack() const { return windBack_; }
    bool windForward() const { return windForward_; }
    bool windTimerOn() const { return windTimerOn_; }
    // The period timer 1 runs at in the current delay mode.
    uint32_t renderPeriod() const;
    // The longest time one tick may count: a later tick (after the window was dragged or
    // a dialog held the program) counts this much, and playback goes on from where it
    // was. Shorter delays, as a busy machine makes, are made up for in full.
    static constexpr float kMaxTickMs = 250.0f;

    // Sets the direction without the checks of setDirection (restoring a saved one
    // before the range is first set).
    void setDirectionRaw(uint32_t d) { direction_ = d; }
    void setSpeed(uint32_t ms) { speed_ = ms; }

    // The Animation panel's frame texts: current − first and end − first, "0" when empty.
    std::string frameNumberText() const;
    std::string frameCountText() const;
    // The slider runs over the range's frames: 0 .. count − 1.
    int sliderMaximum() const { return end_ > first_ ? end_ - first_ - 1 : 0; }
    int sliderPosition() const { return current_ - first_; }
    AnimationButtonState buttonState() const;
    // Enabled state of a direction command (code 0 = All): the eight compass directions
    // of an eight-direction file, each only while at least one of its frames was read.
    bool directionEnabled(uint32_t code) const
    {
        return loaded_ && (code == 0 || (directions_ == 8 && directionHasFrames(code)));
    }
    // Whether the frame store holds a frame of direction `code` (0: any frame).
    bool directionHasFrames(uint32_t code) const;

private:
    // The frame of slider position p, kept inside the range.
    uint16_t frameAtSlider(int position) const;

    TickSource clock_;
    PlaybackHost* host_ = nullptr;

    bool loaded_ = false;
    bool active_ = false;
    bool running_ = false;
    bool paused_ = false;
    bool drawn_ = false;
    int delayMode_ = kDelayDefault;
    uint32_t customDelay_ = 0;
    uint32_t speed_ = 0;
    uint32_t lastTick_ = 0;
    uint32_t thisTick_ = 0;
    float elapsed_ = 0.0f;
    float countdown_ = 0.0f;
    uint8_t directions_ = 0;
    uint16_t framesPerDirection_ = 0;
    uint16_t totalFrames_ = 0;
    uint16_t first_ = 0;
    uint16_t end_ = 0;
    uint16_t current_ = 0;
    uint16_t lastDrawn_ = kNoFrameDrawn;
    uint32_t direction_ = 0;
    bool windBack_ = false;
    bool windForward_ = false;
    bool windTimerOn_ = false;
};

}  // namespace qv
