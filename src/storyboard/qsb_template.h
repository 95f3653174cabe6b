// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The storyboard document type's classes: documents of class CQsbDoc shown in views of
// class CQsbView.
#pragma once

#include "platform/ui/doc_template.h"

namespace qv {

CDocument* newQsbDocument();
CView* newQsbView();

// Gives a storyboard template (of whatever template class the application uses) the
// storyboard document and view; its child-frame factory stays as it is.
void installQsbClasses(CNewMultiDocTemplate& qsbTemplate);

}  // namespace qv
