// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Names and defaults of the persistent settings that the application shell, the main
// frame, the FLC documents and the animation views read and write. Values live in
// QSettings("Velmora", "Quorvane") through platform/ui/profile.h; a missing value yields
// its default.
#pragma once

#include <cstdint>

namespace qv::settings {

// Sections.
inline constexpr char kOptions[] = "Options";
inline constexpr char kMenu[] = "Menu";
inline constexpr char kButtonX[] = "ButtonX";
inline constexpr char kRecentFlc[] = "Recent FLC Files";
inline constexpr char kRecentQsb[] = "Recent QSB Files";
inline constexpr char kMainFrame[] = "MainFrame";
inline constexpr char kCtrlBars[] = "CtrlBars\\CtrlBar";
inline constexpr char kDlgBarSizes[] = "Dlg Bar";  // the control bar's sizes and floating place
inline constexpr char kDlgBar[] = "DlgBar";        // the panels' expanded states and sound checks
inline constexpr char kToolBar[] = "ToolBar";      // the toolbar's button customisation

// A whole-number setting: its section, its name and the value read when none is stored.
struct IntSetting {
    const char* section;
    const char* name;
    int defaultValue;
};

// "Options" values and their defaults.
inline constexpr IntSetting kMaxMru{kOptions, "Max MRU", 4};
inline constexpr int kMaxMruMin = 4, kMaxMruMax = 16;
inline constexpr IntSetting kLoadDoc{kOptions, "Load Doc", 0};
inline constexpr IntSetting kCheckFileType{kOptions, "Check File Type", 1};
inline constexpr IntSetting kPalType{kOptions, "Pal Type", 0};
inline constexpr char kPalDir[] = "Pal Dir";
inline constexpr IntSetting kAnimType{kOptions, "Anim Type", 0};
inline constexpr IntSetting kExpOpen{kOptions, "ExpOpen", 1};
inline constexpr IntSetting kExpAsk{kOptions, "ExpAsk", 1};
inline constexpr char kLastOpend[] = "Last Opend";
inline constexpr IntSetting kQuorvaneFilter{kOptions, "QuorvaneFilter", 1};
inline constexpr IntSetting kShowToolBar{kOptions, "Show ToolBar", 1};
inline constexpr IntSetting kShowStatusBar{kOptions, "Show StatusBar", 1};
inline constexpr IntSetting kShowDialogBar{kOptions, "Show DialogBar", 1};
inline constexpr IntSetting kAlwaysOnTop{kOptions, "Always on top", 0};
inline constexpr char kCustomColor[] = "Custom Color";  // default: the system's button-face colour
inline constexpr IntSetting kDirection{kOptions, "Direction", 0};
inline constexpr IntSetting kBgdType{kOptions, "Bgd Type", 0};
inline constexpr IntSetting kAlphaBlend{kOptions, "AlphaBlend", 1};
inline constexpr IntSetting kViewZoom{kOptions, "View Zoom", 1};  // 1..8 whole factors, 0 fit to the window

// "Menu" and "ButtonX" values.
inline constexpr IntSetting kMenuStyle{kMenu, "Style", 2};
inline constexpr IntSetting kMenuSelection{kMenu, "Selection", 1};
inline constexpr IntSetting kMenuGloom{kMenu, "Gloom", 1};
inline constexpr IntSetting kButtonSettings{kButtonX, "Settings", 0};

// "Dlg Bar" values.
inline constexpr char kFloatX[] = "FloatX";
inline constexpr char kFloatY[] = "FloatY";
inline constexpr char kHorzX[] = "HorzX";
inline constexpr char kHorzY[] = "HorzY";
inline constexpr char kVertX[] = "VertX";
inline constexpr char kVertY[] = "VertY";
inline constexpr char kFloatPosX[] = "FloatPosX";
inline constexpr char kFloatPosY[] = "FloatPosY";
inline constexpr char kIsFloating[] = "IsFloating";

// "DlgBar" values.
inline constexpr char kPanelDirection[] = "Direct";
inline constexpr char kPanelDelay[] = "Delay";
inline constexpr char kPanelAnimation[] = "Anim";
inline constexpr char kPanelView[] = "View";
inline constexpr char kPanelSound[] = "Sound";
inline constexpr char kPanelExtra[] = "Extra";
inline constexpr IntSetting kWavNonStop{kDlgBar, "Wav NonStop", 1};
inline constexpr IntSetting kPreview{kDlgBar, "Preview", 1};

// The stored value of a setting, or its default when none is stored; with `low` and
// `high`, a stored value outside them also reads as the default.
int readSetting(const IntSetting& setting);
int readSetting(const IntSetting& setting, int low, int high);
void writeSetting(const IntSetting& setting, int value);
// Forgets the stored value, so that the default applies again.
void removeSetting(const IntSetting& setting);

// The system's button-face colour as a Windows colour value (0x00BBGGRR), the default
// of "Custom Color" and the toolbar swatch's starting colour.
uint32_t buttonFaceColorRef();

}  // namespace qv::settings
