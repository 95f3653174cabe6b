// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette/palette_file_dialogs.h"

#include <QFileInfo>

#include "core/palette_files.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kPalDir = QStringLiteral("PalDir");
const QString kFilterImp = QStringLiteral("PalFilterImp");
const QString kFilterExp = QStringLiteral("PalFilterExp");

// The dialog starts at the last palette file when that file or folder still exists.
void startAtLastPaletteFile(CFileDialogX& dlg)
{
    const QString last = GetProfileString(kOptions, kPalDir);
    if (!last.isEmpty() && QFileInfo::exists(last)) dlg.initialPath = last;
}

}  // namespace

PaletteImportResult ImportPalette(Palette256& target, QWidget* parent)
{
    CFileDialogX dlg(true, {}, {}, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     QString::fromUtf8(str::IDS_PALETTE_IMPORT_FILTER), parent);
    dlg.title = QString::fromUtf8(str::IDS_PALETTE_IMPORT_TITLE);
    dlg.filterIndex = GetProfileInt(kOptions, kFilterImp, 1);
    startAtLastPaletteFile(dlg);
    if (dlg.DoModal() != IDOK) return PaletteImportResult::Cancelled;

    const QString path = dlg.GetPathName();
    WriteProfileString(kOptions, kPalDir, path);
    WriteProfileInt(kOptions, kFilterImp, dlg.filterIndex);
    if (!ImportPaletteFromFile(path.toStdString(), target)) {
        AfxMessageBox(formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {path.toStdString()}), MB_OK);
        return PaletteImportResult::Failed;
    }
    return PaletteImportResult::Imported;
}

bool ExportPalette(const Palette256& source, QWidget* parent)
{
    // No default extension: the chosen filter decides the format and its extension.
    CFileDialogX dlg(false, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     QString::fromUtf8(str::IDS_PALETTE_EXPORT_FILTER), parent);
    dlg.title = QString::fromUtf8(str::IDS_PALETTE_EXPORT_TITLE);
    dlg.filterIndex = GetProfileInt(kOptions, kFilterExp, 1);
    startAtLastPaletteFile(dlg);
    if (dlg.DoModal() != IDOK) return false;

    const QString path = dlg.GetPathName();
    WriteProfileString(kOptions, kPalDir, path);
    WriteProfileInt(kOptions, kFilterExp, dlg.filterIndex);
    if (!ExportPaletteToFile(path.toStdString(), source, dlg.filterIndex - 1)) {
        AfxMessageBox(formatMessage(str::IDS_CANNOT_EXPORT_PALETTE, {path.toStdString()}), MB_OK);
        return false;
    }
    AfxMessageBox(str::IDS_PALETTE_EXPORTED, MB_ICONINFORMATION);
    return true;
}

}  // namespace qv
