// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/file_flc_dlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QThreadPool>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <mutex>

#include "core/compositor.h"
#include "core/flc_reader.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "dialogs/preview_area.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg Flc");

// A frame as the view draws it: a unit over the default colour with shadows and lights
// blended, a leader head over black.
QImage composeFrame(const FramePixels& pixels, int width, int height, const Palette256& palette, bool leaderHead)
{
    Surface32 target(width, height);
    Composition c;
    c.fillRgb = effectiveFillRgb(leaderHead, true, colorRefToRgb(kDefaultButtonFaceColorRef));
    c.frame.leaderHead = leaderHead;
    const int rows = width > 0 ? std::min<int>(height, static_cast<int>(pixels.size() / size_t(width))) : 0;
    compose(target.view(), IndexedPixels{pixels.data(), width, rows, width}, palette, c);
    return QImage(reinterpret_cast<const uchar*>(target.pixels.data()), width, height, width * 4, QImage::Format_RGB32)
        .copy();
}

void composeFirstDirection(const std::vector<FramePixels>& frames, int perDirection, int width, int height,
                           const Palette256& palette, bool leaderHead, AnimationPreview& out)
{
    const size_t n = std::min(frames.size(), static_cast<size_t>(std::max(1, perDirection)));
    for (size_t i = 0; i < n; ++i) out.frames.push_back(composeFrame(frames[i], width, height, palette, leaderHead));
}

}  // namespace

AnimationPreview loadAnimationPreview(const QString& path)
{
    AnimationPreview out;
    out.path = path;
    const std::string local = QFile::encodeName(path).toStdString();
    const QString ext = QFileInfo(path).suffix().toLower();
    try {
        if (ext == QLatin1String("flc")) {
            FlcLoadResult r;
            if (!loadFlcAnimation(local, r)) {
                out.message = QString::fromUtf8(str::IDS_FDLG_NO_PREVIEW);
                return out;
            }
            const FlcHeader& h = r.store.header;
            out.width = h.width;
            out.height = h.height;
            out.frameCount = static_cast<int>(r.store.frames.size());
            out.intervalMs = static_cast<int>(h.speed);
            composeFirstDirection(r.store.frames, h.framesPerDirection, h.width, h.height, r.store.basePalette,
                                  r.leaderHead, out);
        } else if (ext == QLatin1String("qsb")) {
            StoryboardInfo info;
            if (!ReadQSB(local, info)) {
                out.message = QString::fromUtf8(str::IDS_QSB_CANNOT_READ);
                return out;
            }
            StoryboardFrames sb;
            if (!loadStoryboard(local, sb)) {
                out.message = QString::fromUtf8(str::IDS_FDLG_NO_PREVIEW);
                return out;
            }
            out.width = sb.info.frameWidth;
            out.height = sb.info.frameHeight;
            out.frameCount = static_cast<int>(sb.frames.size());
            out.intervalMs = sb.info.speed;
            composeFirstDirection(sb.frames, sb.info.framesPerDirection, out.width, out.height, sb.palette,
                                  sb.info.leaderHead != 0, out);
        } else {
            return out;
        }
        out.loaded = !out.frames.empty();
    } catch (const std::exception&) {
        // Out of memory or worse: the preview says it cannot show the file.
        out = AnimationPreview{};
        out.path = path;
        out.message = QString::fromUtf8(str::IDS_FDLG_NO_PREVIEW);
    }
    return out;
}

// The worker thread and the widgets it reports to. A finished job posts its result to the
// panel only while the panel exists; the lock keeps the panel from going away between the
// check and the post.
struct CFileFlcDlg::Worker {
    struct Mailbox {
        std::mutex lock;
        QObject* target = nullptr;
    };
    Worker() { pool.setMaxThreadCount(1); }
    ~Worker()
    {
        detach();
        pool.clear();
        pool.waitForDone();
    }
    void detach()
    {
        std::lock_guard<std::mutex> g(mailbox->lock);
        mailbox->target = nullptr;
    }

    QThreadPool pool;
    std::shared_ptr<Mailbox> mailbox = std::make_shared<Mailbox>();
    QPointer<QWidget> panel;
    QPointer<CPreviewArea> area;
    QPointer<QLabel> info;
};

CFileFlcDlg::CFileFlcDlg(bool openDialog, const QString& defaultExt, const QString& fileName, unsigned flags,
                         const QString& filter, QWidget* parent)
    : CPreviewFileDlg(kSection, openDialog, defaultExt, fileName, flags | OFN_ENABLETEMPLATE, filter, parent),
      worker_(std::make_unique<Worker>())
{
}

CFileFlcDlg::~CFileFlcDlg() = default;

QWidget* CFileFlcDlg::CreateCustomArea(QWidget* parent)
{
    QVBoxLayout* layout = nullptr;
    QWidget* panel = makePreviewPanel(parent, layout);
    auto* area = new CPreviewArea(panel);
    area->setObjectName(QStringLiteral("previewArea"));
    auto* info = new QLabel(panel);
    info->setObjectName(QStringLiteral("info"));
    // The panel keeps its size whatever it shows, so moving through the files never
    // makes the dialog lay itself out again.
    info->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    info->setMinimumHeight(info->fontMetrics().height());
    area->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    panel->setFixedWidth(200);
    layout->addWidget(area, 1);
    layout->addWidget(info);

    worker_->detach();
    worker_->panel = panel;
    worker_->area = area;
    worker_->info = info;
    {
        std::lock_guard<std::mutex> g(worker_->mailbox->lock);
        worker_->mailbox->target = panel;
    }
    // The panel goes with the dialog window; no result is posted to it afterwards.
    auto mailbox = worker_->mailbox;
    QObject::connect(panel, &QObject::destroyed, [mailbox] {
        std::lock_guard<std::mutex> g(mailbox->lock);
        mailbox->target = nullptr;
    });
    return panel;
}

CPreviewArea* CFileFlcDlg::previewArea() const { return worker_->area; }

QString CFileFlcDlg::infoText() const { return worker_->info ? worker_->info->text() : QString(); }

void CFileFlcDlg::OnFileNameChange(const QString& path)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.isFile()) return;  // nothing selected (or a folder)
    const QString ext = fi.suffix().toLower();
    ++generation_;
    current_.reset();
    if (ext != QLatin1String("flc") && ext != QLatin1String("qsb")) {
        selected_.clear();
        showPreview();
        return;
    }
    selected_ = path;
    if (preview_) startLoading(path);
    showPreview();
}

void CFileFlcDlg::OnFolderChange(const QString&)
{
    ++generation_;
    selected_.clear();
    current_.reset();
    worker_->pool.clear();
    showPreview();
}

void CFileFlcDlg::previewChanged(bool changed)
{
    if (!changed) return;
    if (preview_ && !current_ && !selected_.isEmpty()) startLoading(selected_);
    showPreview();
}

void CFileFlcDlg::startLoading(const QString& path)
{
    // Only the newest selection matters: one that has not started yet is dropped.
    worker_->pool.clear();
    if (!worker_->panel) return;  // no window to show it in; OK loads it when needed
    const int generation = generation_;
    auto mailbox = worker_->mailbox;
    worker_->pool.start([this, path, generation, mailbox] {
        auto preview = std::make_shared<AnimationPreview>(loadAnimationPreview(path));
        std::lock_guard<std::mutex> g(mailbox->lock);
        if (!mailbox->target) return;
        QMetaObject::invokeMethod(
            mailbox->target, [this, generation, preview] { deliver(generation, preview); }, Qt::QueuedConnection);
    });
}

void CFileFlcDlg::deliver(int generation, std::shared_ptr<AnimationPreview> preview)
{
    if (generation != generation_) return;  // the user has moved on
    current_ = std::move(preview);
    showPreview();
}

void CFileFlcDlg::waitForPreview()
{
    worker_->pool.waitForDone();
    QCoreApplication::sendPostedEvents();
}

void CFileFlcDlg::showPreview()
{
    CPreviewArea* area = worker_->area;
    QLabel* info = worker_->info;
    if (!area || !info) return;
    if (!preview_ || selected_.isEmpty()) {
        area->clear();
        info->clear();
        return;
    }
    if (!current_) {
        area->clear();
        info->setText(QString::fromUtf8(str::IDS_FDLG_LOADING));
        return;
    }
    if (!current_->loaded) {
        area->setText(current_->message);
        info->clear();
        return;
    }
    area->setFrames(current_->frames, current_->intervalMs);
    info->setText(QString::fromStdString(
        formatMessage(str::IDS_FDLG_ANIM_INFO, {current_->width, current_->height, current_->frameCount})));
}

bool CFileFlcDlg::OnFileOK()
{
    // Saving replaces whatever is there; only an animation to open must load.
    if (!preview_ || !isOpenDialog()) return true;
    const QString path = GetPathName();
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext != QLatin1String("flc") && ext != QLatin1String("qsb")) return true;
    // The worker may not have finished with this file yet: load it here.
    const bool known = current_ && current_->path == path;
    const bool loaded = known ? current_->loaded : loadAnimationPreview(path).loaded;
    if (loaded) return true;
    AfxMessageBox(formatMessage(str::IDS_FILE_WRONG_FORMAT, {QFile::encodeName(path).toStdString()}), MB_ICONSTOP);
    return false;
}

void CFileFlcDlg::OnDialogEnd(bool)
{
    savePreviewChoice();
    worker_->detach();
    worker_->pool.clear();
    current_.reset();
}

}  // namespace qv
