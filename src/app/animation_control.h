// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The meeting point of the control bar and the animation views.
//
// IAnimationControl is what the control bar's six panels (Direction, Delay, Animation,
// View, Sound, Extra) need of the active view: its state, to enable, check and fill the
// controls, and its operations, which the controls call. The animation view implements
// it. The panels serve one view at a time: a view attaches itself when it becomes
// active and detaches when it stops being active (IControlPanels), and calls
// notifyControlChanged() whenever something the panels show has changed.
//
// Operations that belong to later features have default bodies that do nothing, and the
// matching states report "not available", so a view needs to implement only what it has.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace qv {

class IAnimationControl {
public:
    virtual ~IAnimationControl() = default;

    // What changed, for notifyControlChanged (bits; kAllPanels refreshes everything).
    enum Change : unsigned {
        kFrameCounter = 1u << 0,  // current frame / frame count texts and the frame slider
        kPlayback = 1u << 1,      // running, paused, winding: the Animation panel's states
        kDelay = 1u << 2,         // delay mode, custom delay
        kDirection = 1u << 3,
        kView = 1u << 4,          // civilization list, alpha blend
        kSound = 1u << 5,         // sound file, sound availability
        kAllPanels = 0xFFFFu,
    };
    enum NavigateKind { NavFirst, NavPrevious, NavNext, NavLast };

    // ---- State read by the panels ----
    virtual bool isLoaded() const = 0;
    virtual bool isRunning() const = 0;
    virtual bool isPaused() const = 0;
    // Number of directions in the file (1 or 8 in practice) and the one in force
    // (0 All, 1 SW .. 8 W).
    virtual int directionCount() const = 0;
    virtual int direction() const = 0;
    // Whether direction `code` has frames to show (a damaged file may lack some).
    virtual bool hasDirectionFrames(int code) const
    {
        (void)code;
        return true;
    }
    // 1 = the file's own speed ("Default"), 0 = "Custom".
    virtual int delayMode() const = 0;
    // The custom delay in ms (what the Delay panel's edit, slider and label show).
    virtual int customDelay() const = 0;
    // The file's own frame delay in ms (what the label shows in "Default" mode).
    virtual int fileSpeed() const { return customDelay(); }
    // Frame texts and slider: current − first and end − first of the current range
    // (both 0 when nothing is loaded).
    virtual int frameNumber() const = 0;
    virtual int frameCount() const = 0;
    // The winding flags ("<<" and ">>" are shown pressed while set).
    virtual bool isWindingBack() const = 0;
    virtual bool isWindingForward() const = 0;
    // A leader-head animation (a plain FLC without the game's extension).
    virtual bool isLeaderHead() const = 0;

    // View panel (civilization colours, blending). The list is enabled while the view
    // can get civilization schemes from the chosen source.
    virtual bool hasCivilizationList() const { return false; }
    // The list's entries ("Default" and the civilizations), shown in this order.
    virtual QStringList civilizationNames() const { return {}; }
    virtual int civilization() const { return 0; }
    virtual void changeCivilization(int index) { (void)index; }
    // The swatch of the selected entry (civilization()): the colour the view shows for
    // palette entry 6, as a Windows colour value (0x00BBGGRR). False when there is none.
    virtual bool civilizationSwatch(uint32_t& colorRef) const
    {
        (void)colorRef;
        return false;
    }
    // Whether the view offers the alpha-blend choice (it then enables the check box).
    virtual bool hasAlphaBlendOption() const { return false; }
    virtual bool isAlphaBlend() const { return false; }
    virtual void toggleAlphaBlend() {}

    // Sound panel. Until sound preview exists it stays disabled.
    virtual bool isSoundAllowed() const { return false; }
    virtual QString soundFile() const { return {}; }
    virtual void chooseSoundFile() {}
    virtual void clearSoundFile() {}
    virtual void playSound() {}
    virtual void stopSound() {}
    // While a sound of several files plays, Autoplay, "Pl&ay" and "St&op" are disabled.
    virtual bool isPlayingSoundList() const { return false; }
    // False on a computer without an audio output ("Pl&ay" is then disabled).
    virtual bool canPlaySound() const { return true; }

    // Extra panel.
    virtual void showInfo() {}
    virtual bool hasPaletteDialog() const { return false; }
    virtual void showPalette() {}

    // ---- Operations the panels call ----
    virtual void play() = 0;
    virtual void togglePause() = 0;
    virtual void stop() = 0;
    virtual void navigate(NavigateKind kind) = 0;
    virtual void toggleWindBack() = 0;
    virtual void toggleWindForward() = 0;
    virtual void setDirection(int direction) = 0;
    // Sets the delay mode (1 Default, 0 Custom) and requests a redraw.
    virtual void setDelayMode(int mode) = 0;
    // `ms` is already clamped to 10..1000 by the panel.
    virtual void setCustomDelay(int ms) = 0;
    // The frame slider was released at `position` (0 .. frameCount()).
    virtual void frameSliderReleased(int position) = 0;
    // The frame slider's thumb is being dragged to `position`.
    virtual void frameSliderTracking(int position) { (void)position; }

    // ---- Notification ----
    using Listener = std::function<void(unsigned changes)>;
    // The control bar listens while the view is attached.
    void setControlListener(Listener listener) { listener_ = std::move(listener); }
    bool hasControlListener() const { return static_cast<bool>(listener_); }

protected:
    // Tells the attached panels to re-read the states in `changes`.
    void notifyControlChanged(unsigned changes = kAllPanels)
    {
        if (listener_) listener_(changes);
    }

private:
    Listener listener_;
};

// The control bar, as the views see it.
class IControlPanels {
public:
    virtual ~IControlPanels() = default;
    // Makes `view` the one the panels serve (nullptr: none, every control disabled).
    virtual void attach(IAnimationControl* view) = 0;
    // Detaches `view` if it is the attached one.
    virtual void detach(IAnimationControl* view) = 0;
    virtual IAnimationControl* attached() const = 0;
    // Re-reads every state from the attached view.
    virtual void refresh() = 0;
    // The Sound panel's check boxes "Play So&und" and "&Autoplay (WAV)".
    virtual bool isPlaySoundChecked() const = 0;
    virtual bool isAutoplayChecked() const = 0;
};

// The control bar of the main window, or nullptr when there is none (for example in
// tests that make views without a main window).
IControlPanels* controlPanels();
void setControlPanels(IControlPanels* panels);

}  // namespace qv
