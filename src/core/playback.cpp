// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/playback.h"

#include <algorithm>
#include <utility>

namespace qv {

Playback::Playback(TickSource clock, PlaybackHost* host) : clock_(std::move(clock)), host_(host)
{
    if (!clock_) clock_ = [] { return uint32_t(0); };
}

void Playback::setAnimation(uint8_t directions, uint16_t framesPerDirection, uint16_t totalFrames, uint32_t speed)
{
    directions_ = directions;
    framesPerDirection_ = framesPerDirection;
    totalFrames_ = totalFrames;
    speed_ = speed;
}

void Playback::unload()
{
    if (host_) host_->killRenderTimer();
    stopPlayback();
    active_ = false;
    loaded_ = false;
    customDelay_ = 0;
    framesPerDirection_ = 0;
    totalFrames_ = 0;
}

uint32_t Playback::renderPeriod() const
{
    if (delayMode_ == kDelayDefault) {
        // The speed in equal steps of at most 50 ms, so frames fall on ticks and a still
        // view still redraws promptly after a change.
        const uint32_t speed = std::max(speed_, 1u);
        const uint32_t steps = (speed + kDefaultTickMs - 1) / kDefaultTickMs;
        return std::max((speed + steps / 2) / steps, kMinTimerMs);
    }
    return std::max(customDelay_, kMinTimerMs);
}

void Playback::restartRenderTimer()
{
    if (host_) host_->restartRenderTimer(renderPeriod());
}

bool Playback::directionHasFrames(uint32_t code) const
{
    if (code == 0) return totalFrames_ > 0;
    return code <= 8 && (code - 1) * uint32_t(framesPerDirection_) < totalFrames_;
}

void Playback::setFrameRange()
{
    // A damaged file may hold fewer frames than its header promises: a direction whose
    // frames are all missing plays as "All", and no range reaches past the last frame
    // read (never into another direction's frames, never below its own first).
    if (direction_ != 0 && !directionHasFrames(direction_)) direction_ = 0;
    if (direction_ != 0) {
        first_ = static_cast<uint16_t>((direction_ - 1) * framesPerDirection_);
        end_ = static_cast<uint16_t>(std::min<uint32_t>(first_ + framesPerDirection_, totalFrames_));
        current_ = first_;
    } else {
        first_ = 0;
        end_ = static_cast<uint16_t>(std::min<uint32_t>(uint32_t(framesPerDirection_) * directions_, totalFrames_));
        current_ = 0;
    }
    lastDrawn_ = kNoFrameDrawn;
    countdown_ = static_cast<float>(speed_);
}

void Playback::startPlayback()
{
    running_ = true;
    paused_ = false;
    lastTick_ = clock_();
    thisTick_ = 0;
    setFrameRange();
    if (customDelay_ == 0) customDelay_ = speed_;
    restartRenderTimer();
}

void Playback::stopPlayback()
{
    if (loaded_) setFrameRange();
    running_ = false;
    paused_ = false;
    lastTick_ = 0;
    thisTick_ = 0;
    if (host_) host_->stopSound();
}

void Playback::setDelayMode(int mode)
{
    delayMode_ = mode;
    restartRenderTimer();
}

void Playback::setCustomDelay(uint32_t ms)
{
    customDelay_ = ms;
    restartRenderTimer();
}

void Playback::requestRedraw()
{
    drawn_ = false;
    if (host_) host_->redrawRequested();
}

void Playback::play()
{
    stopWind();
    startPlayback();
    requestRedraw();
    if (host_) host_->frameSliderChanged();
}

bool Playback::togglePause()
{
    stopWind();
    paused_ = !paused_;
    // Time spent paused does not count as a late tick.
    if (!paused_) lastTick_ = clock_();
    if (paused_ && host_) host_->stopSound();
    requestRedraw();
    return paused_;
}

void Playback::stop()
{
    stopWind();
    setDelayMode(kDelayDefault);
    stopPlayback();
    if (active_ && host_) {
        host_->frameCounterChanged();
        requestRedraw();
        host_->frameSliderChanged();
    }
}

void Playback::advanceFrame(float ms)
{
    int steps = 1;
    if (delayMode_ == kDelayDefault) {
        countdown_ -= ms;
        // A frame is due at this tick when its time is nearer to this tick than to the
        // next one. The difference is kept: the next frame's time counts from when this
        // one was due, not from this tick.
        const float halfTick = 0.5f * static_cast<float>(renderPeriod());
        const float speed = static_cast<float>(std::max(speed_, 1u));
        steps = 0;
        while (countdown_ <= halfTick) {
            countdown_ += speed;
            ++steps;
        }
        if (steps == 0) return;
    }
    for (int i = 0; i < steps; ++i) {
        ++current_;
        if (current_ >= end_) current_ = first_;
    }
    if (host_) host_->frameCounterChanged();
}

bool Playback::renderTick(bool& compose)
{
    compose = false;
    if (!loaded_) return false;
    if (drawn_) return true;
    if (running_) {
        if (!paused_) {
            thisTick_ = clock_();
            elapsed_ = static_cast<float>(thisTick_ - lastTick_) * 0.001f;
            lastTick_ = clock_();
            // A very late tick counts kMaxTickMs; playback then goes on from where it was
            // instead of racing through the frames it missed.
            const float maxSeconds = kMaxTickMs * 0.001f;
            if (elapsed_ > maxSeconds) elapsed_ = maxSeconds;
            advanceFrame(elapsed_ * 1000.0f);
        } else {
            // Paused: time stands still, in both delay modes.
            elapsed_ = 0.0f;
        }
    }
    compose = true;
    return true;
}

uint16_t Playback::beginDrawFrame()
{
    if (!drawn_ && current_ == lastDrawn_ && (!running_ || paused_)) drawn_ = true;
    if (totalFrames_ > 0 && current_ >= totalFrames_) current_ = static_cast<uint16_t>(totalFrames_ - 1);
    lastDrawn_ = current_;
    return current_;
}

void Playback::navigate(NavigateKind kind)
{
    if (!loaded_) return;
    switch (kind) {
        case NavigateKind::First: current_ = first_; break;
        case NavigateKind::Previous:
            if (current_ > first_) --current_;
            break;
        case NavigateKind::Next:
            if (current_ + 1 < end_) ++current_;
            break;
        case NavigateKind::Last:
            // The range's own last frame, never the first frame of the next direction.
            if (end_ > first_) current_ = static_cast<uint16_t>(end_ - 1);
            break;
    }
    lastDrawn_ = kNoFrameDrawn;
    drawn_ = false;
    if (host_) {
        host_->frameCounterChanged();
        if (!running_) host_->frameSliderChanged();
    }
}

void Playback::toggleWind(bool forward)
{
    if (!active_) return;
    bool& flag = forward ? windForward_ : windBack_;
    bool& other = forward ? windBack_ : windForward_;
    flag = !flag;
    other = false;
    if (host_) host_->windFlagsChanged();
    if (flag) {
        windTimerOn_ = true;
        if (host_) host_->startWindTimer();
    } else {
        stopWind();
    }
}

void Playback::windTick()
{
    navigate(windBack_ ? NavigateKind::Previous : NavigateKind::Next);
    if (current_ <= first_ || current_ + 1 >= end_) stopWind();
}

void Playback::stopWind()
{
    windTimerOn_ = false;
    if (host_) host_->killWindTimer();
    if (active_ && (windBack_ || windForward_)) {
        windBack_ = false;
        windForward_ = false;
        if (host_) host_->windFlagsChanged();
    }
}

uint32_t Playback::setDirection(uint32_t code)
{
    if (!loaded_) return direction_;
    direction_ = directions_ == 8 && directionHasFrames(code) ? code : 0;
    setFrameRange();
    if (host_) {
        host_->frameCounterChanged();
        if (!running_) host_->frameSliderChanged();
    }
    requestRedraw();
    return direction_;
}

uint16_t Playback::frameAtSlider(int position) const
{
    const int p = std::max(0, std::min(position, sliderMaximum()));
    return static_cast<uint16_t>(first_ + p);
}

void Playback::sliderReleased(int position)
{
    drawn_ = false;
    current_ = frameAtSlider(position);
    if (host_) host_->frameCounterChanged();
}

void Playback::sliderDragged(int position)
{
    if (!loaded_) return;
    // Shown live: a still view composes again at the next tick.
    drawn_ = false;
    lastDrawn_ = kNoFrameDrawn;
    current_ = frameAtSlider(position);
    if (host_) host_->frameCounterChanged();
}

std::string Playback::frameNumberText() const
{
    return loaded_ ? std::to_string(int(current_) - int(first_)) : std::string("0");
}

std::string Playback::frameCountText() const
{
    return loaded_ ? std::to_string(int(end_) - int(first_)) : std::string("0");
}

AnimationButtonState Playback::buttonState() const
{
    AnimationButtonState s;
    if (!loaded_) return s;
    s.stop = s.pause = running_;
    s.play = !running_;
    // Stepping works while stopped and while paused.
    s.first = s.back = s.previous = s.next = s.forward = s.last = s.slider = !running_ || paused_;
    s.frameTexts = true;
    return s;
}

}  // namespace qv
