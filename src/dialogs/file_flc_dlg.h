// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFileFlcDlg: the open and save dialog of animations. Beside the file list it plays the
// selected FLC file or storyboard (its first direction, at its own speed) and tells its
// size and frame count. Files are read and decoded on a worker thread, so moving through
// a folder of animations never waits for one; a broken file only says so in the preview.
// With the preview on, OK refuses an animation that cannot be loaded.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "dialogs/preview_file_dlg.h"

class QCheckBox;
class QLabel;

namespace qv {

class CPreviewArea;

// What the preview shows of one file.
struct AnimationPreview {
    QString path;
    bool loaded = false;  // the file loads as the program would open it
    QString message;      // why not, when the preview should say so
    int width = 0;
    int height = 0;
    int frameCount = 0;   // all frames, every direction
    int intervalMs = 0;   // the animation's speed
    std::vector<QImage> frames;  // the first direction, composed as the view shows it
};

// Loads `path` (".flc" or ".qsb", any case) for the preview. Safe on any thread.
AnimationPreview loadAnimationPreview(const QString& path);

class CFileFlcDlg : public CPreviewFileDlg {
public:
    CFileFlcDlg(bool openDialog, const QString& defaultExt, const QString& fileName, unsigned flags,
                const QString& filter, QWidget* parent = nullptr);
    ~CFileFlcDlg() override;

    QWidget* CreateCustomArea(QWidget* parent) override;
    void OnFileNameChange(const QString& path) override;
    void OnFolderChange(const QString& folder) override;
    bool OnFileOK() override;
    void OnDialogEnd(bool accepted) override;

    // The preview of the current selection once it has arrived (nullptr before).
    const AnimationPreview* currentPreview() const { return current_.get(); }
    CPreviewArea* previewArea() const;
    QString infoText() const;
    // Waits until the worker has delivered the current selection's preview (tests and
    // measurements; the dialog itself never waits).
    void waitForPreview();

protected:
    // Turning it on loads the current selection.
    void previewChanged(bool changed) override;

private:
    void startLoading(const QString& path);
    void deliver(int generation, std::shared_ptr<AnimationPreview> preview);
    void showPreview();

    struct Worker;
    std::unique_ptr<Worker> worker_;
    QString selected_;  // the FLC file or storyboard selected, empty for anything else
    int generation_ = 0;
    std::shared_ptr<AnimationPreview> current_;
};

}  // namespace qv
