// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The sound preview has no menu command: the Sound panel's controls call the active
// animation view (animation_view_sound.cpp), which plays through the sound player
// (sound_player.h). Nothing is registered here.
#include "app/feature_commands.h"

namespace qv {

void RegisterSoundCommands() {}

}  // namespace qv
