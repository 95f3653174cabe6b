// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CQsbView: the view of a storyboard document. It cuts the document's sheet into frames
// and plays them through the base view like an FLC. It keeps its own copy of the
// description record, which Change Offset and the delay edit, and Save writes (palette
// file and description; Save As copies the sheet under the new name as well). Reload
// reads the files again; Export to FLC encodes the frames into a game FLC file.
#pragma once

#include "core/storyboard.h"
#include "view/animation_view.h"

namespace qv {

class CQsbDoc;

// "Options"/"ExpOpen" and "Options"/"ExpAsk": whether a file made by an export or the
// import is opened afterwards, and whether the user is asked first.
bool openAfterExportSetting();
bool askBeforeOpeningSetting();

class CQsbView : public CAnimationView {
    Q_OBJECT
public:
    explicit CQsbView(QWidget* parent = nullptr);
    ~CQsbView() override;

    CQsbDoc* GetQsbDocument() const;
    // The view's copy of the description record.
    const StoryboardInfo& record() const { return record_; }

    bool LoadAnimation(const QString& path, bool initial) override;
    // Reload: the document reads the storyboard again and the frames are cut anew; a
    // storyboard that no longer reads closes the document.
    void RefreshAnimation() override;
    // Save (57603): the palette file and the description at the document's path.
    bool SaveAnimation() override;
    // Save As (57604): asks for a path, copies the sheet there and saves.
    bool SaveAnimationAs();
    // Change Offset (32805): the offset dialog; OK stores the offsets in the record copy.
    void ChangeOffset();
    // Storyboard Info: the record's values in the information dialog.
    void ShowFileInfo() override;
    QString InfoText() const;

    // Encodes the frames and writes the FLC file at `target`; false without a message when
    // nothing is loaded.
    bool StoryboardToFlc(const QString& target);
    // Export to FLC (32800): asks for the target, exports, then reports or opens the file.
    void ExportToFlc();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

protected:
    // Every failure of LoadAnimation has shown its own message already.
    void ReportLoadFailure(const QString&) override {}

private:
    bool SaveTo(const QString& qsbPath, const QString& sheetSource);

    StoryboardInfo record_;
};

}  // namespace qv
