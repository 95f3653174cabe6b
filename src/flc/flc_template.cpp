// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/flc_template.h"

#include "core/strings.h"
#include "flc/flc_doc.h"
#include "flc/flc_view.h"
#include "platform/ui/win_app.h"

namespace qv {

QString flcDocString() { return QString::fromUtf8(str::IDS_FLC_DOC_STRING); }

CDocument* newFlcDocument() { return new CFlcDoc; }

CView* newFlcView() { return new CFlcView; }

void installFlcClasses(CNewMultiDocTemplate& flcTemplate)
{
    flcTemplate.setFactories(&newFlcDocument, {}, &newFlcView);
}

CNewMultiDocTemplate* registerFlcTemplate(CWinApp& app, CNewMultiDocTemplate::FrameFactory makeFrame)
{
    auto* t = new CNewMultiDocTemplate(kFlcTemplateResourceId, flcDocString(), &newFlcDocument, std::move(makeFrame),
                                       &newFlcView);
    app.AddDocTemplate(t);
    return t;
}

}  // namespace qv
