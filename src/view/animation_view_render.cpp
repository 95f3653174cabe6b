// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CAnimationView, the drawing side: composing each frame through the core compositor,
// the background commands and the colour picker, the alpha-blend switch, civilization
// colours, palette files, and the Offset and Zoom dialogs.
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QToolBar>
#include <QToolButton>
#include <exception>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/main_frame.h"
#include "app/settings.h"
#include "core/strings.h"
#include "palette/color_dialogs.h"
#include "palette/palette_file_dialogs.h"
#include "palette/palette_undo.h"
#include "platform/imaging/builtin_data.h"
#include "platform/imaging/pictor.h"
#include "platform/ui/colour_popup.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"
#include "view/background.h"
#include "view/offset_dlg.h"
#include "view/zooming_dlg.h"

namespace qv {

namespace {

const QString kOptions = QStringLiteral("Options");

}  // namespace

// ---- Composition ---------------------------------------------------------------------------

Pixels32 CAnimationView::backBufferPixels() const
{
    QImage& back = device_->backBuffer();
    return Pixels32{reinterpret_cast<uint32_t*>(back.bits()), back.width(), back.height(),
                    static_cast<int>(back.bytesPerLine() / 4)};
}

void CAnimationView::DrawBackground()
{
    if (!device_ || !device_->ready()) return;
    // Leader heads are drawn over black, never over a picture.
    const bool usePicture = bgdPicture_ && !leaderHead_;
    const ConstPixels32 picture = usePicture ? bgdPicture_->view() : ConstPixels32{};
    drawBackground(backBufferPixels(), usePicture ? &picture : nullptr, fillColor_);
}

void CAnimationView::DrawFrame()
{
    const uint16_t index = playback_.beginDrawFrame();
    if (index >= frames_.size() || !device_ || !device_->ready()) return;
    const AnimFrame& frame = frames_[index];
    const QImage& surface = frame.surface();  // filled first when a fill is pending
    if (surface.isNull()) return;
    const ConstPixels32 colours(reinterpret_cast<const uint32_t*>(surface.constBits()), surface.width(),
                                surface.height(), static_cast<int>(surface.bytesPerLine() / 4));
    const IndexedPixels indices{frame.pixels.data(), frame.width(), frame.height(), frame.width()};
    FrameDrawParams params;
    params.left = leftOffset_;
    params.top = topOffset_;
    params.alphaBlend = alphaBlend_;
    params.leaderHead = leaderHead_;
    drawFrameSurface(backBufferPixels(), colours, indices, frame.colorKey(), params);
}

// ---- Background -------------------------------------------------------------------------

void CAnimationView::SetBgdDefault()
{
    bgdPicture_.reset();
    bgdType_ = kBgdDefault;
    playback_.requestRedraw();
    fillColor_ = toFillColor(defaultColor_);
    settings::writeSetting(settings::kBgdType, static_cast<int>(bgdType_));
}

void CAnimationView::SetBgdColor(uint32_t colorRef)
{
    bgdPicture_.reset();
    customColor_ = colorRef & 0x00FFFFFFu;
    bgdType_ = kBgdCustom;
    playback_.requestRedraw();
    fillColor_ = toFillColor(customColor_);
    settings::writeSetting(settings::kBgdType, static_cast<int>(bgdType_));
    WriteProfileInt(kOptions, QStringLiteral("Custom Color"), static_cast<int>(customColor_));
}

bool CAnimationView::SetBgdPCX(int kind)
{
    if (kind != kBgdSea && kind != kBgdLand) return false;
    QString path;
    if (!provideBackgroundPicture(static_cast<BackgroundPicture>(kind), path, viewDataFolders())) return false;
    const bool ok = LoadBgdPicture(path);
    if (ok) {
        bgdType_ = static_cast<uint32_t>(kind);
        settings::writeSetting(settings::kBgdType, kind);
    }
    playback_.requestRedraw();
    return ok;
}

bool CAnimationView::LoadBgdPicture(const QString& path)
{
    bgdPicture_.reset();
    auto picture = std::make_unique<Surface32>();
    // Only 240 x 240 pictures of 8 bits are taken: the back buffer is filled from them
    // as they are.
    if (!QFileInfo(path).isFile() || !loadBackgroundPicture(path.toStdString(), *picture)) return false;
    bgdPicture_ = std::move(picture);
    return true;
}

void CAnimationView::RestoreBackground()
{
    switch (bgdType_) {
        case kBgdCustom: SetBgdColor(customColor_); break;
        case kBgdSea: SetBgdPCX(kBgdSea); break;
        case kBgdLand: SetBgdPCX(kBgdLand); break;
        default: SetBgdDefault(); break;
    }
    if (!alphaBlend_) {
        // Without blending a unit is always shown over the default colour.
        bgdPicture_.reset();
        fillColor_ = toFillColor(defaultColor_);
    }
}

bool CAnimationView::SetAlphaBlend(bool on)
{
    if (on == alphaBlend_) return true;
    alphaBlend_ = on;
    UpdateColorKey();
    if (!on) SetBgdDefault();
    for (AnimFrame& frame : frames_) frame.SetColorKey(colorKey_);
    settings::writeSetting(settings::kAlphaBlend, on ? 1 : 0);
    return true;
}

void CAnimationView::toggleAlphaBlend()
{
    if (!playback_.loaded() || leaderHead_) return;
    if (!SetAlphaBlend(!alphaBlend_)) {
        OnInitialUpdate();
        return;
    }
    notifyControlChanged(kView);
    RequestRedraw();
}

void CAnimationView::ShareCustomColor() { SetCurrentCustomColor(customColor_); }

void CAnimationView::ShowColourPicker()
{
    // Below the toolbar's button when it can be seen on the screen, else at the mouse.
    QPoint pos = QCursor::pos();
    if (CEditorApp* app = CEditorApp::instance()) {
        CMainFrame* frame = app->mainWindow();
        QToolButton* button = frame ? frame->toolbarButton(ID_BACKGROUND_COLOR) : nullptr;
        if (frame && frame->toolBar() && frame->toolBar()->isVisible() && button && button->isVisible()) {
            const QRect r(button->mapToGlobal(QPoint(0, 0)), button->size());
            if (r.left() > 0 && r.bottom() > 0) pos = r.bottomLeft() + QPoint(0, 1);
        }
        CColourPopupXP::SetXPLook(app->menuStyle() == 2 || app->menuStyle() == 3);
    }
    auto* popup = new CColourPopupXP(pos, CurrentCustomColor(), this, ID_BACKGROUND_COLOR,
                                     QString::fromUtf8(str::IDS_COLOUR_POPUP_DEFAULT),
                                     QString::fromUtf8(str::IDS_COLOUR_POPUP_CUSTOM));
    connect(popup, &CColourPopupXP::selectionEnded, this, &CAnimationView::OnColourSelected);
    popup->show();
}

void CAnimationView::OnColourSelected(uint32_t colorRef, int id)
{
    if (id != ID_BACKGROUND_COLOR) return;
    if (colorRef != CColourPopupXP::kDefaultColour) {
        SetCurrentCustomColor(colorRef);
    } else {
        SetCurrentCustomColor(defaultColor_);
        SetBgdDefault();
    }
    // Either way the result is the Custom background in the application's colour.
    SetBgdColor(CurrentCustomColor());
    RequestRedraw();
    if (CWinApp* app = CWinApp::instance())
        if (CNewMDIFrameWnd* main = app->mainFrame()) main->update();
}

// ---- Civilization colours --------------------------------------------------------------

CivPaletteSources CAnimationView::civPaletteSourcesNow()
{
    GameFolders game;
    int palType = 0;
    QString palDir;
    if (CEditorApp* app = CEditorApp::instance()) {
        palType = app->civPaletteSource();
        palDir = app->paletteFolder();
        game.baseFound = app->baseGameFound();
        game.base = app->baseGameFolder();
    } else {
        // Views made without the application object read the settings themselves.
        palType = settings::readSetting(settings::kPalType);
        palDir = GetProfileString(kOptions, QStringLiteral("Pal Dir"));
        game = readGameFolders();
        // As the application: without the game and no source chosen, the built-in schemes.
        if (!HasProfileValue(kOptions, settings::kPalType.name) && !game.baseFound) palType = 1;
    }
    return civPaletteSources(palType, palDir, game, viewDataFolders());
}

bool CAnimationView::hasCivilizationList() const
{
    if (!playback_.loaded() || leaderHead_) return false;
    const CivPaletteSources s = civPaletteSourcesNow();
    switch (s.palType) {
        case static_cast<int>(CivPaletteSource::GameFiles): return s.gameFound;
        case static_cast<int>(CivPaletteSource::Resources): return true;
        case static_cast<int>(CivPaletteSource::Folder):
            return !s.paletteFolder.empty() && QDir(QString::fromStdString(s.paletteFolder)).exists();
        default: return false;
    }
}

QStringList CAnimationView::civilizationNames() const
{
    QStringList names{QString::fromUtf8(str::IDS_CIV_LIST_DEFAULT)};
    for (int c = 1; c <= kCivSchemeCount; ++c)
        names << QString::fromStdString(formatMessage(str::IDS_CIV_LIST_ENTRY, {c}));
    return names;
}

bool CAnimationView::civilizationSwatch(uint32_t& colorRef) const
{
    if (!playback_.loaded()) return false;
    colorRef = rgbToColorRef(displayPalette_[kCivSwatchIndex].rgb());
    return true;
}

bool CAnimationView::PaletteFromRes(int civ, Palette256* target)
{
    if (civ == 0) return target ? CopyCivPalette(*target) : SetCivPalette();
    std::string path;
    const Status st = locateCivPalette(civ, civPaletteSourcesNow(), path);
    if (!st) {
        if (!st.message.empty()) {
            // The source messages are plain; a missing file gets the stop icon.
            const bool sourceMessage = st.message == str::IDS_CIV_PAL_GAME_NOT_REGISTERED ||
                                       st.message == str::IDS_CIV_PAL_NO_RESOURCES ||
                                       st.message == str::IDS_CIV_PAL_NO_FOLDER;
            AfxMessageBox(st.message, sourceMessage ? MB_OK : MB_ICONSTOP);
        }
        return false;
    }
    const QString file = QString::fromStdString(path);
    return target ? CopyCivPalette(*target, file) : SetCivPalette(file);
}

bool CAnimationView::SetCivPalette(const QString& path)
{
    Palette256 display = basePalette_;
    int civ = 0;
    if (!path.isEmpty()) {
        Palette256 scheme;
        if (!copyCivPalette(path.toStdString(), scheme)) return false;
        display = applyCivScheme(basePalette_, scheme);
        civ = civNumberFromPath(path.toStdString());
    }
    const Palette256 previous = displayPalette_;
    displayPalette_ = display;
    if (!RebuildFrameSurfaces()) {
        displayPalette_ = previous;
        UnloadAnimation();
        return false;
    }
    playback_.requestRedraw();
    civilization_ = civ;
    return true;
}

bool CAnimationView::CopyCivPalette(Palette256& target, const QString& path) const
{
    if (path.isEmpty()) {
        target = basePalette_;
        return true;
    }
    return copyCivPalette(path.toStdString(), target);
}

void CAnimationView::changeCivilization(int index)
{
    if (!playback_.loaded() || index < 0 || index > kCivSchemeCount) return;
    if (PaletteFromRes(index)) {
        notifyControlChanged(kView);  // the entry's swatch becomes the new entry 6
        playback_.requestRedraw();
        return;
    }
    // The list goes back to the entry in force, then the user is told.
    notifyControlChanged(kView);
    AfxMessageBox(str::IDS_CANNOT_GET_CIV_PALETTE, MB_OK);
    playback_.requestRedraw();
}

bool CAnimationView::ApplyDisplayPalette()
{
    if (!playback_.loaded()) return false;
    civilization_ = 0;
    return SetFilePalette(displayPalette_);
}

bool CAnimationView::SetFilePalette(const Palette256& palette)
{
    if (!playback_.loaded()) return false;
    basePalette_ = palette;
    displayPalette_ = palette;
    if (civilization_ != 0) {
        // The scheme stays on show over the new colours; should it be gone meanwhile,
        // the new colours show as they are.
        Palette256 scheme;
        if (PaletteFromRes(civilization_, &scheme))
            displayPalette_ = applyCivScheme(basePalette_, scheme);
        else
            civilization_ = 0;
    }
    if (!RebuildFrameSurfaces()) {
        UnloadAnimation();
        return false;
    }
    SetDocumentModified();
    if (playback_.active()) notifyControlChanged(kView);
    playback_.requestRedraw();
    return true;
}

bool CAnimationView::ApplyPaletteEdit(const Palette256& display)
{
    if (!playback_.loaded()) return false;
    displayPalette_ = display;
    if (!ApplyDisplayPalette()) {
        OnInitialUpdate();
        return false;
    }
    // The new colours are the animation's own now: the list shows "Default" with the
    // new entry 6. Save writes them into the file.
    civilization_ = 0;
    if (playback_.active()) notifyControlChanged(kView);
    playback_.requestRedraw();
    return true;
}

bool CAnimationView::ShowPalettePreview(const Palette256& display)
{
    if (!playback_.loaded()) return false;
    displayPalette_ = display;
    if (!RebuildFrameSurfaces()) return false;
    playback_.requestRedraw();
    return true;
}

void CAnimationView::showPalette()
{
    if (playback_.loaded()) ShowPaletteDialog(this);
}

void CAnimationView::ImportPaletteCommand()
{
    if (!playback_.loaded()) return;
    // Read over the file's own colours: a scheme on show does not become part of them.
    Palette256 imported = basePalette_;
    const PaletteImportResult result = ImportPalette(imported, this, loadedPath_);
    if (result == PaletteImportResult::Cancelled) return;
    if (result == PaletteImportResult::Imported) {
        // One undoable step; a palette that cannot be applied reloads the file.
        if (CommitPaletteChange(this, imported)) AfxMessageBox(str::IDS_PALETTE_IMPORTED, MB_ICONINFORMATION);
        return;
    }
    // The file is read again: the view shows what Save would keep.
    OnInitialUpdate();
}

void CAnimationView::ExportPaletteCommand()
{
    if (playback_.loaded()) ExportPalette(displayPalette_, this, loadedPath_);
}

// ---- Offset and Zoom -------------------------------------------------------------------

bool CAnimationView::RunOffsetDialog()
{
    if (!playback_.loaded() || leaderHead_) return false;
    COffsetDlg dlg(this, this);
    return dlg.exec() == QDialog::Accepted;
}

bool CAnimationView::CaptureComposedFrame(QImage& out)
{
    if (!playback_.loaded() || !device_ || !device_->ready()) return false;
    playback_.requestRedraw();
    const int w = leaderHead_ ? frameWidth_ : kUnitArea;
    const int h = leaderHead_ ? frameHeight_ : kUnitArea;
    if (!leaderHead_) DrawBackground();
    DrawFrame();
    out = device_->backBuffer().copy(0, 0, w, h);
    return true;
}

void CAnimationView::ShowZoom()
{
    QImage composed;
    if (!CaptureComposedFrame(composed)) return;
    if (composed.width() <= 0 || composed.height() <= 0) {
        AfxMessageBox(str::IDS_INVALID_PARAMETERS, MB_ICONSTOP);
        return;
    }
    PictorBitmap picture;
    picture.bitmap = fromQImage(composed);
    CZoomingDlg dlg(picture, this);
    dlg.documentPath = loadedPath_;
    dlg.exec();
}

// ---- Commands ----------------------------------------------------------------------------

bool CAnimationView::OnRenderCommand(int id)
{
    switch (id) {
        case ID_BGD_DEFAULT: SetBgdDefault(); break;
        case ID_BGD_CUSTOM: SetBgdColor(customColor_); break;
        case ID_BGD_SEA:
        case ID_BGD_LAND:
            if (!SetBgdPCX(id == ID_BGD_SEA ? kBgdSea : kBgdLand))
                AfxMessageBox(str::IDS_CANNOT_SET_BACKGROUND, MB_ICONSTOP);
            break;
        case ID_BACKGROUND_COLOR: ShowColourPicker(); return true;
        case ID_ALPHA_BLEND: toggleAlphaBlend(); return true;
        case ID_ZOOM: ShowZoom(); return true;
        case ID_PALETTE: showPalette(); return true;
        case ID_IMPORT_PALETTE: ImportPaletteCommand(); return true;
        case ID_EXPORT_PALETTE: ExportPaletteCommand(); return true;
        default: return false;
    }
    ShareCustomColor();
    RequestRedraw();
    return true;
}

bool CAnimationView::OnUpdateRenderCommand(int id, CCmdUI& ui)
{
    const bool loaded = playback_.loaded();
    const bool unit = loaded && !leaderHead_;
    switch (id) {
        case ID_BGD_DEFAULT:
        case ID_BGD_CUSTOM:
        case ID_BGD_SEA:
        case ID_BGD_LAND: {
            const uint32_t type = id == ID_BGD_DEFAULT  ? kBgdDefault
                                  : id == ID_BGD_CUSTOM ? kBgdCustom
                                  : id == ID_BGD_SEA    ? kBgdSea
                                                        : kBgdLand;
            ui.Enable(unit && alphaBlend_);
            ui.SetCheck(bgdType_ == type);  // shown as a radio mark
            return true;
        }
        case ID_BACKGROUND_COLOR: ui.Enable(unit && alphaBlend_); return true;
        case ID_ALPHA_BLEND:
            ui.Enable(unit);
            ui.SetCheck(alphaBlend_);
            return true;
        case ID_ZOOM:
        case ID_PALETTE:
        case ID_IMPORT_PALETTE:
        case ID_EXPORT_PALETTE: ui.Enable(loaded); return true;
        default: return false;
    }
}

}  // namespace qv
