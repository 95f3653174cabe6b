// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Undo and redo of palette changes. Each document has one undo stack; every applied
// palette change (the palette dialog's OK, Color Replace's Apply and OK, a palette
// import) is one step on it. A step keeps the animation's colours before and after, and
// undoing or redoing it applies those colours to every view of the document. The
// document counts as modified while its stack is away from the state last saved.
#pragma once

#include "core/flc_format.h"

class QUndoStack;

namespace qv {

class CAnimationView;
class CDocument;

// The document's undo stack, made on first use. Null for no document.
QUndoStack* paletteUndoStack(CDocument* doc);

// Makes `display` the view's palette (and its document's other views') as one undoable
// step. A palette that cannot be applied shows "Cannot apply palette changes." and the
// view reloads its file; no step is then recorded and the result is false.
bool CommitPaletteChange(CAnimationView* view, const Palette256& display);

}  // namespace qv
