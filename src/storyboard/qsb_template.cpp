// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/qsb_template.h"

#include "storyboard/qsb_doc.h"
#include "storyboard/qsb_view.h"

namespace qv {

CDocument* newQsbDocument()
{
    return new CQsbDoc;
}

CView* newQsbView()
{
    return new CQsbView;
}

void installQsbClasses(CNewMultiDocTemplate& qsbTemplate)
{
    qsbTemplate.setFactories(&newQsbDocument, {}, &newQsbView);
}

}  // namespace qv
