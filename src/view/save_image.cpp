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
    CFlcImage image;
    image.bitmap() = bitmap;
    return image.SaveToFile(parent, documentPath);
}

}  // namespace qv
