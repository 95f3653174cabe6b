// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CAnimationView: the base view of the FLC and storyboard views. It holds the header
// copy, the decoded frames with their surfaces, the base and display palettes, the
// drawing device and the playback state with its two timers, and drives the control
// bar's panels while it is the active view.
//
// Each render tick (timer 1) asks the playback machine whether the frame must be
// composed again; if so ComposeFrame() draws the background and then the frame into the
// back buffer; the back buffer is presented on every tick. DrawBackground() and
// DrawFrame() compose through the core compositor: the background picture or fill, the
// keyed frame at the offsets, and the shadow and light blending of unit animations.
// The background commands, civilization colours, palette files, and the Offset and Zoom
// dialogs live in animation_view_render.cpp.
#pragma once

#include <QBasicTimer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/animation_control.h"
#include "core/civ_palettes.h"
#include "core/compositor.h"
#include "core/flc_format.h"
#include "core/playback.h"
#include "flc/draw_device.h"
#include "platform/ui/view.h"

class QTimer;

namespace qv {

class CAnimationView : public CView, public IAnimationControl, protected PlaybackHost {
    Q_OBJECT
public:
    explicit CAnimationView(QWidget* parent = nullptr);
    ~CAnimationView() override;

    // ---- Operations the derived views override ------------------------------------
    // Releases the frames, the compositing buffers and the device's objects; the view
    // is empty afterwards.
    virtual void UnloadAnimation();
    // Reads the animation at `path` into the frame store. The base fails.
    virtual bool LoadAnimation(const QString& path, bool initial);
    // The information report of the loaded file.
    virtual void ShowFileInfo() {}
    // Reloads the document's file (the first-update sequence again) when loaded.
    virtual void RefreshAnimation();
    // Saves to the document's path. The base does nothing.
    virtual bool SaveAnimation() { return false; }

    // ---- CView ----------------------------------------------------------------------
    // The load sequence: device, settings, LoadAnimation, playback start, panels.
    void OnInitialUpdate() override;
    void OnActivateView(bool activate) override;
    // The window size for the picture at the current zoom; in "fit" mode the window's own
    // size (the user sizes the window, the picture follows).
    QSize GetPreferredSize() const override { return zoom_ == kZoomFit ? size() : preferredSize_; }
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

    // ---- IAnimationControl ------------------------------------------------------------
    bool isLoaded() const override { return playback_.loaded(); }
    bool isRunning() const override { return playback_.running(); }
    bool isPaused() const override { return playback_.paused(); }
    int directionCount() const override { return playback_.directions(); }
    int direction() const override { return static_cast<int>(playback_.direction()); }
    bool hasDirectionFrames(int code) const override { return playback_.directionHasFrames(uint32_t(code)); }
    int delayMode() const override { return playback_.delayMode(); }
    int customDelay() const override { return static_cast<int>(playback_.customDelay()); }
    int fileSpeed() const override { return static_cast<int>(playback_.speed()); }
    int frameNumber() const override;
    int frameCount() const override;
    bool isWindingBack() const override { return playback_.windBack(); }
    bool isWindingForward() const override { return playback_.windForward(); }
    bool isLeaderHead() const override { return leaderHead_; }
    void showInfo() override;
    void play() override;
    void togglePause() override;
    void stop() override;
    void navigate(NavigateKind kind) override;
    void toggleWindBack() override;
    void toggleWindForward() override;
    void setDirection(int direction) override;
    void setDelayMode(int mode) override;
    void setCustomDelay(int ms) override;
    void frameSliderReleased(int position) override;
    void frameSliderTracking(int position) override;
    // ---- Sound (animation_view_sound.cpp) ------------------------------------------------
    // A unit animation (not a leader head) that is loaded can have a sound.
    bool isSoundAllowed() const override;
    QString soundFile() const override { return soundFile_; }
    const QStringList& soundList() const { return soundList_; }
    // "...": the sound dialog, then SetSoundFile with the chosen file.
    void chooseSoundFile() override;
    // "&Del": no sound file (the list stays, but nothing plays without a file).
    void clearSoundFile() override;
    // Plays the sound list: one WAV asynchronously (looping while Autoplay is checked),
    // several one after the other while the panel's play controls are disabled.
    void playSound() override;
    // Stopping the sound serves both the panels and the playback machine.
    void stopSound() override;
    bool isPlayingSoundList() const override { return playingList_; }
    bool canPlaySound() const override;
    // Makes `path` the sound file: a WAV file (its header checked first: one that lies is
    // refused with a message and nothing changes) or an AMB file, read with ReadAmb and
    // reported in the information dialog. False when nothing was set.
    bool SetSoundFile(const QString& path);
    // The full paths of the WAV files the AMB file at `path` names; messages unless quiet.
    static bool ReadAmb(const QString& path, QStringList& list, bool quiet);
    // The animation view of the main window's active child window, or null (no window, or
    // the active one shows something else, e.g. a storyboard).
    static CAnimationView* active();
    // The next file of a several-file sound; the sound timer calls it when one has ended.
    void SoundSequenceStep();
    // View panel: civilization colours and the alpha-blend switch.
    bool hasCivilizationList() const override;
    QStringList civilizationNames() const override;
    int civilization() const override { return civilization_; }
    void changeCivilization(int index) override;
    bool civilizationSwatch(uint32_t& colorRef) const override;
    bool hasAlphaBlendOption() const override { return true; }
    bool isAlphaBlend() const override { return alphaBlend_; }
    void toggleAlphaBlend() override;

    // ---- Rendering ----------------------------------------------------------------------
    // One tick of timer 1 / timer 2 (public so tests can drive them without waiting).
    void RenderTick();
    void WindTick();
    // Background, then the current frame, into the back buffer.
    virtual void ComposeFrame();
    // The background picture blitted with its magenta key, or else the fill colour.
    virtual void DrawBackground();
    // The drawn-flag step, then the current frame's keyed blit at the offsets, blended
    // with the background for a unit animation with alpha blending on.
    virtual void DrawFrame();
    // The next tick composes again; an active view refreshes its panels.
    void RequestRedraw();
    // Refills every frame surface from its 8-bit picture through the display palette
    // (each when next drawn) and sets the colour key, after a palette change. False
    // when nothing is loaded.
    bool RebuildFrameSurfaces();

    // ---- Background (unit animations) ----------------------------------------------------
    // Background types, as "Options"/"Bgd Type" stores them.
    enum BackgroundType : uint32_t { kBgdDefault = 0, kBgdCustom = 1, kBgdSea = 2, kBgdLand = 3 };
    void SetBgdDefault();
    // Background type Custom with `colorRef` (0x00BBGGRR) as the custom colour.
    void SetBgdColor(uint32_t colorRef);
    // Sea (2) or Land (3): the built-in picture, unpacked on first use. False for any
    // other kind or when the picture cannot be had.
    bool SetBgdPCX(int kind);
    // Replaces the background picture with the 240 x 240 picture at `path`.
    bool LoadBgdPicture(const QString& path);
    // Alpha blending on or off; off also goes back to the default background.
    bool SetAlphaBlend(bool on);
    // The colour picker's answer (selection ended): `colorRef`, or the "default" marker
    // 0xFF000000, for command `id`. Other commands than 32776 are ignored.
    void OnColourSelected(uint32_t colorRef, int id);
    uint32_t backgroundType() const { return bgdType_; }
    uint32_t customColor() const { return customColor_; }
    const Surface32* backgroundPicture() const { return bgdPicture_.get(); }

    // ---- Civilization colours and palettes -------------------------------------------------
    // Civilization `civ`'s scheme applied to the view (no target) or its whole palette
    // copied into `target`; the lookup's messages are shown here.
    bool PaletteFromRes(int civ, Palette256* target = nullptr);
    // The scheme file at `path` over the base palette's entries 0..63, or (empty path) the
    // animation's own colours.
    bool SetCivPalette(const QString& path = {});
    // The whole palette of the scheme file at `path`, or (empty path) the base palette.
    bool CopyCivPalette(Palette256& target, const QString& path = {}) const;
    // The palettes: the base palette is the file's own (what Save writes); the display
    // palette is what the frames are drawn with, the base palette with the chosen
    // civilization's scheme over entries 0..63. Choosing a scheme changes only the display.
    //
    // After the display palette was changed in place: it becomes the file's palette too
    // (a scheme shown at that moment becomes part of it, and the list goes back to
    // "Default"). The document is marked modified.
    bool ApplyDisplayPalette();
    // Palette edits (imports, colour tools) hand their result here: `palette` becomes the
    // file's palette, the display shows it with the chosen scheme on top, the frames are
    // redrawn and the document is marked modified. False when nothing is loaded.
    bool SetFilePalette(const Palette256& palette);

    // ---- Unsaved changes ---------------------------------------------------------------
    // Marks the view's document as changed (or, with false, as saved): its window titles
    // show an asterisk and closing it, Close All and Exit ask whether to save. Every edit
    // that Save writes into the file calls this (offsets, palettes).
    void SetDocumentModified(bool modified = true);
    bool isDocumentModified() const;
    // The commands "&Import Palette" and "&Export Palette".
    void ImportPaletteCommand();
    void ExportPaletteCommand();
    // A colour tool's result: `display` becomes the display and base palette, the list
    // goes back to "Default". On failure the view reloads its file and returns false.
    bool ApplyPaletteEdit(const Palette256& display);
    // Draws the frames through `display` without making it the animation's palette (a
    // live preview; the caller puts the previous display palette back the same way).
    bool ShowPalettePreview(const Palette256& display);
    // Extra panel and command 32785: the palette dialog.
    bool hasPaletteDialog() const override { return true; }
    void showPalette() override;
    // Where the civilization schemes come from, from the current settings.
    static CivPaletteSources civPaletteSourcesNow();

    // ---- Zoom ----------------------------------------------------------------------------
    // Composes the current frame once more and copies it out of the back buffer: the
    // 240 x 240 unit area, or a leader head's frame. False when nothing is loaded.
    bool CaptureComposedFrame(QImage& out);
    // The Zoom command (32804).
    void ShowZoom();

    // ---- Whole-factor zoom of the view ------------------------------------------------
    // 1..kMaxZoom, or kZoomFit: the largest whole factor the window holds. Pixels stay
    // square blocks; the picture is centred when the window is larger.
    static constexpr int kZoomFit = 0;
    static constexpr int kMaxZoom = 8;
    int zoom() const { return zoom_; }
    // Sets the zoom, resizes the window to the enlarged picture (not in "fit" mode) and
    // remembers the choice for the next views.
    void SetZoom(int zoom);
    // The factor the picture is drawn at now.
    int displayZoom() const;
    // Where the enlarged picture goes in the view (logical pixels).
    QRect pictureRect() const;

    // ---- State other parts use ----------------------------------------------------------
    Playback& playback() { return playback_; }
    const Playback& playback() const { return playback_; }
    const FlcHeader& header() const { return header_; }
    const std::vector<AnimFrame>& frames() const { return frames_; }
    const Palette256& basePalette() const { return basePalette_; }
    const Palette256& displayPalette() const { return displayPalette_; }
    Palette256& displayPalette() { return displayPalette_; }
    DrawDevice* device() const { return device_.get(); }
    const QString& loadedPath() const { return loadedPath_; }
    uint32_t colorKey() const { return colorKey_; }
    uint32_t fillColor() const { return fillColor_; }
    uint32_t defaultColor() const { return defaultColor_; }
    bool alphaBlend() const { return alphaBlend_; }
    // Where the frame's top-left pixel goes in the 240 x 240 unit area.
    void SetOffsets(int left, int top)
    {
        leftOffset_ = left & 0xFF;
        topOffset_ = top & 0xFF;
        playback_.requestRedraw();
    }
    int leftOffset() const { return leftOffset_; }
    int topOffset() const { return topOffset_; }
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    // The top-left of the view's client area inside its 1-pixel border.
    static constexpr int kBorder = 1;

    // A Windows colour value (0x00BBGGRR) as a fill colour (0x00RRGGBB).
    static uint32_t toFillColor(uint32_t colorRef)
    {
        return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
    }

protected:
    // ---- PlaybackHost ---------------------------------------------------------------
    void restartRenderTimer(uint32_t periodMs) override;
    void killRenderTimer() override;
    void startWindTimer() override;
    void killWindTimer() override;
    void frameCounterChanged() override;
    void frameSliderChanged() override;
    void redrawRequested() override;
    void windFlagsChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Ctrl + wheel zooms in and out.
    void wheelEvent(QWheelEvent* event) override;

    // Creates the drawing device for this window (a new one when there is none); false,
    // and no device, on failure.
    bool CreateDevice();
    // Makes the frame store from decoded pictures of width x height (taken over, not
    // copied): one AnimFrame per picture, keyed with the colour key, its surface filled
    // through the display palette when first drawn. False when a surface cannot be made.
    bool BuildFrames(std::vector<FramePixels> pictures, int width, int height);
    // Sets the transparent colour (display entry 255) and the colour key from it.
    void UpdateColorKey();
    // The animation's shape, copied into the playback state and the drawing fields.
    void SetAnimationProperties(uint8_t directions, uint16_t framesPerDirection, uint32_t speed, int width,
                                int height, int left, int top);
    // Sets the view's size at zoom 1 (picture plus border) and resizes the view window
    // (and its frame) to that size at the current zoom, without moving or activating it.
    void ResizeViewWindow(int width, int height);
    // The commands of the zoom and their states.
    bool OnZoomCommand(int id);
    bool OnUpdateZoomCommand(int id, CCmdUI& ui);
    // The background a unit animation gets when loaded: the stored background type, or
    // the default colour without a picture while alpha blending is off.
    virtual void RestoreBackground();
    // The offset dialog: true on OK, with the view's offsets set to the chosen values.
    // Only a loaded unit animation has one.
    virtual bool RunOffsetDialog();
    // The commands of backgrounds, palettes and zoom, and their states.
    bool OnRenderCommand(int id);
    bool OnUpdateRenderCommand(int id, CCmdUI& ui);
    // On activation: the application's colour picker and the toolbar's swatch take this
    // view's custom colour.
    void ShareCustomColor();
    // The colour picker under the toolbar's "Select background color" button.
    void ShowColourPicker();
    // The back buffer as the compositor's target.
    Pixels32 backBufferPixels() const;
    // Called when LoadAnimation failed in the first update: the format message. A view
    // whose LoadAnimation already said why overrides it to say nothing more.
    virtual void ReportLoadFailure(const QString& path);
    // Called after a successful load, before playback starts (compositing buffers).
    virtual void OnAnimationLoaded() {}
    // Plays the unit's sound when the Sound panel's "Autoplay" is checked.
    void AutoplaySound();

    Playback playback_;
    FlcHeader header_;
    std::vector<AnimFrame> frames_;
    Palette256 basePalette_;
    Palette256 displayPalette_;
    std::unique_ptr<DrawDevice> device_;
    QString loadedPath_;
    bool leaderHead_ = false;
    bool alphaBlend_ = true;
    bool startPaused_ = false;
    uint32_t savedDirection_ = 0;
    uint32_t bgdType_ = 0;
    uint32_t defaultColor_ = 0;   // 0x00BBGGRR, the button-face colour
    uint32_t customColor_ = 0;    // 0x00BBGGRR
    uint32_t fillColor_ = 0;      // 0x00RRGGBB
    uint32_t transparentColor_ = 0;
    uint32_t colorKey_ = kNoColorKey;
    int civilization_ = 0;
    int leftOffset_ = 0;
    int topOffset_ = 0;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    QSize preferredSize_{242, 244};
    QSize baseSize_{242, 244};  // preferredSize_ at zoom 1
    int zoom_ = 1;
    std::unique_ptr<Surface32> bgdPicture_;  // Sea or Land, when set

    QString soundFile_;
    QStringList soundList_;
    QStringList soundSequence_;  // what is left to play of a several-file sound
    bool playingList_ = false;

private:
    std::unique_ptr<QTimer> soundTimer_;
    QBasicTimer renderTimer_;
    QBasicTimer windTimer_;
};

}  // namespace qv
