// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette/color_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "core/civ_palettes.h"
#include "core/compositor.h"
#include "core/flc_reader.h"
#include "core/palette_ops.h"
#include "core/strings.h"
#include "palette/civ_color_combo.h"
#include "palette/color_table.h"
#include "palette/palette_file_dialogs.h"
#include "palette/palette_undo.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

QPushButton* makeButton(QWidget* parent, const char* text, const char* name)
{
    auto* b = new QPushButton(S(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

// "Red: r  Green: g  Blue: b" and, with an index, "  Index: i".
QString colourText(uint32_t rgb, int index = -1)
{
    QString t = S(str::IDS_LABEL_RED) + QStringLiteral(" %1  ").arg((rgb >> 16) & 0xFF) + S(str::IDS_LABEL_GREEN) +
                QStringLiteral(" %1  ").arg((rgb >> 8) & 0xFF) + S(str::IDS_LABEL_BLUE) +
                QStringLiteral(" %1").arg(rgb & 0xFF);
    if (index >= 0) t += QStringLiteral("  ") + S(str::IDS_LABEL_INDEX) + QStringLiteral(" %1").arg(index);
    return t;
}

// Shows a failure of the imaging layer or anything else inside a dialog operation.
void reportException(const char* function)
{
    try {
        throw;
    } catch (const CPictorException& e) {
        AfxMessageBox(e.GetErrorMessage(), MB_ICONERROR);
    } catch (...) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {function}), MB_ICONERROR);
    }
}

QWidget* dialogParent(CAnimationView* view)
{
    if (view) return view;
    return QApplication::activeWindow();
}

}  // namespace

// ---- Entry points ----------------------------------------------------------------------

void ShowPaletteDialog(CAnimationView* view)
{
    if (!view || !view->isLoaded()) return;
    try {
        Palette256 palette = view->displayPalette();
        CColorTableDlg dlg(palette, view);
        if (dlg.exec() != QDialog::Accepted) return;
        CommitPaletteChange(view, palette);
    } catch (...) {
        reportException("CAnimationView::OnPalette");
    }
}

void ShowColorReplace(CAnimationView* view)
{
    try {
        const bool loaded = view && view->isLoaded();
        Palette256 caller = loaded ? view->displayPalette() : Palette256{};
        std::function<bool(const Palette256&)> applied;
        std::function<void(const Palette256*)> preview;
        if (loaded) {
            applied = [view](const Palette256& p) { return CommitPaletteChange(view, p); };
            // The view shows a preview over its own colours, which come back when it ends.
            auto own = std::make_shared<std::optional<Palette256>>();
            preview = [view, own](const Palette256* p) {
                if (p) {
                    if (!*own) *own = view->displayPalette();
                    view->ShowPalettePreview(*p);
                } else if (*own) {
                    view->ShowPalettePreview(**own);
                    own->reset();
                }
            };
        }
        CColorReplaceDlg dlg(loaded ? &caller : nullptr, applied, dialogParent(view), preview);
        dlg.exec();
    } catch (...) {
        reportException("CMainFrame::OnColorReplace");
    }
}

// ---- Colour boxes --------------------------------------------------------------------

CColorBoxes::CColorBoxes(QWidget* parent) : QObject(parent)
{
    static const QRegularExpression digits(QStringLiteral("\\d{0,3}"));
    const char* names[] = {"red", "green", "blue"};
    QLineEdit** boxes[] = {&red, &green, &blue};
    for (int i = 0; i < 3; ++i) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(QString::fromUtf8(names[i]));
        e->setMaxLength(3);
        e->setValidator(new QRegularExpressionValidator(digits, e));
        e->setMaximumWidth(48);
        connect(e, &QLineEdit::textChanged, this, [this, e] { onEdited(e); });
        *boxes[i] = e;
    }
}

void CColorBoxes::show(uint32_t colorRef)
{
    filling_ = true;
    red->setText(QString::number(colorRef & 0xFF));
    green->setText(QString::number((colorRef >> 8) & 0xFF));
    blue->setText(QString::number((colorRef >> 16) & 0xFF));
    filling_ = false;
}

uint32_t CColorBoxes::colorRef() const
{
    auto value = [](const QLineEdit* e) { return uint32_t(std::min(e->text().toInt(), 255)); };
    return value(red) | (value(green) << 8) | (value(blue) << 16);
}

void CColorBoxes::onEdited(QLineEdit* box)
{
    if (filling_) return;
    if (box->text().toInt() > 255) {
        box->setText(QStringLiteral("255"));  // comes back here with the kept value
        return;
    }
    emit edited(colorRef());
}

// ---- Color Table ---------------------------------------------------------------------

CColorTableDlg::CColorTableDlg(Palette256& palette, QWidget* parent)
    : CDialogX(QStringLiteral("Dlg ColorTable"), parent, false), palette_(palette)
{
    setWindowTitle(S(str::IDS_COLOR_TABLE_TITLE));
    auto* layout = new QHBoxLayout(this);
    grid_ = new CColorTable(palette, CColorTable::kDestinationId, this);
    layout->addWidget(grid_);
    auto* side = new QVBoxLayout;
    layout->addLayout(side);

    auto* selected = new QGroupBox(S(str::IDS_SELECTED_COLOR), this);
    auto* sg = new QGridLayout(selected);
    selSwatch_ = new CColorSwatch(selected);
    boxes_ = new CColorBoxes(selected);
    selIndex_ = new QLabel(selected);
    selIndex_->setObjectName(QStringLiteral("selectedIndex"));
    sg->addWidget(selSwatch_, 0, 0, 1, 2);
    sg->addWidget(new QLabel(S(str::IDS_LABEL_RED), selected), 1, 0);
    sg->addWidget(boxes_->red, 1, 1);
    sg->addWidget(new QLabel(S(str::IDS_LABEL_GREEN), selected), 2, 0);
    sg->addWidget(boxes_->green, 2, 1);
    sg->addWidget(new QLabel(S(str::IDS_LABEL_BLUE), selected), 3, 0);
    sg->addWidget(boxes_->blue, 3, 1);
    sg->addWidget(selIndex_, 4, 0, 1, 2);
    side->addWidget(selected);

    auto* current = new QGroupBox(S(str::IDS_CURRENT_COLOR), this);
    auto* cg = new QVBoxLayout(current);
    curSwatch_ = new CColorSwatch(current);
    current_ = new QLabel(current);
    current_->setObjectName(QStringLiteral("current"));
    cg->addWidget(curSwatch_);
    cg->addWidget(current_);
    side->addWidget(current);

    QPushButton* select = makeButton(this, str::IDS_BTN_SELECT, "select");
    QPushButton* ok = makeButton(this, str::IDS_BTN_OK, "ok");
    QPushButton* cancel = makeButton(this, str::IDS_BTN_CANCEL, "cancel");
    ok->setDefault(true);
    side->addWidget(select);
    side->addStretch();
    side->addWidget(ok);
    side->addWidget(cancel);

    connect(grid_, &CColorTable::selectedColorChanged, this, [this](uint32_t c, int) { onSelected(c); });
    connect(grid_, &CColorTable::hotColorChanged, this, [this](uint32_t c, int) { onHot(c); });
    connect(boxes_, &CColorBoxes::edited, this, [this](uint32_t c) {
        if (grid_->selectedCell() < 0) return;
        grid_->SetCellColor(grid_->selectedCell(), c);
        selSwatch_->setColorRef(c);
    });
    connect(select, &QPushButton::clicked, this, [this] {
        const int index = grid_->selectedCell();
        uint32_t c = grid_->cellColor(index);
        if (index < 0 || !ShowColorDialog(this, c)) return;
        grid_->SetCellColor(index, c);
        onSelected(c);
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    grid_->SelectCell(0);
    onSelected(grid_->cellColor(0));
    grid_->setFocus();
}

void CColorTableDlg::onSelected(uint32_t colorRef)
{
    selSwatch_->setColorRef(colorRef);
    boxes_->show(colorRef);
    selIndex_->setText(S(str::IDS_LABEL_INDEX) + QStringLiteral(" %1").arg(grid_->selectedCell()));
}

void CColorTableDlg::onHot(uint32_t colorRef)
{
    curSwatch_->setColorRef(colorRef);
    current_->setText(colourText(colorRefToRgb(colorRef), grid_->hotCell()));
}

void CColorTableDlg::done(int result)
{
    if (result == QDialog::Accepted) palette_ = grid_->cellsPalette();
    CDialogX::done(result);
}

// ---- Color Replace ---------------------------------------------------------------------

namespace {
const QString kReplaceSection = QStringLiteral("Dlg ColorReplace");
}

CColorReplaceDlg::CColorReplaceDlg(Palette256* caller, std::function<bool(const Palette256&)> applied,
                                   QWidget* parent, std::function<void(const Palette256*)> preview)
    : CDialogX(kReplaceSection, parent, false),
      caller_(caller),
      applied_(std::move(applied)),
      preview_(std::move(preview))
{
    setWindowTitle(S(str::IDS_COLOR_REPLACE_TITLE));
    work_ = caller_ ? *caller_ : redPalette();
    saved_ = work_;
    source_ = redPalette();

    auto* layout = new QVBoxLayout(this);
    auto* grids = new QHBoxLayout;
    layout->addLayout(grids);

    // Destination: file box, grid, swatches and the colour boxes.
    auto* destBox = new QGroupBox(S(str::IDS_CR_DESTINATION), this);
    auto* dl = new QVBoxLayout(destBox);
    auto* destRow = new QHBoxLayout;
    destPath_ = new QLineEdit(destBox);
    destPath_->setObjectName(QStringLiteral("destinationPath"));
    destPath_->setReadOnly(true);
    QPushButton* destBrowse = makeButton(destBox, str::IDS_BTN_BROWSE, "destinationBrowse");
    destRow->addWidget(destPath_);
    destRow->addWidget(destBrowse);
    dl->addLayout(destRow);
    dest_ = new CColorTable(work_, CColorTable::kDestinationId, destBox);
    dl->addWidget(dest_);
    auto* destInfo = new QGridLayout;
    curDest_ = new CColorSwatch(destBox);
    selDest_ = new CColorSwatch(destBox);
    destInfo->addWidget(new QLabel(S(str::IDS_CR_CURRENT_DEST), destBox), 0, 0);
    destInfo->addWidget(curDest_, 0, 1);
    destInfo->addWidget(new QLabel(S(str::IDS_CR_SELECTED_DEST), destBox), 1, 0);
    destInfo->addWidget(selDest_, 1, 1);
    boxes_ = new CColorBoxes(destBox);
    auto* rgb = new QHBoxLayout;
    rgb->addWidget(new QLabel(S(str::IDS_LABEL_RED), destBox));
    rgb->addWidget(boxes_->red);
    rgb->addWidget(new QLabel(S(str::IDS_LABEL_GREEN), destBox));
    rgb->addWidget(boxes_->green);
    rgb->addWidget(new QLabel(S(str::IDS_LABEL_BLUE), destBox));
    rgb->addWidget(boxes_->blue);
    QPushButton* select = makeButton(destBox, str::IDS_BTN_SELECT, "select");
    rgb->addWidget(select);
    destInfo->addLayout(rgb, 2, 0, 1, 2);
    dl->addLayout(destInfo);
    grids->addWidget(destBox);

    // Source: civilization scheme or file, grid and swatches.
    auto* srcBox = new QGroupBox(S(str::IDS_CR_SOURCE), this);
    auto* sl = new QVBoxLayout(srcBox);
    auto* kindRow = new QGridLayout;
    civRadio_ = new QRadioButton(S(str::IDS_CR_CIV_PALETTE), srcBox);
    civRadio_->setObjectName(QStringLiteral("civPalette"));
    fileRadio_ = new QRadioButton(S(str::IDS_CR_FROM_FILE), srcBox);
    fileRadio_->setObjectName(QStringLiteral("fromFile"));
    civList_ = new CCivColorCombo(srcBox);
    civList_->setObjectName(QStringLiteral("civList"));
    srcPath_ = new QLineEdit(srcBox);
    srcPath_->setObjectName(QStringLiteral("sourcePath"));
    srcPath_->setReadOnly(true);
    QPushButton* srcBrowse = makeButton(srcBox, str::IDS_BTN_BROWSE, "sourceBrowse");
    srcBrowse_ = srcBrowse;
    kindRow->addWidget(civRadio_, 0, 0);
    kindRow->addWidget(civList_, 0, 1, 1, 2);
    kindRow->addWidget(fileRadio_, 1, 0);
    kindRow->addWidget(srcPath_, 1, 1);
    kindRow->addWidget(srcBrowse, 1, 2);
    sl->addLayout(kindRow);
    src_ = new CColorTableSrc(source_, CColorTable::kSourceId, srcBox);
    sl->addWidget(src_);
    auto* srcInfo = new QGridLayout;
    curSrc_ = new CColorSwatch(srcBox);
    selSrc_ = new CColorSwatch(srcBox);
    srcInfo->addWidget(new QLabel(S(str::IDS_CR_CURRENT_SRC), srcBox), 0, 0);
    srcInfo->addWidget(curSrc_, 0, 1);
    srcInfo->addWidget(new QLabel(S(str::IDS_CR_SELECTED_SRC), srcBox), 1, 0);
    srcInfo->addWidget(selSrc_, 1, 1);
    sl->addLayout(srcInfo);
    grids->addWidget(srcBox);

    auto* tools = new QHBoxLayout;
    tools->addWidget(addButton(str::IDS_CR_REPLACE, "replace", &CColorReplaceDlg::replaceSelected));
    tools->addWidget(addButton(str::IDS_CR_RANGE, "range", &CColorReplaceDlg::openRange));
    tools->addWidget(addButton(str::IDS_CR_MOVE, "move", &CColorReplaceDlg::openMove));
    tools->addWidget(addButton(str::IDS_CR_BCHS, "bchs", &CColorReplaceDlg::openBchs));
    tools->addWidget(addButton(str::IDS_CR_FROM_IMAGE, "fromImage", &CColorReplaceDlg::openFromImage));
    tools->addWidget(addButton(str::IDS_CR_SAVE, "save", &CColorReplaceDlg::savePalette));
    layout->addLayout(tools);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(addButton(str::IDS_BTN_APPLY, "apply", &CColorReplaceDlg::apply));
    bottom->addWidget(addButton(str::IDS_BTN_DISCARD, "discard", &CColorReplaceDlg::discard));
    QPushButton* ok = makeButton(this, str::IDS_BTN_OK, "ok");
    QPushButton* cancel = makeButton(this, str::IDS_BTN_CANCEL, "cancel");
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(destBrowse, &QPushButton::clicked, this, &CColorReplaceDlg::chooseDestinationFile);
    connect(srcBrowse, &QPushButton::clicked, this, &CColorReplaceDlg::chooseSourceFile);
    connect(select, &QPushButton::clicked, this, [this] {
        const int index = dest_->selectedCell();
        uint32_t c = dest_->cellColor(index);
        if (index < 0 || !ShowColorDialog(this, c)) return;
        onBoxesEdited(c);
        boxes_->show(c);
    });
    connect(civRadio_, &QRadioButton::clicked, this, [this] { setSourceKind(false); });
    connect(fileRadio_, &QRadioButton::clicked, this, [this] { setSourceKind(true); });
    connect(civList_, QOverload<int>::of(&QComboBox::activated), this, [this](int index) { loadCivSource(index); });
    connect(dest_, &CColorTable::hotColorChanged, curDest_, [this](uint32_t c, int) { curDest_->setColorRef(c); });
    connect(dest_, &CColorTable::selectedColorChanged, this, [this](uint32_t c, int) { onDestinationSelected(c); });
    connect(src_, &CColorTable::hotColorChanged, curSrc_, [this](uint32_t c, int) { curSrc_->setColorRef(c); });
    connect(src_, &CColorTable::selectedColorChanged, selSrc_, [this](uint32_t c, int) { selSrc_->setColorRef(c); });
    connect(boxes_, &CColorBoxes::edited, this, &CColorReplaceDlg::onBoxesEdited);

    const bool fromFile = GetProfileInt(kReplaceSection, QStringLiteral("Pal Type"), 1) != 0;
    (fromFile ? fileRadio_ : civRadio_)->setChecked(true);
    civList_->setEnabled(!fromFile);
    srcPath_->setEnabled(fromFile);
    srcBrowse_->setEnabled(fromFile);
    QTimer::singleShot(100, dest_, [this] { dest_->setFocus(); });
}

QPushButton* CColorReplaceDlg::addButton(const char* text, const char* name, void (CColorReplaceDlg::*slot)())
{
    QPushButton* b = makeButton(this, text, name);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
}

QPushButton* CColorReplaceDlg::button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromUtf8(name));
}

void CColorReplaceDlg::setSourceKind(bool fromFile)
{
    civList_->setEnabled(!fromFile);
    srcPath_->setEnabled(fromFile);
    srcBrowse_->setEnabled(fromFile);
    if (fromFile) loadSourceFile();
    else loadCivSource(civList_->currentIndex());
}

void CColorReplaceDlg::loadCivSource(int index)
{
    source_ = redPalette();
    if (index >= 1 && index <= kCivSchemeCount) {
        Palette256 scheme;
        const Status st = paletteFromRes(index, CAnimationView::civPaletteSourcesNow(), work_, scheme);
        if (st) {
            for (int i = 0; i < kCivSchemeColours; ++i) source_[size_t(i)] = scheme[size_t(i)];
        } else {
            if (!st.message.empty()) AfxMessageBox(st.message, MB_OK);
            AfxMessageBox(str::IDS_CANNOT_GET_CIV_PALETTE, MB_OK);
        }
    }
    src_->SetPalette(source_);
}

void CColorReplaceDlg::loadSourceFile()
{
    source_ = redPalette();
    const QString path = srcPath_->text();
    if (!path.isEmpty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const Status st = GetPalette(path.toStdString(), source_);
        QApplication::restoreOverrideCursor();
        if (!st) {
            source_ = redPalette();
            if (!st.message.empty()) AfxMessageBox(st.message, MB_ICONSTOP);
        }
    }
    src_->SetPalette(source_);
}

namespace {

// Asks for a palette file with the tools' filter; remembers it under `key` and the filter.
QString askPaletteFile(QWidget* parent, const char* title, const QString& key)
{
    CFileDialogX dlg(true, {}, {}, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     S(str::IDS_CR_FILE_FILTER), parent);
    dlg.title = S(title);
    dlg.filterIndex = GetProfileInt(kReplaceSection, QStringLiteral("Filter"), 1);
    dlg.initialPath = GetProfileString(kReplaceSection, key);
    if (dlg.DoModal() != IDOK) return {};
    WriteProfileString(kReplaceSection, key, dlg.GetPathName());
    WriteProfileInt(kReplaceSection, QStringLiteral("Filter"), dlg.filterIndex);
    return dlg.GetPathName();
}

// GetPalette with the wait cursor and its message shown with a stop icon.
bool readPaletteShowing(const QString& path, Palette256& target)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Status st;
    try {
        st = GetPalette(path.toStdString(), target);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        target = redPalette();
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CColorReplaceDlg::GetPalette"}), MB_ICONSTOP);
        return false;
    }
    QApplication::restoreOverrideCursor();
    if (!st && !st.message.empty()) AfxMessageBox(st.message, MB_ICONSTOP);
    return bool(st);
}

}  // namespace

void CColorReplaceDlg::chooseDestinationFile()
{
    const QString path = askPaletteFile(this, str::IDS_CR_SELECT_DEST_FILE, QStringLiteral("Dest"));
    if (path.isEmpty()) return;
    Palette256 read;
    if (readPaletteShowing(path, read)) {
        saved_ = read;
        work_ = read;
        destPath_->setText(path);
    } else {
        work_ = redPalette();
        destPath_->clear();
    }
    redrawDestination();
}

void CColorReplaceDlg::chooseSourceFile()
{
    const QString path = askPaletteFile(this, str::IDS_CR_SELECT_SRC_FILE, QStringLiteral("Src"));
    if (path.isEmpty()) return;
    Palette256 read;
    if (readPaletteShowing(path, read)) {
        source_ = read;
        srcPath_->setText(path);
    } else {
        source_ = redPalette();
        srcPath_->clear();
    }
    src_->SetPalette(source_);
}

void CColorReplaceDlg::redrawDestination()
{
    dest_->SetPalette(work_);
    const int index = dest_->selectedCell();
    if (index >= 0) onDestinationSelected(dest_->cellColor(index));
}

void CColorReplaceDlg::onDestinationSelected(uint32_t colorRef)
{
    selDest_->setColorRef(colorRef);
    boxes_->show(colorRef);
}

void CColorReplaceDlg::onBoxesEdited(uint32_t colorRef)
{
    const int index = dest_->selectedCell();
    if (index < 0) return;
    work_[size_t(index)] = colorRefEntry(colorRef);
    dest_->SetCellColor(index, colorRef);
    selDest_->setColorRef(colorRef);
}

void CColorReplaceDlg::replaceSelected()
{
    const int to = dest_->selectedCell(), from = src_->selectedCell();
    if (to < 0 || from < 0) return;
    work_[size_t(to)] = source_[size_t(from)];
    dest_->SetCellColor(to, source_[size_t(from)].colorRef());
    onDestinationSelected(dest_->cellColor(to));
}

void CColorReplaceDlg::runTool(const std::function<std::unique_ptr<CToolDlg>()>& make)
{
    work_ = dest_->cellsPalette();
    const std::unique_ptr<CToolDlg> dlg = make();
    dlg->exec();
    redrawDestination();
}

void CColorReplaceDlg::openRange()
{
    runTool([this] { return std::make_unique<CReplaceRangeDlg>(work_, source_, this); });
}

void CColorReplaceDlg::openMove()
{
    runTool([this] { return std::make_unique<CMoveColorsDlg>(work_, this); });
}

void CColorReplaceDlg::openBchs()
{
    runTool([this] { return std::make_unique<CColorBCHSDlg>(work_, preview_, this); });
}

void CColorReplaceDlg::openFromImage()
{
    runTool([this] { return std::make_unique<CSelectFromImageDlg>(work_, this); });
}

void CColorReplaceDlg::savePalette() { ExportPalette(dest_->cellsPalette(), this); }

void CColorReplaceDlg::apply()
{
    work_ = dest_->cellsPalette();
    saved_ = work_;
    if (!caller_) return;
    *caller_ = work_;
    if (applied_) applied_(*caller_);
}

void CColorReplaceDlg::discard()
{
    work_ = saved_;
    redrawDestination();
}

void CColorReplaceDlg::done(int result)
{
    WriteProfileInt(kReplaceSection, QStringLiteral("Pal Type"), fileRadio_->isChecked() ? 1 : 0);
    CDialogX::done(result);
}

// ---- Tool dialogs --------------------------------------------------------------------

CToolDlg::CToolDlg(const QString& section, Palette256& target, QWidget* parent)
    : CDialogX(section, parent, false), target_(target), work_(target)
{
}

QWidget* CToolDlg::makeButtonRow()
{
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addStretch();
    QPushButton* apply = makeButton(row, str::IDS_BTN_APPLY, "apply");
    QPushButton* discard = makeButton(row, str::IDS_BTN_DISCARD, "discard");
    QPushButton* ok = makeButton(row, str::IDS_BTN_OK, "ok");
    QPushButton* cancel = makeButton(row, str::IDS_BTN_CANCEL, "cancel");
    for (QPushButton* b : {apply, discard, ok, cancel}) h->addWidget(b);
    connect(apply, &QPushButton::clicked, this, [this] { this->apply(); });
    connect(discard, &QPushButton::clicked, this, [this] { this->discard(); });
    connect(ok, &QPushButton::clicked, this, [this] {
        this->apply();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void CToolDlg::apply() { target_ = work_; }

void CToolDlg::discard()
{
    work_ = target_;
    redraw();
}

void CIndexRangeDlg::makeIndexBoxes(int countMax)
{
    const char* names[] = {"from", "to", "count"};
    QSpinBox** boxes[] = {&from_, &to_, &count_};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromUtf8(names[i]));
        box->setRange(0, i == 2 ? countMax : 255);  // three characters at most
        *boxes[i] = box;
    }
    for (QSpinBox* b : {from_, to_, count_}) connect(b, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] { limit(); });
}

// ---- Replace Range ---------------------------------------------------------------------

CReplaceRangeDlg::CReplaceRangeDlg(Palette256& destination, const Palette256& source, QWidget* parent)
    : CIndexRangeDlg(QStringLiteral("Dlg Range"), destination, parent), source_(source)
{
    setWindowTitle(S(str::IDS_RANGE_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* grids = new QHBoxLayout;
    src_ = new CColorTableSrc(source_, CColorTable::kSourceId, this);
    dest_ = new CColorTable(work_, CColorTable::kDestinationId, this);
    grids->addWidget(src_);
    grids->addWidget(dest_);
    layout->addLayout(grids);
    auto* boxes = new QHBoxLayout;
    makeIndexBoxes(256);
    boxes->addWidget(new QLabel(S(str::IDS_RANGE_FROM), this));
    boxes->addWidget(from_);
    boxes->addWidget(new QLabel(S(str::IDS_RANGE_TO), this));
    boxes->addWidget(to_);
    auto* countLabel = new QLabel(S(str::IDS_RANGE_COUNT), this);
    countLabel->setBuddy(count_);
    boxes->addWidget(countLabel);
    boxes->addWidget(count_);
    QPushButton* replace = makeButton(this, str::IDS_RANGE_REPLACE, "replaceRange");
    boxes->addWidget(replace);
    layout->addLayout(boxes);
    auto* note = new QLabel(S(str::IDS_RANGE_NOTE).replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(makeButtonRow());

    connect(src_, &CColorTable::selectedColorChanged, this, [this] { from_->setValue(src_->selectedCell()); });
    connect(dest_, &CColorTable::selectedColorChanged, this, [this] { to_->setValue(dest_->selectedCell()); });
    connect(replace, &QPushButton::clicked, this, &CReplaceRangeDlg::replaceRange);
    limit();
}

void CReplaceRangeDlg::limit()
{
    count_->setMaximum(256 - std::max(from_->value(), to_->value()));
    src_->SetRange(from_->value(), count_->value());
    dest_->SetRange(to_->value(), count_->value());
}

void CReplaceRangeDlg::replaceRange()
{
    qv::replaceRange(work_, source_, from_->value(), to_->value(),
                     clampRangeCount(from_->value(), to_->value(), count_->value()));
    redraw();
}

void CReplaceRangeDlg::redraw() { dest_->SetPalette(work_); }

// ---- Move Colors -----------------------------------------------------------------------

namespace {
const QString kMoveSection = QStringLiteral("Dlg MoveColor");
}

CMoveColorsDlg::CMoveColorsDlg(Palette256& palette, QWidget* parent) : CIndexRangeDlg(kMoveSection, palette, parent)
{
    setWindowTitle(S(str::IDS_MOVE_TITLE));
    auto* layout = new QHBoxLayout(this);
    grid_ = new CColorTable(work_, CColorTable::kDestinationId, this);
    layout->addWidget(grid_);
    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    auto* form = new QGridLayout;
    makeIndexBoxes(255);
    const char* labels[] = {str::IDS_MOVE_FROM, str::IDS_MOVE_TO, str::IDS_MOVE_COUNT};
    QSpinBox* boxes[] = {from_, to_, count_};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(S(labels[i]), this);
        l->setBuddy(boxes[i]);
        form->addWidget(l, i, 0);
        form->addWidget(boxes[i], i, 1);
    }
    side->addLayout(form);
    all_ = new QCheckBox(S(str::IDS_MOVE_ALL), this);
    all_->setObjectName(QStringLiteral("all"));
    side->addWidget(all_);
    left_ = makeButton(this, str::IDS_MOVE_LEFT_SHIFT, "leftShift");
    right_ = makeButton(this, str::IDS_MOVE_RIGHT_SHIFT, "rightShift");
    moveTo_ = makeButton(this, str::IDS_MOVE_MOVE_TO, "moveTo");
    side->addWidget(left_);
    side->addWidget(right_);
    side->addWidget(moveTo_);
    side->addStretch();
    side->addWidget(makeButtonRow());

    all_->setChecked(GetProfileInt(kMoveSection, QStringLiteral("MoveAll"), 0) != 0);
    connect(all_, &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            from_->setValue(0);
            to_->setValue(255);
        }
        updateMode();
    });
    connect(left_, &QPushButton::clicked, this, [this] { shift(false); });
    connect(right_, &QPushButton::clicked, this, [this] { shift(true); });
    connect(moveTo_, &QPushButton::clicked, this, &CMoveColorsDlg::moveTo);
    updateMode();
}

void CMoveColorsDlg::updateMode()
{
    const bool all = all_->isChecked();
    left_->setEnabled(all);
    right_->setEnabled(all);
    from_->setEnabled(!all);
    to_->setEnabled(!all);
    moveTo_->setEnabled(!all);
    limit();
}

void CMoveColorsDlg::limit()
{
    const bool all = all_->isChecked();
    count_->setMaximum(all ? 255 : std::max(1, 255 - std::max(from_->value(), to_->value())));
    grid_->SetRange(all ? 0 : from_->value(), all ? 0 : count_->value());
}

void CMoveColorsDlg::moveTo()
{
    moveColors(work_, from_->value(), to_->value(), clampMoveCount(false, from_->value(), to_->value(), count_->value()));
    redraw();
}

void CMoveColorsDlg::shift(bool right)
{
    const int n = clampMoveCount(true, 0, 255, count_->value());
    if (right) shiftRight(work_, n);
    else shiftLeft(work_, n);
    redraw();
}

void CMoveColorsDlg::redraw() { grid_->SetPalette(work_); }

void CMoveColorsDlg::done(int result)
{
    WriteProfileInt(kMoveSection, QStringLiteral("MoveAll"), all_->isChecked() ? 1 : 0);
    CToolDlg::done(result);
}

// ---- Brightness/Contrast, Hue/Saturation ----------------------------------------------

namespace {
const QString kBchsSection = QStringLiteral("Dlg BCHS");
}

CColorBCHSDlg::CColorBCHSDlg(Palette256& palette, std::function<void(const Palette256*)> preview, QWidget* parent)
    : CToolDlg(kBchsSection, palette, parent), preview_(std::move(preview))
{
    setWindowTitle(S(str::IDS_BCHS_TITLE));
    auto* layout = new QHBoxLayout(this);
    grid_ = new CColorTablePreview(work_, CColorTable::kDestinationId, this);
    layout->addWidget(grid_);
    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    const char* labels[] = {str::IDS_BCHS_BRIGHTNESS, str::IDS_BCHS_CONTRAST, str::IDS_BCHS_HUE,
                            str::IDS_BCHS_SATURATION};
    const char* names[] = {"brightness", "contrast", "hue", "saturation"};
    for (int c = 0; c < 4; ++c) {
        const int limit = c == Hue ? 360 : 1000;
        auto* label = new QLabel(S(labels[c]), this);
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromUtf8(names[c]));
        box->setRange(-limit, limit);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::fromUtf8(names[c]) + QStringLiteral("Slider"));
        slider->setRange(-limit, limit);
        label->setBuddy(box);
        side->addWidget(label);
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(slider, 1);
        side->addLayout(row);
        boxes_[c] = box;
        sliders_[c] = slider;
        connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, [this, c](int v) {
            const QSignalBlocker block(sliders_[c]);
            sliders_[c]->setValue(v);
            change(Control(c), v);
        });
    }
    previewBox_ = new QCheckBox(S(str::IDS_BCHS_PREVIEW), this);
    previewBox_->setObjectName(QStringLiteral("preview"));
    previewBox_->setChecked(GetProfileInt(kBchsSection, QStringLiteral("Preview"), 0) != 0);
    previewBox_->setEnabled(bool(preview_));
    side->addWidget(previewBox_);
    side->addStretch();
    side->addWidget(makeButtonRow());
    connect(previewBox_, &QCheckBox::toggled, this, [this] { showPreview(); });
    SetupBitmap();
}

void CColorBCHSDlg::SetupBitmap()
{
    try {
        original_ = PICTOR::CreateBitmap(256, 1, 24);
        for (int i = 0; i < 256; ++i) PICTOR::PutPixelColor(original_, 0, i, work_[size_t(i)].rgb());
        working_ = PICTOR::CopyBitmap(original_);
    } catch (...) {
        reportException("CColorBCHSDlg::SetupBitmap");
    }
}

Palette256 CColorBCHSDlg::adjusted() const
{
    Palette256 p = work_;
    if (!working_.allocated()) return p;
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = PICTOR::GetPixelColor(working_, 0, i);
        p[size_t(i)] = PaletteEntry::fromRgb(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
    }
    return p;
}

void CColorBCHSDlg::change(Control c, int value)
{
    static const char* const functions[] = {"CColorBCHSDlg::ChangeBrigtness", "CColorBCHSDlg::ChangeContrast",
                                            "CColorBCHSDlg::ChangeHue", "CColorBCHSDlg::ChangeSaturation"};
    try {
        // Each change starts again from the colours the dialog began with.
        working_ = PICTOR::CopyBitmap(original_);
        switch (c) {
            case Brightness: PICTOR::ChangeBitmapIntensity(working_, value); break;
            case Contrast: PICTOR::ChangeBitmapContrast(working_, value); break;
            case Hue: PICTOR::ChangeBitmapHue(working_, value); break;
            case Saturation: PICTOR::ChangeBitmapSaturation(working_, value); break;
        }
        const Palette256 colours = adjusted();
        grid_->SetPalette(colours);
        showPreview();
    } catch (...) {
        reportException(functions[c]);
    }
}

void CColorBCHSDlg::showPreview()
{
    if (!preview_) return;
    if (previewBox_->isChecked()) {
        const Palette256 colours = adjusted();
        preview_(&colours);
        previewing_ = true;
    } else if (previewing_) {
        preview_(nullptr);
        previewing_ = false;
    }
}

void CColorBCHSDlg::apply()
{
    try {
        work_ = adjusted();
        target_ = work_;
    } catch (...) {
        reportException("CColorBCHSDlg::OnApply");
    }
}

void CColorBCHSDlg::discard()
{
    work_ = target_;
    SetupBitmap();
    for (int c = 0; c < 4; ++c) {
        const QSignalBlocker b1(boxes_[c]), b2(sliders_[c]);
        boxes_[c]->setValue(0);
        sliders_[c]->setValue(0);
    }
    redraw();
    showPreview();
}

void CColorBCHSDlg::redraw() { grid_->SetPalette(adjusted()); }

void CColorBCHSDlg::done(int result)
{
    if (previewing_ && preview_) preview_(nullptr);
    previewing_ = false;
    WriteProfileInt(kBchsSection, QStringLiteral("Preview"), previewBox_->isChecked() ? 1 : 0);
    CToolDlg::done(result);
}

// ---- Select colors from image ---------------------------------------------------------

CPictureArea::CPictureArea(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picture"));
    setMouseTracking(true);
    setMinimumSize(240, 200);
    setCursor(Qt::CrossCursor);
}

void CPictureArea::setPicture(const QImage& picture)
{
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    origin_ = {};
    update();
}

void CPictureArea::setOrigin(const QPoint& origin)
{
    origin_ = origin;
    update();
}

bool CPictureArea::inside(const QPoint& pos) const { return rect().adjusted(2, 2, -2, -2).contains(pos); }

bool CPictureArea::colourAt(const QPoint& pos, uint32_t& rgb) const
{
    if (!inside(pos)) return false;
    const QPoint p = pos + origin_;
    if (picture_.valid(p)) rgb = picture_.pixel(p) & 0xFFFFFF;
    else rgb = palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    return true;
}

void CPictureArea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!picture_.isNull()) p.drawImage(QPoint(0, 0), picture_, QRect(origin_, size()));
}

void CPictureArea::mouseMoveEvent(QMouseEvent* event) { emit hovered(event->position().toPoint()); }

void CPictureArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit clicked(event->position().toPoint());
}

namespace {

// The "Zoom" box: 5 x 5 colours as 15 x 15 squares, the centre one framed in red.
class ZoomBox : public QWidget {
public:
    ZoomBox(const std::vector<uint32_t>& colours, QWidget* parent) : QWidget(parent), colours_(colours)
    {
        const int side = CSelectFromImageDlg::kZoomCells * CSelectFromImageDlg::kZoomCell;
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int n = CSelectFromImageDlg::kZoomCells, cell = CSelectFromImageDlg::kZoomCell;
        for (size_t i = 0; i < colours_.size(); ++i)
            p.fillRect(int(i) % n * cell, int(i) / n * cell, cell, cell, QColor::fromRgb(colours_[i]));
        p.setPen(Qt::red);
        p.drawRect(n / 2 * cell, n / 2 * cell, cell - 1, cell - 1);
    }

private:
    const std::vector<uint32_t>& colours_;
};

}  // namespace

CSelectFromImageDlg::CSelectFromImageDlg(Palette256& palette, QWidget* parent)
    : CToolDlg(QStringLiteral("Dlg SelectColor"), palette, parent)
{
    setWindowTitle(S(str::IDS_FROM_IMAGE_TITLE));
    zoom_.assign(kZoomCells * kZoomCells, 0);
    auto* layout = new QHBoxLayout(this);
    grid_ = new CColorTable(work_, CColorTable::kDestinationId, this);
    layout->addWidget(grid_);
    auto* side = new QVBoxLayout;
    layout->addLayout(side, 1);
    auto* fileRow = new QHBoxLayout;
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("file"));
    file_->setReadOnly(true);
    QPushButton* browse = makeButton(this, str::IDS_BTN_BROWSE, "browse");
    fileRow->addWidget(file_);
    fileRow->addWidget(browse);
    side->addLayout(fileRow);
    auto* areaGrid = new QGridLayout;
    area_ = new CPictureArea(this);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    areaGrid->addWidget(area_, 0, 0);
    areaGrid->addWidget(vbar_, 0, 1);
    areaGrid->addWidget(hbar_, 1, 0);
    side->addLayout(areaGrid, 1);
    auto* infoRow = new QHBoxLayout;
    auto* srcBox = new QGroupBox(S(str::IDS_CR_CURRENT_SRC), this);
    auto* sv = new QVBoxLayout(srcBox);
    swatch_ = new CColorSwatch(srcBox);
    current_ = new QLabel(srcBox);
    current_->setObjectName(QStringLiteral("current"));
    sv->addWidget(swatch_);
    sv->addWidget(current_);
    infoRow->addWidget(srcBox);
    auto* zoomGroup = new QGroupBox(S(str::IDS_FROM_IMAGE_ZOOM), this);
    auto* zv = new QVBoxLayout(zoomGroup);
    zoomBox_ = new ZoomBox(zoom_, zoomGroup);
    zv->addWidget(zoomBox_);
    infoRow->addWidget(zoomGroup);
    side->addLayout(infoRow);
    side->addWidget(makeButtonRow());

    connect(browse, &QPushButton::clicked, this, &CSelectFromImageDlg::chooseFile);
    connect(area_, &CPictureArea::hovered, this, &CSelectFromImageDlg::hoverAt);
    connect(area_, &CPictureArea::clicked, this, &CSelectFromImageDlg::clickAt);
    auto scrolled = [this] { area_->setOrigin(QPoint(hbar_->value(), vbar_->value())); };
    connect(hbar_, &QScrollBar::valueChanged, this, scrolled);
    connect(vbar_, &QScrollBar::valueChanged, this, scrolled);
    grid_->SelectCell(0);
    updateBars();
}

void CSelectFromImageDlg::chooseFile()
{
    CFileDialogX dlg(true, {}, {}, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     S(str::IDS_FROM_IMAGE_FILTER), this);
    dlg.title = S(str::IDS_FROM_IMAGE_SELECT);
    if (!file_->text().isEmpty()) dlg.initialPath = file_->text();
    if (dlg.DoModal() != IDOK) return;
    loadPicture(dlg.GetPathName());
}

bool CSelectFromImageDlg::loadPicture(const QString& path)
{
    try {
        PictorBitmap bmp;
        if (path.endsWith(QLatin1String(".flc"), Qt::CaseInsensitive)) {
            // An animation shows its first frame in its own colours.
            FlcLoadResult flc;
            const Status st = loadFlcAnimation(path.toStdString(), flc);
            const FlcHeader& h = flc.store.header;
            if (!st || flc.store.frames.empty() || flc.store.frames.front().size() != size_t(h.width) * h.height) {
                AfxMessageBox(st.message.empty() ? formatMessage(str::IDS_INVALID_FORMAT, {path.toStdString()})
                                                 : st.message,
                              MB_ICONERROR);
                return false;
            }
            bmp.bitmap = Bitmap::create(h.width, h.height, 8);
            bmp.bitmap.pixels = flc.store.frames.front().toVector();
            bmp.bitmap.palette = flc.store.basePalette;
        } else {
            PICTOR::LoadFile(path, bmp);
        }
        area_->setPicture(toQImage(bmp.bitmap));
        file_->setText(path);
        updateBars();
        return true;
    } catch (...) {
        reportException("CSelectColorDlg::LoadImage");
        return false;
    }
}

void CSelectFromImageDlg::updateBars()
{
    const QImage& pic = area_->picture();
    hbar_->setRange(0, std::max(0, pic.width() - area_->width()));
    vbar_->setRange(0, std::max(0, pic.height() - area_->height()));
    hbar_->setPageStep(area_->width());
    vbar_->setPageStep(area_->height());
}

void CSelectFromImageDlg::hoverAt(const QPoint& pos)
{
    uint32_t rgb = 0;
    if (!area_->colourAt(pos, rgb)) return;
    swatch_->setColorRef(rgbToColorRef(rgb));
    current_->setText(colourText(rgb));
    const int half = kZoomCells / 2;
    const uint32_t outside = area_->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            uint32_t c = outside;
            area_->colourAt(pos + QPoint(dx, dy), c);
            zoom_[size_t((dy + half) * kZoomCells + dx + half)] = c;
        }
    zoomBox_->update();
}

void CSelectFromImageDlg::clickAt(const QPoint& pos)
{
    uint32_t rgb = 0;
    const int index = grid_->selectedCell();
    if (index < 0 || !area_->colourAt(pos, rgb)) return;
    work_[size_t(index)] = PaletteEntry::fromRgb(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
    grid_->SetCellColor(index, work_[size_t(index)].colorRef());
    if (index < 255) grid_->SelectCell(index + 1);
}

void CSelectFromImageDlg::redraw() { grid_->SetPalette(work_); }

}  // namespace qv
