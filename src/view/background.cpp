// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/background.h"

#include "app/editor_app.h"
#include "app/main_frame.h"
#include "app/settings.h"
#include "platform/imaging/builtin_data.h"

namespace qv {

namespace {

bool g_customColorSet = false;
uint32_t g_customColor = 0;
QStringList g_dataFolders;

}  // namespace

uint32_t CurrentCustomColor()
{
    if (!g_customColorSet) {
        g_customColor = settings::buttonFaceColorRef();
        g_customColorSet = true;
    }
    return g_customColor;
}

void SetCurrentCustomColor(uint32_t colorRef)
{
    g_customColor = colorRef & 0x00FFFFFFu;
    g_customColorSet = true;
    if (CEditorApp* app = CEditorApp::instance())
        if (CMainFrame* frame = app->mainWindow()) frame->SetSwatchColor(g_customColor);
}

QStringList viewDataFolders() { return g_dataFolders.isEmpty() ? builtinDataFolders() : g_dataFolders; }

void setViewDataFolders(const QStringList& folders) { g_dataFolders = folders; }

}  // namespace qv
