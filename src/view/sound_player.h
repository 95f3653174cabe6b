// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The one sound output of the program: it plays one WAV file at a time, as the system's
// simple sound call does (a new sound stops the one before). The default plays through
// Qt Multimedia; tests install a player that only records. A computer without any audio
// output has no player to play through: hasOutput() is false and play() does nothing,
// so nothing waits for a sound that never comes.
#pragma once

#include <QString>

namespace qv {

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Whether there is an audio output to play through.
    virtual bool hasOutput() = 0;
    // Stops any sound, then plays `path` asynchronously, once or (loop) until stop().
    // A file that cannot be played is skipped without a message.
    virtual void play(const QString& path, bool loop) = 0;
    virtual void stop() = 0;
};

// The player in use (the Qt Multimedia one unless a test installed another). Never null.
ISoundPlayer& soundPlayer();
// Installs a player; nullptr goes back to the default. The caller keeps ownership.
void setSoundPlayer(ISoundPlayer* player);

}  // namespace qv
