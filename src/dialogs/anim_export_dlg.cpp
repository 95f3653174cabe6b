// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/anim_export_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <new>

#include "core/file_io.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg AnimExport");
QString S(const char* text) { return QString::fromUtf8(text); }

// The animation as the view holds it now, in the form the export reads.
std::shared_ptr<const FlcLoadResult> snapshot(const CAnimationView& view)
{
    auto out = std::make_shared<FlcLoadResult>();
    out->leaderHead = view.isLeaderHead();
    FlcHeader& h = out->store.header;
    h = view.header();
    h.leftOffset = static_cast<uint16_t>(view.leftOffset());
    h.topOffset = static_cast<uint16_t>(view.topOffset());
    for (const AnimFrame& f : view.frames()) out->store.frames.push_back(f.pixels);
    out->store.basePalette = view.basePalette();
    completeFlcHeader(h, static_cast<uint16_t>(out->store.frames.size()));
    return out;
}

// The save dialog for an animated picture; the chosen path gets the extension of the
// chosen type when it has none.
bool chooseOutput(QWidget* parent, const QString& proposed, QString& path)
{
    CFileDialogX dlg(false, QStringLiteral("gif"), QFileInfo(proposed).fileName(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES |
                         OFN_ENABLESIZING,
                     S(str::IDS_ANIMX_FILTER), parent);
    dlg.title = S(str::IDS_ANIMX_TITLE);
    dlg.initialPath = proposed;
    AnimFormat format;
    dlg.filterIndex = animFormatOfPath(proposed.toStdString(), format) && format == AnimFormat::Webp ? 2 : 1;
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.GetPathName();
    if (QFileInfo(path).suffix().isEmpty()) path += dlg.filterIndex == 2 ? QStringLiteral(".webp") : QStringLiteral(".gif");
    return true;
}

enum BackgroundItem { kItemDefault, kItemCustom, kItemSea, kItemLand, kItemTransparent };

}  // namespace

CAnimExportDlg::CAnimExportDlg(const CAnimationView& view, const QString& outputPath, QWidget* parent)
    : CDialogX(kSection, parent, false), animation_(snapshot(view))
{
    setWindowTitle(S(str::IDS_ANIMX_TITLE));
    directions_ = animDirectionCount(*animation_);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto named = [this](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };

    auto* fileRow = new QHBoxLayout;
    path_ = named(new QLineEdit(outputPath, this), "path");
    auto* browse = named(new QPushButton(S(str::IDS_ANIMX_BROWSE), this), "browse");
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse);
    form->addRow(S(str::IDS_ANIMX_FILE), fileRow);
    format_ = named(new QLabel(this), "format");
    form->addRow(S(str::IDS_ANIMX_FORMAT), format_);

    direction_ = named(new QComboBox(this), "direction");
    direction_->addItem(S(str::IDS_ANIMX_ALL_DIRECTIONS), kAllDirections);
    // Eight directions in file order: SW, S, SE, E, NE, N, NW, W.
    static const char* const kNames[8] = {str::IDS_DIR_TIP_SW, str::IDS_DIR_TIP_S,  str::IDS_DIR_TIP_SE,
                                          str::IDS_DIR_TIP_E,  str::IDS_DIR_TIP_NE, str::IDS_DIR_TIP_N,
                                          str::IDS_DIR_TIP_NW, str::IDS_DIR_TIP_W};
    for (int d = 0; d < directions_; ++d)
        direction_->addItem(directions_ == 8
                                ? QString::fromStdString(formatMessage(str::IDS_ANIMX_DIRECTION_NAMED, {d, kNames[d]}))
                                : QString::number(d),
                            d);
    const int viewDirection = view.direction();  // 0 all, else 1..8
    direction_->setCurrentIndex(viewDirection > 0 && viewDirection <= directions_ ? viewDirection : 0);
    form->addRow(S(str::IDS_ANIMX_DIRECTION), direction_);
    grid_ = named(new QCheckBox(S(str::IDS_ANIMX_GRID), this), "grid");
    grid_->setChecked(GetProfileInt(kSection, QStringLiteral("Grid"), 0) != 0);
    form->addRow(QString(), grid_);

    civ_ = named(new QComboBox(this), "civ");
    civ_->addItems(view.civilizationNames());
    civ_->setCurrentIndex(view.civilization());
    form->addRow(S(str::IDS_ANIMX_CIV), civ_);

    auto* bgRow = new QHBoxLayout;
    background_ = named(new QComboBox(this), "background");
    for (const char* item : {str::IDS_ANIMX_BGD_DEFAULT, str::IDS_ANIMX_BGD_CUSTOM, str::IDS_ANIMX_BGD_SEA,
                             str::IDS_ANIMX_BGD_LAND, str::IDS_ANIMX_BGD_TRANSPARENT})
        background_->addItem(S(item));
    colour_ = named(new QLineEdit(this), "colour");
    colour_->setInputMask(QStringLiteral("\\#HHHHHH"));
    const uint32_t custom = colorRefToRgb(view.customColor());
    colour_->setText(QStringLiteral("#%1").arg(custom & kRgbMask, 6, 16, QLatin1Char('0')).toUpper());
    switch (view.backgroundType()) {
        case CAnimationView::kBgdCustom: background_->setCurrentIndex(kItemCustom); break;
        case CAnimationView::kBgdSea: background_->setCurrentIndex(kItemSea); break;
        case CAnimationView::kBgdLand: background_->setCurrentIndex(kItemLand); break;
        default: background_->setCurrentIndex(kItemDefault); break;
    }
    bgRow->addWidget(background_, 1);
    bgRow->addWidget(colour_);
    form->addRow(S(str::IDS_ANIMX_BACKGROUND), bgRow);

    scale_ = named(new QSpinBox(this), "scale");
    scale_->setRange(1, kMaxAnimScale);
    scale_->setValue(std::clamp(GetProfileInt(kSection, QStringLiteral("Scale"), 1), 1, kMaxAnimScale));
    form->addRow(S(str::IDS_ANIMX_SCALE), scale_);
    loop_ = named(new QSpinBox(this), "loop");
    loop_->setRange(0, 65535);
    loop_->setSpecialValueText(S(str::IDS_ANIMX_LOOP_FOREVER));
    loop_->setValue(std::clamp(GetProfileInt(kSection, QStringLiteral("Loop"), 0), 0, 65535));
    form->addRow(S(str::IDS_ANIMX_LOOP), loop_);
    auto* qualityRow = new QHBoxLayout;
    lossy_ = named(new QCheckBox(S(str::IDS_ANIMX_LOSSY), this), "lossy");
    lossy_->setChecked(GetProfileInt(kSection, QStringLiteral("Lossy"), 0) != 0);
    quality_ = named(new QSpinBox(this), "quality");
    quality_->setRange(0, 100);
    quality_->setValue(std::clamp(GetProfileInt(kSection, QStringLiteral("Quality"), 80), 0, 100));
    qualityRow->addWidget(lossy_);
    qualityRow->addWidget(quality_);
    qualityRow->addStretch(1);
    form->addRow(QString(), qualityRow);
    size_ = named(new QLabel(this), "size");
    form->addRow(S(str::IDS_ANIMX_SIZE), size_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CAnimExportDlg::browse);
    connect(&watcher_, &QFutureWatcher<Result>::finished, this, &CAnimExportDlg::finished);

    // Every choice starts the encoding again.
    connect(path_, &QLineEdit::textChanged, this, &CAnimExportDlg::restart);
    connect(colour_, &QLineEdit::textChanged, this, &CAnimExportDlg::restart);
    for (QComboBox* box : {direction_, civ_, background_})
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CAnimExportDlg::restart);
    for (QCheckBox* box : {grid_, lossy_}) connect(box, &QCheckBox::toggled, this, &CAnimExportDlg::restart);
    for (QSpinBox* box : {scale_, loop_, quality_})
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &CAnimExportDlg::restart);
    restart();
}

CAnimExportDlg::~CAnimExportDlg()
{
    if (cancel_) *cancel_ = true;
    watcher_.waitForFinished();
}

QString CAnimExportDlg::outputPath() const
{
    const QString text = path_->text().trimmed();
    return text.isEmpty() ? QString() : QFileInfo(text).absoluteFilePath();
}

bool CAnimExportDlg::options(AnimExportOptions& o) const
{
    if (!animFormatOfPath(outputPath().toStdString(), o.format)) return false;
    o.direction = direction_->currentData().toInt();
    o.grid = o.direction == kAllDirections && grid_->isChecked();
    o.compose.civ = civ_->currentIndex();
    o.compose.civSources = CAnimationView::civPaletteSourcesNow();
    switch (background_->currentIndex()) {
        case kItemCustom: {
            bool ok = false;
            const uint v = colour_->text().mid(1).toUInt(&ok, 16);
            if (!ok || colour_->text().size() != 7) return false;
            o.compose.background = {BackgroundChoice::Custom, v};
            break;
        }
        case kItemSea: o.compose.background.choice = BackgroundChoice::Sea; break;
        case kItemLand: o.compose.background.choice = BackgroundChoice::Land; break;
        case kItemTransparent: o.compose.background.choice = BackgroundChoice::Transparent; break;
        default: o.compose.background.choice = BackgroundChoice::Default; break;
    }
    o.scale = scale_->value();
    o.loopCount = loop_->value();
    o.quality = o.format == AnimFormat::Webp && lossy_->isChecked() ? quality_->value() : -1;
    return true;
}

void CAnimExportDlg::restart()
{
    if (cancel_) *cancel_ = true;
    bytes_.clear();
    failed_ = false;
    AnimExportOptions o;
    const bool valid = options(o);
    format_->setText(S(!animFormatOfPath(outputPath().toStdString(), o.format) ? str::IDS_ANIMX_FORMAT_NONE
                       : o.format == AnimFormat::Gif                           ? str::IDS_ANIMX_FORMAT_GIF
                                                                               : str::IDS_ANIMX_FORMAT_WEBP));
    pending_ = valid;
    if (!valid) {
        // An encoding under way was told to stop; its result is not wanted.
        failed_ = true;
        size_->clear();
        updateStates();
        return;
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    cancel_ = cancel;
    const std::shared_ptr<const FlcLoadResult> animation = animation_;
    const std::string path = outputPath().toStdString();
    watcher_.setFuture(QtConcurrent::run([animation, o, path, cancel] {
        Result r;
        try {
            r.status = exportAnimation(*animation, o, path, r.bytes, [cancel] { return cancel->load(); });
        } catch (const std::bad_alloc&) {
            r.status = Status::failure(str::IDS_OUT_OF_MEMORY);
        } catch (...) {
            r.status = Status::failure(formatMessage(str::IDS_UNKNOWN_ERROR, {"CAnimExportDlg::Encode"}));
        }
        if (!r.status) r.bytes.clear();
        return r;
    }));
    size_->setText(S(str::IDS_ANIMX_ENCODING));
    updateStates();
}

void CAnimExportDlg::finished()
{
    if (!pending_) return;
    pending_ = false;
    Result r = watcher_.result();
    failed_ = !r.status;
    bytes_ = std::move(r.bytes);
    size_->setText(failed_ ? QString::fromStdString(toPlainLineBreaks(r.status.message))
                           : QString::fromStdString(formatMessage(
                                 str::IDS_ANIMX_BYTES, {QLocale().toString(qulonglong(bytes_.size())).toStdString()})));
    updateStates();
}

void CAnimExportDlg::waitForEncoding()
{
    if (!pending_) return;
    watcher_.waitForFinished();
    finished();  // its signal may still be queued; it then finds nothing pending
}

void CAnimExportDlg::updateStates()
{
    AnimFormat format = AnimFormat::Gif;
    const bool webp = animFormatOfPath(outputPath().toStdString(), format) && format == AnimFormat::Webp;
    grid_->setEnabled(direction_->currentData().toInt() == kAllDirections && directions_ > 1);
    colour_->setEnabled(background_->currentIndex() == kItemCustom);
    lossy_->setEnabled(webp);
    quality_->setEnabled(webp && lossy_->isChecked());
    ok_->setEnabled(!bytes_.empty() && !pending_);
}

void CAnimExportDlg::browse()
{
    QString path;
    if (chooseOutput(this, outputPath(), path)) path_->setText(QDir::toNativeSeparators(path));
}

void CAnimExportDlg::saveChoices() const
{
    WriteProfileInt(kSection, QStringLiteral("Grid"), grid_->isChecked() ? 1 : 0);
    WriteProfileInt(kSection, QStringLiteral("Scale"), scale_->value());
    WriteProfileInt(kSection, QStringLiteral("Loop"), loop_->value());
    WriteProfileInt(kSection, QStringLiteral("Lossy"), lossy_->isChecked() ? 1 : 0);
    WriteProfileInt(kSection, QStringLiteral("Quality"), quality_->value());
}

void CAnimExportDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        waitForEncoding();
        if (bytes_.empty()) return;
        const std::string path = outputPath().toStdString();
        if (!writeFileAtomic(path, bytes_)) {
            AfxMessageBox(formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}), MB_ICONSTOP);
            return;
        }
        saveChoices();
    } else if (cancel_) {
        *cancel_ = true;
    }
    CDialogX::done(result);
}

bool ExportAnimation(const CAnimationView& view, QWidget* parent)
{
    if (!view.isLoaded()) return false;
    const QFileInfo source(view.loadedPath());
    QString path;
    if (!chooseOutput(parent, source.dir().filePath(source.completeBaseName() + QStringLiteral(".gif")), path))
        return false;
    CAnimExportDlg dlg(view, path, parent);
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace qv
