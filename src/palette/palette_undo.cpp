// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette/palette_undo.h"

#include <QPointer>
#include <QUndoCommand>
#include <QUndoStack>

#include "core/strings.h"
#include "platform/ui/document.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

namespace {

// Applies `colours` to every loaded animation view of `doc`.
bool applyToDocument(CDocument* doc, const Palette256& colours)
{
    bool ok = true;
    for (CView* v : doc->GetViews())
        if (auto* view = qobject_cast<CAnimationView*>(v))
            if (view->isLoaded() && !view->ApplyPaletteEdit(colours)) ok = false;
    return ok;
}

class PaletteChange : public QUndoCommand {
public:
    PaletteChange(CDocument* doc, const Palette256& before, const Palette256& after)
        : QUndoCommand(QString::fromUtf8(str::IDS_UNDO_PALETTE_CHANGE)), doc_(doc), before_(before), after_(after)
    {
    }
    void undo() override { apply(before_); }
    void redo() override
    {
        // The change was already made when the step was recorded.
        if (first_) {
            first_ = false;
            return;
        }
        apply(after_);
    }

private:
    void apply(const Palette256& colours)
    {
        if (doc_ && !applyToDocument(doc_, colours)) AfxMessageBox(str::IDS_CANNOT_APPLY_PALETTE_CHANGES, MB_ICONSTOP);
    }
    QPointer<CDocument> doc_;
    Palette256 before_;
    Palette256 after_;
    bool first_ = true;
};

}  // namespace

QUndoStack* paletteUndoStack(CDocument* doc)
{
    if (!doc) return nullptr;
    if (auto* stack = doc->findChild<QUndoStack*>(QStringLiteral("paletteUndo"), Qt::FindDirectChildrenOnly))
        return stack;
    auto* stack = new QUndoStack(doc);
    stack->setObjectName(QStringLiteral("paletteUndo"));
    // Away from the saved state the document is modified; a save makes the state the clean one.
    QObject::connect(stack, &QUndoStack::cleanChanged, doc, [doc](bool clean) { doc->SetModifiedFlag(!clean); });
    QObject::connect(doc, &CDocument::modifiedChanged, stack, [stack](bool modified) {
        if (!modified) stack->setClean();
    });
    return stack;
}

bool CommitPaletteChange(CAnimationView* view, const Palette256& display)
{
    if (!view || !view->isLoaded()) return false;
    const Palette256 before = view->basePalette();
    CDocument* doc = view->GetDocument();
    bool ok = view->ApplyPaletteEdit(display);
    if (ok && doc) {
        // The document's other windows show the same colours.
        for (CView* v : doc->GetViews())
            if (auto* other = qobject_cast<CAnimationView*>(v))
                if (other != view && other->isLoaded()) other->ApplyPaletteEdit(display);
    }
    if (!ok) {
        AfxMessageBox(str::IDS_CANNOT_APPLY_PALETTE_CHANGES, MB_ICONSTOP);
        return false;
    }
    if (QUndoStack* stack = paletteUndoStack(doc)) stack->push(new PaletteChange(doc, before, view->basePalette()));
    return true;
}

}  // namespace qv
