// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers Export Animation (animated GIF or WebP), enabled while the active window is an
// FLC or storyboard view with its animation loaded.
#include <new>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/feature_commands.h"
#include "core/strings.h"
#include "dialogs/anim_export_dlg.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

void RegisterAnimationExportCommands()
{
    CEditorApp::RegisterCommand(
        ID_EXPORT_ANIMATION,
        [] {
            CAnimationView* view = CAnimationView::active();
            if (!view) return;
            try {
                ExportAnimation(*view, CWinApp::instance()->mainFrame());
            } catch (const std::bad_alloc&) {
                AfxMessageBox(str::IDS_OUT_OF_MEMORY, MB_ICONSTOP);
            } catch (...) {
                AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CAnimExportDlg::DoModal"}), MB_ICONSTOP);
            }
        },
        [] {
            CAnimationView* view = CAnimationView::active();
            return view && view->isLoaded();
        });
}

}  // namespace qv
