// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of the Export to Storyboard and New Storyboard wizards.
#include "storyboard/wizard_commands.h"

#include <QApplication>
#include <exception>
#include <new>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/feature_commands.h"
#include "app/main_frame.h"
#include "core/strings.h"
#include "flc/flc_view.h"
#include "platform/imaging/builtin_data.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "view/background.h"

namespace qv {

namespace {

// Keeps the wait cursor up while a conversion runs.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Messages that did not stop the conversion, then its refusal. The palette-file message
// comes in a plain box, the others with the stop icon.
void report(const std::vector<std::string>& notices, const Status& result)
{
    for (const std::string& n : notices) AfxMessageBox(n, MB_OK);
    if (result || result.message.empty()) return;
    const bool plain = result.message == str::IDS_QSB_CANNOT_WRITE_PALETTE;
    AfxMessageBox(result.message, plain ? MB_OK : MB_ICONSTOP);
}

// Runs `work`; a failure of memory or anything unexpected is shown and counts as failed.
template <typename Work>
Status guarded(const char* function, Work work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return Status::failure(str::IDS_OUT_OF_MEMORY);
    } catch (...) {
        return Status::failure(formatMessage(str::IDS_UNKNOWN_ERROR, {function}));
    }
}

CFlcView* activeFlcView()
{
    CEditorApp* app = theApp();
    CMainFrame* frame = app ? app->mainWindow() : nullptr;
    return frame ? dynamic_cast<CFlcView*>(frame->GetActiveView()) : nullptr;
}

QWidget* mainWindowWidget()
{
    CEditorApp* app = theApp();
    return app ? app->mainWindow() : nullptr;
}

}  // namespace

std::shared_ptr<ExportSourceData> exportSourceOf(const CFlcView& view)
{
    auto data = std::make_shared<ExportSourceData>();
    ExportSource& s = data->source;
    const FlcHeader& h = view.header();
    s.width = view.frameWidth();
    s.height = view.frameHeight();
    s.directions = h.directions;
    s.framesPerDirection = h.framesPerDirection;
    s.leftOffset = view.leftOffset();
    s.topOffset = view.topOffset();
    s.delay = view.playback().delayMode() == kDelayCustom ? view.playback().customDelay() : h.speed;
    s.leaderHead = view.isLeaderHead();
    s.basePalette = view.basePalette();
    s.workingPalette = view.displayPalette();
    s.shownCivilization = view.civilization();
    data->frames.reserve(view.frames().size());
    for (const AnimFrame& f : view.frames()) data->frames.push_back(f.pixels);
    s.frames = &data->frames;
    return data;
}

CivPaletteSources currentCivPaletteSources()
{
    if (CEditorApp* app = theApp()) {
        GameFolders game;
        game.baseFound = app->baseGameFound();
        game.base = app->baseGameFolder();
        return civPaletteSources(app->paletteType(), app->paletteFolder(), game, viewDataFolders());
    }
    return civPaletteSources(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Pal Type"), 0),
                             GetProfileString(QStringLiteral("Options"), QStringLiteral("Pal Dir")),
                             readGameFolders(), viewDataFolders());
}

bool ExportToStoryboard(CFlcView& view)
{
    if (!view.isLoaded()) return false;
    ExportStoryboardSettings settings;
    std::vector<std::string> notices;
    const Status done = guarded("CFlcImage::FlcToStoryboard", [&]() -> Status {
        const std::shared_ptr<ExportSourceData> data = exportSourceOf(view);
        CStoryboardWizard wizard(data, view.loadedPath(), view.civPaletteSourcesNow(), &view);
        if (wizard.exec() != QDialog::Accepted) return Status::failure();
        settings = wizard.exportSettings();
        const WaitCursor wait;
        return FlcToStoryboard(data->source, settings, view.civPaletteSourcesNow(), &notices);
    });
    report(notices, done);
    if (!done) return false;

    // The description sits beside the sheet: its path with "qsb" for the last three characters.
    QString qsb = QString::fromStdString(settings.targetPath);
    qsb.chop(3);
    qsb += QStringLiteral("qsb");
    const QString options = QStringLiteral("Options");
    const bool open = GetProfileInt(options, QStringLiteral("ExpOpen"), 1) != 0;
    const bool ask = GetProfileInt(options, QStringLiteral("ExpAsk"), 1) != 0;
    if (!open) {
        AfxMessageBox(str::IDS_WIZ_EXPORTED, MB_ICONINFORMATION);
    } else if (!ask ||
               AfxMessageBox(formatMessage(str::IDS_WIZ_EXPORTED_ASK_OPEN, {qsb.toStdString()}),
                             MB_YESNO | MB_ICONQUESTION) == IDYES) {
        if (CWinApp* app = CWinApp::instance()) app->OpenDocumentFile(qsb);
    }
    return true;
}

bool CreateNewStoryboard(QWidget* parent)
{
    std::vector<std::string> notices;
    const Status done = guarded("CFlcImage::NewStoryboard", [&]() -> Status {
        const CivPaletteSources sources = currentCivPaletteSources();
        CStoryboardWizard wizard(sources, parent);
        if (wizard.exec() != QDialog::Accepted) return Status::failure();
        const NewStoryboardSettings settings = wizard.newSettings();
        const WaitCursor wait;
        return NewStoryboard(settings, sources, &notices);
    });
    report(notices, done);
    if (!done) return false;
    AfxMessageBox(str::IDS_WIZ_NEW_CREATED, MB_ICONINFORMATION);
    return true;
}

void RegisterWizardCommands()
{
    CEditorApp::RegisterCommand(
        ID_EXPORT_TO_STORYBOARD,
        [] {
            if (CFlcView* view = activeFlcView()) ExportToStoryboard(*view);
        },
        [] {
            const CFlcView* view = activeFlcView();
            return view && view->isLoaded();
        });
    CEditorApp::RegisterCommand(ID_NEW_STORYBOARD, [] { CreateNewStoryboard(mainWindowWidget()); });
}

}  // namespace qv
