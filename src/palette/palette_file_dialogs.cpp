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
#include "platform/ui/utils.h"

namespace qv {

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kPalDir = QStringLiteral("PalDir");
const QString kFilterImp = QStringLiteral("PalFilterImp");
const QString kFilterExp = QStringLiteral("PalFilterExp");

void startIn(CFileDialogX& dlg, const QString& documentPath)
{
    dlg.initialPath = dialogStartPath(documentPath, GetProfileString(kOptions, kPalDir));
}

}  // namespace

QString exportTargetPath(const QString& chosen, int type)
{
    QString base = chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    if (suffix.compare(QLatin1String("act"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("pal"), Qt::CaseInsensitive) == 0)
        base.chop(suffix.size() + 1);
    return base + (type == kPaletteAct ? QStringLiteral(".act") : QStringLiteral(".pal"));
}

PaletteImportResult ImportPalette(Palette256& target, QWidget* parent, const QString& documentPath)
{
    CFileDialogX dlg(true, {}, {}, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     QString::fromUtf8(str::IDS_PALETTE_IMPORT_FILTER), parent);
    dlg.title = QString::fromUtf8(str::IDS_PALETTE_IMPORT_TITLE);
    dlg.filterIndex = GetProfileInt(kOptions, kFilterImp, 1);
    startIn(dlg, documentPath);
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

bool ExportPalette(const Palette256& source, QWidget* parent, const QString& documentPath)
{
    // No default extension: the chosen filter decides the format and its extension.
    CFileDialogX dlg(false, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     QString::fromUtf8(str::IDS_PALETTE_EXPORT_FILTER), parent);
    dlg.title = QString::fromUtf8(str::IDS_PALETTE_EXPORT_TITLE);
    dlg.filterIndex = GetProfileInt(kOptions, kFilterExp, 1);
    startIn(dlg, documentPath);
    if (dlg.DoModal() != IDOK) return false;

    const int type = dlg.filterIndex - 1;
    const QString path = exportTargetPath(dlg.GetPathName(), type);
    WriteProfileString(kOptions, kPalDir, path);
    WriteProfileInt(kOptions, kFilterExp, dlg.filterIndex);
    if (!ExportPaletteToFile(path.toStdString(), source, type)) {
        AfxMessageBox(formatMessage(str::IDS_CANNOT_EXPORT_PALETTE, {path.toStdString()}), MB_OK);
        return false;
    }
    AfxMessageBox(str::IDS_PALETTE_EXPORTED, MB_ICONINFORMATION);
    return true;
}

}  // namespace qv
