// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/main_frame.h"
#include "app/settings.h"
#include "core/strings.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"

namespace qv {

using namespace settings;

namespace {

constexpr char kSection[] = "Dlg Options";

// The menu library's same-border switch lives as long as the program runs.
bool& sameBorderSwitch()
{
    static bool on = true;
    return on;
}

QString tr8(const char* s) { return QString::fromUtf8(s); }

QGroupBox* group(const char* title, QWidget* page)
{
    auto* g = new QGroupBox(tr8(title), page);
    new QVBoxLayout(g);
    page->layout()->addWidget(g);
    return g;
}

template <class W>
W* add(QGroupBox* g, const char* text)
{
    auto* w = new W(tr8(text), g);
    g->layout()->addWidget(w);
    return w;
}

// A row of controls in a group, without margins of its own.
std::pair<QWidget*, QHBoxLayout*> addRow(QGroupBox* g)
{
    auto* row = new QWidget(g);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    g->layout()->addWidget(row);
    return {row, h};
}

QWidget* newPage(QTabWidget* tabs, const char* title)
{
    auto* page = new QWidget(tabs);
    new QVBoxLayout(page);
    tabs->addTab(page, tr8(title));
    return page;
}

constexpr IntSetting kCurTab{kSection, "CurTab", 0};

}  // namespace

COptionsDlg::COptionsDlg(QWidget* parent) : CDialogX(QString::fromLatin1(kSection), parent)
{
    setWindowTitle(tr8(str::IDS_OPT_TITLE));
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    layout->addWidget(tabs);

    QWidget* doc = newPage(tabs, str::IDS_OPT_TAB_DOCUMENT);
    QGroupBox* g = group(str::IDS_OPT_GRP_ASSOC, doc);
    associate = add<QCheckBox>(g, str::IDS_OPT_ASSOCIATE);
    checkAtStartup = add<QCheckBox>(g, str::IDS_OPT_CHECK_AT_STARTUP);
    g = group(str::IDS_OPT_GRP_LOADING, doc);
    reloadLast = add<QCheckBox>(g, str::IDS_OPT_RELOAD_LAST);
    g = group(str::IDS_OPT_GRP_RECENT, doc);
    {
        const auto [row, h] = addRow(g);
        h->addWidget(new QLabel(tr8(str::IDS_OPT_RECENT_CONTAINS), row));
        maxMru = new QSpinBox(row);
        maxMru->setRange(kMaxMruMin, kMaxMruMax);
        h->addWidget(maxMru);
        h->addWidget(new QLabel(tr8(str::IDS_OPT_FILES), row));
        h->addStretch();
    }
    static_cast<QVBoxLayout*>(doc->layout())->addStretch();

    QWidget* view = newPage(tabs, str::IDS_OPT_TAB_VIEW);
    g = group(str::IDS_OPT_GRP_BARS, view);
    showToolBar = add<QCheckBox>(g, str::IDS_OPT_SHOW_TOOLBAR);
    showStatusBar = add<QCheckBox>(g, str::IDS_OPT_SHOW_STATUSBAR);
    g = group(str::IDS_OPT_GRP_MENU, view);
    specialBorder = add<QCheckBox>(g, str::IDS_OPT_SPECIAL_BORDER);
    sameBorder = add<QCheckBox>(g, str::IDS_OPT_SAME_BORDER);
    disabledSelection = add<QCheckBox>(g, str::IDS_OPT_DISABLED_SELECTION);
    gloom = add<QCheckBox>(g, str::IDS_OPT_GLOOM);
    xpStyle = add<QRadioButton>(g, str::IDS_OPT_XP_STYLE);
    oldStyle = add<QRadioButton>(g, str::IDS_OPT_OLD_STYLE);
    g = group(str::IDS_OPT_GRP_BUTTONS, view);
    buttonEffects = add<QCheckBox>(g, str::IDS_OPT_BUTTON_EFFECTS);
    buttonIcons = add<QCheckBox>(g, str::IDS_OPT_BUTTON_ICONS);
    static_cast<QVBoxLayout*>(view->layout())->addStretch();

    QWidget* anim = newPage(tabs, str::IDS_OPT_TAB_ANIMATION);
    g = group(str::IDS_OPT_GRP_CIV_PAL, anim);
    palGame = add<QRadioButton>(g, str::IDS_OPT_PAL_GAME);
    palResources = add<QRadioButton>(g, str::IDS_OPT_PAL_RESOURCES);
    palFolder = add<QRadioButton>(g, str::IDS_OPT_PAL_FOLDER);
    {
        const auto [row, h] = addRow(g);
        palDir = new QLineEdit(row);
        browse = new QPushButton(tr8(str::IDS_OPT_BROWSE), row);
        del = new QPushButton(tr8(str::IDS_OPT_DEL), row);
        h->addWidget(palDir);
        h->addWidget(browse);
        h->addWidget(del);
    }
    builtinNote = add<QLabel>(g, str::IDS_OPT_PAL_BUILTIN_NOTE);
    builtinNote->setWordWrap(true);
    g = group(str::IDS_OPT_GRP_STARTUP_ANIM, anim);
    play = add<QRadioButton>(g, str::IDS_OPT_PLAY);
    pause = add<QRadioButton>(g, str::IDS_OPT_PAUSE);
    g = group(str::IDS_OPT_GRP_EXPORT, anim);
    expOpen = add<QCheckBox>(g, str::IDS_OPT_EXP_OPEN);
    expAsk = add<QCheckBox>(g, str::IDS_OPT_EXP_ASK);
    static_cast<QVBoxLayout*>(anim->layout())->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton(tr8(str::IDS_OPT_OK), QDialogButtonBox::AcceptRole);
    applyButton = buttons->addButton(tr8(str::IDS_OPT_APPLY), QDialogButtonBox::ApplyRole);
    defaultButton = buttons->addButton(tr8(str::IDS_OPT_DEFAULT), QDialogButtonBox::ResetRole);
    buttons->addButton(tr8(str::IDS_OPT_CANCEL), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(okButton, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, &COptionsDlg::Apply);
    connect(defaultButton, &QPushButton::clicked, this, &COptionsDlg::OnDefault);
    connect(browse, &QPushButton::clicked, this, [this] {
        QString folder;
        if (uBrowseFolder(this, tr8(str::IDS_OPT_SELECT_PAL_DIR), palDir->text(), folder)) palDir->setText(folder);
    });
    connect(del, &QPushButton::clicked, palDir, &QLineEdit::clear);

    load();
    tabs->setCurrentIndex(readSetting(kCurTab, 0, tabs->count() - 1));

    // Any change enables Apply and keeps the dependent controls' states right.
    for (QCheckBox* c : findChildren<QCheckBox*>()) connect(c, &QCheckBox::toggled, this, &COptionsDlg::changed);
    for (QRadioButton* r : findChildren<QRadioButton*>())
        connect(r, &QRadioButton::toggled, this, &COptionsDlg::changed);
    connect(maxMru, qOverload<int>(&QSpinBox::valueChanged), this, &COptionsDlg::changed);
    connect(palDir, &QLineEdit::textChanged, this, &COptionsDlg::changed);
    applyButton->setEnabled(false);
}

void COptionsDlg::load()
{
    auto* app = CEditorApp::instance();
    auto* dm = app ? app->editorDocManager() : nullptr;
    associate->setChecked(dm && dm->CheckFileTypes());
    checkAtStartup->setChecked(readSetting(kCheckFileType, 0, 1) != 0);
    reloadLast->setChecked(readSetting(kLoadDoc, 0, 1) != 0);
    maxMru->setValue(readSetting(kMaxMru, kMaxMruMin, kMaxMruMax));

    showToolBar->setChecked(readSetting(kShowToolBar) != 0);
    showStatusBar->setChecked(readSetting(kShowStatusBar) != 0);
    const int style = readSetting(kMenuStyle, 0, 3);
    (style >= 2 ? xpStyle : oldStyle)->setChecked(true);
    specialBorder->setChecked(style % 2 == 0);
    sameBorder->setChecked(sameBorderSwitch());
    disabledSelection->setChecked(readSetting(kMenuSelection) != 0);
    gloom->setChecked(readSetting(kMenuGloom) != 0);
    const int buttons = readSetting(kButtonSettings) & 3;
    buttonEffects->setChecked((buttons & 2) == 0);
    buttonIcons->setChecked((buttons & 1) == 0);

    // Without the game and with no source chosen yet, the built-in schemes are in use:
    // the dialog shows that source (and says why).
    const int pal = app ? app->civPaletteSource() : readSetting(kPalType, 0, 2);
    (pal == 0 ? palGame : pal == 1 ? palResources : palFolder)->setChecked(true);
    palDir->setText(GetProfileString(kOptions, kPalDir));
    builtinNote->setVisible(app && app->usesBuiltinSchemesByDefault());
    (readSetting(kAnimType, 0, 1) == 0 ? play : pause)->setChecked(true);
    expOpen->setChecked(readSetting(kExpOpen, 0, 1) != 0);
    expAsk->setChecked(readSetting(kExpAsk, 0, 1) != 0);
    updateEnabling();
}

void COptionsDlg::updateEnabling()
{
    gloom->setEnabled(xpStyle->isChecked());
    buttonIcons->setEnabled(buttonEffects->isChecked());
    browse->setEnabled(palFolder->isChecked());
    del->setEnabled(palFolder->isChecked());
}

void COptionsDlg::changed()
{
    updateEnabling();
    applyButton->setEnabled(true);
}

int COptionsDlg::DoModal()
{
    CEditorApp* app = CEditorApp::instance();
    if (!app || !app->mainWindow()) return IDCANCEL;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void COptionsDlg::Apply()
{
    try {
        writePages();
        applyEffects();
    } catch (...) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"COptionsDlg::Apply"}), MB_ICONERROR);
    }
    applyButton->setEnabled(false);
}

void COptionsDlg::writePages()
{
    int mru = maxMru->value();
    if (mru < kMaxMruMin || mru > kMaxMruMax) mru = kMaxMru.defaultValue;
    writeSetting(kMaxMru, mru);
    writeSetting(kLoadDoc, reloadLast->isChecked() ? 1 : 0);
    writeSetting(kCheckFileType, checkAtStartup->isChecked() ? 1 : 0);

    writeSetting(kShowToolBar, showToolBar->isChecked() ? 1 : 0);
    writeSetting(kShowStatusBar, showStatusBar->isChecked() ? 1 : 0);
    const int style = (xpStyle->isChecked() ? 2 : 0) + (specialBorder->isChecked() ? 0 : 1);
    writeSetting(kMenuStyle, style);
    writeSetting(kMenuGloom, gloom->isChecked() ? 1 : 0);
    writeSetting(kMenuSelection, disabledSelection->isChecked() ? 1 : 0);
    sameBorderSwitch() = sameBorder->isChecked();
    const int buttons = (buttonIcons->isChecked() ? 0 : 1) | (buttonEffects->isChecked() ? 0 : 2);
    writeSetting(kButtonSettings, buttons);

    writeSetting(kPalType, palGame->isChecked() ? 0 : palResources->isChecked() ? 1 : 2);
    WriteProfileString(kOptions, kPalDir, palDir->text());
    writeSetting(kAnimType, play->isChecked() ? 0 : 1);
    writeSetting(kExpOpen, expOpen->isChecked() ? 1 : 0);
    writeSetting(kExpAsk, expAsk->isChecked() ? 1 : 0);
    FlushProfile();
}

void COptionsDlg::applyEffects()
{
    // The file types follow the box on every Apply; a failure is reported and the box
    // shows the state the desktop is really in.
    if (CEditorApp* app = CEditorApp::instance()) {
        CEditorDocManager* dm = app->editorDocManager();
        const Status s = associate->isChecked() ? dm->RegisterFileTypes() : dm->UnregisterFileTypes();
        if (!s) {
            AfxMessageBox(s.message, MB_ICONERROR);
            const QSignalBlocker block(associate);
            associate->setChecked(dm->CheckFileTypes());
        }
        app->LoadSettings();
        if (CMainFrame* frame = app->mainWindow()) frame->ReapplySettings();
    }
    builtinNote->setVisible(CEditorApp::instance() && CEditorApp::instance()->usesBuiltinSchemesByDefault());
}

void COptionsDlg::OnDefault()
{
    if (AfxMessageBox(str::IDS_OPT_ASK_DEFAULT, MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES) return;
    try {
        // A default is a value not stored: the settings file keeps only what was chosen,
        // so a later version's defaults apply. The palette folder stays.
        for (const IntSetting* s : {&kMaxMru, &kLoadDoc, &kCheckFileType, &kShowToolBar, &kShowStatusBar, &kPalType,
                                    &kAnimType, &kExpOpen, &kExpAsk, &kMenuStyle, &kMenuGloom, &kMenuSelection,
                                    &kButtonSettings})
            removeSetting(*s);
        FlushProfile();
        sameBorderSwitch() = true;
        if (CEditorApp* app = CEditorApp::instance()) app->LoadSettings();
        {
            const QSignalBlocker block(this);
            for (QWidget* w : findChildren<QWidget*>()) w->blockSignals(true);
            load();
            associate->setChecked(true);
            for (QWidget* w : findChildren<QWidget*>()) w->blockSignals(false);
        }
        updateEnabling();
        applyEffects();
    } catch (...) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"COptionsDlg::OnDefault"}), MB_ICONERROR);
    }
    applyButton->setEnabled(false);
}

void COptionsDlg::done(int result)
{
    writeSetting(kCurTab, tabs->currentIndex());
    CDialogX::done(result);
}

}  // namespace qv
