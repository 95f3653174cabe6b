// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CAnimExportDlg ("Export Animation"): the active animation as an animated GIF or WebP,
// with the choices of `quorvane-cli anim` (format by the file's extension, direction or
// all of them in a row or a grid, civilization, background, scale, repeat count, WebP
// quality). The animation is taken as the view holds it (unsaved offsets and palette
// included) when the dialog opens. Every change encodes it again on a worker thread
// (an encoding under way is abandoned) and the result's size is shown; OK writes those
// bytes in one piece. The dialog's place and last choices are kept under "Dlg AnimExport".
#pragma once

#include <QFutureWatcher>
#include <atomic>
#include <memory>

#include "core/byte_io.h"
#include "core/flc_reader.h"
#include "core/result.h"
#include "platform/imaging/anim_export.h"
#include "platform/ui/dialog_x.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qv {

class CAnimationView;

class CAnimExportDlg : public CDialogX {
    Q_OBJECT
public:
    // `outputPath` is the file proposed (it can be changed in the dialog).
    CAnimExportDlg(const CAnimationView& view, const QString& outputPath, QWidget* parent = nullptr);
    ~CAnimExportDlg() override;

    // The choices as they stand; false when the file name gives no known format.
    bool options(AnimExportOptions& out) const;
    QString outputPath() const;
    // The bytes of the last finished encoding of the current choices (empty while one runs
    // or when it failed).
    const Bytes& encoded() const { return bytes_; }
    bool encoding() const { return pending_; }
    // Blocks until the encoding under way has finished and its result is shown.
    void waitForEncoding();

    void done(int result) override;

private:
    struct Result {
        Status status;
        Bytes bytes;
    };
    void browse();
    void restart();
    void finished();
    void updateStates();
    void saveChoices() const;

    std::shared_ptr<const FlcLoadResult> animation_;
    int directions_ = 1;
    QLineEdit* path_ = nullptr;
    QLabel* format_ = nullptr;
    QComboBox* direction_ = nullptr;
    QCheckBox* grid_ = nullptr;
    QComboBox* civ_ = nullptr;
    QComboBox* background_ = nullptr;
    QLineEdit* colour_ = nullptr;
    QSpinBox* scale_ = nullptr;
    QSpinBox* loop_ = nullptr;
    QCheckBox* lossy_ = nullptr;
    QSpinBox* quality_ = nullptr;
    QLabel* size_ = nullptr;
    QPushButton* ok_ = nullptr;

    QFutureWatcher<Result> watcher_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool pending_ = false;  // the watcher's encoding is of the current choices
    Bytes bytes_;
    bool failed_ = false;
};

// Runs the dialog for the active view (Export Animation): the save dialog first, then
// the choices. Returns true when a file was written.
bool ExportAnimation(const CAnimationView& view, QWidget* parent);

}  // namespace qv
