// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/save_image.h"

#include <QFile>
#include <QFileInfo>
#include <exception>

#include "core/strings.h"
#include "platform/imaging/pictor.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"

namespace qv {

namespace {

const QString kDlgImg = QStringLiteral("Dlg Img");

}  // namespace

QString savedImagePath(const QString& chosen, int filterIndex, int& format)
{
    struct Kind {
        const char* ext;
        int format;
    };
    static const Kind kinds[] = {{"pcx", kPictorFormatPcx}, {"bmp", kPictorFormatBmp}, {"png", kPictorFormatPng}};
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    for (const Kind& k : kinds)
        if (suffix == QLatin1String(k.ext)) {
            format = k.format;
            return chosen;
        }
    const Kind& k = filterIndex >= 2 && filterIndex <= 4 ? kinds[filterIndex - 2] : kinds[0];
    format = k.format;
    return chosen + QLatin1Char('.') + QLatin1String(k.ext);
}

bool SaveImageToFile(const PictorBitmap& bitmap, QWidget* parent, const QString& documentPath)
{
    if (!bitmap.allocated()) return false;
    try {
        CFileDialogX dlg(false, {}, {},
                         OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING,
                         QString::fromUtf8(str::IDS_ZOOM_SAVE_FILTER), parent);
        dlg.title = QString::fromUtf8(str::IDS_ZOOM_SAVE_TITLE);
        dlg.filterIndex = GetProfileInt(kDlgImg, QStringLiteral("Filter"), 1);
        dlg.initialPath = dialogStartPath(documentPath, GetProfileString(kDlgImg, QStringLiteral("Last Opend")));
        if (dlg.DoModal() != IDOK) return false;
        WriteProfileInt(kDlgImg, QStringLiteral("Filter"), dlg.filterIndex);

        int format = kPictorFormatPcx;
        const QString path = savedImagePath(dlg.GetPathName(), dlg.filterIndex, format);
        WriteProfileString(kDlgImg, QStringLiteral("Last Opend"), path);
        // The imaging layer writes in one piece and says why when it cannot: an existing
        // file is left as it was.
        PICTOR::SaveBitmap(path, bitmap, format, 24);
        return true;
    } catch (const CPictorException& e) {
        AfxMessageBox(e.GetErrorMessage(), MB_ICONERROR);
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CZoomingDlg::SaveToFile"}), MB_ICONERROR);
    }
    return false;
}

}  // namespace qv
