// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/file_img_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "core/strings.h"
#include "dialogs/preview_area.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "view/save_image.h"

namespace qv {

namespace {

const QString kImgSection = QStringLiteral("Dlg Img");
const QString kPreviewSection = QStringLiteral("Dlg ImgPreview");

QString u8(const char* s) { return QString::fromUtf8(s); }

// The side a spin box holds as typed, or 0 when the text is no size.
int typedSide(const QSpinBox* spin)
{
    bool ok = false;
    const int v = spin->text().trimmed().toInt(&ok);
    return ok && v >= 1 && v <= CFileImgDlg::kMaxSide ? v : 0;
}

}  // namespace

// ---- CFileImgDlg ------------------------------------------------------------------------

CFileImgDlg::CFileImgDlg(const CPictorImage& image, const QString& filter, QWidget* parent)
    : CFileDialogX(false, {}, {},
                   OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING |
                       OFN_ENABLETEMPLATE,
                   filter, parent),
      image_(image)
{
    width_ = image.bitmap().width();
    height_ = image.bitmap().height();
    if (width_ > 0 && height_ > 0) {
        heightPerWidth_ = double(height_) / double(width_);
        widthPerHeight_ = double(width_) / double(height_);
    }
    filterIndex = GetProfileInt(kImgSection, QStringLiteral("Filter"), 1);
}

QString CFileImgDlg::extension() const
{
    return format_ == kPictorFormatBmp ? QStringLiteral(".bmp") : QStringLiteral(".pcx");
}

std::pair<int, int> CFileImgDlg::proportional(int value, double ratio)
{
    auto round = [](double v) { return static_cast<int>(std::lround(v)); };
    int other = round(value * ratio);
    if (other > kMaxSide) {
        other = kMaxSide;
        value = ratio > 0 ? round(kMaxSide / ratio) : value;
    }
    return {value, std::max(other, 1)};
}

QWidget* CFileImgDlg::CreateCustomArea(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 0, 0, 0);
    auto* area = new CPreviewArea(panel);
    area->setObjectName(QStringLiteral("previewArea"));
    if (image_.IsLoaded()) area->setPicture(toQImage(image_.bitmap().bitmap));
    layout->addWidget(area, 1);

    auto* form = new QFormLayout;
    depth_ = new QComboBox(panel);
    depth_->setObjectName(QStringLiteral("depth"));
    depth_->addItems({u8(str::IDS_FDLG_DEPTH_8), u8(str::IDS_FDLG_DEPTH_24), u8(str::IDS_FDLG_DEPTH_GRAY),
                      u8(str::IDS_FDLG_DEPTH_BW)});
    depth_->setCurrentIndex(depthIndex_);
    form->addRow(u8(str::IDS_FDLG_COLOR_DEPTH), depth_);

    auto makeSide = [panel](const char* name, int value) {
        auto* spin = new QSpinBox(panel);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(1, kMaxSide);
        if (auto* edit = spin->findChild<QLineEdit*>()) edit->setMaxLength(4);
        spin->setValue(std::clamp(value, 1, kMaxSide));
        return spin;
    };
    widthEdit_ = makeSide("width", width_);
    heightEdit_ = makeSide("height", height_);
    keepButton_ = new QToolButton(panel);
    keepButton_->setObjectName(QStringLiteral("keep"));
    keepButton_->setCheckable(true);
    keepButton_->setChecked(keep_);
    keepButton_->setText(QStringLiteral("\u221D"));  // the proportional-to sign
    keepButton_->setToolTip(u8(str::IDS_FDLG_KEEP_PROPORTIONS));
    auto* sizes = new QHBoxLayout;
    auto* sides = new QFormLayout;
    sides->addRow(u8(str::IDS_FDLG_WIDTH), widthEdit_);
    sides->addRow(u8(str::IDS_FDLG_HEIGHT), heightEdit_);
    sizes->addLayout(sides);
    sizes->addWidget(keepButton_);
    layout->addLayout(form);
    layout->addLayout(sizes);

    QObject::connect(depth_, qOverload<int>(&QComboBox::currentIndexChanged), panel,
                     [this](int i) { depthIndex_ = std::max(0, i); });
    QObject::connect(widthEdit_, qOverload<int>(&QSpinBox::valueChanged), panel, [this](int) { sideEdited(true); });
    QObject::connect(heightEdit_, qOverload<int>(&QSpinBox::valueChanged), panel, [this](int) { sideEdited(false); });
    QObject::connect(keepButton_, &QToolButton::toggled, panel, [this](bool on) { keep_ = on; });
    return panel;
}

void CFileImgDlg::sideEdited(bool widthEdited)
{
    if (adjusting_ || !widthEdit_ || !heightEdit_) return;
    width_ = widthEdit_->value();
    height_ = heightEdit_->value();
    if (!keep_) return;
    adjusting_ = true;
    if (widthEdited) {
        const auto [w, h] = proportional(width_, heightPerWidth_);
        width_ = w;
        height_ = h;
    } else {
        const auto [h, w] = proportional(height_, widthPerHeight_);
        width_ = w;
        height_ = h;
    }
    widthEdit_->setValue(width_);
    heightEdit_->setValue(height_);
    adjusting_ = false;
}

bool CFileImgDlg::OnFileOK()
{
    if (!image_.IsLoaded()) {
        AfxMessageBox(formatMessage(str::IDS_FILE_WRONG_FORMAT, {QFile::encodeName(GetPathName()).toStdString()}),
                      MB_ICONSTOP);
        return false;
    }
    if (widthEdit_ && heightEdit_) {
        const int w = typedSide(widthEdit_);
        const int h = typedSide(heightEdit_);
        if (w == 0 || h == 0) {
            AfxMessageBox(str::IDS_FDLG_BAD_SIZE, MB_ICONSTOP);
            return false;
        }
        width_ = w;
        height_ = h;
    }
    static constexpr int kDepths[] = {8, 24, 0, 1};
    bitsPerPixel_ = kDepths[std::clamp(depthIndex_, 0, 3)];
    savePath_ = savedImagePath(GetPathName(), filterIndex, format_);
    return true;
}

void CFileImgDlg::OnDialogEnd(bool) { WriteProfileInt(kImgSection, QStringLiteral("Filter"), filterIndex); }

// ---- CFileImgAllDlg ---------------------------------------------------------------------

CFileImgAllDlg::CFileImgAllDlg(const QString& filter, QWidget* parent)
    : CPreviewFileDlg(kPreviewSection, true, {}, {},
                      OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING |
                          OFN_ENABLETEMPLATE,
                      filter, parent)
{
}

QWidget* CFileImgAllDlg::CreateCustomArea(QWidget* parent)
{
    QVBoxLayout* layout = nullptr;
    QWidget* panel = makePreviewPanel(parent, layout);
    area_ = new CPreviewArea(panel);
    area_->setObjectName(QStringLiteral("previewArea"));
    infoLabel_ = new QLabel(panel);
    infoLabel_->setObjectName(QStringLiteral("info"));
    infoLabel_->setWordWrap(true);
    layout->addWidget(area_, 1);
    layout->addWidget(infoLabel_);
    showImage();
    return panel;
}

void CFileImgAllDlg::OnFileNameChange(const QString& path)
{
    info_.clear();
    image_.CloseFile();
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        // Pictures load fast enough to do it here, preview on or not: the size and depth
        // are shown either way.
        try {
            image_.LoadFile(path);
            const PictorFileInfo& fi = image_.GetImgFileInfo();
            info_ = QString::fromStdString(formatMessage(str::IDS_FDLG_IMG_INFO, {fi.width, fi.height, fi.bitsPerPixel}));
        } catch (const CPictorException& e) {
            info_ = e.GetErrorMessage().replace(QLatin1String("\r\n"), QLatin1String("\n"));
        } catch (const std::exception&) {
            info_ = u8(str::IDS_FDLG_NO_PREVIEW);
        }
    }
    showImage();
}

void CFileImgAllDlg::OnFolderChange(const QString&)
{
    image_.CloseFile();
    info_.clear();
    showImage();
}

void CFileImgAllDlg::showImage()
{
    if (infoLabel_) infoLabel_->setText(info_);
    if (!area_) return;
    if (preview_ && image_.IsLoaded())
        area_->setPicture(toQImage(image_.bitmap().bitmap));
    else
        area_->clear();
}

bool CFileImgAllDlg::OnFileOK()
{
    // A name typed rather than clicked has not been looked at yet.
    if (!image_.IsLoaded() || QFileInfo(image_.GetFileName()) != QFileInfo(GetPathName())) OnFileNameChange(GetPathName());
    if (image_.IsLoaded()) {
        setResult({image_.GetFileName()}, filterIndex);
        return true;
    }
    AfxMessageBox(formatMessage(str::IDS_FILE_WRONG_FORMAT, {QFile::encodeName(GetPathName()).toStdString()}),
                  MB_ICONSTOP);
    return false;
}

void CFileImgAllDlg::OnDialogEnd(bool)
{
    savePreviewChoice();
    image_.CloseFile();
}

}  // namespace qv
