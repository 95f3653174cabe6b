// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFlcDoc: an FLC animation opened as a document. The document only checks that the
// file is an FLC file (extension and magic number); everything it holds lives in its
// view (CFlcView), which also writes the bytes on save.
#pragma once

#include <functional>

#include "platform/ui/document.h"

namespace qv {

class CFlcDoc : public CDocument {
    Q_OBJECT
public:
    CFlcDoc() = default;

    // The open check: extension "flc" in any case and 0xAF12 at offset 4; anything else
    // shows "'%s'\r\nInvalid or unsupported document format." as an error.
    bool OnOpenDocument(const QString& path) override;
    // A new FLC document exists only at start-up with "reopen last document" on: it then
    // takes the first entry of the recent FLC list, when that file passes the open check.
    bool OnNewDocument() override;
    // The bytes are written by the view (CFlcView::SaveFLC); on success the document is
    // no longer modified. This is also what "Save" in the question before closing runs.
    bool OnSaveDocument(const QString& path) override;

    // Whether the application is starting up with its reopen-last-document setting on.
    // The application installs this; without it a new FLC document is always refused.
    static std::function<bool()>& reopenAtStartup();
};

}  // namespace qv
