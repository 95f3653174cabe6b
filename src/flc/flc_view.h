// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFlcView: the view of an FLC document. It reads the file into the base view's frame
// store (keeping the frame records and the palette chunk positions), and saves the
// header and the display palette back into the file without touching any frame byte:
// the loaded file's bytes are patched in memory, written to a temporary copy, and the
// copy replaces the target in one step. The loaded file is never opened for writing.
#pragma once

#include <cstdint>
#include <vector>

#include "core/flc_format.h"
#include "view/animation_view.h"

namespace qv {

class CFlcDoc;

class CFlcView : public CAnimationView {
    Q_OBJECT
public:
    explicit CFlcView(QWidget* parent = nullptr);
    ~CFlcView() override;

    CFlcDoc* GetFlcDocument() const;

    void UnloadAnimation() override;
    bool LoadAnimation(const QString& path, bool initial) override;
    void RefreshAnimation() override;
    // Info (32774): the "FLC Info" dialog over the loaded header and frame records.
    void ShowFileInfo() override;
    // Save (57603): SaveFLC to the document's path, then the document confirms it.
    bool SaveAnimation() override;
    // Writes the header and the display palette into a copy of the loaded file and puts
    // it at `target`. On success `target` becomes the loaded path.
    bool SaveFLC(const QString& target);
    // Save As (57604): asks for a path, saves there, and the document moves to it.
    bool SaveAnimationAs();
    // Change Offset (32805): the offset dialog; on OK the header takes the new offsets.
    void ChangeOffset();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

    const std::vector<FlcFrameInfo>& frameRecords() const { return frameRecords_; }
    const std::vector<uint32_t>& paletteChunkPositions() const { return paletteChunkPositions_; }
    // The header the view holds (what Save writes), for the offset and delay edits.
    FlcHeader& mutableHeader() { return header_; }

private:
    std::vector<FlcFrameInfo> frameRecords_;
    std::vector<uint32_t> paletteChunkPositions_;
};

}  // namespace qv
