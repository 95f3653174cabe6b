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

namespace qv {

namespace {

const QString kDlgImg = QStringLiteral("Dlg Img");

}  // namespace

QString savedImagePath(const QString& chosen, int filterIndex, int& format)
{
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (filterIndex == 3 || (filterIndex != 2 && suffix == QLatin1String("bmp")))
        format = kPictorFormatBmp;
    else
        format = kPictorFormatPcx;
    QString path = chosen;
    if (!suffix.isEmpty()) path.chop(4);
    return path + (format == kPictorFormatBmp ? QStringLiteral(".bmp") : QStringLiteral(".pcx"));
}

bool SaveImageToFile(const PictorBitmap& bitmap, QWidget* parent)
{
    if (!bitmap.allocated()) return false;
    try {
        CFileDialogX dlg(false, {}, {},
                         OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING,
                         QString::fromUtf8(str::IDS_ZOOM_SAVE_FILTER), parent);
        dlg.title = QString::fromUtf8(str::IDS_ZOOM_SAVE_TITLE);
        dlg.filterIndex = GetProfileInt(kDlgImg, QStringLiteral("Filter"), 1);
        const QString last = GetProfileString(kDlgImg, QStringLiteral("Last Opend"));
        if (!last.isEmpty() && QFileInfo(last).isFile()) dlg.initialPath = last;
        if (dlg.DoModal() != IDOK) return false;
        WriteProfileInt(kDlgImg, QStringLiteral("Filter"), dlg.filterIndex);

        int format = kPictorFormatPcx;
        const QString path = savedImagePath(dlg.GetPathName(), dlg.filterIndex, format);
        WriteProfileString(kDlgImg, QStringLiteral("Last Opend"), path);
        // A place that cannot take the file ends the command without a word. An existing
        // file is left as it is until the picture replaces it in one piece.
        {
            QFile probe(path);
            if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
        }
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
