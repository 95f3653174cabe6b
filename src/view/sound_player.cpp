// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/sound_player.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace qv {

namespace {

// Plays through QSoundEffect on the default audio output. The effect is made on first
// use, and only when an output exists: without one the backend has nothing to open.
class QtSoundPlayer : public ISoundPlayer {
public:
    // Asked on every refresh of the Sound panel: the answer is kept and renewed when the
    // system's list of outputs changes.
    bool hasOutput() override
    {
        if (!devices_) {
            devices_ = std::make_unique<QMediaDevices>();
            QObject::connect(devices_.get(), &QMediaDevices::audioOutputsChanged, devices_.get(),
                             [this] { hasOutput_ = !QMediaDevices::audioOutputs().isEmpty(); });
            hasOutput_ = !QMediaDevices::audioOutputs().isEmpty();
        }
        return hasOutput_;
    }

    void play(const QString& path, bool loop) override
    {
        stop();
        if (!hasOutput()) return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (!effect_ || effect_->audioDevice() != device) {
            effect_ = std::make_unique<QSoundEffect>(device);
        }
        effect_->setSource(QUrl::fromLocalFile(path));
        effect_->setLoopCount(loop ? QSoundEffect::Infinite : 1);
        effect_->play();
    }

    void stop() override
    {
        if (effect_) effect_->stop();
    }

private:
    std::unique_ptr<QMediaDevices> devices_;
    bool hasOutput_ = false;
    std::unique_ptr<QSoundEffect> effect_;
};

ISoundPlayer* g_player = nullptr;

}  // namespace

ISoundPlayer& soundPlayer()
{
    if (g_player) return *g_player;
    // Never destroyed: its sound effect must not outlive the application object at exit.
    static auto* qtPlayer = new QtSoundPlayer;
    return *qtPlayer;
}

void setSoundPlayer(ISoundPlayer* player) { g_player = player; }

}  // namespace qv
