// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/save_image.h"

#include <QFileInfo>

#include "flc/flc_image.h"
#include "platform/imaging/pictor.h"

namespace qv {

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
    CFlcImage image;
    image.bitmap() = bitmap;
    return image.SaveToFile(parent);
}

}  // namespace qv
