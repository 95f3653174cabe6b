// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The picture file dialogs with preview.
// CFileImgDlg saves a picture: beside the file list it shows the picture and offers the
// colour depth (256 colours, true colour, grey, black and white) and the size, with the
// proportions kept while the keep button is down; the format follows the chosen filter.
// CFileImgAllDlg opens any picture the imaging layer reads, showing it with its size and
// depth; a file it cannot read says why in the dialog and cannot be chosen.
#pragma once

#include <QPointer>
#include <QString>
#include <utility>

#include "platform/imaging/pictor.h"
#include "dialogs/preview_file_dlg.h"
#include "platform/ui/file_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace qv {

class CPreviewArea;

class CFileImgDlg : public CFileDialogX {
public:
    // `image` is the picture to save; it must outlive the dialog.
    CFileImgDlg(const CPictorImage& image, const QString& filter, QWidget* parent = nullptr);

    QWidget* CreateCustomArea(QWidget* parent) override;
    bool OnFileOK() override;
    void OnDialogEnd(bool accepted) override;

    // After OK: the file to write (the chosen name with the format's extension), the
    // format code (1 PCX, 6 BMP), its extension, the bits per pixel (8, 24, 0 grey, 1
    // black and white) and the size.
    const QString& savePath() const { return savePath_; }
    int format() const { return format_; }
    QString extension() const;
    int bitsPerPixel() const { return bitsPerPixel_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The other side of a size edited with the proportions kept: `value` times `ratio`,
    // rounded; when that passes 9999, 9999 and the edited side recomputed. Returns
    // {edited side, other side}.
    static std::pair<int, int> proportional(int value, double ratio);

    static constexpr int kMaxSide = 9999;

private:
    void sideEdited(bool widthEdited);

    const CPictorImage& image_;
    int depthIndex_ = 0;
    int width_ = 0;
    int height_ = 0;
    double heightPerWidth_ = 1.0;
    double widthPerHeight_ = 1.0;
    bool keep_ = true;
    bool adjusting_ = false;
    QString savePath_;
    int format_ = kPictorFormatPcx;
    int bitsPerPixel_ = 8;
    QPointer<QComboBox> depth_;
    QPointer<QSpinBox> widthEdit_;
    QPointer<QSpinBox> heightEdit_;
    QPointer<QToolButton> keepButton_;
};

class CFileImgAllDlg : public CPreviewFileDlg {
public:
    CFileImgAllDlg(const QString& filter, QWidget* parent = nullptr);

    QWidget* CreateCustomArea(QWidget* parent) override;
    void OnFileNameChange(const QString& path) override;
    void OnFolderChange(const QString& folder) override;
    bool OnFileOK() override;
    void OnDialogEnd(bool accepted) override;

    const CPictorImage& image() const { return image_; }
    // "WxHxBb", or the reason the selected file cannot be read.
    const QString& infoText() const { return info_; }

protected:
    void previewChanged(bool) override { showImage(); }

private:
    void showImage();

    CPictorImage image_;
    QString info_;
    QPointer<CPreviewArea> area_;
    QPointer<QLabel> infoLabel_;
};

}  // namespace qv
