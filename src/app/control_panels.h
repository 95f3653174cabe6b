// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The control bar's panel host: a roll-up control with the six panels Direction, Delay,
// Animation, View, Sound and Extra. Each control keeps its numeric id as its object name
// ("1006", "1164", ...; control(id) finds it). The panels serve the attached view
// (IAnimationControl): controls call its operations, and its state decides which
// controls are enabled, checked and what the texts show. With no view attached every
// control is disabled.
#pragma once

#include <QWidget>
#include <array>
#include <map>

#include "app/animation_control.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace qv {

class CCivColorCombo;
class CRollupCtrl;

// Control ids of the panels.
enum PanelControlId : int {
    // Direction
    IDC_DIR_NW = 1006,
    IDC_DIR_N = 1008,
    IDC_DIR_NE = 1009,
    IDC_DIR_W = 1016,
    IDC_DIR_ALL = 1011,
    IDC_DIR_E = 1010,
    IDC_DIR_SW = 1015,
    IDC_DIR_S = 1014,
    IDC_DIR_SE = 1013,
    // Delay
    IDC_DELAY_DEFAULT = 1027,
    IDC_DELAY_CUSTOM = 1028,
    IDC_DELAY_SLIDER = 1032,
    IDC_DELAY_EDIT = 1164,
    IDC_DELAY_SPIN = 1166,
    IDC_DELAY_LABEL = 1053,
    // Animation
    IDC_PLAY = 1000,
    IDC_PAUSE = 1002,
    IDC_STOP = 1003,
    IDC_FIRST = 1021,
    IDC_PREVIOUS = 1051,
    IDC_NEXT = 1055,
    IDC_LAST = 1024,
    IDC_WIND_BACK = 1022,
    IDC_WIND_FORWARD = 1023,
    IDC_FRAME_SLIDER = 1033,
    IDC_FRAME_LABEL = 1150,
    IDC_FRAME_NUMBER = 1019,
    IDC_FRAME_COUNT = 1020,
    // View
    IDC_CIV_LIST = 1035,
    IDC_ALPHA_BLEND = 1072,
    // Sound
    IDC_SOUND_FILE = 1045,
    IDC_SOUND_BROWSE = 1046,
    IDC_SOUND_DEL = 1050,
    IDC_PLAY_SOUND = 1031,
    IDC_AUTOPLAY = 1026,
    IDC_SOUND_PLAY = 1034,
    IDC_SOUND_STOP = 1037,
    // Extra
    IDC_INFO = 1005,
    IDC_PALETTE = 1039,
};

enum PanelIndex : int { kPanelDirection = 0, kPanelDelay, kPanelAnimation, kPanelView, kPanelSound, kPanelExtra };
constexpr int kPanelCount = 6;

// A small pair of arrow buttons that steps a value (the delay edit's spin).
class CSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit CSpinButton(QWidget* parent = nullptr);
    void setRange(int low, int high);
    int minimum() const { return low_; }
    int maximum() const { return high_; }
signals:
    // +1 or −1.
    void stepped(int delta);

private:
    int low_ = 0, high_ = 100;
};

class CControlPanels : public QWidget, public IControlPanels {
    Q_OBJECT
public:
    explicit CControlPanels(QWidget* parent = nullptr);
    ~CControlPanels() override;

    // ---- IControlPanels ----
    void attach(IAnimationControl* view) override;
    void detach(IAnimationControl* view) override;
    IAnimationControl* attached() const override { return view_; }
    void refresh() override;
    bool isPlaySoundChecked() const override;
    bool isAutoplayChecked() const override;

    // The control with id `id`, or nullptr.
    QWidget* control(int id) const;
    CRollupCtrl* rollup() const { return rollup_; }

    // Expands each panel per its "DlgBar" value; writes them back.
    void LoadExpandedStates();
    void SaveExpandedStates() const;

    // The delay edit's rule, for a typed text: non-breaking spaces removed, the number
    // read and clamped to 10..1000. Returns the delay to set.
    static int clampDelayText(const QString& text);

private:
    QWidget* makeDirectionPanel();
    QWidget* makeDelayPanel();
    QWidget* makeAnimationPanel();
    QWidget* makeViewPanel();
    QWidget* makeSoundPanel();
    QWidget* makeExtraPanel();
    QToolButton* makeButton(QWidget* parent, int id, const QString& text, const QString& icon = {});

    void refreshStates(unsigned changes);
    void onDelayTyped(const QString& text);
    void onDelayEdited(const QString& text);
    void onDelaySpin(int delta);
    void setEnabledAll(bool on);

    CRollupCtrl* rollup_ = nullptr;
    std::map<int, QWidget*> controls_;
    IAnimationControl* view_ = nullptr;
    QLineEdit* delayEdit_ = nullptr;
    QSlider* delaySlider_ = nullptr;
    QSlider* frameSlider_ = nullptr;
    CCivColorCombo* civList_ = nullptr;
    int lastCivSelection_ = -1;
    bool updating_ = false;
};

}  // namespace qv
