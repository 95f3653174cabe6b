// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The colour dialogs. Each works on its own copy of a palette and hands it back only on
// "&Apply" or "&OK":
// - CColorTableDlg ("Color Table", the Palette command): the grid, the selected colour
//   as three boxes, the hot colour; OK writes the cells into the palette.
// - CColorReplaceDlg ("Replase Palette Colors"): a destination grid over the caller's
//   palette and a source grid over a civilization scheme or the colours of a file; single
//   colours replaced or edited, and the four tools below on the working palette.
// - CReplaceRangeDlg, CMoveColorsDlg, CColorBCHSDlg and CSelectFromImageDlg: each edits a
//   copy of Color Replace's working palette; Apply copies it back, Discard takes it again.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "core/flc_format.h"
#include "platform/imaging/pictor.h"
#include "platform/ui/dialog_x.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;

namespace qv {

class CAnimationView;
class CCivColorCombo;
class CColorSwatch;
class CColorTable;
class CToolDlg;

// The Palette command of a view: the Color Table dialog over its display palette; OK
// applies the result as one undoable step.
void ShowPaletteDialog(CAnimationView* view);
// The Color Replace command, over the active view's display palette or (no view) none;
// each Apply or OK applies the working palette to the view as one undoable step.
void ShowColorReplace(CAnimationView* view);

// Three colour boxes (red, green, blue) of at most three digits: an empty box counts as
// 0 and a value above 255 becomes 255.
class CColorBoxes : public QObject {
    Q_OBJECT
public:
    CColorBoxes(QWidget* parent);
    QLineEdit* red = nullptr;
    QLineEdit* green = nullptr;
    QLineEdit* blue = nullptr;
    // Shows a colour (0x00BBGGRR) without reporting it as typed.
    void show(uint32_t colorRef);
    uint32_t colorRef() const;

signals:
    void edited(uint32_t colorRef);

private:
    void onEdited(QLineEdit* box);
    bool filling_ = false;
};

class CColorTableDlg : public CDialogX {
    Q_OBJECT
public:
    CColorTableDlg(Palette256& palette, QWidget* parent = nullptr);
    CColorTable* grid() const { return grid_; }
    CColorBoxes* boxes() const { return boxes_; }
    QLabel* selectedIndex() const { return selIndex_; }
    QLabel* currentText() const { return current_; }
    void done(int result) override;

private:
    void onSelected(uint32_t colorRef);
    void onHot(uint32_t colorRef);
    Palette256& palette_;
    CColorTable* grid_ = nullptr;
    CColorBoxes* boxes_ = nullptr;
    CColorSwatch* selSwatch_ = nullptr;
    CColorSwatch* curSwatch_ = nullptr;
    QLabel* selIndex_ = nullptr;
    QLabel* current_ = nullptr;
};

class CColorReplaceDlg : public CDialogX {
    Q_OBJECT
public:
    // `caller` may be null (no animation open): Apply then only keeps the working palette.
    // `applied` is called after each Apply with the caller's new palette; false from it
    // closes nothing but leaves the working palette as it is.
    CColorReplaceDlg(Palette256* caller, std::function<bool(const Palette256&)> applied, QWidget* parent = nullptr,
                     std::function<void(const Palette256*)> preview = {});

    const Palette256& working() const { return work_; }
    const Palette256& source() const { return source_; }
    CColorTable* destinationGrid() const { return dest_; }
    CColorTable* sourceGrid() const { return src_; }
    CColorBoxes* boxes() const { return boxes_; }
    QRadioButton* civRadio() const { return civRadio_; }
    QRadioButton* fileRadio() const { return fileRadio_; }
    CCivColorCombo* civList() const { return civList_; }
    QLineEdit* destinationPath() const { return destPath_; }
    QLineEdit* sourcePath() const { return srcPath_; }
    QPushButton* button(const char* name) const;

    // The button actions (public so scripted sessions can drive them).
    void chooseDestinationFile();
    void chooseSourceFile();
    void replaceSelected();
    void openRange();
    void openMove();
    void openBchs();
    void openFromImage();
    void savePalette();
    void apply();
    void discard();
    void done(int result) override;

private:
    void setSourceKind(bool fromFile);
    void loadCivSource(int index);
    void loadSourceFile();
    void redrawDestination();
    void onDestinationSelected(uint32_t colorRef);
    void onBoxesEdited(uint32_t colorRef);
    QPushButton* addButton(const char* text, const char* name, void (CColorReplaceDlg::*slot)());
    // Runs the tool dialog `make` makes over the destination's colours, then shows them.
    void runTool(const std::function<std::unique_ptr<CToolDlg>()>& make);

    Palette256* caller_;
    std::function<bool(const Palette256&)> applied_;
    std::function<void(const Palette256*)> preview_;
    Palette256 saved_;
    Palette256 work_;
    Palette256 source_;
    CColorTable* dest_ = nullptr;
    CColorTable* src_ = nullptr;
    CColorBoxes* boxes_ = nullptr;
    CColorSwatch* curDest_ = nullptr;
    CColorSwatch* selDest_ = nullptr;
    CColorSwatch* curSrc_ = nullptr;
    CColorSwatch* selSrc_ = nullptr;
    QRadioButton* civRadio_ = nullptr;
    QRadioButton* fileRadio_ = nullptr;
    CCivColorCombo* civList_ = nullptr;
    QLineEdit* destPath_ = nullptr;
    QLineEdit* srcPath_ = nullptr;
    QAbstractButton* srcBrowse_ = nullptr;
};

// The Apply / Discard / OK / Cancel row every tool dialog has, over `target`.
class CToolDlg : public CDialogX {
    Q_OBJECT
public:
    CToolDlg(const QString& section, Palette256& target, QWidget* parent);
    const Palette256& work() const { return work_; }
    virtual void apply();
    virtual void discard();

protected:
    // Adds the four buttons under the dialog's content.
    QWidget* makeButtonRow();
    // Draws the grids again from work_.
    virtual void redraw() = 0;
    Palette256& target_;
    Palette256 work_;
};

// A tool dialog over a run of entries: "from", "to" and "count" boxes, each change of
// which sets the limits again.
class CIndexRangeDlg : public CToolDlg {
    Q_OBJECT
public:
    using CToolDlg::CToolDlg;
    QSpinBox* fromBox() const { return from_; }
    QSpinBox* toBox() const { return to_; }
    QSpinBox* countBox() const { return count_; }

protected:
    // Makes the three boxes (indexes 0..255, a count of 0..countMax) and ties them to limit().
    void makeIndexBoxes(int countMax);
    virtual void limit() = 0;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QSpinBox* count_ = nullptr;
};

class CReplaceRangeDlg : public CIndexRangeDlg {
    Q_OBJECT
public:
    CReplaceRangeDlg(Palette256& destination, const Palette256& source, QWidget* parent = nullptr);
    CColorTable* destinationGrid() const { return dest_; }
    CColorTable* sourceGrid() const { return src_; }
    void replaceRange();

protected:
    void redraw() override;
    void limit() override;

private:
    Palette256 source_;
    CColorTable* dest_ = nullptr;
    CColorTable* src_ = nullptr;
};

class CMoveColorsDlg : public CIndexRangeDlg {
    Q_OBJECT
public:
    CMoveColorsDlg(Palette256& palette, QWidget* parent = nullptr);
    QCheckBox* allBox() const { return all_; }
    QPushButton* leftShiftButton() const { return left_; }
    QPushButton* rightShiftButton() const { return right_; }
    QPushButton* moveToButton() const { return moveTo_; }
    void moveTo();
    void shift(bool right);
    void done(int result) override;

protected:
    void redraw() override;
    void limit() override;

private:
    void updateMode();
    CColorTable* grid_ = nullptr;
    QCheckBox* all_ = nullptr;
    QPushButton* left_ = nullptr;
    QPushButton* right_ = nullptr;
    QPushButton* moveTo_ = nullptr;
};

class CColorBCHSDlg : public CToolDlg {
    Q_OBJECT
public:
    // `preview` gets the adjusted colours while "Show &Preview" is checked, and null when
    // the preview ends (the view then goes back to its own colours).
    CColorBCHSDlg(Palette256& palette, std::function<void(const Palette256*)> preview = {}, QWidget* parent = nullptr);
    enum Control { Brightness = 0, Contrast, Hue, Saturation };
    QSpinBox* box(Control c) const { return boxes_[c]; }
    QSlider* slider(Control c) const { return sliders_[c]; }
    QCheckBox* previewBox() const { return previewBox_; }
    CColorTable* grid() const { return grid_; }
    // The colours with the adjustment changed last.
    Palette256 adjusted() const;
    void apply() override;
    void discard() override;
    void done(int result) override;

protected:
    void redraw() override;

private:
    void SetupBitmap();
    void change(Control c, int value);
    void showPreview();
    std::function<void(const Palette256*)> preview_;
    PictorBitmap original_;
    PictorBitmap working_;
    CColorTable* grid_ = nullptr;
    QSpinBox* boxes_[4] = {};
    QSlider* sliders_[4] = {};
    QCheckBox* previewBox_ = nullptr;
    bool previewing_ = false;
};

// The picture of Select from Image: painted at its own size, moved by the two bars.
class CPictureArea : public QWidget {
    Q_OBJECT
public:
    explicit CPictureArea(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setOrigin(const QPoint& origin);
    // The colour (0x00RRGGBB) shown at a point of the area, and whether there is one.
    bool colourAt(const QPoint& pos, uint32_t& rgb) const;

signals:
    void hovered(const QPoint& pos);
    void clicked(const QPoint& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool inside(const QPoint& pos) const;
    QImage picture_;
    QPoint origin_;
};

class CSelectFromImageDlg : public CToolDlg {
    Q_OBJECT
public:
    static constexpr int kZoomCells = 5;
    static constexpr int kZoomCell = 15;

    CSelectFromImageDlg(Palette256& palette, QWidget* parent = nullptr);
    CColorTable* grid() const { return grid_; }
    CPictureArea* pictureArea() const { return area_; }
    QLineEdit* fileBox() const { return file_; }
    QLabel* currentText() const { return current_; }
    // The 5 x 5 colours around the last point (0x00RRGGBB, row by row).
    const std::vector<uint32_t>& zoomColours() const { return zoom_; }
    bool loadPicture(const QString& path);
    void chooseFile();
    // What moving the mouse over, and clicking, a point of the picture area do.
    void hoverAt(const QPoint& pos);
    void clickAt(const QPoint& pos);

protected:
    void redraw() override;

private:
    void updateBars();
    CColorTable* grid_ = nullptr;
    CPictureArea* area_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QLineEdit* file_ = nullptr;
    CColorSwatch* swatch_ = nullptr;
    QLabel* current_ = nullptr;
    QWidget* zoomBox_ = nullptr;
    std::vector<uint32_t> zoom_;
};

}  // namespace qv
