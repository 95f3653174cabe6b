// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The live preview of the storyboard wizards: a "Preview" window that shows the sheet the
// wizard's current settings would make. The sheet is computed by a job on a worker thread
// (QtConcurrent); the window only ever receives finished pictures through the future's
// watcher, on the window's own thread, so the wizard keeps answering while a large sheet
// is drawn. A new request cancels the running job (it stops between two frames) and
// starts another; a result that is no longer the latest request is dropped.
#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "platform/ui/dialog_x.h"

class QCheckBox;

namespace qv {

// What a preview job hands back: the sheet's size and cell layout (for the guide lines)
// and the sheet as the window paints it, already shrunk to fit the picture area, so the
// window never converts or scales the whole sheet. A null picture: the job failed or was
// cancelled.
struct PreviewSheet {
    QSize size;
    QImage display;
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    int leftOffset = 0;
    int topOffset = 0;
};

// A preview job: runs on a worker thread, reads only what it captured, makes its picture
// to fit `area`, and returns early (with a null picture) once `cancelled` is set.
using PreviewJob = std::function<PreviewSheet(const std::atomic<bool>& cancelled, QSize area)>;

// The picture of an 8-bit sheet (`width` x `height` indices with their colours) that fits
// `area` with its proportions kept: each pixel the average colour of the sheet pixels it
// covers (a sheet that fits is copied as it is).
QImage fitSheetPicture(const uint8_t* pixels, int width, int height, const QRgb* colours, QSize area);

// The sheet picture with the grid lines and the unit-area guides drawn over it, scaled to
// fit the widget with its proportions kept.
class CPreviewPicture : public QWidget {
    Q_OBJECT
public:
    explicit CPreviewPicture(QWidget* parent = nullptr);
    void setSheet(const PreviewSheet& sheet);
    const PreviewSheet& sheet() const { return sheet_; }
    void setShowGrid(bool on);
    void setShowLines(bool on);
    // Where the sheet is painted in the widget.
    QRect sheetRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PreviewSheet sheet_;
    bool grid_ = true;
    bool lines_ = true;
};

class CPreviewDlg : public CDialogX {
    Q_OBJECT
public:
    explicit CPreviewDlg(QWidget* parent = nullptr);
    ~CPreviewDlg() override;

    // Starts `job` on the worker thread after the current event (requests made before
    // then are coalesced into the last one) and cancels the job still running.
    void request(PreviewJob job);
    // Whether a job is running or waiting to start.
    bool busy() const;
    // Jobs started so far (requests coalesced or dropped before starting do not count).
    int jobsStarted() const { return started_; }
    CPreviewPicture* picture() const { return picture_; }

    void done(int result) override;

signals:
    // A job's sheet arrived and is shown.
    void sheetShown();
    // The window was closed (by the user or by the wizard).
    void closed();

private:
    void startPending();
    void onFinished();

    CPreviewPicture* picture_ = nullptr;
    QCheckBox* showLines_ = nullptr;
    QCheckBox* showGrid_ = nullptr;
    PreviewJob pending_;
    bool startQueued_ = false;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::unique_ptr<QFutureWatcher<PreviewSheet>> watcher_;
    int started_ = 0;
};

}  // namespace qv
