// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor_doc_manager.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/animation_control.h"
#include "app/child_frame.h"
#include "app/commands.h"
#include "app/editor_app.h"
#include "app/settings.h"
#include "core/strings.h"
#include "platform/ui/document.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/file_types.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"
#include "platform/ui/view.h"

namespace qv {

namespace {

// The storyboard document until the storyboard classes are installed: it refuses every
// file with the format message, and new documents.
class CPendingStoryboardDoc : public CDocument {
public:
    bool OnNewDocument() override { return false; }
    bool OnOpenDocument(const QString& path) override
    {
        AfxMessageBox(uFormatString(str::IDS_INVALID_FORMAT, {path.toStdString()}), MB_ICONERROR);
        return false;
    }
};

CNewMDIChildWnd* makeChildFrame() { return new CChildFrm; }

}  // namespace

// ---- Templates -------------------------------------------------------------------------

CEditorDocTemplate::CEditorDocTemplate(int resourceId, const QString& docString, const QString& extension,
                                       const QString& recentSection, DocumentFactory makeDocument,
                                       ViewFactory makeView)
    : CNewMultiDocTemplate(resourceId, docString, std::move(makeDocument), makeChildFrame, std::move(makeView)),
      extension_(extension),
      recentSection_(recentSection)
{
}

CDocument* CEditorDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible)
{
    QString target = path;
    CEditorApp* app = theApp();
    if (app && app->isStartingUp() && app->reopenLastDocument()) {
        // At start-up the last file of this type's recent list wins, when it still exists.
        const QString last = GetProfileString(recentSection_, QStringLiteral("File1"));
        if (uIsFileExist(last)) target = last;
    }
    // A file that is not there is told apart from one that is no animation.
    if (!target.isEmpty() && !QFileInfo::exists(target)) {
        lastOpenFailedInView_ = false;
        AfxMessageBox(formatMessage(str::IDS_FILE_NOT_FOUND, {target.toStdString()}), MB_ICONERROR);
        return nullptr;
    }
    CDocument* doc = CNewMultiDocTemplate::OpenDocumentFile(target, makeVisible);
    lastOpenFailedInView_ = doc && doc->isClosing();
    return doc && !doc->isClosing() ? doc : nullptr;
}

CNewMultiDocTemplate::Confidence CEditorDocTemplate::MatchDocType(const QString& path, CDocument*& match)
{
    match = nullptr;
    for (CDocument* d : documents()) {
        if (!d->isClosing() && !d->GetPathName().isEmpty() &&
            d->GetPathName().compare(path, Qt::CaseInsensitive) == 0) {
            match = d;
            return yesAlreadyOpen;
        }
    }
    const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0 && path.mid(dot).compare(extension_, Qt::CaseInsensitive) == 0) return yesAttemptNative;
    // Not this type's file; a template may still try it (and say why it cannot).
    return yesAttemptForeign;
}

CDocTemplateFlc::CDocTemplateFlc()
    : CEditorDocTemplate(kMenuFlc, QString::fromUtf8(str::IDS_FLC_DOC_STRING), QStringLiteral(".flc"),
                         QString::fromLatin1(settings::kRecentFlc), {}, {})
{
}

void CEditorDocTemplate::InitialUpdateFrame(CNewMDIChildWnd* frame, CDocument* doc, bool makeVisible)
{
    CNewMultiDocTemplate::InitialUpdateFrame(frame, doc, makeVisible);
    // A file that fails to load leaves no empty window behind.
    CView* view = frame->GetActiveView();
    auto* control = dynamic_cast<IAnimationControl*>(view);
    if (view && control && !control->isLoaded()) {
        if (CDocument* owner = view->GetDocument()) owner->OnCloseDocument();
    }
}

CDocTemplateQsb::CDocTemplateQsb()
    : CEditorDocTemplate(kMenuStoryboard, QString::fromUtf8(str::IDS_QSB_DOC_STRING), QStringLiteral(".qsb"),
                         QString::fromLatin1(settings::kRecentQsb), [] { return new CPendingStoryboardDoc; }, {})
{
}

// ---- Document manager ------------------------------------------------------------------

CEditorDocManager::CEditorDocManager() = default;

CDocTemplateFlc* CEditorDocManager::flcTemplate() const
{
    for (CNewMultiDocTemplate* t : templates())
        if (auto* flc = dynamic_cast<CDocTemplateFlc*>(t)) return flc;
    return nullptr;
}

CDocTemplateQsb* CEditorDocManager::qsbTemplate() const
{
    for (CNewMultiDocTemplate* t : templates())
        if (auto* qsb = dynamic_cast<CDocTemplateQsb*>(t)) return qsb;
    return nullptr;
}

void CEditorDocManager::OnFileNew()
{
    if (!SaveAllModified()) return;
    CloseAllDocuments(false);
    if (GetDocTemplateCount() == 0) {
        AfxMessageBox(str::IDS_FAILED_TO_CREATE_DOC, MB_ICONSTOP);
        return;
    }
    CEditorApp* app = theApp();
    if (app && app->isStartingUp() && app->reopenLastDocument()) {
        const QString last = GetProfileString(settings::kOptions, settings::kLastOpend);
        if (uIsFileExist(last)) OpenByExtension(last);
        return;
    }
    if (CDocTemplateFlc* flc = flcTemplate())
        flc->OpenDocumentFile(QString());
    else
        templates().front()->OpenDocumentFile(QString());
}

CEditorDocManager::OpenDialogFactory& CEditorDocManager::openDialogFactory()
{
    static OpenDialogFactory factory;
    return factory;
}

void CEditorDocManager::OnFileOpen()
{
    std::unique_ptr<CFileDialogX> dlg;
    if (openDialogFactory()) dlg = openDialogFactory()();
    if (!dlg) {
        QWidget* owner = CWinApp::instance() ? CWinApp::instance()->mainFrame() : nullptr;
        dlg = std::make_unique<CFileDialogX>(true, QString(), QString(),
                                             OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING | OFN_PATHMUSTEXIST |
                                                 OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE,
                                             QString::fromUtf8(str::IDS_OPEN_FILTER), owner);
        dlg->title = QString::fromUtf8(str::IDS_OPEN_FILE_TITLE);
    }
    dlg->filterIndex = settings::readSetting(settings::kQuorvaneFilter);
    // In the current animation's folder (at the last file opened when it is there).
    QString current;
    if (CWinApp* app = CWinApp::instance())
        if (CNewMDIFrameWnd* frame = app->mainFrame())
            if (CDocument* doc = frame->GetActiveDocument()) current = doc->GetPathName();
    const QString last = GetProfileString(settings::kOptions, settings::kLastOpend);
    dlg->initialPath = dialogStartPath(current, uIsFileExist(last) ? last : QString());
    if (dlg->DoModal() != IDOK) return;
    const QString path = dlg->GetPathName();
    OpenByExtension(path);
    // Recorded also when opening failed.
    WriteProfileString(settings::kOptions, settings::kLastOpend, path);
    settings::writeSetting(settings::kQuorvaneFilter, dlg->filterIndex);
}

QString& CEditorDocManager::programPath()
{
    static QString path;
    return path;
}

namespace {

QString thisProgram()
{
    const QString p = CEditorDocManager::programPath();
    return p.isEmpty() ? QCoreApplication::applicationFilePath() : p;
}

ShellFileType shellType(const CNewMultiDocTemplate& t, const char* mimeType, int iconIndex)
{
    return {t.docString(CNewMultiDocTemplate::regFileTypeId), t.docString(CNewMultiDocTemplate::regFileTypeName),
            t.docString(CNewMultiDocTemplate::filterExt), QString::fromLatin1(mimeType), iconIndex};
}

}  // namespace

std::vector<ShellFileType> CEditorDocManager::shellFileTypes() const
{
    std::vector<ShellFileType> types;
    if (const auto* flc = flcTemplate()) types.push_back(shellType(*flc, "video/x-flic", 1));
    if (const auto* qsb = qsbTemplate()) types.push_back(shellType(*qsb, "application/x-quorvane-storyboard", 2));
    return types;
}

Status CEditorDocManager::RegisterFileTypes()
{
    try {
        return RegisterShellTypes(shellFileTypes(), thisProgram());
    } catch (...) {
        return Status::failure(formatMessage(str::IDS_UNKNOWN_ERROR, {"CEditorDocManager::RegisterShellFileTypes"}));
    }
}

Status CEditorDocManager::UnregisterFileTypes()
{
    try {
        return UnregisterShellTypes(shellFileTypes(), thisProgram());
    } catch (...) {
        return Status::failure(formatMessage(str::IDS_UNKNOWN_ERROR, {"CEditorDocManager::UnregisterShellFileTypes"}));
    }
}

void CEditorDocManager::RegisterShellFileTypes(bool)
{
    const Status s = RegisterFileTypes();
    if (!s) AfxMessageBox(s.message, MB_ICONERROR);
}

void CEditorDocManager::UnregisterShellFileTypes()
{
    const Status s = UnregisterFileTypes();
    if (!s) AfxMessageBox(s.message, MB_ICONERROR);
}

bool CEditorDocManager::CheckFileTypes()
{
    const auto types = shellFileTypes();
    if (types.empty()) return false;
    for (const ShellFileType& t : types)
        if (!IsShellTypeAssociated(t, thisProgram())) return false;
    return true;
}

CDocument* CEditorDocManager::OpenByExtension(const QString& path)
{
    CNewMultiDocTemplate* t = nullptr;
    if (uGetFileExt(path).compare(QLatin1String("flc"), Qt::CaseInsensitive) == 0)
        t = flcTemplate();
    else
        t = qsbTemplate();
    if (!t && GetDocTemplateCount() > 0) t = templates().front();
    return t ? t->OpenDocumentFile(path) : nullptr;
}

}  // namespace qv
