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

// "Options" values and their defaults.
inline constexpr char kMaxMru[] = "Max MRU";
inline constexpr int kMaxMruDefault = 4, kMaxMruMin = 4, kMaxMruMax = 16;
inline constexpr char kLoadDoc[] = "Load Doc";
inline constexpr int kLoadDocDefault = 0;
inline constexpr char kCheckFileType[] = "Check File Type";
inline constexpr int kCheckFileTypeDefault = 1;
inline constexpr char kPalType[] = "Pal Type";
inline constexpr int kPalTypeDefault = 0;
inline constexpr char kPalDir[] = "Pal Dir";
inline constexpr char kAnimType[] = "Anim Type";
inline constexpr int kAnimTypeDefault = 0;
inline constexpr char kExpOpen[] = "ExpOpen";
inline constexpr int kExpOpenDefault = 1;
inline constexpr char kExpAsk[] = "ExpAsk";
inline constexpr int kExpAskDefault = 1;
inline constexpr char kLastOpend[] = "Last Opend";
inline constexpr char kQuorvaneFilter[] = "QuorvaneFilter";
inline constexpr int kQuorvaneFilterDefault = 1;
inline constexpr char kShowToolBar[] = "Show ToolBar";
inline constexpr char kShowStatusBar[] = "Show StatusBar";
inline constexpr char kShowDialogBar[] = "Show DialogBar";
inline constexpr int kShowBarDefault = 1;
inline constexpr char kAlwaysOnTop[] = "Always on top";
inline constexpr int kAlwaysOnTopDefault = 0;
inline constexpr char kCustomColor[] = "Custom Color";  // default: the system's button-face colour
inline constexpr char kDirection[] = "Direction";
inline constexpr int kDirectionDefault = 0;
inline constexpr char kBgdType[] = "Bgd Type";
inline constexpr int kBgdTypeDefault = 0;
inline constexpr char kAlphaBlend[] = "AlphaBlend";
inline constexpr int kAlphaBlendDefault = 1;
inline constexpr char kViewZoom[] = "View Zoom";  // 1..8 whole factors, 0 fit to the window
inline constexpr int kViewZoomDefault = 1;

// "Menu" and "ButtonX" values.
inline constexpr char kMenuStyle[] = "Style";
inline constexpr int kMenuStyleDefault = 2;
inline constexpr char kMenuSelection[] = "Selection";
inline constexpr int kMenuSelectionDefault = 1;
inline constexpr char kMenuGloom[] = "Gloom";
inline constexpr int kMenuGloomDefault = 1;
inline constexpr char kButtonSettings[] = "Settings";
inline constexpr int kButtonSettingsDefault = 0;

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
inline constexpr char kWavNonStop[] = "Wav NonStop";
inline constexpr int kWavNonStopDefault = 1;
inline constexpr char kPreview[] = "Preview";
inline constexpr int kPreviewDefault = 1;

// The system's button-face colour as a Windows colour value (0x00BBGGRR), the default
// of "Custom Color" and the toolbar swatch's starting colour.
uint32_t buttonFaceColorRef();

}  // namespace qv::settings
