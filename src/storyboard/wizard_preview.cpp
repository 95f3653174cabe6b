// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/wizard_preview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "core/flc_format.h"
#include "core/strings.h"
#include "platform/ui/profile.h"
#include "platform/ui/utils.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg Preview");
const QString kShowLines = QStringLiteral("Show Lines");
const QString kShowGrid = QStringLiteral("Show Grid");

// One worker for every preview: a replaced job stops at its next frame, so a second thread
// would only compete with the window for the processor.
QThreadPool& previewPool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        return p;
    }();
    return *pool;
}

}  // namespace

QImage fitSheetPicture(const uint8_t* pixels, int width, int height, const QRgb* colours, QSize area)
{
    if (width <= 0 || height <= 0) return {};
    QSize fit(width, height);
    if (fit.width() > area.width() || fit.height() > area.height()) fit.scale(area.expandedTo({1, 1}), Qt::KeepAspectRatio);
    fit = fit.expandedTo({1, 1});
    QImage out(fit, QImage::Format_RGB32);
    // Each output pixel averages the block of sheet pixels it stands for.
    for (int oy = 0; oy < fit.height(); ++oy) {
        const int y0 = int(int64_t(oy) * height / fit.height());
        const int y1 = std::max(y0 + 1, int(int64_t(oy + 1) * height / fit.height()));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(oy));
        for (int ox = 0; ox < fit.width(); ++ox) {
            const int x0 = int(int64_t(ox) * width / fit.width());
            const int x1 = std::max(x0 + 1, int(int64_t(ox + 1) * width / fit.width()));
            unsigned r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y) {
                const uint8_t* row = pixels + size_t(y) * size_t(width);
                for (int x = x0; x < x1; ++x) {
                    const QRgb c = colours[row[x]];
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                    ++n;
                }
            }
            line[ox] = qRgb(int(r / n), int(g / n), int(b / n));
        }
    }
    return out;
}

// ---- The picture -------------------------------------------------------------------------

CPreviewPicture::CPreviewPicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CPreviewPicture::setSheet(const PreviewSheet& sheet)
{
    sheet_ = sheet;
    update();
}

void CPreviewPicture::setShowGrid(bool on)
{
    grid_ = on;
    update();
}

void CPreviewPicture::setShowLines(bool on)
{
    lines_ = on;
    update();
}

QRect CPreviewPicture::sheetRect() const
{
    if (sheet_.display.isNull() || sheet_.size.isEmpty()) return {};
    QSize size = sheet_.size;
    // Small sheets are shown at their own size, large ones shrunk to fit.
    if (size.width() > width() || size.height() > height()) size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void CPreviewPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect target = sheetRect();
    if (target.isEmpty()) return;
    if (sheet_.display.size() == target.size()) p.drawImage(target.topLeft(), sheet_.display);
    else p.drawImage(target, sheet_.display);  // the window was resized since
    const PreviewSheet& s = sheet_;
    if (s.cellWidth <= 0 || s.cellHeight <= 0) return;
    const double sx = double(target.width()) / s.size.width();
    const double sy = double(target.height()) / s.size.height();
    auto at = [&](int x, int y) { return QPointF(target.left() + x * sx, target.top() + y * sy); };
    if (grid_) {
        // The sheet's one-pixel grid, drawn over in a colour that stands out.
        p.setPen(QPen(QColor(255, 0, 0), 1));
        for (int k = 0; k <= s.columns; ++k) {
            const int x = k * (s.cellWidth + 1);
            p.drawLine(at(x, 0), at(x, s.size.height()));
        }
        for (int k = 0; k <= s.rows; ++k) {
            const int y = k * (s.cellHeight + 1);
            p.drawLine(at(0, y), at(s.size.width(), y));
        }
    }
    if (lines_) {
        // In every cell, where the centre of the game's unit area falls for the offsets.
        const int gx = kUnitArea / 2 - s.leftOffset, gy = kUnitArea / 2 - s.topOffset;
        p.setPen(QPen(QColor(0, 160, 255), 1, Qt::DotLine));
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.columns; ++c) {
                const int x0 = 1 + c * (s.cellWidth + 1), y0 = 1 + r * (s.cellHeight + 1);
                if (gx >= 0 && gx < s.cellWidth) p.drawLine(at(x0 + gx, y0), at(x0 + gx, y0 + s.cellHeight));
                if (gy >= 0 && gy < s.cellHeight) p.drawLine(at(x0, y0 + gy), at(x0 + s.cellWidth, y0 + gy));
            }
    }
}

// ---- The window --------------------------------------------------------------------------

CPreviewDlg::CPreviewDlg(QWidget* parent) : CDialogX(kSection, parent, true)
{
    setWindowTitle(QString::fromUtf8(str::IDS_PREVIEW_TITLE));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    picture_ = new CPreviewPicture(this);
    layout->addWidget(picture_, 1);
    auto* row = new QHBoxLayout;
    showLines_ = new QCheckBox(QString::fromUtf8(str::IDS_PREVIEW_SHOW_LINES), this);
    showLines_->setObjectName(QStringLiteral("showLines"));
    showGrid_ = new QCheckBox(QString::fromUtf8(str::IDS_PREVIEW_SHOW_GRID), this);
    showGrid_->setObjectName(QStringLiteral("showGrid"));
    showLines_->setChecked(GetProfileInt(kSection, kShowLines, 1) != 0);
    showGrid_->setChecked(GetProfileInt(kSection, kShowGrid, 1) != 0);
    picture_->setShowLines(showLines_->isChecked());
    picture_->setShowGrid(showGrid_->isChecked());
    row->addWidget(showLines_);
    row->addWidget(showGrid_);
    row->addStretch(1);
    layout->addLayout(row);
    connect(showLines_, &QCheckBox::toggled, picture_, &CPreviewPicture::setShowLines);
    connect(showGrid_, &QCheckBox::toggled, picture_, &CPreviewPicture::setShowGrid);
    resize(640, 420);
}

CPreviewDlg::~CPreviewDlg()
{
    // A job still running finishes on its own copies; nobody waits for it.
    if (cancel_) cancel_->store(true);
}

void CPreviewDlg::request(PreviewJob job)
{
    pending_ = std::move(job);
    if (startQueued_) return;
    startQueued_ = true;
    QTimer::singleShot(0, this, &CPreviewDlg::startPending);
}

bool CPreviewDlg::busy() const { return startQueued_ || (watcher_ && watcher_->isRunning()); }

void CPreviewDlg::startPending()
{
    startQueued_ = false;
    if (!pending_) return;
    if (cancel_) cancel_->store(true);  // the running job stops at its next frame
    watcher_.reset();                   // and its result is never delivered
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    PreviewJob job = std::move(pending_);
    pending_ = nullptr;
    watcher_ = std::make_unique<QFutureWatcher<PreviewSheet>>();
    connect(watcher_.get(), &QFutureWatcher<PreviewSheet>::finished, this, &CPreviewDlg::onFinished);
    std::shared_ptr<std::atomic<bool>> cancel = cancel_;
    const QSize area = picture_->size();
    watcher_->setFuture(QtConcurrent::run(&previewPool(), [job = std::move(job), cancel, area] {
        uLowerThreadPriority();
        return job(*cancel, area);
    }));
    ++started_;
}

void CPreviewDlg::onFinished()
{
    if (!watcher_ || watcher_->isCanceled() || watcher_->future().resultCount() == 0) return;
    const PreviewSheet sheet = watcher_->result();
    if (cancel_ && cancel_->load()) return;
    picture_->setSheet(sheet);
    emit sheetShown();
}

void CPreviewDlg::done(int result)
{
    if (cancel_) cancel_->store(true);
    watcher_.reset();
    pending_ = nullptr;
    WriteProfileInt(kSection, kShowLines, showLines_->isChecked() ? 1 : 0);
    WriteProfileInt(kSection, kShowGrid, showGrid_->isChecked() ? 1 : 0);
    CDialogX::done(result);
    emit closed();
}

}  // namespace qv
