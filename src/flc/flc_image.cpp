// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/flc_image.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <exception>

#include "core/strings.h"
#include "dialogs/file_img_dlg.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/utils.h"
#include "platform/ui/screen_capture.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg Img");
const QString kLastOpend = QStringLiteral("Last Opend");

// Every operation reports what went wrong in its own name and then fails.
template <typename Body>
bool guarded(const char* function, Body body)
{
    try {
        return body();
    } catch (const CPictorException& e) {
        AfxMessageBox(e.GetErrorMessage(), MB_ICONERROR);
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {function}), MB_ICONERROR);
    }
    return false;
}

bool captureInto(PictorBitmap& bmp)
{
    QImage area;
    if (!screenCaptureService().captureArea(area) || area.isNull()) return false;
    bmp.bitmap = fromQImage(area.convertToFormat(QImage::Format_RGB888));
    return bmp.allocated();
}

}  // namespace

bool CFlcImage::CopyToClipboard()
{
    return guarded("CFlcImage::CopyToClipboard", [this] {
        CloseFile();
        if (!captureInto(m_bitmap)) return false;
        PICTOR::CopyToClipboard(m_bitmap);
        const bool taken = !QGuiApplication::clipboard()->image().isNull();
        PICTOR::FreeBitmap(m_bitmap);
        if (!taken) AfxMessageBox(str::IDS_CLIPBOARD_REFUSED, MB_ICONERROR);
        return taken;
    });
}

bool CFlcImage::CopyToFile()
{
    return guarded("CFlcImage::CopyToFile", [this] {
        CloseFile();
        if (!captureInto(m_bitmap)) return false;
        return SaveToFile();
    });
}

bool CFlcImage::TakeFrame(CAnimationView& view)
{
    if (!view.isLoaded() || !view.device()) return false;
    const int w = view.frameWidth();
    const int h = view.frameHeight();
    QImage composed;
    if (w <= 0 || h <= 0 || !view.CaptureComposedFrame(composed)) return false;
    // The frame's rectangle in the back buffer; what lies outside it stays black.
    const QPoint at = view.isLeaderHead() ? QPoint(0, 0) : QPoint(view.leftOffset(), view.topOffset());
    const QImage frame = view.device()->backBuffer().copy(QRect(at, QSize(w, h)));
    CloseFile();
    m_bitmap.bitmap = fromQImage(frame.convertToFormat(QImage::Format_RGB888));
    return m_bitmap.allocated();
}

bool CFlcImage::SaveFrameToFile(CAnimationView& view)
{
    return guarded("CFlcImage::SaveFrameToFile", [this, &view] {
        const QString documentPath = view.GetDocument() ? view.GetDocument()->GetPathName() : QString();
        return TakeFrame(view) && SaveToFile(&view, documentPath);
    });
}

bool CFlcImage::SaveToFile(QWidget* parent, const QString& documentPath)
{
    return guarded("CFlcImage::SaveToFile", [this, parent, &documentPath] {
        if (!IsLoaded()) return false;
        CFileImgDlg dlg(*this, QString::fromUtf8(str::IDS_ZOOM_SAVE_FILTER), parent);
        dlg.title = QString::fromUtf8(str::IDS_ZOOM_SAVE_TITLE);
        // In the animation's folder (at the last picture saved there, when it still is).
        dlg.initialPath = dialogStartPath(documentPath, GetProfileString(kSection, kLastOpend));
        if (dlg.DoModal() != IDOK) return false;

        const QString path = dlg.savePath();
        WriteProfileString(kSection, kLastOpend, path);
        m_fileName = path;
        if (dlg.width() != m_bitmap.width() || dlg.height() != m_bitmap.height())
            PICTOR::SizeBitmap(m_bitmap, dlg.width(), dlg.height());
        // A place that cannot take the file ends the command without a word. An existing
        // file stays as it is until the picture replaces it in one piece.
        const bool existed = QFileInfo::exists(path);
        {
            QFile probe(path);
            if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
        }
        try {
            PICTOR::SaveBitmap(path, m_bitmap, dlg.format(), dlg.bitsPerPixel());
        } catch (...) {
            if (!existed) QFile::remove(path);  // no empty file left behind
            throw;
        }
        return true;
    });
}

}  // namespace qv
