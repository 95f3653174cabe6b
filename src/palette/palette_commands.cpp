// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of the palette colour tools: Color Replace (with or without an
// animation open) and Undo / Redo of the active document's palette changes. The Palette
// command belongs to the animation view.
#include <QUndoStack>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/feature_commands.h"
#include "app/main_frame.h"
#include "palette/color_dialogs.h"
#include "palette/palette_undo.h"
#include "view/animation_view.h"

namespace qv {

namespace {

QUndoStack* activeStack()
{
    CAnimationView* view = CAnimationView::active();
    return view && view->isLoaded() ? paletteUndoStack(view->GetDocument()) : nullptr;
}

}  // namespace

void RegisterPaletteToolCommands()
{
    CEditorApp::RegisterCommand(ID_COLOR_REPLACE, [] { ShowColorReplace(CAnimationView::active()); });
    CEditorApp::RegisterCommand(
        ID_EDIT_UNDO,
        [] {
            if (QUndoStack* s = activeStack()) s->undo();
        },
        [] {
            QUndoStack* s = activeStack();
            return s && s->canUndo();
        });
    CEditorApp::RegisterCommand(
        ID_EDIT_REDO,
        [] {
            if (QUndoStack* s = activeStack()) s->redo();
        },
        [] {
            QUndoStack* s = activeStack();
            return s && s->canRedo();
        });
}

}  // namespace qv
