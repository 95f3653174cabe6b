// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two storyboard wizards: "Export FLC to Storyboard" (run on an FLC view, fills
// ExportStoryboardSettings) and "Create a new Storyboard" (fills NewStoryboardSettings).
// Both have the pages "Information", "Output", "Frame" and "Palette", remember their
// choices under "Dlg ExpFlc" or "Dlg NewFlc", check the settings when accepted, and can
// show a live preview of the sheet (storyboard/wizard_preview.h). The wizard only
// collects settings; the caller runs the conversion with them.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "core/civ_palettes.h"
#include "core/storyboard_convert.h"
#include "platform/ui/dialog_x.h"
#include "storyboard/wizard_preview.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace qv {

class CCivColorCombo;

// The export's view of the animation, kept for the wizard's life: the frames are a
// copy, so a preview job never reads the view's own store.
struct ExportSourceData {
    ExportSource source;
    std::vector<FramePixels> frames;
};

class CStoryboardWizard : public CDialogX {
    Q_OBJECT
public:
    enum Kind { Export, New };

    // The export wizard for an animation loaded from `flcPath`.
    CStoryboardWizard(std::shared_ptr<const ExportSourceData> data, const QString& flcPath,
                      CivPaletteSources civSources, QWidget* parent = nullptr);
    // The new-storyboard wizard.
    explicit CStoryboardWizard(CivPaletteSources civSources, QWidget* parent = nullptr);
    ~CStoryboardWizard() override;

    Kind kind() const { return kind_; }
    // The settings as the pages show them now (valid after OK: what the caller converts).
    ExportStoryboardSettings exportSettings() const;
    NewStoryboardSettings newSettings() const;

    // The preview window while it is open.
    CPreviewDlg* preview() const { return preview_; }
    QTabWidget* tabs() const { return tabs_; }

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QWidget* buildOutputPage();
    QWidget* buildFramePage();
    QWidget* buildPalettePage();
    QWidget* buildInformationPage();
    void loadSettings();
    void saveSettings() const;
    // The default geometry of the new wizard for a unit or a leader head.
    void applyDefaultGeometry(bool leaderHead);
    void updateControls();
    void settingsChanged();
    void updateInformation();
    void onWidthChanged(int value);
    void onHeightChanged(int value);
    void followSide(int value, int fromBase, int toBase, QSpinBox* other);
    void onTrimChanged();
    void setPreviewShown(bool on);
    void requestPreview();
    void browseSmokePalette();
    void browsePaletteFile();
    bool browsePalette(QLineEdit* target);

    // The values the pages share, gathered into the common fields of both records.
    struct Common {
        std::string outputDirectory, baseFileName, targetPath;
        int imageFormat = 0, paletteFileType = 0, frameWidth = 0, frameHeight = 0, leftOffset = 0, topOffset = 0;
        int framesPerDirection = 0, civPalette = 0, frameDelay = 0, colorDepth = 0, smokeType = 0;
        std::string paletteName, smokePalettePath;
        bool makePaletteFile = true, writeDefaultPalette = true;
    };
    Common gather() const;

    Kind kind_;
    std::shared_ptr<const ExportSourceData> data_;
    CivPaletteSources civSources_;
    QString section_;
    QString originalName_;
    // The geometry the "current" (export) or "default" (new) choices stand for.
    int baseWidth_ = 0, baseHeight_ = 0, baseFrames_ = 0, baseLeft_ = 0, baseTop_ = 0, baseDelay_ = 0;
    int baseDirections_ = 8;
    bool syncing_ = false;
    bool changeQueued_ = false;

    QTabWidget* tabs_ = nullptr;
    QFormLayout* info_ = nullptr;
    // Output
    QLineEdit* outputDir_ = nullptr;
    QRadioButton* originalNameRadio_ = nullptr;
    QRadioButton* newNameRadio_ = nullptr;
    QLineEdit* newName_ = nullptr;
    QComboBox* fileType_ = nullptr;
    QRadioButton* unitRadio_ = nullptr;
    QRadioButton* leaderRadio_ = nullptr;
    // Frame
    QRadioButton* baseSizeRadio_ = nullptr;
    QLabel* baseSizeLabel_ = nullptr;
    QRadioButton* changeSizeRadio_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QToolButton* constrain_ = nullptr;
    QCheckBox* resize_ = nullptr;
    QRadioButton* baseFramesRadio_ = nullptr;
    QLabel* baseFramesLabel_ = nullptr;
    QRadioButton* changeFramesRadio_ = nullptr;
    QSpinBox* frames_ = nullptr;
    QRadioButton* defaultDirsRadio_ = nullptr;
    QRadioButton* selectDirsRadio_ = nullptr;
    QComboBox* directions_ = nullptr;
    QRadioButton* baseOffsetRadio_ = nullptr;
    QLabel* baseOffsetLabel_ = nullptr;
    QRadioButton* autoOffsetRadio_ = nullptr;
    QLabel* autoOffsetLabel_ = nullptr;
    QRadioButton* changeOffsetRadio_ = nullptr;
    QSpinBox* left_ = nullptr;
    QSpinBox* top_ = nullptr;
    QRadioButton* baseDelayRadio_ = nullptr;
    QLabel* baseDelayLabel_ = nullptr;
    QRadioButton* selectDelayRadio_ = nullptr;
    QComboBox* delayList_ = nullptr;
    QSpinBox* delay_ = nullptr;
    QCheckBox* trim_ = nullptr;
    QSpinBox* trimLeft_ = nullptr;
    QSpinBox* trimRight_ = nullptr;
    QSpinBox* trimTop_ = nullptr;
    QSpinBox* trimBottom_ = nullptr;
    // Palette
    QRadioButton* depth8_ = nullptr;
    QRadioButton* depth24_ = nullptr;
    QComboBox* palType_ = nullptr;
    QCheckBox* makePal_ = nullptr;
    QCheckBox* makeDefaultPal_ = nullptr;
    QRadioButton* defaultPalRadio_ = nullptr;
    QRadioButton* selectPalRadio_ = nullptr;
    CCivColorCombo* civ_ = nullptr;
    QRadioButton* filePalRadio_ = nullptr;
    QLineEdit* palPath_ = nullptr;
    QPushButton* palBrowse_ = nullptr;
    QButtonGroup* smoke_ = nullptr;
    QLineEdit* smokePath_ = nullptr;
    QPushButton* smokeBrowse_ = nullptr;
    // Buttons
    QCheckBox* showPreview_ = nullptr;
    QCheckBox* saveSettings_ = nullptr;
    QPushButton* okButton_ = nullptr;

    QPointer<CPreviewDlg> preview_;
    bool firstShow_ = true;
    bool closingPreview_ = false;
};

}  // namespace qv
