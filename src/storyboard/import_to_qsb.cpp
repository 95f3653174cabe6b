// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/import_to_qsb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <exception>

#include "app/settings.h"
#include "core/import_storyboard.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "storyboard/qsb_view.h"

namespace qv {

namespace {

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

const QString kSection = QStringLiteral("Dlg ImpQSB");

int profileInt(const char* entry, int defaultValue)
{
    return GetProfileInt(kSection, QString::fromLatin1(entry), defaultValue);
}

void writeInt(const char* entry, int value)
{
    WriteProfileInt(kSection, QString::fromLatin1(entry), value);
}

QSpinBox* spin(int min, int max, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(min, max);
    box->setValue(value);
    return box;
}

QComboBox* combo(const QStringList& items, int index, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->addItems(items);
    box->setCurrentIndex(qBound(0, index, static_cast<int>(items.size()) - 1));
    return box;
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Refusals that end the import with the stop icon; the others are plain boxes.
unsigned importMessageIcon(const std::string& message)
{
    return message == str::IDS_STORYBOARD_CANNOT_CREATE || message == str::IDS_QSB_CANNOT_WRITE ? MB_ICONSTOP : MB_OK;
}

}  // namespace

CImportToQSB::CImportToQSB(QWidget* parent) : CDialogX(kSection, parent, false)
{
    setWindowTitle(S(str::IDS_IMPORT_DLG_TITLE));
    auto* layout = new QVBoxLayout(this);

    auto* files = new QGridLayout;
    source_ = new QLineEdit(GetProfileString(kSection, QStringLiteral("Src")), this);
    auto* browseSource = new QPushButton(S(str::IDS_IMPORT_BROWSE), this);
    sourceInfo_ = new QLabel(this);
    dest_ = new QLineEdit(GetProfileString(kSection, QStringLiteral("Dest")), this);
    auto* browseDest = new QPushButton(S(str::IDS_IMPORT_BROWSE), this);
    files->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_SOURCE), this), 0, 0);
    files->addWidget(source_, 0, 1);
    files->addWidget(browseSource, 0, 2);
    files->addWidget(sourceInfo_, 1, 1);
    files->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_DEST), this), 2, 0);
    files->addWidget(dest_, 2, 1);
    files->addWidget(browseDest, 2, 2);
    layout->addLayout(files);

    auto* paletteBox = new QGroupBox(S(str::IDS_IMPORT_GROUP_PALETTE), this);
    auto* pl = new QGridLayout(paletteBox);
    fromImage_ = new QRadioButton(S(str::IDS_IMPORT_PALETTE_FROM_IMAGE), paletteBox);
    fromFile_ = new QRadioButton(S(str::IDS_IMPORT_PALETTE_FROM_FILE), paletteBox);
    fromImage_->setChecked(true);
    palette_ = new QLineEdit(paletteBox);
    auto* browsePalette = new QPushButton(S(str::IDS_IMPORT_BROWSE), paletteBox);
    palType_ = combo({S(str::IDS_PALETTE_TYPE_ACT), S(str::IDS_PALETTE_TYPE_RIFF), S(str::IDS_PALETTE_TYPE_JASC)},
                     profileInt("Pal Type", 0), paletteBox);
    fileType_ =
        combo({S(str::IDS_SHEET_TYPE_PCX), S(str::IDS_SHEET_TYPE_BMP)}, profileInt("FileType", 0) ? 1 : 0, paletteBox);
    colDepth_ =
        combo({S(str::IDS_IMPORT_DEPTH_8), S(str::IDS_IMPORT_DEPTH_24)}, profileInt("ColDepth", 0) ? 1 : 0, paletteBox);
    pl->addWidget(fromImage_, 0, 0, 1, 3);
    pl->addWidget(fromFile_, 1, 0);
    pl->addWidget(palette_, 1, 1);
    pl->addWidget(browsePalette, 1, 2);
    pl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_PAL_TYPE), paletteBox), 2, 0);
    pl->addWidget(palType_, 2, 1, 1, 2);
    pl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_SHEET_TYPE), paletteBox), 3, 0);
    pl->addWidget(fileType_, 3, 1, 1, 2);
    pl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_DEPTH), paletteBox), 4, 0);
    pl->addWidget(colDepth_, 4, 1, 1, 2);

    auto* frameBox = new QGroupBox(S(str::IDS_IMPORT_GROUP_FRAME), this);
    auto* fl = new QGridLayout(frameBox);
    width_ = spin(0, 255, profileInt("Width", 50), frameBox);
    height_ = spin(0, 255, profileInt("Height", 50), frameBox);
    xOffset_ = spin(0, 255, profileInt("XOffset", 95), frameBox);
    yOffset_ = spin(0, 255, profileInt("YOffset", 80), frameBox);
    delay_ = spin(0, 65535, profileInt("Delay", 125), frameBox);
    auto* centre = new QPushButton(S(str::IDS_IMPORT_CENTERING), frameBox);
    save_ = new QCheckBox(S(str::IDS_IMPORT_SAVE_SETTINGS), frameBox);
    save_->setChecked(profileInt("Save", 0) != 0);
    fl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_WIDTH), frameBox), 0, 0);
    fl->addWidget(width_, 0, 1);
    fl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_HEIGHT), frameBox), 1, 0);
    fl->addWidget(height_, 1, 1);
    fl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_XOFFSET), frameBox), 2, 0);
    fl->addWidget(xOffset_, 2, 1);
    fl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_YOFFSET), frameBox), 3, 0);
    fl->addWidget(yOffset_, 3, 1);
    fl->addWidget(centre, 4, 1);
    fl->addWidget(new QLabel(S(str::IDS_IMPORT_LABEL_DELAY), frameBox), 5, 0);
    fl->addWidget(delay_, 5, 1);
    fl->addWidget(save_, 6, 0, 1, 2);

    auto* previewBox = new QVBoxLayout;
    showPreview_ = new QCheckBox(S(str::IDS_IMPORT_PREVIEW), this);
    showGrid_ = new QCheckBox(S(str::IDS_IMPORT_SHOW_GRID), this);
    showLines_ = new QCheckBox(S(str::IDS_IMPORT_SHOW_LINES), this);
    showPreview_->setChecked(profileInt("Preview", 1) != 0);
    showGrid_->setChecked(profileInt("Show Grid", 1) != 0);
    showLines_->setChecked(profileInt("Show Lines", 1) != 0);
    preview_ = new QLabel(this);
    preview_->setFixedSize(kUnitArea + 2, kUnitArea + 2);
    preview_->setFrameShape(QFrame::Box);
    previewBox->addWidget(preview_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(showPreview_);
    checks->addWidget(showGrid_);
    checks->addWidget(showLines_);
    previewBox->addLayout(checks);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(paletteBox);
    left->addWidget(frameBox);
    middle->addLayout(left);
    middle->addLayout(previewBox);
    layout->addLayout(middle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CImportToQSB::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseSource, &QPushButton::clicked, this, &CImportToQSB::BrowseSource);
    connect(browseDest, &QPushButton::clicked, this, &CImportToQSB::BrowseDestination);
    connect(browsePalette, &QPushButton::clicked, this, &CImportToQSB::BrowsePalette);
    connect(centre, &QPushButton::clicked, this, &CImportToQSB::Centre);
    connect(width_, &QSpinBox::valueChanged, this, &CImportToQSB::UpdateOffsetLimits);
    connect(height_, &QSpinBox::valueChanged, this, &CImportToQSB::UpdateOffsetLimits);
    for (QSpinBox* box : {xOffset_, yOffset_})
        connect(box, &QSpinBox::valueChanged, this, &CImportToQSB::UpdatePreview);
    for (QCheckBox* box : {showPreview_, showGrid_, showLines_})
        connect(box, &QCheckBox::toggled, this, &CImportToQSB::UpdatePreview);
    UpdateOffsetLimits();
}

bool CImportToQSB::SetSource(const QString& path)
{
    picture_ = Bitmap{};
    picturePath_.clear();
    sourceInfo_->clear();
    try {
        Bitmap loaded;
        const Status st = loadImportSource(path.toStdString(), loaded);
        if (!st) {
            AfxMessageBox(st.message, MB_OK);
            UpdatePreview();
            return false;
        }
        picture_ = std::move(loaded);
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CImportToQSB::SetSource"}), MB_ICONSTOP);
        return false;
    }
    picturePath_ = path;
    source_->setText(path);
    sourceInfo_->setText(QString::fromStdString(
        formatMessage(str::IDS_IMPORT_SOURCE_DESC, {picture_.width, picture_.height, picture_.bitsPerPixel})));
    UpdatePreview();
    return true;
}

void CImportToQSB::BrowseSource()
{
    CFileDialogX dlg(true, QString(), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                     S(str::IDS_IMPORT_SOURCE_FILTER), this);
    dlg.title = S(str::IDS_IMPORT_SOURCE_TITLE);
    dlg.initialPath = source_->text();
    dlg.filterIndex = profileInt("Filter", 1);
    if (dlg.DoModal() != IDOK) return;
    writeInt("Filter", dlg.filterIndex);
    SetSource(dlg.GetPathName());
}

void CImportToQSB::BrowseDestination()
{
    CFileDialogX dlg(false, QStringLiteral("qsb"), QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     S(str::IDS_QSB_SAVE_FILTER), this);
    dlg.title = S(str::IDS_IMPORT_DEST_TITLE);
    dlg.initialPath = dest_->text();
    if (dlg.DoModal() == IDOK) dest_->setText(dlg.GetPathName());
}

void CImportToQSB::BrowsePalette()
{
    CFileDialogX dlg(true, QString(), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                     S(str::IDS_PALETTE_IMPORT_FILTER), this);
    dlg.title = S(str::IDS_PALETTE_IMPORT_TITLE);
    dlg.initialPath = GetProfileString(QString::fromLatin1(settings::kOptions), QStringLiteral("PalDir"));
    dlg.filterIndex = GetProfileInt(QString::fromLatin1(settings::kOptions), QStringLiteral("PalFilterImp"), 1);
    if (dlg.DoModal() != IDOK) return;
    WriteProfileString(QString::fromLatin1(settings::kOptions), QStringLiteral("PalDir"), dlg.GetPathName());
    WriteProfileInt(QString::fromLatin1(settings::kOptions), QStringLiteral("PalFilterImp"), dlg.filterIndex);
    palette_->setText(dlg.GetPathName());
    fromFile_->setChecked(true);
}

void CImportToQSB::Centre()
{
    xOffset_->setValue(centredImportOffset(width_->value()));
    yOffset_->setValue(centredImportOffset(height_->value()));
}

void CImportToQSB::UpdateOffsetLimits()
{
    // An offset keeps the frame inside the unit area.
    xOffset_->setMaximum(limitImportOffset(255, width_->value()));
    yOffset_->setMaximum(limitImportOffset(255, height_->value()));
    UpdatePreview();
}

void CImportToQSB::UpdatePreview()
{
    QImage area(kUnitArea, kUnitArea, QImage::Format_RGB32);
    area.fill(palette().color(QPalette::Button));
    const int w = width_->value(), h = height_->value();
    const int x0 = xOffset_->value(), y0 = yOffset_->value();
    if (showPreview_->isChecked() && !picture_.empty() && w > 0 && h > 0 && picture_.width >= w + 2 &&
        picture_.height >= h + 2) {
        // The first cell of the picture, at the offsets.
        for (int y = 0; y < h && y0 + y < kUnitArea; ++y) {
            const uint8_t* row = picture_.row(1 + y);
            for (int x = 0; x < w && x0 + x < kUnitArea; ++x) {
                QRgb c;
                if (picture_.bitsPerPixel == 8) {
                    const PaletteEntry& e = picture_.palette[row[1 + x]];
                    c = qRgb(e.red, e.green, e.blue);
                } else {
                    const uint8_t* p = row + 3 * (1 + x);
                    c = qRgb(p[0], p[1], p[2]);
                }
                area.setPixel(x0 + x, y0 + y, c);
            }
        }
    }
    QPainter painter(&area);
    if (showGrid_->isChecked() && w > 0 && h > 0) {
        painter.setPen(Qt::black);
        painter.drawRect(x0 - 1, y0 - 1, w + 1, h + 1);
    }
    if (showLines_->isChecked()) {
        painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
        painter.drawLine(kUnitArea / 2, 0, kUnitArea / 2, kUnitArea - 1);
        painter.drawLine(0, kUnitArea / 2, kUnitArea - 1, kUnitArea / 2);
    }
    painter.end();
    preview_->setPixmap(QPixmap::fromImage(area));
}

QString CImportToQSB::destination() const
{
    QString dest = dest_->text().trimmed();
    if (!dest.isEmpty() && QFileInfo(dest).suffix().compare(QLatin1String("qsb"), Qt::CaseInsensitive) != 0)
        dest += QStringLiteral(".qsb");
    return dest.isEmpty() ? dest : QFileInfo(dest).absoluteFilePath();
}

bool CImportToQSB::ImportToQSB()
{
    try {
        const QString src = source_->text().trimmed();
        if (picture_.empty() || picturePath_ != src) {
            if (!SetSource(src)) return false;
        }
        if (destination().isEmpty()) {
            BrowseDestination();
            if (destination().isEmpty()) return false;
        }
        ImportStoryboardSettings s;
        s.destinationPath = destination().toStdString();
        s.paletteFromFile = fromFile_->isChecked();
        s.palettePath = palette_->text().trimmed().toStdString();
        s.paletteType = palType_->currentIndex();
        s.imageFormat = fileType_->currentIndex();
        s.colorDepth = colDepth_->currentIndex();
        s.frameWidth = width_->value();
        s.frameHeight = height_->value();
        s.leftOffset = limitImportOffset(xOffset_->value(), s.frameWidth);
        s.topOffset = limitImportOffset(yOffset_->value(), s.frameHeight);
        s.delay = delay_->value();
        const ImportQuestion ask = [this](const std::string& question) {
            return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES ? ImportAnswer::Yes : ImportAnswer::No;
        };
        Status st;
        {
            WaitCursor wait;
            st = qv::ImportToQSB(picture_, s, ask);
        }
        if (!st) {
            if (!st.message.empty()) AfxMessageBox(st.message, importMessageIcon(st.message));
            return false;
        }
        dest_->setText(destination());
        return true;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CImportToQSB::ImportToQSB"}), MB_ICONSTOP);
        return false;
    }
}

void CImportToQSB::SaveChoices(bool frameValues)
{
    WriteProfileString(kSection, QStringLiteral("Src"), source_->text());
    WriteProfileString(kSection, QStringLiteral("Dest"), dest_->text());
    writeInt("Pal Type", palType_->currentIndex());
    writeInt("FileType", fileType_->currentIndex());
    writeInt("ColDepth", colDepth_->currentIndex());
    writeInt("Save", save_->isChecked() ? 1 : 0);
    if (!frameValues) return;
    writeInt("Width", width_->value());
    writeInt("Height", height_->value());
    writeInt("XOffset", xOffset_->value());
    writeInt("YOffset", yOffset_->value());
    writeInt("Delay", delay_->value());
}

void CImportToQSB::accept()
{
    if (!ImportToQSB()) return;
    SaveChoices(save_->isChecked());
    CDialogX::accept();
}

void CImportToQSB::done(int result)
{
    writeInt("Preview", showPreview_->isChecked() ? 1 : 0);
    writeInt("Show Grid", showGrid_->isChecked() ? 1 : 0);
    writeInt("Show Lines", showLines_->isChecked() ? 1 : 0);
    CDialogX::done(result);
}

void RunImportToStoryboard(QWidget* parent)
{
    QString dest;
    {
        CImportToQSB dlg(parent);
        if (dlg.exec() != QDialog::Accepted) return;
        dest = dlg.destination();
    }
    if (!openAfterExportSetting()) {
        AfxMessageBox(str::IDS_IMPORT_DONE, MB_ICONINFORMATION);
        return;
    }
    if (askBeforeOpeningSetting() && AfxMessageBox(formatMessage(str::IDS_IMPORT_ASK_OPEN, {dest.toStdString()}),
                                                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (CWinApp* app = CWinApp::instance()) app->OpenDocumentFile(dest);
}

}  // namespace qv
