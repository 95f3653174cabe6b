// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CImportToQSB: the Import to Storyboard dialog. It collects the source picture (drawn
// in the storyboard grid), the destination description, where the palette comes from,
// the file types, the colour depth, the frame size, offsets and delay, and shows the
// first frame in the unit area. OK runs the import (the core's ImportToQSB, as
// `quorvane-cli import` does), asking its questions in message boxes; a refusal keeps
// the dialog open. Its choices are kept under "Dlg ImpQSB".
#pragma once

#include "core/bitmap.h"
#include "platform/ui/dialog_x.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qv {

class CImportToQSB : public CDialogX {
    Q_OBJECT
public:
    explicit CImportToQSB(QWidget* parent = nullptr);

    // Loads the source picture and shows its description; a picture the import cannot
    // take is refused with its message and the source stays empty.
    bool SetSource(const QString& path);
    // The three browse buttons: open or save dialogs, as the user would click them.
    void BrowseSource();
    void BrowseDestination();
    void BrowsePalette();
    // Centres the frame in the unit area.
    void Centre();
    // The import with the dialog's values; false (after its message, if any) keeps the
    // dialog open.
    bool ImportToQSB();
    // The destination description as the import writes it.
    QString destination() const;

    void accept() override;
    void done(int result) override;

    // The controls, for the tests that drive the dialog.
    QLineEdit* sourceEdit() const { return source_; }
    QLabel* sourceInfo() const { return sourceInfo_; }
    QLineEdit* destinationEdit() const { return dest_; }
    QRadioButton* paletteFromFile() const { return fromFile_; }
    QLineEdit* paletteEdit() const { return palette_; }
    QComboBox* paletteType() const { return palType_; }
    QComboBox* fileType() const { return fileType_; }
    QComboBox* colorDepth() const { return colDepth_; }
    QSpinBox* frameWidth() const { return width_; }
    QSpinBox* frameHeight() const { return height_; }
    QSpinBox* xOffset() const { return xOffset_; }
    QSpinBox* yOffset() const { return yOffset_; }
    QSpinBox* delay() const { return delay_; }
    QCheckBox* saveSettings() const { return save_; }
    QLabel* preview() const { return preview_; }

private:
    void UpdateOffsetLimits();
    void UpdatePreview();
    void SaveChoices(bool frameValues);

    Bitmap picture_;
    QString picturePath_;
    QLineEdit* source_ = nullptr;
    QLabel* sourceInfo_ = nullptr;
    QLineEdit* dest_ = nullptr;
    QRadioButton* fromImage_ = nullptr;
    QRadioButton* fromFile_ = nullptr;
    QLineEdit* palette_ = nullptr;
    QComboBox* palType_ = nullptr;
    QComboBox* fileType_ = nullptr;
    QComboBox* colDepth_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QSpinBox* xOffset_ = nullptr;
    QSpinBox* yOffset_ = nullptr;
    QSpinBox* delay_ = nullptr;
    QCheckBox* save_ = nullptr;
    QCheckBox* showPreview_ = nullptr;
    QCheckBox* showGrid_ = nullptr;
    QCheckBox* showLines_ = nullptr;
    QLabel* preview_ = nullptr;
};

// The Import to Storyboard command: the dialog, then (by "ExpOpen" and "ExpAsk") the
// success message, the question whether to open the storyboard, or opening it at once.
void RunImportToStoryboard(QWidget* parent);

}  // namespace qv
