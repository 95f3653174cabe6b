// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/control_panels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commands.h"
#include "app/settings.h"
#include "core/strings.h"
#include "palette/civ_color_combo.h"
#include "platform/ui/profile.h"
#include "platform/ui/rollup.h"

namespace qv {

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }
QString idName(int id) { return QString::number(id); }

// Mnemonic markers are not shown in tooltips.
QString withoutMnemonic(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

constexpr int kDelayMin = 10, kDelayMax = 1000;

struct DirectionButton {
    int id;
    int code;
    const char* icon;
    const char* tip;
    int row, col;
};
const DirectionButton kDirectionButtons[] = {
    {IDC_DIR_NW, 7, "dir_nw", str::IDS_DIR_TIP_NW, 0, 0}, {IDC_DIR_N, 6, "dir_n", str::IDS_DIR_TIP_N, 0, 1},
    {IDC_DIR_NE, 5, "dir_ne", str::IDS_DIR_TIP_NE, 0, 2}, {IDC_DIR_W, 8, "dir_w", str::IDS_DIR_TIP_W, 1, 0},
    {IDC_DIR_ALL, 0, "dir_all", str::IDS_DIR_TIP_ALL, 1, 1}, {IDC_DIR_E, 4, "dir_e", str::IDS_DIR_TIP_E, 1, 2},
    {IDC_DIR_SW, 1, "dir_sw", str::IDS_DIR_TIP_SW, 2, 0}, {IDC_DIR_S, 2, "dir_s", str::IDS_DIR_TIP_S, 2, 1},
    {IDC_DIR_SE, 3, "dir_se", str::IDS_DIR_TIP_SE, 2, 2},
};

struct PanelInfo {
    const char* title;
    const char* tip;
    const char* icon;
    const char* setting;
};
const PanelInfo kPanels[kPanelCount] = {
    {str::IDS_PANEL_DIRECTION, str::IDS_PANEL_DIRECTION_TIP, "panel_direction", settings::kPanelDirection},
    {str::IDS_PANEL_DELAY, str::IDS_PANEL_DELAY_TIP, "panel_delay", settings::kPanelDelay},
    {str::IDS_PANEL_ANIMATION, str::IDS_PANEL_ANIMATION_TIP, "panel_animation", settings::kPanelAnimation},
    {str::IDS_PANEL_VIEW, str::IDS_PANEL_VIEW_TIP, "panel_view", settings::kPanelView},
    {str::IDS_PANEL_SOUND, str::IDS_PANEL_SOUND_TIP, "panel_sound", settings::kPanelSound},
    {str::IDS_PANEL_EXTRA, str::IDS_PANEL_EXTRA_TIP, "panel_extra", settings::kPanelExtra},
};

}  // namespace

// ---- CSpinButton ---------------------------------------------------------------------

CSpinButton::CSpinButton(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    auto* down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { emit stepped(+1); });
    connect(down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void CSpinButton::setRange(int low, int high)
{
    low_ = low;
    high_ = high;
}

// ---- CControlPanels ------------------------------------------------------------------

CControlPanels::CControlPanels(QWidget* parent) : QWidget(parent)
{
    rollup_ = new CRollupCtrl(this);
    // The roll-up control sits 2, 5 inside the host, 5 pixels smaller each way.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 5, 3, 0);
    layout->addWidget(rollup_);

    QWidget* (CControlPanels::*makers[kPanelCount])() = {
        &CControlPanels::makeDirectionPanel, &CControlPanels::makeDelayPanel, &CControlPanels::makeAnimationPanel,
        &CControlPanels::makeViewPanel,      &CControlPanels::makeSoundPanel, &CControlPanels::makeExtraPanel,
    };
    for (int i = 0; i < kPanelCount; ++i) {
        QWidget* page = (this->*makers[i])();
        const int index = rollup_->InsertPage(S(kPanels[i].title), page, false);
        QToolButton* header = rollup_->headerButton(index);
        header->setIcon(namedIcon(QString::fromLatin1(kPanels[i].icon)));
        header->setToolTip(S(kPanels[i].tip));
        header->setCursor(Qt::PointingHandCursor);
        // The header text in blue, as the panel headers have always been.
        QPalette pal = header->palette();
        pal.setColor(QPalette::ButtonText, QColor(0, 0, 255));
        header->setPalette(pal);
    }
    // Every control by its id, for the state updates.
    for (QWidget* w : findChildren<QWidget*>()) {
        bool ok = false;
        const int id = w->objectName().toInt(&ok);
        if (ok) controls_[id] = w;
    }
    LoadExpandedStates();
    attach(nullptr);
}

CControlPanels::~CControlPanels()
{
    if (view_) view_->setControlListener({});
    if (controlPanels() == this) setControlPanels(nullptr);
}

QToolButton* CControlPanels::makeButton(QWidget* parent, int id, const QString& text, const QString& icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(idName(id));
    b->setText(text);
    b->setToolTip(withoutMnemonic(text));
    if (!icon.isEmpty()) {
        b->setIcon(namedIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QWidget* CControlPanels::makeDirectionPanel()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setSpacing(2);
    for (const DirectionButton& d : kDirectionButtons) {
        auto* b = new QToolButton(page);
        b->setObjectName(idName(d.id));
        b->setIcon(namedIcon(QString::fromLatin1(d.icon)));
        b->setToolTip(S(d.tip));
        b->setAutoRaise(true);  // flat
        b->setCheckable(true);
        b->setFixedSize(28, 28);
        grid->addWidget(b, d.row, d.col, Qt::AlignCenter);
        const int code = d.code;
        connect(b, &QToolButton::clicked, this, [this, code] {
            if (view_) view_->setDirection(code);
            refreshStates(IAnimationControl::kDirection);
        });
    }
    return page;
}

QWidget* CControlPanels::makeDelayPanel()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* radios = new QHBoxLayout;
    auto* def = new QRadioButton(S(str::IDS_PANEL_DELAY_DEFAULT), page);
    auto* custom = new QRadioButton(S(str::IDS_PANEL_DELAY_CUSTOM), page);
    def->setObjectName(idName(IDC_DELAY_DEFAULT));
    custom->setObjectName(idName(IDC_DELAY_CUSTOM));
    auto* group = new QButtonGroup(page);
    group->addButton(def);
    group->addButton(custom);
    radios->addWidget(def);
    radios->addWidget(custom);
    v->addLayout(radios);

    delaySlider_ = new QSlider(Qt::Horizontal, page);
    delaySlider_->setObjectName(idName(IDC_DELAY_SLIDER));
    delaySlider_->setRange(kDelayMin, kDelayMax);
    delaySlider_->setTickInterval(100);
    delaySlider_->setTickPosition(QSlider::TicksBelow);
    v->addWidget(delaySlider_);

    auto* row = new QHBoxLayout;
    delayEdit_ = new QLineEdit(page);
    delayEdit_->setObjectName(idName(IDC_DELAY_EDIT));
    delayEdit_->setMaxLength(4);
    delayEdit_->setFixedWidth(48);
    auto* spin = new CSpinButton(page);
    spin->setObjectName(idName(IDC_DELAY_SPIN));
    spin->setRange(kDelayMin, kDelayMax);
    auto* label = new QLabel(page);
    label->setObjectName(idName(IDC_DELAY_LABEL));
    row->addWidget(delayEdit_);
    row->addWidget(spin);
    row->addWidget(label, 1);
    v->addLayout(row);

    connect(def, &QRadioButton::clicked, this, [this] {
        if (view_) view_->setDelayMode(1);
        refreshStates(IAnimationControl::kDelay);
    });
    connect(custom, &QRadioButton::clicked, this, [this] {
        if (view_) view_->setDelayMode(0);
        refreshStates(IAnimationControl::kDelay);
    });
    connect(delaySlider_, &QSlider::sliderReleased, this, [this] {
        if (!view_) return;
        view_->setCustomDelay(delaySlider_->value());
        delayEdit_->setText(QString::number(view_->customDelay()));
        refreshStates(IAnimationControl::kDelay);
    });
    connect(delayEdit_, &QLineEdit::textEdited, this, &CControlPanels::onDelayTyped);
    connect(delayEdit_, &QLineEdit::editingFinished, this, [this] { onDelayEdited(delayEdit_->text()); });
    connect(spin, &CSpinButton::stepped, this, &CControlPanels::onDelaySpin);
    return page;
}

int CControlPanels::clampDelayText(const QString& text)
{
    QString t = text;
    t.remove(QChar(0xA0));
    // The number at the start of the text, as the edit has always read it; none is 0.
    int i = 0;
    while (i < t.size() && t.at(i).isSpace()) ++i;
    long long value = 0;
    while (i < t.size() && t.at(i).isDigit() && value < 100000) value = value * 10 + t.at(i++).digitValue();
    if (value < kDelayMin) return kDelayMin;
    if (value > kDelayMax) return kDelayMax;
    return static_cast<int>(value);
}

void CControlPanels::onDelayTyped(const QString& text)
{
    // While typing, only a complete value inside the limits takes effect; the text is
    // left alone (typing 25 passes through 2). The value is clamped when editing ends.
    QString plain = text;
    plain.remove(QChar(0xA0));
    bool ok = false;
    const int value = plain.trimmed().toInt(&ok);
    if (!ok || value < kDelayMin || value > kDelayMax) return;
    if (view_) view_->setCustomDelay(value);
    const bool old = delaySlider_->blockSignals(true);
    delaySlider_->setValue(value);
    delaySlider_->blockSignals(old);
    if (auto* label = qobject_cast<QLabel*>(control(IDC_DELAY_LABEL)))
        label->setText(QString::fromStdString(formatMessage(str::IDS_PANEL_DELAY_MS, {value})));
}

void CControlPanels::onDelayEdited(const QString& text)
{
    const int delay = clampDelayText(text);
    const QString clamped = QString::number(delay);
    QString plain = text;
    plain.remove(QChar(0xA0));
    if (plain != clamped) delayEdit_->setText(clamped);
    if (view_) view_->setCustomDelay(delay);
    const bool old = delaySlider_->blockSignals(true);
    delaySlider_->setValue(delay);
    delaySlider_->blockSignals(old);
    if (auto* label = qobject_cast<QLabel*>(control(IDC_DELAY_LABEL)))
        label->setText(QString::fromStdString(formatMessage(str::IDS_PANEL_DELAY_MS, {delay})));
}

void CControlPanels::onDelaySpin(int delta)
{
    int value = clampDelayText(delayEdit_->text()) + delta;
    value = std::max(kDelayMin, std::min(kDelayMax, value));
    delayEdit_->setText(QString::number(value));
    onDelayEdited(delayEdit_->text());
}

QWidget* CControlPanels::makeAnimationPanel()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    struct IconButton {
        int id;
        const char* text;
        const char* icon;
        bool checkable;
    };
    const IconButton playRow[] = {
        {IDC_PLAY, str::IDS_PANEL_PLAY, "play", false},
        {IDC_PAUSE, str::IDS_PANEL_PAUSE, "pause", true},
        {IDC_STOP, str::IDS_PANEL_STOP, "stop", false},
        {IDC_WIND_BACK, str::IDS_PANEL_WIND_BACK, "back", true},
        {IDC_WIND_FORWARD, str::IDS_PANEL_WIND_FORWARD, "forward", true},
    };
    for (const IconButton& ib : playRow) {
        QToolButton* b = makeButton(page, ib.id, S(ib.text), QString::fromLatin1(ib.icon));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);  // icons only
        b->setCheckable(ib.checkable);
        top->addWidget(b);
    }
    v->addLayout(top);
    auto* nav = new QHBoxLayout;
    const std::pair<int, const char*> navButtons[] = {{IDC_FIRST, str::IDS_PANEL_FIRST},
                                                      {IDC_PREVIOUS, str::IDS_PANEL_PREVIOUS},
                                                      {IDC_NEXT, str::IDS_PANEL_NEXT},
                                                      {IDC_LAST, str::IDS_PANEL_LAST}};
    for (const auto& nb : navButtons) nav->addWidget(makeButton(page, nb.first, S(nb.second)));
    v->addLayout(nav);

    frameSlider_ = new QSlider(Qt::Horizontal, page);
    frameSlider_->setObjectName(idName(IDC_FRAME_SLIDER));
    frameSlider_->setRange(0, 0);
    v->addWidget(frameSlider_);

    auto* texts = new QHBoxLayout;
    auto* frameLabel = new QLabel(S(str::IDS_PANEL_FRAME), page);
    frameLabel->setObjectName(idName(IDC_FRAME_LABEL));
    auto* number = new QLabel(QStringLiteral("0"), page);
    number->setObjectName(idName(IDC_FRAME_NUMBER));
    auto* of = new QLabel(S(str::IDS_PANEL_FRAME_OF), page);
    auto* count = new QLabel(QStringLiteral("0"), page);
    count->setObjectName(idName(IDC_FRAME_COUNT));
    texts->addWidget(frameLabel);
    texts->addWidget(number);
    texts->addWidget(of);
    texts->addWidget(count);
    texts->addStretch(1);
    v->addLayout(texts);

    auto on = [this, page](int id, auto fn) {
        connect(page->findChild<QToolButton*>(idName(id)), &QToolButton::clicked, this, [this, fn] {
            if (view_) fn(view_);
            refreshStates(IAnimationControl::kAllPanels);
        });
    };
    on(IDC_PLAY, [](IAnimationControl* v) { v->play(); });
    on(IDC_PAUSE, [](IAnimationControl* v) { v->togglePause(); });
    on(IDC_STOP, [](IAnimationControl* v) { v->stop(); });
    on(IDC_FIRST, [](IAnimationControl* v) { v->navigate(IAnimationControl::NavFirst); });
    on(IDC_PREVIOUS, [](IAnimationControl* v) { v->navigate(IAnimationControl::NavPrevious); });
    on(IDC_NEXT, [](IAnimationControl* v) { v->navigate(IAnimationControl::NavNext); });
    on(IDC_LAST, [](IAnimationControl* v) { v->navigate(IAnimationControl::NavLast); });
    on(IDC_WIND_BACK, [](IAnimationControl* v) { v->toggleWindBack(); });
    on(IDC_WIND_FORWARD, [](IAnimationControl* v) { v->toggleWindForward(); });
    connect(frameSlider_, &QSlider::sliderReleased, this, [this] {
        if (view_) view_->frameSliderReleased(frameSlider_->value());
        refreshStates(IAnimationControl::kFrameCounter);
    });
    // Clicks on the groove, arrow and page keys, and dragging (live) all show the frame.
    connect(frameSlider_, &QSlider::valueChanged, this, [this](int pos) {
        if (!view_) return;
        if (frameSlider_->isSliderDown()) {
            view_->frameSliderTracking(pos);
        } else {
            view_->frameSliderReleased(pos);
            refreshStates(IAnimationControl::kFrameCounter);
        }
    });
    return page;
}

QWidget* CControlPanels::makeViewPanel()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(new QLabel(S(str::IDS_PANEL_CIV_COLOR), page));
    civList_ = new CCivColorCombo(page);
    civList_->setObjectName(idName(IDC_CIV_LIST));
    v->addWidget(civList_);
    auto* alpha = new QCheckBox(S(str::IDS_PANEL_ALPHA_BLEND), page);
    alpha->setObjectName(idName(IDC_ALPHA_BLEND));
    v->addWidget(alpha);
    // A completed selection that differs from the previous one changes the colours.
    connect(civList_, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (index == lastCivSelection_) return;
        lastCivSelection_ = index;
        if (view_) view_->changeCivilization(index);
        refreshStates(IAnimationControl::kView);
    });
    connect(alpha, &QCheckBox::clicked, this, [this] {
        if (view_) view_->toggleAlphaBlend();
        refreshStates(IAnimationControl::kView);
    });
    return page;
}

QWidget* CControlPanels::makeSoundPanel()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* fileRow = new QHBoxLayout;
    auto* edit = new QLineEdit(page);
    edit->setObjectName(idName(IDC_SOUND_FILE));
    edit->setReadOnly(true);
    fileRow->addWidget(edit, 1);
    QToolButton* browse = makeButton(page, IDC_SOUND_BROWSE, S(str::IDS_PANEL_SOUND_BROWSE), QStringLiteral("sound_browse"));
    browse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    browse->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QToolButton* del = makeButton(page, IDC_SOUND_DEL, S(str::IDS_PANEL_SOUND_DEL), QStringLiteral("sound_delete"));
    del->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    del->setToolButtonStyle(Qt::ToolButtonIconOnly);
    fileRow->addWidget(browse);
    fileRow->addWidget(del);
    v->addLayout(fileRow);

    auto* playSound = new QCheckBox(S(str::IDS_PANEL_PLAY_SOUND), page);
    playSound->setObjectName(idName(IDC_PLAY_SOUND));
    playSound->setChecked(settings::readSetting(settings::kPreview) != 0);
    auto* autoplay = new QCheckBox(S(str::IDS_PANEL_AUTOPLAY), page);
    autoplay->setObjectName(idName(IDC_AUTOPLAY));
    autoplay->setChecked(settings::readSetting(settings::kWavNonStop) != 0);
    v->addWidget(playSound);
    v->addWidget(autoplay);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeButton(page, IDC_SOUND_PLAY, S(str::IDS_PANEL_SOUND_PLAY), QStringLiteral("sound_play")));
    buttons->addWidget(makeButton(page, IDC_SOUND_STOP, S(str::IDS_PANEL_SOUND_STOP), QStringLiteral("sound_stop")));
    v->addLayout(buttons);

    connect(browse, &QToolButton::clicked, this, [this] {
        if (view_) view_->chooseSoundFile();
        refreshStates(IAnimationControl::kSound);
    });
    connect(del, &QToolButton::clicked, this, [this, edit] {
        if (view_) view_->clearSoundFile();
        edit->clear();
        refreshStates(IAnimationControl::kSound);
    });
    connect(playSound, &QCheckBox::clicked, this, [this, autoplay](bool on) {
        settings::writeSetting(settings::kPreview, on ? 1 : 0);
        if (!view_) return;
        if (!on)
            view_->stopSound();
        else if (autoplay->isChecked() && view_->isRunning())
            view_->playSound();
    });
    connect(autoplay, &QCheckBox::clicked, this, [this](bool on) {
        settings::writeSetting(settings::kWavNonStop, on ? 1 : 0);
        if (!view_) return;
        if (!on)
            view_->stopSound();
        else if (view_->isRunning())
            view_->playSound();
    });
    connect(page->findChild<QToolButton*>(idName(IDC_SOUND_PLAY)), &QToolButton::clicked, this, [this] {
        if (view_) view_->playSound();
    });
    connect(page->findChild<QToolButton*>(idName(IDC_SOUND_STOP)), &QToolButton::clicked, this, [this] {
        if (view_) view_->stopSound();
    });
    return page;
}

QWidget* CControlPanels::makeExtraPanel()
{
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    QToolButton* info = makeButton(page, IDC_INFO, S(str::IDS_PANEL_INFO), QStringLiteral("info"));
    QToolButton* palette = makeButton(page, IDC_PALETTE, S(str::IDS_PANEL_PALETTE), QStringLiteral("palette"));
    h->addWidget(info);
    h->addWidget(palette);
    connect(info, &QToolButton::clicked, this, [this] {
        if (view_) view_->showInfo();
    });
    connect(palette, &QToolButton::clicked, this, [this] {
        if (view_) view_->showPalette();
        refreshStates(IAnimationControl::kAllPanels);
    });
    return page;
}

QWidget* CControlPanels::control(int id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CControlPanels::attach(IAnimationControl* view)
{
    if (view_ && view_ != view) view_->setControlListener({});
    view_ = view;
    if (view_) view_->setControlListener([this](unsigned changes) { refreshStates(changes); });
    lastCivSelection_ = view_ ? view_->civilization() : -1;
    refreshStates(IAnimationControl::kAllPanels);
}

void CControlPanels::detach(IAnimationControl* view)
{
    if (view && view == view_) attach(nullptr);
}

void CControlPanels::refresh() { refreshStates(IAnimationControl::kAllPanels); }

bool CControlPanels::isPlaySoundChecked() const
{
    auto* b = qobject_cast<QAbstractButton*>(control(IDC_PLAY_SOUND));
    return b && b->isChecked();
}

bool CControlPanels::isAutoplayChecked() const
{
    auto* b = qobject_cast<QAbstractButton*>(control(IDC_AUTOPLAY));
    return b && b->isChecked();
}

void CControlPanels::setEnabledAll(bool on)
{
    for (const auto& kv : controls_)
        if (kv.second->isEnabled() != on) kv.second->setEnabled(on);
}

void CControlPanels::refreshStates(unsigned changes)
{
    if (updating_) return;
    updating_ = true;
    IAnimationControl* v = view_;
    auto enable = [this](int id, bool on) {
        if (QWidget* w = control(id))
            if (w->isEnabled() != on) w->setEnabled(on);
    };
    auto check = [this](int id, bool on) {
        if (auto* b = qobject_cast<QAbstractButton*>(control(id)))
            if (b->isChecked() != on) b->setChecked(on);
    };
    auto setText = [this](int id, const QString& t) {
        if (auto* l = qobject_cast<QLabel*>(control(id)))
            if (l->text() != t) l->setText(t);
    };

    if (!v) {
        setEnabledAll(false);
        setText(IDC_FRAME_NUMBER, QStringLiteral("0"));
        setText(IDC_FRAME_COUNT, QStringLiteral("0"));
        updating_ = false;
        return;
    }
    const bool loaded = v->isLoaded();
    const bool running = v->isRunning();
    auto updateFrameTexts = [&] {
        const int number = loaded ? v->frameNumber() : 0;
        const int count = loaded ? v->frameCount() : 0;
        setText(IDC_FRAME_NUMBER, QString::number(number));
        setText(IDC_FRAME_COUNT, QString::number(count));
        if (!frameSlider_->isSliderDown()) {
            const bool old = frameSlider_->blockSignals(true);
            frameSlider_->setRange(0, std::max(0, count - 1));
            frameSlider_->setValue(number);
            frameSlider_->blockSignals(old);
        }
    };
    // While playing, only the frame counter changes from tick to tick.
    if (changes == IAnimationControl::kFrameCounter) {
        updateFrameTexts();
        updating_ = false;
        return;
    }

    // Direction.
    const bool eight = v->directionCount() == 8;
    for (const DirectionButton& d : kDirectionButtons) {
        enable(d.id, loaded && (d.code == 0 || eight) && v->hasDirectionFrames(d.code));
        check(d.id, loaded && v->direction() == d.code);
    }

    // Delay.
    const bool custom = v->delayMode() == 0;
    enable(IDC_DELAY_SLIDER, loaded && custom);
    enable(IDC_DELAY_EDIT, loaded && custom);
    enable(IDC_DELAY_SPIN, loaded && custom);
    enable(IDC_DELAY_DEFAULT, loaded && running);
    enable(IDC_DELAY_CUSTOM, loaded && running);
    enable(IDC_DELAY_LABEL, loaded && running);
    check(custom ? IDC_DELAY_CUSTOM : IDC_DELAY_DEFAULT, true);
    if (changes & (IAnimationControl::kDelay | IAnimationControl::kPlayback)) {
        const int delay = v->customDelay();
        if (!delayEdit_->hasFocus() && delayEdit_->text() != QString::number(delay))
            delayEdit_->setText(QString::number(delay));
        if (!delaySlider_->isSliderDown()) {
            const bool old = delaySlider_->blockSignals(true);
            delaySlider_->setValue(delay);
            delaySlider_->blockSignals(old);
        }
        // "Default" plays at the file's own speed, and the label says so.
        const int shown = custom ? delay : v->fileSpeed();
        setText(IDC_DELAY_LABEL, QString::fromStdString(formatMessage(str::IDS_PANEL_DELAY_MS, {shown})));
    }

    // Animation.
    for (int id : {IDC_PAUSE, IDC_STOP}) enable(id, loaded && running);
    enable(IDC_PLAY, loaded && !running);
    // Stepping works while stopped and while paused.
    const bool still = !running || v->isPaused();
    for (int id : {IDC_FIRST, IDC_WIND_BACK, IDC_PREVIOUS, IDC_NEXT, IDC_WIND_FORWARD, IDC_LAST, IDC_FRAME_SLIDER})
        enable(id, loaded && still);
    for (int id : {IDC_FRAME_LABEL, IDC_FRAME_NUMBER, IDC_FRAME_COUNT}) enable(id, loaded);
    check(IDC_PAUSE, loaded && v->isPaused());
    check(IDC_WIND_BACK, v->isWindingBack());
    check(IDC_WIND_FORWARD, v->isWindingForward());
    updateFrameTexts();

    // View.
    const bool unit = loaded && !v->isLeaderHead();
    const QStringList names = v->civilizationNames();
    if (changes & IAnimationControl::kView) {
        QStringList current;
        for (int i = 0; i < civList_->count(); ++i) current << civList_->itemText(i);
        if (current != names) {
            civList_->clear();
            civList_->addItems(names);
            civList_->RefreshSwatches();
        }
        if (v->civilization() >= 0 && v->civilization() < civList_->count()) {
            civList_->setCurrentIndex(v->civilization());
            lastCivSelection_ = v->civilization();
            // The selected entry shows the colour the view really draws for it.
            uint32_t swatch = 0;
            if (v->civilizationSwatch(swatch)) civList_->SetSwatch(v->civilization(), swatch);
        }
    }
    enable(IDC_CIV_LIST, unit && v->hasCivilizationList() && civList_->count() > 0);
    enable(IDC_ALPHA_BLEND, unit && v->hasAlphaBlendOption());
    check(IDC_ALPHA_BLEND, v->hasAlphaBlendOption() && v->isAlphaBlend());

    // Sound.
    const bool sound = loaded && v->isSoundAllowed();
    const bool hasFile = sound && !v->soundFile().isEmpty();
    const bool listPlaying = v->isPlayingSoundList();
    for (int id : {IDC_SOUND_FILE, IDC_PLAY_SOUND, IDC_SOUND_BROWSE}) enable(id, sound);
    enable(IDC_AUTOPLAY, sound && !listPlaying);
    enable(IDC_SOUND_PLAY, hasFile && !listPlaying && v->canPlaySound());
    enable(IDC_SOUND_STOP, hasFile && !listPlaying);
    enable(IDC_SOUND_DEL, hasFile);
    if (QWidget* play = control(IDC_SOUND_PLAY))
        play->setToolTip(hasFile && !v->canPlaySound() ? S(str::IDS_SOUND_NO_OUTPUT) : withoutMnemonic(S(str::IDS_PANEL_SOUND_PLAY)));
    if (changes & IAnimationControl::kSound)
        if (auto* e = qobject_cast<QLineEdit*>(control(IDC_SOUND_FILE)))
            if (e->text() != v->soundFile()) e->setText(v->soundFile());

    // Extra.
    enable(IDC_INFO, loaded);
    enable(IDC_PALETTE, loaded && v->hasPaletteDialog());
    updating_ = false;
}

void CControlPanels::LoadExpandedStates()
{
    for (int i = 0; i < kPanelCount; ++i)
        rollup_->ExpandPage(i, GetProfileInt(settings::kDlgBar, QString::fromLatin1(kPanels[i].setting), 0) != 0);
}

void CControlPanels::SaveExpandedStates() const
{
    for (int i = 0; i < kPanelCount; ++i)
        WriteProfileInt(settings::kDlgBar, QString::fromLatin1(kPanels[i].setting), rollup_->IsPageExpanded(i) ? 1 : 0);
}

}  // namespace qv
