// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/zooming_dlg.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/strings.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "view/save_image.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg Zooming");
const int kPresets[] = {10, 25, 50, 75, 100, 150, 200, 300, 400, 500, 600, 800, 1000, 1600};

QString percentText(int percent) { return QString::fromStdString(formatMessage(str::IDS_ZOOM_PERCENT, {percent})); }

// The scroll bars' rules: lines by 1 and pages by the page step, never below 2 nor above
// the maximum; the top goes to 2, the bottom to the maximum; the thumb goes where it is.
void setScrollRules(QScrollBar* bar)
{
    bar->setRange(0, 100);
    bar->setPageStep(10);
    bar->setSingleStep(1);
    bar->setValue(0);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
        const int pos = bar->value();
        int next = bar->sliderPosition();
        switch (action) {
            case QAbstractSlider::SliderSingleStepSub: next = pos - 1; break;
            case QAbstractSlider::SliderSingleStepAdd: next = pos + 1; break;
            case QAbstractSlider::SliderPageStepSub: next = pos - bar->pageStep(); break;
            case QAbstractSlider::SliderPageStepAdd: next = pos + bar->pageStep(); break;
            case QAbstractSlider::SliderToMinimum: next = 2; break;
            case QAbstractSlider::SliderToMaximum: next = bar->maximum(); break;
            default: return;  // thumb tracking and moves: where the thumb is
        }
        bar->setSliderPosition(std::max(2, std::min(next, bar->maximum())));
    });
}

// The picture area: paints the dialog's picture where pictureRect() says.
class PictureArea : public QWidget {
public:
    PictureArea(CZoomingDlg* dlg, const PictorBitmap& picture) : QWidget(dlg), dlg_(dlg), picture_(picture)
    {
        setObjectName(QStringLiteral("picture"));
        setMinimumSize(120, 120);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QSize sizeHint() const override
    {
        return QSize(std::min(640, picture_.width() + 16), std::min(480, picture_.height() + 16));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        if (!picture_.allocated()) return;
        p.setClipRect(rect());
        PICTOR::PaintDC(p, picture_, QRect(0, 0, picture_.width(), picture_.height()), dlg_->pictureRect());
    }

private:
    CZoomingDlg* dlg_;
    const PictorBitmap& picture_;
};

}  // namespace

// ---- CComboZoom ----------------------------------------------------------------------

CComboZoom::CComboZoom(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int p : kPresets) addItem(percentText(p));
    showZoom();
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        // An empty entry stands for 100%.
        QString text = itemText(index);
        if (text.isEmpty()) {
            text = percentText(CZoomingDlg::kDefaultZoom);
            setCurrentIndex(findText(text));
        }
        takeText(text);
    });
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { takeText(currentText()); });
}

int CComboZoom::parsePercent(const QString& text)
{
    QString digits;
    for (QChar c : text.trimmed()) {
        if (!c.isDigit()) break;
        digits += c;
        if (digits.size() > 6) break;
    }
    return digits.isEmpty() ? 0 : digits.toInt();
}

void CComboZoom::takeText(const QString& text)
{
    const int percent = parsePercent(text);
    if (percent > 0) setZoom(percent);
    else showZoom();
}

void CComboZoom::setZoom(int percent)
{
    percent = std::max(CZoomingDlg::kMinZoom, std::min(percent, CZoomingDlg::kMaxZoom));
    const bool changed = percent != zoom_;
    zoom_ = percent;
    showZoom();
    if (changed) emit zoomChanged(zoom_);
}

void CComboZoom::zoomIn()
{
    for (int p : kPresets)
        if (p > zoom_) return setZoom(p);
}

void CComboZoom::zoomOut()
{
    for (auto it = std::rbegin(kPresets); it != std::rend(kPresets); ++it)
        if (*it < zoom_) return setZoom(*it);
}

void CComboZoom::showZoom()
{
    const QString text = percentText(zoom_);
    const int index = findText(text);
    if (index >= 0) setCurrentIndex(index);
    setEditText(text);
}

void CComboZoom::focusOutEvent(QFocusEvent* event)
{
    // Leaving the box takes what was typed and writes it back as "%d%".
    takeText(currentText());
    QComboBox::focusOutEvent(event);
}

// ---- CZoomingDlg -----------------------------------------------------------------------

CZoomingDlg::CZoomingDlg(const PictorBitmap& picture, QWidget* parent)
    : CDialogX(kSection, parent, true), picture_(picture)
{
    setWindowTitle(QString::fromUtf8(str::IDS_ZOOM_TITLE));
    int zoom = GetProfileInt(kSection, QStringLiteral("Zoom"), kDefaultZoom);
    if (zoom < kMinZoom || zoom > kMaxZoom) zoom = kDefaultZoom;
    const bool fit = GetProfileInt(kSection, QStringLiteral("Fit"), 0) != 0;

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    combo_ = new CComboZoom(this);
    combo_->setObjectName(QStringLiteral("zoom"));
    combo_->setZoom(zoom);
    in_ = new QToolButton(this);
    in_->setObjectName(QStringLiteral("in"));
    in_->setText(QString::fromUtf8(str::IDS_ZOOM_IN));
    out_ = new QToolButton(this);
    out_->setObjectName(QStringLiteral("out"));
    out_->setText(QString::fromUtf8(str::IDS_ZOOM_OUT));
    fit_ = new QToolButton(this);
    fit_->setObjectName(QStringLiteral("fit"));
    fit_->setText(QString::fromUtf8(str::IDS_ZOOM_FIT));
    fit_->setCheckable(true);
    fit_->setChecked(fit);
    top->addWidget(combo_);
    top->addWidget(in_);
    top->addWidget(out_);
    top->addWidget(fit_);
    top->addStretch(1);
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    area_ = new PictureArea(this, picture_);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    setScrollRules(hbar_);
    setScrollRules(vbar_);
    grid->addWidget(area_, 0, 0);
    grid->addWidget(vbar_, 0, 1);
    grid->addWidget(hbar_, 1, 0);
    layout->addLayout(grid, 1);

    auto* bottom = new QHBoxLayout;
    auto* save = new QPushButton(QString::fromUtf8(str::IDS_ZOOM_SAVE), this);
    save->setObjectName(QStringLiteral("save"));
    auto* exit = new QPushButton(QString::fromUtf8(str::IDS_ZOOM_EXIT), this);
    exit->setObjectName(QStringLiteral("exit"));
    exit->setDefault(true);
    bottom->addStretch(1);
    bottom->addWidget(save);
    bottom->addWidget(exit);
    layout->addLayout(bottom);

    auto repaint = [this] { area_->update(); };
    connect(combo_, &CComboZoom::zoomChanged, this, repaint);
    connect(in_, &QToolButton::clicked, combo_, &CComboZoom::zoomIn);
    connect(out_, &QToolButton::clicked, combo_, &CComboZoom::zoomOut);
    connect(hbar_, &QScrollBar::valueChanged, this, repaint);
    connect(vbar_, &QScrollBar::valueChanged, this, repaint);
    connect(fit_, &QToolButton::toggled, this, [this] { updateControls(); });
    connect(save, &QPushButton::clicked, this, &CZoomingDlg::onSave);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    updateControls();
}

int CZoomingDlg::zoom() const { return combo_->zoom(); }
bool CZoomingDlg::fit() const { return fit_->isChecked(); }
void CZoomingDlg::setFit(bool on) { fit_->setChecked(on); }
QAbstractButton* CZoomingDlg::zoomInButton() const { return in_; }
QAbstractButton* CZoomingDlg::zoomOutButton() const { return out_; }

void CZoomingDlg::updateControls()
{
    const bool free = !fit();
    for (QWidget* w : std::initializer_list<QWidget*>{combo_, in_, out_, hbar_, vbar_}) w->setEnabled(free);
    area_->update();
}

QRect CZoomingDlg::pictureRect() const
{
    const int w = picture_.width(), h = picture_.height();
    const QSize area = area_->size();
    if (w <= 0 || h <= 0) return {};
    if (fit()) {
        QSize s = QSize(w, h).scaled(area, Qt::KeepAspectRatio);
        s = s.expandedTo(QSize(1, 1));
        return QRect(QPoint((area.width() - s.width()) / 2, (area.height() - s.height()) / 2), s);
    }
    const int zw = std::max(1, static_cast<int>(static_cast<long long>(w) * zoom() / 100));
    const int zh = std::max(1, static_cast<int>(static_cast<long long>(h) * zoom() / 100));
    // Each scroll bar moves over the part of the picture that does not fit.
    const int dx = std::max(0, zw - area.width()) * hbar_->value() / 100;
    const int dy = std::max(0, zh - area.height()) * vbar_->value() / 100;
    return QRect(-dx, -dy, zw, zh);
}

PictorBitmap CZoomingDlg::zoomedPicture() const
{
    PictorBitmap out = picture_;
    const QSize size = pictureRect().size();
    if (out.allocated() && !size.isEmpty() && (size.width() != out.width() || size.height() != out.height()))
        PICTOR::SizeBitmap(out, size.width(), size.height());
    return out;
}

void CZoomingDlg::onSave()
{
    try {
        const PictorBitmap zoomed = zoomedPicture();
        SaveImageToFile(zoomed, this, documentPath);
    } catch (const CPictorException& e) {
        AfxMessageBox(e.GetErrorMessage(), MB_ICONERROR);
    }
    accept();
}

void CZoomingDlg::done(int result)
{
    WriteProfileInt(kSection, QStringLiteral("Zoom"), zoom());
    WriteProfileInt(kSection, QStringLiteral("Fit"), fit() ? 1 : 0);
    CDialogX::done(result);
}

}  // namespace qv
