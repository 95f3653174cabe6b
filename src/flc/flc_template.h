// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The FLC document type as the application registers it: resource id 129, the document
// string "\nFLC\nFLC\nflc\n.flc\nFLC\nFLC Document", documents of class CFlcDoc shown
// in views of class CFlcView.
#pragma once

#include <QString>

#include "platform/ui/doc_template.h"

namespace qv {

class CDocument;
class CView;
class CWinApp;

constexpr int kFlcTemplateResourceId = 129;
QString flcDocString();

// Factories of the FLC type's document and view.
CDocument* newFlcDocument();
CView* newFlcView();

// Gives an FLC template (of whatever template class the application uses) the FLC
// document and view; its child-frame factory stays as it is.
void installFlcClasses(CNewMultiDocTemplate& flcTemplate);

// Makes the FLC template with child frames from `makeFrame` (plain child windows when
// empty), adds it to the application's document manager and returns it.
CNewMultiDocTemplate* registerFlcTemplate(CWinApp& app, CNewMultiDocTemplate::FrameFactory makeFrame = {});

}  // namespace qv
