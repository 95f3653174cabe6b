// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFileWavDlg: the open dialog of sound files. A WAV file selected while "Preview" is on
// plays at once ("Non Stop" repeats it); "Play" and "Stop" work on the selected WAV file.
// Other files (the game's ambient sounds among them) are chosen without a preview.
// Playing goes through an interface tests replace.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "dialogs/preview_file_dlg.h"

class QCheckBox;
class QPushButton;

namespace qv {

class IWavPreviewPlayer {
public:
    virtual ~IWavPreviewPlayer() = default;
    // Starts `path` without waiting (after stopping any other sound); `loop` repeats it.
    virtual void play(const QString& path, bool loop) = 0;
    virtual void stop() = 0;
};

// The player in use (Qt Multimedia unless a test installed another). Never null.
IWavPreviewPlayer& wavPreviewPlayer();
void setWavPreviewPlayer(IWavPreviewPlayer* player);

class CFileWavDlg : public CPreviewFileDlg {
public:
    CFileWavDlg(const QString& filter, QWidget* parent = nullptr);
    ~CFileWavDlg() override;

    QWidget* CreateCustomArea(QWidget* parent) override;
    void OnFileNameChange(const QString& path) override;
    void OnFolderChange(const QString& folder) override;
    void OnDialogEnd(bool accepted) override;

    bool nonStop() const { return nonStop_; }
    void setNonStop(bool on);
    void Play();
    void Stop();
    // Whether "Play" and "Stop" can be pressed.
    bool buttonsEnabled() const { return buttons_; }

protected:
    // On plays the selected file, off stops it.
    void previewChanged(bool changed) override;

private:
    void enableButtons(bool on);

    bool nonStop_ = false;
    bool buttons_ = false;
    QString wav_;  // the WAV file selected
    QPointer<QCheckBox> nonStopCheck_;
    QPointer<QPushButton> play_;
    QPointer<QPushButton> stop_;
};

}  // namespace qv
