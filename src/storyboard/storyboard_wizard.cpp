// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/storyboard_wizard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/strings.h"
#include "palette/civ_color_combo.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"
#include "storyboard/wizard_preview.h"

namespace qv {

namespace {

QString tr8(const char* text) { return QString::fromUtf8(text); }
QString fmt(const char* text, std::initializer_list<MessageArg> args)
{
    return QString::fromStdString(formatMessage(text, args));
}

// Profile keys of both wizards.
const QString kPreview = QStringLiteral("Preview");
const QString kFileType = QStringLiteral("FileType");
const QString kPalType = QStringLiteral("Pal Type");
const QString kAlphaPal = QStringLiteral("Alpha Pal");
const QString kMakePal = QStringLiteral("Make Pal File");
const QString kPal32Type = QStringLiteral("Pal32 Type");
const QString kPal32Path = QStringLiteral("Pal32 Path");
const QString kPath = QStringLiteral("Path");
const QString kResize = QStringLiteral("Resize");
const QString kColDepth = QStringLiteral("ColDepth");
const QString kSelPalPath = QStringLiteral("SelPalPath");
const QString kSelPal = QStringLiteral("SelPal");
const QString kSave = QStringLiteral("Save");
const QString kLeaderHead = QStringLiteral("LeaderHead");
const QString kDelay = QStringLiteral("Delay");
const QString kFrmCount = QStringLiteral("FrmCount");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kXOffset = QStringLiteral("XOffset");
const QString kYOffset = QStringLiteral("YOffset");
const QString kDirCount = QStringLiteral("DirCount");
const QString kPalette = QStringLiteral("Palette");

constexpr int kMaxSide = kMaxFrameSide;  // typed sizes above this are set back to it
const int kDelayChoices[] = {50, 75, 100, 125, 150, 200, 250, 300, 500, 1000};

// An int setting from 0 to `high`; anything else reads as 0.
int readChoice(const QString& section, const QString& key, int high)
{
    const int v = GetProfileInt(section, key, 0);
    return v < 0 || v > high ? 0 : v;
}

QRadioButton* radio(const char* text, const char* name, QWidget* parent)
{
    auto* r = new QRadioButton(tr8(text), parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QSpinBox* spin(const char* name, int low, int high, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(low, high);
    return s;
}

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A folder path ending with one separator ("" stays "").
QString withSeparator(QString dir)
{
    dir = QDir::fromNativeSeparators(dir.trimmed());
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

PreviewSheet previewOf(const StoryboardSheet& made, QSize area)
{
    PreviewSheet p;
    QRgb colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(made.sheet.palette[i].red, made.sheet.palette[i].green, made.sheet.palette[i].blue);
    p.size = QSize(made.sheet.width, made.sheet.height);
    p.display = fitSheetPicture(made.sheet.pixels.data(), made.sheet.width, made.sheet.height, colours, area);
    p.cellWidth = made.geometry.frameWidth;
    p.cellHeight = made.geometry.frameHeight;
    p.columns = made.geometry.framesPerDirection;
    p.rows = made.geometry.directions;
    p.leftOffset = made.geometry.leftOffset;
    p.topOffset = made.geometry.topOffset;
    return p;
}

}  // namespace

// ---- Construction --------------------------------------------------------------------------

CStoryboardWizard::CStoryboardWizard(std::shared_ptr<const ExportSourceData> data, const QString& flcPath,
                                     CivPaletteSources civSources, QWidget* parent)
    : CDialogX(QStringLiteral("Dlg ExpFlc"), parent, false),
      kind_(Export),
      data_(std::move(data)),
      civSources_(std::move(civSources)),
      section_(QStringLiteral("Dlg ExpFlc"))
{
    const ExportSource& s = data_->source;
    originalName_ = GetShortFileName(flcPath);
    baseWidth_ = s.width;
    baseHeight_ = s.height;
    baseFrames_ = s.framesPerDirection;
    baseLeft_ = s.leftOffset;
    baseTop_ = s.topOffset;
    baseDelay_ = static_cast<int>(s.delay);
    baseDirections_ = s.directions;
    build();
    loadSettings();
    if (outputDir_->text().isEmpty()) outputDir_->setText(withSeparator(GetFolder(flcPath)));
    settingsChanged();
}

CStoryboardWizard::CStoryboardWizard(CivPaletteSources civSources, QWidget* parent)
    : CDialogX(QStringLiteral("Dlg NewFlc"), parent, false),
      kind_(New),
      civSources_(std::move(civSources)),
      section_(QStringLiteral("Dlg NewFlc"))
{
    originalName_ = QStringLiteral("Default");
    build();
    loadSettings();
    if (outputDir_->text().isEmpty()) {
        // Nothing remembered: beside the last opened document, else the home folder.
        const QString last = GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend"));
        const QString folder = last.isEmpty() ? QString() : GetFolder(last);
        outputDir_->setText(withSeparator(uIsDirExist(folder) ? folder : QDir::homePath()));
    }
    settingsChanged();
}

CStoryboardWizard::~CStoryboardWizard() = default;

void CStoryboardWizard::build()
{
    const bool exp = kind_ == Export;
    setWindowTitle(tr8(exp ? str::IDS_WIZ_EXPORT_TITLE : str::IDS_WIZ_NEW_TITLE));
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(buildInformationPage(), tr8(str::IDS_WIZ_TAB_INFORMATION));
    tabs_->addTab(buildOutputPage(), tr8(str::IDS_WIZ_TAB_OUTPUT));
    tabs_->addTab(buildFramePage(), tr8(str::IDS_WIZ_TAB_FRAME));
    tabs_->addTab(buildPalettePage(), tr8(str::IDS_WIZ_TAB_PALETTE));
    tabs_->setCurrentIndex(0);
    layout->addWidget(tabs_);

    auto* buttons = new QHBoxLayout;
    showPreview_ = new QCheckBox(tr8(str::IDS_WIZ_SHOW_PREVIEW), this);
    showPreview_->setObjectName(QStringLiteral("showPreview"));
    buttons->addWidget(showPreview_);
    if (!exp) {
        saveSettings_ = new QCheckBox(tr8(str::IDS_WIZ_SAVE_SETTINGS), this);
        saveSettings_->setObjectName(QStringLiteral("saveSettings"));
        buttons->addWidget(saveSettings_);
    }
    buttons->addStretch(1);
    okButton_ = new QPushButton(tr8(exp ? str::IDS_WIZ_EXPORT_BUTTON : str::IDS_WIZ_CREATE_BUTTON), this);
    okButton_->setObjectName(QStringLiteral("ok"));
    okButton_->setDefault(true);
    auto* cancel = new QPushButton(tr8(str::IDS_WIZ_CANCEL_BUTTON), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(okButton_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(okButton_, &QPushButton::clicked, this, &CStoryboardWizard::accept);
    connect(cancel, &QPushButton::clicked, this, &CStoryboardWizard::reject);
    connect(showPreview_, &QCheckBox::toggled, this, &CStoryboardWizard::setPreviewShown);

    // Every control of the pages refreshes the summary, the enabled states and the preview.
    for (QAbstractButton* b : tabs_->findChildren<QAbstractButton*>())
        connect(b, &QAbstractButton::toggled, this, &CStoryboardWizard::settingsChanged);
    for (QSpinBox* s : tabs_->findChildren<QSpinBox*>())
        connect(s, QOverload<int>::of(&QSpinBox::valueChanged), this, &CStoryboardWizard::settingsChanged);
    for (QComboBox* c : tabs_->findChildren<QComboBox*>())
        connect(c, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CStoryboardWizard::settingsChanged);
    for (QLineEdit* e : tabs_->findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textChanged, this, &CStoryboardWizard::settingsChanged);
    connect(width_, QOverload<int>::of(&QSpinBox::valueChanged), this, &CStoryboardWizard::onWidthChanged);
    connect(height_, QOverload<int>::of(&QSpinBox::valueChanged), this, &CStoryboardWizard::onHeightChanged);
    if (trim_)
        for (QSpinBox* s : {trimLeft_, trimRight_, trimTop_, trimBottom_})
            connect(s, QOverload<int>::of(&QSpinBox::valueChanged), this, &CStoryboardWizard::onTrimChanged);
    connect(delayList_, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { delay_->setValue(kDelayChoices[index]); });
    if (unitRadio_)
        connect(leaderRadio_, &QRadioButton::toggled, this, [this](bool on) {
            if (!syncing_) applyDefaultGeometry(on);
        });
}

QWidget* CStoryboardWizard::buildOutputPage()
{
    const bool exp = kind_ == Export;
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);

    auto* dirBox = new QGroupBox(tr8(str::IDS_WIZ_OUTPUT_DIRECTORY), page);
    auto* dirRow = new QHBoxLayout(dirBox);
    outputDir_ = new QLineEdit(dirBox);
    outputDir_->setObjectName(QStringLiteral("outputDir"));
    auto* browse = new QPushButton(tr8(str::IDS_WIZ_BROWSE), dirBox);
    browse->setObjectName(QStringLiteral("browseOutput"));
    dirRow->addWidget(outputDir_, 1);
    dirRow->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, [this] {
        QString folder;
        if (uBrowseFolder(this, tr8(str::IDS_WIZ_SELECT_OUTPUT_FOLDER), outputDir_->text(), folder))
            outputDir_->setText(withSeparator(folder));
    });
    v->addWidget(dirBox);

    auto* nameBox = new QGroupBox(tr8(str::IDS_WIZ_BASE_FILE_NAME), page);
    auto* nameGrid = new QGridLayout(nameBox);
    originalNameRadio_ = radio(exp ? str::IDS_WIZ_ORIGINAL_NAME : str::IDS_WIZ_DEFAULT_NAME, "originalName", nameBox);
    newNameRadio_ = radio(str::IDS_WIZ_NEW_NAME, "newNameRadio", nameBox);
    newName_ = new QLineEdit(originalName_, nameBox);
    newName_->setObjectName(QStringLiteral("newName"));
    newName_->setMaxLength(63);  // what the description can hold
    nameGrid->addWidget(originalNameRadio_, 0, 0);
    nameGrid->addWidget(label(originalName_, nameBox), 0, 1);
    nameGrid->addWidget(newNameRadio_, 1, 0);
    nameGrid->addWidget(newName_, 1, 1);
    originalNameRadio_->setChecked(true);
    v->addWidget(nameBox);

    auto* typeBox = new QGroupBox(tr8(str::IDS_WIZ_IMAGE_FILE_TYPE), page);
    auto* typeRow = new QHBoxLayout(typeBox);
    fileType_ = new QComboBox(typeBox);
    fileType_->setObjectName(QStringLiteral("fileType"));
    fileType_->addItems({tr8(str::IDS_WIZ_TYPE_PCX), tr8(str::IDS_WIZ_TYPE_BMP)});
    typeRow->addWidget(fileType_);
    v->addWidget(typeBox);

    if (!exp) {
        auto* animBox = new QGroupBox(tr8(str::IDS_WIZ_ANIMATION_TYPE), page);
        auto* animRow = new QHBoxLayout(animBox);
        unitRadio_ = radio(str::IDS_WIZ_UNIT_ANIMATION, "unit", animBox);
        leaderRadio_ = radio(str::IDS_WIZ_LEADER_HEAD_ANIMATION, "leaderHead", animBox);
        unitRadio_->setChecked(true);
        animRow->addWidget(unitRadio_);
        animRow->addWidget(leaderRadio_);
        v->addWidget(animBox);
    }
    v->addStretch(1);
    return page;
}

QWidget* CStoryboardWizard::buildFramePage()
{
    const bool exp = kind_ == Export;
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    // Frame size.
    auto* sizeBox = new QGroupBox(tr8(str::IDS_WIZ_FRAME_SIZE), page);
    auto* sg = new QGridLayout(sizeBox);
    baseSizeRadio_ = radio(exp ? str::IDS_WIZ_CURRENT_SIZE : str::IDS_WIZ_DEFAULT_SIZE, "baseSize", sizeBox);
    baseSizeLabel_ = label({}, sizeBox, "baseSizeLabel");
    changeSizeRadio_ = radio(str::IDS_WIZ_CHANGE_SIZE, "changeSize", sizeBox);
    width_ = spin("width", 1, kMaxSide, sizeBox);
    height_ = spin("height", 1, kMaxSide, sizeBox);
    constrain_ = new QToolButton(sizeBox);
    constrain_->setObjectName(QStringLiteral("constrain"));
    constrain_->setCheckable(true);
    constrain_->setText(QStringLiteral("\u221D"));
    constrain_->setToolTip(tr8(str::IDS_WIZ_CONSTRAIN_PROPORTIONS));
    sg->addWidget(baseSizeRadio_, 0, 0);
    sg->addWidget(baseSizeLabel_, 0, 1, 1, 4);
    sg->addWidget(changeSizeRadio_, 1, 0);
    sg->addWidget(label(tr8(str::IDS_WIZ_WIDTH), sizeBox), 1, 1);
    sg->addWidget(width_, 1, 2);
    sg->addWidget(label(tr8(str::IDS_WIZ_HEIGHT), sizeBox), 1, 3);
    sg->addWidget(height_, 1, 4);
    sg->addWidget(constrain_, 1, 5);
    if (exp) {
        resize_ = new QCheckBox(tr8(str::IDS_WIZ_RESIZE_IMAGE), sizeBox);
        resize_->setObjectName(QStringLiteral("resize"));
        sg->addWidget(resize_, 2, 0, 1, 6);
    }
    baseSizeRadio_->setChecked(true);
    grid->addWidget(sizeBox, 0, 0, 1, 2);

    // Frames per direction.
    auto* framesBox = new QGroupBox(tr8(str::IDS_WIZ_FRAMES_COUNT), page);
    auto* fg = new QGridLayout(framesBox);
    baseFramesRadio_ = radio(exp ? str::IDS_WIZ_CURRENT_COUNT : str::IDS_WIZ_DEFAULT_COUNT, "baseFrames", framesBox);
    baseFramesLabel_ = label({}, framesBox, "baseFramesLabel");
    changeFramesRadio_ = radio(str::IDS_WIZ_CHANGE_FRAMES_COUNT, "changeFrames", framesBox);
    frames_ = spin("frames", 1, kMaxStoryboardCount, framesBox);
    fg->addWidget(baseFramesRadio_, 0, 0);
    fg->addWidget(baseFramesLabel_, 0, 1);
    fg->addWidget(changeFramesRadio_, 1, 0);
    fg->addWidget(frames_, 1, 1);
    baseFramesRadio_->setChecked(true);
    grid->addWidget(framesBox, 1, 0);

    if (!exp) {
        auto* dirBox = new QGroupBox(tr8(str::IDS_WIZ_DIRECTIONS_COUNT), page);
        auto* dg = new QGridLayout(dirBox);
        defaultDirsRadio_ = radio(str::IDS_WIZ_DEFAULT_DIRECTIONS, "defaultDirections", dirBox);
        selectDirsRadio_ = radio(str::IDS_WIZ_SELECT_DIRECTIONS, "selectDirections", dirBox);
        directions_ = new QComboBox(dirBox);
        directions_->setObjectName(QStringLiteral("directions"));
        for (int d = 1; d <= kDirectionCount; ++d) directions_->addItem(QString::number(d));
        directions_->setCurrentIndex(kDirectionCount - 1);
        dg->addWidget(defaultDirsRadio_, 0, 0);
        dg->addWidget(label(QString::number(kDirectionCount), dirBox), 0, 1);
        dg->addWidget(selectDirsRadio_, 1, 0);
        dg->addWidget(directions_, 1, 1);
        defaultDirsRadio_->setChecked(true);
        grid->addWidget(dirBox, 1, 1);
    }

    // Offsets.
    auto* offBox = new QGroupBox(tr8(str::IDS_WIZ_FRAME_OFFSET), page);
    auto* og = new QGridLayout(offBox);
    baseOffsetRadio_ = radio(exp ? str::IDS_WIZ_CURRENT_OFFSET : str::IDS_WIZ_DEFAULT_OFFSET, "baseOffset", offBox);
    baseOffsetLabel_ = label({}, offBox, "baseOffsetLabel");
    autoOffsetRadio_ = radio(str::IDS_WIZ_AUTOMATIC_OFFSET, "autoOffset", offBox);
    autoOffsetLabel_ = label({}, offBox, "autoOffsetLabel");
    changeOffsetRadio_ = radio(str::IDS_WIZ_CHANGE_OFFSET, "changeOffset", offBox);
    const int maxOffset = exp ? kUnitArea : kUnitArea - 1;
    left_ = spin("left", 0, maxOffset, offBox);
    top_ = spin("top", 0, maxOffset, offBox);
    og->addWidget(baseOffsetRadio_, 0, 0);
    og->addWidget(baseOffsetLabel_, 0, 1, 1, 4);
    og->addWidget(autoOffsetRadio_, 1, 0);
    og->addWidget(autoOffsetLabel_, 1, 1, 1, 4);
    og->addWidget(changeOffsetRadio_, 2, 0);
    og->addWidget(label(tr8(str::IDS_OFFSET_LEFT), offBox), 2, 1);
    og->addWidget(left_, 2, 2);
    og->addWidget(label(tr8(str::IDS_OFFSET_TOP), offBox), 2, 3);
    og->addWidget(top_, 2, 4);
    baseOffsetRadio_->setChecked(true);
    grid->addWidget(offBox, 2, 0, 1, 2);

    // Delay.
    auto* delayBox = new QGroupBox(tr8(str::IDS_WIZ_FRAME_DELAY), page);
    auto* dl = new QGridLayout(delayBox);
    baseDelayRadio_ = radio(exp ? str::IDS_WIZ_ORIGINAL_DELAY : str::IDS_WIZ_DEFAULT_DELAY, "baseDelay", delayBox);
    baseDelayLabel_ = label({}, delayBox, "baseDelayLabel");
    selectDelayRadio_ = radio(str::IDS_WIZ_SELECT_DELAY, "selectDelay", delayBox);
    delayList_ = new QComboBox(delayBox);
    delayList_->setObjectName(QStringLiteral("delayList"));
    for (int d : kDelayChoices) delayList_->addItem(fmt(str::IDS_WIZ_MS, {d}));
    delay_ = spin("delay", 10, 1000, delayBox);
    dl->addWidget(baseDelayRadio_, 0, 0);
    dl->addWidget(baseDelayLabel_, 0, 1, 1, 2);
    dl->addWidget(selectDelayRadio_, 1, 0);
    dl->addWidget(delayList_, 1, 1);
    dl->addWidget(delay_, 1, 2);
    baseDelayRadio_->setChecked(true);
    grid->addWidget(delayBox, 3, 0, 1, 2);

    if (exp) {
        auto* trimBox = new QGroupBox(tr8(str::IDS_WIZ_TRIM_BORDERS), page);
        auto* tg = new QGridLayout(trimBox);
        trim_ = new QCheckBox(tr8(str::IDS_WIZ_TRIM_ENABLE), trimBox);
        trim_->setObjectName(QStringLiteral("trim"));
        trimLeft_ = spin("trimLeft", 0, kMaxSide - 1, trimBox);
        trimRight_ = spin("trimRight", 1, kMaxSide, trimBox);
        trimTop_ = spin("trimTop", 0, kMaxSide - 1, trimBox);
        trimBottom_ = spin("trimBottom", 1, kMaxSide, trimBox);
        tg->addWidget(trim_, 0, 0);
        tg->addWidget(label(tr8(str::IDS_WIZ_TRIM_LEFT), trimBox), 0, 1);
        tg->addWidget(trimLeft_, 0, 2);
        tg->addWidget(label(tr8(str::IDS_WIZ_TRIM_RIGHT), trimBox), 0, 3);
        tg->addWidget(trimRight_, 0, 4);
        tg->addWidget(label(tr8(str::IDS_WIZ_TRIM_TOP), trimBox), 1, 1);
        tg->addWidget(trimTop_, 1, 2);
        tg->addWidget(label(tr8(str::IDS_WIZ_TRIM_BOTTOM), trimBox), 1, 3);
        tg->addWidget(trimBottom_, 1, 4);
        grid->addWidget(trimBox, 4, 0, 1, 2);
    }
    grid->setRowStretch(5, 1);
    return page;
}

QWidget* CStoryboardWizard::buildPalettePage()
{
    const bool exp = kind_ == Export;
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);

    auto* depthBox = new QGroupBox(tr8(str::IDS_WIZ_COLOR_DEPTH), page);
    auto* dv = new QVBoxLayout(depthBox);
    depth8_ = radio(str::IDS_WIZ_DEPTH_8, "depth8", depthBox);
    depth24_ = radio(str::IDS_WIZ_DEPTH_24, "depth24", depthBox);
    depth8_->setChecked(true);
    dv->addWidget(depth8_);
    dv->addWidget(depth24_);
    v->addWidget(depthBox);

    auto* filesBox = new QGroupBox(tr8(str::IDS_WIZ_PALETTE_FILES), page);
    auto* fv = new QVBoxLayout(filesBox);
    palType_ = new QComboBox(filesBox);
    palType_->setObjectName(QStringLiteral("palType"));
    palType_->addItems({tr8(str::IDS_PALETTE_TYPE_ACT), tr8(str::IDS_PALETTE_TYPE_RIFF), tr8(str::IDS_PALETTE_TYPE_JASC)});
    makePal_ = new QCheckBox(tr8(str::IDS_WIZ_MAKE_PALETTE_FILE), filesBox);
    makePal_->setObjectName(QStringLiteral("makePal"));
    makeDefaultPal_ = new QCheckBox(tr8(str::IDS_WIZ_MAKE_DEFAULT_PALETTE), filesBox);
    makeDefaultPal_->setObjectName(QStringLiteral("makeDefaultPal"));
    fv->addWidget(palType_);
    fv->addWidget(makePal_);
    fv->addWidget(makeDefaultPal_);
    v->addWidget(filesBox);

    auto* palBox = new QGroupBox(tr8(str::IDS_WIZ_PALETTE), page);
    auto* pg = new QGridLayout(palBox);
    defaultPalRadio_ = radio(str::IDS_WIZ_DEFAULT_PALETTE, "defaultPalette", palBox);
    selectPalRadio_ = radio(str::IDS_WIZ_SELECT_PALETTE, "selectPalette", palBox);
    civ_ = new CCivColorCombo(palBox);
    civ_->setObjectName(QStringLiteral("civ"));
    pg->addWidget(defaultPalRadio_, 0, 0);
    pg->addWidget(selectPalRadio_, 1, 0);
    pg->addWidget(civ_, 1, 1, 1, 2);
    if (!exp) {
        filePalRadio_ = radio(str::IDS_WIZ_PALETTE_FROM_FILE, "filePalette", palBox);
        palPath_ = new QLineEdit(palBox);
        palPath_->setObjectName(QStringLiteral("palettePath"));
        palBrowse_ = new QPushButton(tr8(str::IDS_WIZ_BROWSE), palBox);
        palBrowse_->setObjectName(QStringLiteral("browsePalette"));
        pg->addWidget(filePalRadio_, 2, 0);
        pg->addWidget(palPath_, 2, 1);
        pg->addWidget(palBrowse_, 2, 2);
        connect(palBrowse_, &QPushButton::clicked, this, &CStoryboardWizard::browsePaletteFile);
    }
    defaultPalRadio_->setChecked(true);
    v->addWidget(palBox);

    auto* smokeBox = new QGroupBox(tr8(str::IDS_WIZ_SMOKE_TYPE), page);
    auto* sg = new QGridLayout(smokeBox);
    smoke_ = new QButtonGroup(this);
    const char* smokeTexts[] = {str::IDS_WIZ_SMOKE_ORIGINAL, str::IDS_WIZ_SMOKE_HARDCODED, str::IDS_WIZ_SMOKE_FILE};
    const char* smokeNames[] = {"smokeOriginal", "smokeHardcoded", "smokeFile"};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* r = radio(smokeTexts[i], smokeNames[i], smokeBox);
        smoke_->addButton(r, i);
        sg->addWidget(r, i, 0, 1, 2);
    }
    smoke_->button(0)->setChecked(true);
    smokePath_ = new QLineEdit(smokeBox);
    smokePath_->setObjectName(QStringLiteral("smokePath"));
    smokeBrowse_ = new QPushButton(tr8(str::IDS_WIZ_BROWSE), smokeBox);
    smokeBrowse_->setObjectName(QStringLiteral("browseSmoke"));
    sg->addWidget(smokePath_, 3, 0);
    sg->addWidget(smokeBrowse_, 3, 1);
    connect(smokeBrowse_, &QPushButton::clicked, this, &CStoryboardWizard::browseSmokePalette);
    v->addWidget(smokeBox);
    v->addStretch(1);
    return page;
}

QWidget* CStoryboardWizard::buildInformationPage()
{
    auto* page = new QWidget;
    info_ = new QFormLayout(page);
    page->setObjectName(QStringLiteral("information"));
    return page;
}

// ---- Settings ------------------------------------------------------------------------------

void CStoryboardWizard::loadSettings()
{
    const QString& s = section_;
    syncing_ = true;
    showPreview_->setChecked(GetProfileInt(s, kPreview, 1) != 0);
    fileType_->setCurrentIndex(readChoice(s, kFileType, 2) == 0 ? 0 : 1);
    palType_->setCurrentIndex(readChoice(s, kPalType, 2));
    makeDefaultPal_->setChecked(GetProfileInt(s, kAlphaPal, 1) != 0);
    makePal_->setChecked(GetProfileInt(s, kMakePal, 1) != 0);
    smoke_->button(readChoice(s, kPal32Type, 2))->setChecked(true);
    smokePath_->setText(GetProfileString(s, kPal32Path));
    outputDir_->setText(withSeparator(GetProfileString(s, kPath)));
    (GetProfileInt(s, kColDepth, 0) ? depth24_ : depth8_)->setChecked(true);

    if (kind_ == Export) {
        resize_->setChecked(GetProfileInt(s, kResize, 0) != 0);
        const int civ = data_->source.shownCivilization;
        civ_->setCurrentIndex(civ);
        (civ ? selectPalRadio_ : defaultPalRadio_)->setChecked(true);
    } else {
        palPath_->setText(GetProfileString(s, kSelPalPath));
        if (GetProfileInt(s, kSelPal, 0)) filePalRadio_->setChecked(true);
        saveSettings_->setChecked(GetProfileInt(s, kSave, 0) != 0);
        const bool leader = GetProfileInt(s, kLeaderHead, 0) != 0;
        (leader ? leaderRadio_ : unitRadio_)->setChecked(true);
    }
    syncing_ = false;
    if (kind_ == New) applyDefaultGeometry(leaderRadio_->isChecked());
    else applyDefaultGeometry(data_->source.leaderHead);
}

void CStoryboardWizard::applyDefaultGeometry(bool leaderHead)
{
    syncing_ = true;
    if (kind_ == New) {
        const QString& s = section_;
        const NewStoryboardSettings d = newWizardDefaults(leaderHead);
        baseWidth_ = d.frameWidth;
        baseHeight_ = d.frameHeight;
        baseLeft_ = d.leftOffset;
        baseTop_ = d.topOffset;
        baseDirections_ = d.directionCount;
        baseFrames_ = std::clamp(GetProfileInt(s, kFrmCount, d.framesPerDirection), 1, kMaxStoryboardCount);
        baseDelay_ = std::clamp(GetProfileInt(s, kDelay, d.frameDelay), 10, 1000);
        int civ = 0;
        if (!leaderHead && GetProfileInt(s, kSave, 0)) {
            baseWidth_ = std::clamp(GetProfileInt(s, kWidth, d.frameWidth), 1, kMaxSide);
            baseHeight_ = std::clamp(GetProfileInt(s, kHeight, d.frameHeight), 1, kMaxSide);
            baseLeft_ = std::clamp(GetProfileInt(s, kXOffset, d.leftOffset), 0, kUnitArea - 1);
            baseTop_ = std::clamp(GetProfileInt(s, kYOffset, d.topOffset), 0, kUnitArea - 1);
            baseDirections_ = std::clamp(GetProfileInt(s, kDirCount, d.directionCount), 1, kDirectionCount);
            civ = std::clamp(GetProfileInt(s, kPalette, 0), 0, kCivSchemeCount);
        }
        civ_->setCurrentIndex(civ);
        if (!filePalRadio_->isChecked()) (civ ? selectPalRadio_ : defaultPalRadio_)->setChecked(true);
        defaultDirsRadio_->setChecked(baseDirections_ == kDirectionCount);
        selectDirsRadio_->setChecked(baseDirections_ != kDirectionCount);
        directions_->setCurrentIndex(baseDirections_ - 1);
    }
    // The "current" or "default" choices stand for the values above; the spins start there.
    baseSizeRadio_->setChecked(true);
    baseFramesRadio_->setChecked(true);
    baseOffsetRadio_->setChecked(true);
    baseDelayRadio_->setChecked(true);
    width_->setValue(std::clamp(baseWidth_, 1, kMaxSide));
    height_->setValue(std::clamp(baseHeight_, 1, kMaxSide));
    frames_->setValue(std::clamp(baseFrames_, 1, kMaxStoryboardCount));
    left_->setValue(baseLeft_);
    top_->setValue(baseTop_);
    delay_->setValue(std::clamp(baseDelay_, 10, 1000));
    if (trim_) {
        trimLeft_->setValue(0);
        trimTop_->setValue(0);
        trimRight_->setValue(width_->value());
        trimBottom_->setValue(height_->value());
    }
    baseSizeLabel_->setText(fmt(str::IDS_WIZ_SIZE_PIXELS, {baseWidth_, baseHeight_}));
    baseFramesLabel_->setText(QString::number(baseFrames_));
    baseOffsetLabel_->setText(fmt(str::IDS_WIZ_OFFSET_PIXELS, {baseLeft_, baseTop_}));
    baseDelayLabel_->setText(fmt(str::IDS_WIZ_MS, {baseDelay_}));
    syncing_ = false;
    settingsChanged();
}

void CStoryboardWizard::saveSettings() const
{
    const QString& s = section_;
    const Common c = gather();
    WriteProfileInt(s, kFileType, c.imageFormat);
    WriteProfileInt(s, kPalType, c.paletteFileType);
    WriteProfileInt(s, kPal32Type, c.smokeType);
    WriteProfileString(s, kPal32Path, QString::fromStdString(c.smokePalettePath));
    WriteProfileString(s, kPath, QString::fromStdString(c.outputDirectory));
    WriteProfileInt(s, kAlphaPal, makeDefaultPal_->isChecked() ? 1 : 0);
    WriteProfileInt(s, kMakePal, c.makePaletteFile ? 1 : 0);
    WriteProfileInt(s, kColDepth, c.colorDepth);
    if (kind_ == Export) {
        WriteProfileInt(s, kResize, resize_->isChecked() ? 1 : 0);
        return;
    }
    const NewStoryboardSettings n = newSettings();
    WriteProfileString(s, kSelPalPath, palPath_->text());
    WriteProfileInt(s, kSelPal, n.usePaletteFile ? 1 : 0);
    WriteProfileInt(s, kSave, saveSettings_->isChecked() ? 1 : 0);
    if (!saveSettings_->isChecked()) return;
    WriteProfileInt(s, kLeaderHead, n.leaderHead ? 1 : 0);
    WriteProfileInt(s, kDelay, n.frameDelay);
    WriteProfileInt(s, kFrmCount, n.framesPerDirection);
    if (n.leaderHead) return;  // a leader head's fixed geometry is not a unit's default
    WriteProfileInt(s, kWidth, n.frameWidth);
    WriteProfileInt(s, kHeight, n.frameHeight);
    WriteProfileInt(s, kXOffset, n.leftOffset);
    WriteProfileInt(s, kYOffset, n.topOffset);
    WriteProfileInt(s, kDirCount, n.directionCount);
    WriteProfileInt(s, kPalette, n.civPalette);
}

CStoryboardWizard::Common CStoryboardWizard::gather() const
{
    Common c;
    c.outputDirectory = withSeparator(outputDir_->text()).toStdString();
    c.baseFileName = (newNameRadio_->isChecked() ? newName_->text().trimmed() : originalName_).toStdString();
    c.imageFormat = fileType_->currentIndex() == 1 ? 1 : 0;
    c.targetPath = storyboardTargetPath(c.outputDirectory, c.baseFileName, c.imageFormat);
    c.paletteFileType = std::max(0, palType_->currentIndex());
    c.frameWidth = changeSizeRadio_->isChecked() ? width_->value() : baseWidth_;
    c.frameHeight = changeSizeRadio_->isChecked() ? height_->value() : baseHeight_;
    c.framesPerDirection = changeFramesRadio_->isChecked() ? frames_->value() : baseFrames_;
    if (autoOffsetRadio_->isChecked()) {
        c.leftOffset = std::max(0, (kUnitArea - c.frameWidth) / 2);
        c.topOffset = std::max(0, (kUnitArea - c.frameHeight) / 2);
    } else if (changeOffsetRadio_->isChecked()) {
        c.leftOffset = left_->value();
        c.topOffset = top_->value();
    } else {
        c.leftOffset = baseLeft_;
        c.topOffset = baseTop_;
    }
    c.frameDelay = selectDelayRadio_->isChecked() ? delay_->value() : baseDelay_;
    c.colorDepth = depth24_->isChecked() ? 1 : 0;
    c.makePaletteFile = makePal_->isChecked();
    // A 24-bit sheet always comes with its quantisation palette.
    c.writeDefaultPalette = makeDefaultPal_->isChecked() || c.colorDepth != 0;
    c.civPalette = selectPalRadio_->isChecked() ? std::max(0, civ_->currentIndex()) : 0;
    if (filePalRadio_ && filePalRadio_->isChecked()) c.paletteName = palPath_->text().toStdString();
    else c.paletteName = civ_->itemText(c.civPalette).toStdString();
    c.smokeType = std::max(0, smoke_->checkedId());
    c.smokePalettePath = smokePath_->text().trimmed().toStdString();
    return c;
}

template <typename Settings, typename Common>
static void fillCommon(Settings& s, const Common& c)
{
    s.targetPath = c.targetPath;
    s.outputDirectory = c.outputDirectory;
    s.baseFileName = c.baseFileName;
    s.imageFormat = c.imageFormat;
    s.paletteFileType = c.paletteFileType;
    s.frameWidth = c.frameWidth;
    s.frameHeight = c.frameHeight;
    s.leftOffset = c.leftOffset;
    s.topOffset = c.topOffset;
    s.framesPerDirection = c.framesPerDirection;
    s.civPalette = c.civPalette;
    s.paletteName = c.paletteName;
    s.frameDelay = c.frameDelay;
    s.colorDepth = c.colorDepth;
    s.makePaletteFile = c.makePaletteFile;
    s.writeDefaultPalette = c.writeDefaultPalette;
    s.smokeType = c.smokeType;
    s.smokePalettePath = c.smokePalettePath;
}

ExportStoryboardSettings CStoryboardWizard::exportSettings() const
{
    ExportStoryboardSettings s;
    const Common c = gather();
    fillCommon(s, c);
    if (kind_ != Export) return s;
    s.resizeImage = resize_->isChecked();
    s.trimEnabled = trim_->isChecked();
    s.trimLeft = s.trimEnabled ? trimLeft_->value() : 0;
    s.trimTop = s.trimEnabled ? trimTop_->value() : 0;
    s.trimRight = s.trimEnabled ? trimRight_->value() : c.frameWidth;
    s.trimBottom = s.trimEnabled ? trimBottom_->value() : c.frameHeight;
    return s;
}

NewStoryboardSettings CStoryboardWizard::newSettings() const
{
    NewStoryboardSettings s;
    const Common c = gather();
    fillCommon(s, c);
    if (kind_ != New) return s;
    s.leaderHead = leaderRadio_->isChecked();
    s.directionCount = s.leaderHead ? 1 : selectDirsRadio_->isChecked() ? directions_->currentIndex() + 1 : baseDirections_;
    s.usePaletteFile = filePalRadio_->isChecked();
    s.paletteFilePath = palPath_->text().trimmed().toStdString();
    if (s.leaderHead) {
        // The page disables both choices for a leader head: neither may still count.
        s.civPalette = 0;
        s.smokeType = 0;
        s.smokePalettePath.clear();
    }
    return s;
}

// ---- Reacting to the pages -------------------------------------------------------------------

void CStoryboardWizard::updateControls()
{
    const bool leader = kind_ == Export ? data_->source.leaderHead : leaderRadio_->isChecked();
    newName_->setEnabled(newNameRadio_->isChecked());
    const bool sizing = changeSizeRadio_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{width_, height_, constrain_}) w->setEnabled(sizing);
    if (resize_) resize_->setEnabled(sizing);
    frames_->setEnabled(changeFramesRadio_->isChecked());
    if (directions_) {
        defaultDirsRadio_->setEnabled(!leader);
        selectDirsRadio_->setEnabled(!leader);
        directions_->setEnabled(!leader && selectDirsRadio_->isChecked());
    }
    // A leader head has no offsets in the game's unit area.
    for (QWidget* w : std::initializer_list<QWidget*>{baseOffsetRadio_, autoOffsetRadio_, changeOffsetRadio_})
        w->setEnabled(!leader);
    left_->setEnabled(!leader && changeOffsetRadio_->isChecked());
    top_->setEnabled(!leader && changeOffsetRadio_->isChecked());
    const Common c = gather();
    autoOffsetLabel_->setText(fmt(str::IDS_WIZ_OFFSET_PIXELS, {std::max(0, (kUnitArea - c.frameWidth) / 2),
                                                               std::max(0, (kUnitArea - c.frameHeight) / 2)}));
    delayList_->setEnabled(selectDelayRadio_->isChecked());
    delay_->setEnabled(selectDelayRadio_->isChecked());
    if (trim_)
        for (QSpinBox* s : {trimLeft_, trimRight_, trimTop_, trimBottom_}) s->setEnabled(trim_->isChecked());
    // Leader heads get neither civilization colours nor smoke and shadow colours.
    defaultPalRadio_->setEnabled(!leader);
    selectPalRadio_->setEnabled(!leader);
    civ_->setEnabled(!leader && selectPalRadio_->isChecked());
    if (palPath_) {
        palPath_->setEnabled(filePalRadio_->isChecked());
        palBrowse_->setEnabled(filePalRadio_->isChecked());
    }
    for (QAbstractButton* b : smoke_->buttons()) b->setEnabled(!leader);
    smokePath_->setEnabled(!leader && smoke_->checkedId() == 2);
    smokeBrowse_->setEnabled(!leader && smoke_->checkedId() == 2);
    makeDefaultPal_->setEnabled(!depth24_->isChecked());
}

void CStoryboardWizard::settingsChanged()
{
    if (syncing_) return;
    syncing_ = true;
    if (trim_) {
        // The trim rectangle lies inside the cell and holds at least one pixel.
        const int w = changeSizeRadio_->isChecked() ? width_->value() : baseWidth_;
        const int h = changeSizeRadio_->isChecked() ? height_->value() : baseHeight_;
        if (!trim_->isChecked()) {
            trimLeft_->setValue(0);
            trimTop_->setValue(0);
            trimRight_->setMaximum(w);
            trimBottom_->setMaximum(h);
            trimRight_->setValue(w);
            trimBottom_->setValue(h);
        }
        trimRight_->setRange(trimLeft_->value() + 1, w);
        trimBottom_->setRange(trimTop_->value() + 1, h);
        trimLeft_->setRange(0, trimRight_->value() - 1);
        trimTop_->setRange(0, trimBottom_->value() - 1);
    }
    updateControls();
    syncing_ = false;
    updateInformation();
    requestPreview();
}

void CStoryboardWizard::onTrimChanged() { settingsChanged(); }

void CStoryboardWizard::onWidthChanged(int value) { followSide(value, baseWidth_, baseHeight_, height_); }

void CStoryboardWizard::onHeightChanged(int value) { followSide(value, baseHeight_, baseWidth_, width_); }

// With proportions constrained, the other side follows the frame's aspect ratio: `value`
// of the side whose original is `fromBase` sets `other`, whose original is `toBase`.
void CStoryboardWizard::followSide(int value, int fromBase, int toBase, QSpinBox* other)
{
    if (syncing_ || !constrain_->isChecked() || fromBase <= 0) return;
    const int v = QString::asprintf("%.0f", double(value) * toBase / fromBase).toInt();
    syncing_ = true;
    other->setValue(std::clamp(v, 1, kMaxSide));
    syncing_ = false;
    settingsChanged();
}

void CStoryboardWizard::updateInformation()
{
    while (info_->rowCount() > 0) info_->removeRow(0);
    const bool exp = kind_ == Export;
    const ExportStoryboardSettings e = exportSettings();
    const NewStoryboardSettings n = newSettings();
    auto row = [this](const char* name, const QString& value) {
        auto* v = new QLabel(value);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        info_->addRow(tr8(name), v);
    };
    const char* types[] = {str::IDS_PALETTE_TYPE_ACT, str::IDS_PALETTE_TYPE_RIFF, str::IDS_PALETTE_TYPE_JASC};
    const char* smokes[] = {str::IDS_WIZ_INFO_SMOKE_CURRENT, str::IDS_WIZ_INFO_SMOKE_HARDCODED,
                            str::IDS_WIZ_INFO_SMOKE_SELECTIVE};
    row(str::IDS_WIZ_INFO_TARGET, QString::fromStdString(e.targetPath));
    row(str::IDS_WIZ_INFO_DIRECTORY, QString::fromStdString(e.outputDirectory));
    row(str::IDS_WIZ_INFO_BASE_NAME, QString::fromStdString(e.baseFileName));
    row(str::IDS_WIZ_INFO_IMAGE_TYPE, fileType_->currentText());
    row(str::IDS_WIZ_INFO_PALETTE_TYPE, tr8(types[std::clamp(e.paletteFileType, 0, 2)]));
    row(str::IDS_WIZ_INFO_COLOR_DEPTH, fmt(str::IDS_WIZ_INFO_BITS, {e.colorDepth ? 24 : 8}));
    row(str::IDS_WIZ_INFO_FRAME_WIDTH, fmt(str::IDS_WIZ_INFO_PIXELS, {e.frameWidth}));
    row(str::IDS_WIZ_INFO_FRAME_HEIGHT, fmt(str::IDS_WIZ_INFO_PIXELS, {e.frameHeight}));
    row(str::IDS_WIZ_INFO_LEFT_OFFSET, fmt(str::IDS_WIZ_INFO_PIXELS, {e.leftOffset}));
    row(str::IDS_WIZ_INFO_TOP_OFFSET, fmt(str::IDS_WIZ_INFO_PIXELS, {e.topOffset}));
    if (exp)
        row(str::IDS_WIZ_INFO_RESIZE, tr8(e.resizeImage ? str::IDS_WIZ_INFO_YES : str::IDS_WIZ_INFO_NO));
    else
        row(str::IDS_WIZ_INFO_ANIMATION_TYPE,
            tr8(n.leaderHead ? str::IDS_WIZ_INFO_LEADER_HEAD : str::IDS_WIZ_INFO_UNIT));
    row(str::IDS_WIZ_INFO_FRAMES, QString::number(e.framesPerDirection));
    row(str::IDS_WIZ_INFO_DIRECTIONS, QString::number(exp ? data_->source.directions : n.directionCount));
    row(str::IDS_WIZ_INFO_PALETTE, QString::fromStdString(e.paletteName));
    row(str::IDS_WIZ_INFO_DELAY, fmt(str::IDS_WIZ_MS, {e.frameDelay}));
    row(str::IDS_WIZ_INFO_SMOKE, tr8(e.smokeType >= 0 && e.smokeType <= 2 ? smokes[e.smokeType]
                                                                         : str::IDS_WIZ_INFO_SMOKE_ERROR));
    if (exp)
        row(str::IDS_WIZ_INFO_TRIM, e.trimEnabled ? fmt(str::IDS_WIZ_INFO_TRIM_RECT, {e.trimLeft, e.trimRight,
                                                                                    e.trimTop, e.trimBottom})
                                                  : tr8(str::IDS_WIZ_INFO_NO));
}

// ---- Browsing --------------------------------------------------------------------------------

bool CStoryboardWizard::browsePalette(QLineEdit* target)
{
    CFileDialogX dlg(true, {}, {}, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                     tr8(str::IDS_PALETTE_IMPORT_FILTER), this);
    dlg.title = tr8(str::IDS_PALETTE_IMPORT_TITLE);
    const QString options = QStringLiteral("Options");
    dlg.filterIndex = GetProfileInt(options, QStringLiteral("PalFilterImp"), 1);
    const QString last = GetProfileString(options, QStringLiteral("PalDir"));
    if (!target->text().isEmpty() && QFileInfo::exists(target->text())) dlg.initialPath = target->text();
    else if (!last.isEmpty() && QFileInfo::exists(last)) dlg.initialPath = last;
    if (dlg.DoModal() != IDOK) return false;
    WriteProfileString(options, QStringLiteral("PalDir"), dlg.GetPathName());
    WriteProfileInt(options, QStringLiteral("PalFilterImp"), dlg.filterIndex);
    target->setText(dlg.GetPathName());
    return true;
}

void CStoryboardWizard::browseSmokePalette()
{
    if (browsePalette(smokePath_)) smoke_->button(2)->setChecked(true);
}

void CStoryboardWizard::browsePaletteFile()
{
    if (browsePalette(palPath_)) filePalRadio_->setChecked(true);
}

// ---- Preview ---------------------------------------------------------------------------------

void CStoryboardWizard::showEvent(QShowEvent* event)
{
    CDialogX::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    // The preview opens once the wizard itself is on the screen.
    if (showPreview_->isChecked()) QTimer::singleShot(0, this, [this] { setPreviewShown(showPreview_->isChecked()); });
}

void CStoryboardWizard::setPreviewShown(bool on)
{
    if (!on) {
        if (preview_) preview_->close();
        return;
    }
    if (preview_ || !isVisible()) return;
    preview_ = new CPreviewDlg(this);
    preview_->setAttribute(Qt::WA_DeleteOnClose, true);
    connect(preview_, &CPreviewDlg::closed, this, [this] {
        // Closed by itself (not by the wizard ending): the box follows.
        if (closingPreview_) return;
        const QSignalBlocker block(showPreview_);
        showPreview_->setChecked(false);
    });
    preview_->show();
    requestPreview();
}

void CStoryboardWizard::requestPreview()
{
    if (!preview_) return;
    const CivPaletteSources sources = civSources_;
    if (kind_ == Export) {
        std::shared_ptr<const ExportSourceData> data = data_;
        const ExportStoryboardSettings s = exportSettings();
        preview_->request([data, s, sources](const std::atomic<bool>& cancelled, QSize area) {
            StoryboardSheet made;
            if (!buildExportSheet(data->source, s, sources, made, nullptr, {}, &cancelled)) return PreviewSheet{};
            return previewOf(made, area);
        });
    } else {
        const NewStoryboardSettings s = newSettings();
        preview_->request([s, sources](const std::atomic<bool>&, QSize area) {
            StoryboardSheet made;
            if (!buildNewSheet(s, sources, made)) return PreviewSheet{};
            return previewOf(made, area);
        });
    }
}

// ---- Accepting -------------------------------------------------------------------------------

void CStoryboardWizard::accept()
{
    const Common c = gather();
    if (c.baseFileName.empty()) {
        AfxMessageBox(str::IDS_WIZ_ENTER_BASE_NAME, MB_OK);
        return;
    }
    auto confirmAbsent = [](const std::string& path) {
        if (uIsFileExist(QString::fromStdString(path))) return true;
        return AfxMessageBox(formatMessage(str::IDS_WIZ_PALETTE_ABSENT, {path}), MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    const bool leader = kind_ == Export ? data_->source.leaderHead : leaderRadio_->isChecked();
    if (!leader && c.smokeType == 2 && !confirmAbsent(c.smokePalettePath)) return;
    if (kind_ == New && filePalRadio_->isChecked() && !confirmAbsent(palPath_->text().trimmed().toStdString()))
        return;
    // The output folder: made when missing, and it must take files.
    const QString dir = QString::fromStdString(c.outputDirectory);
    const bool usable = !dir.isEmpty() && QDir::isAbsolutePath(dir) && (uIsDirExist(dir) || uCreateNewFolder(dir)) &&
                        QFileInfo(dir).isWritable();
    if (!usable) {
        AfxMessageBox(str::IDS_WIZ_INVALID_TARGET_PATH, MB_OK);
        return;
    }
    {
        const QSignalBlocker block(outputDir_);
        outputDir_->setText(dir);
    }
    saveSettings();
    CDialogX::accept();
}

void CStoryboardWizard::done(int result)
{
    WriteProfileInt(section_, kPreview, showPreview_->isChecked() ? 1 : 0);
    if (preview_) {
        closingPreview_ = true;
        preview_->close();
        closingPreview_ = false;
    }
    CDialogX::done(result);
}

}  // namespace qv
