// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Open INI and Open Multi: opening every animation of a game unit, or of a folder, at once.
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>
#include <QProgressDialog>
#include <memory>
#include <new>

#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/settings.h"
#include "core/file_io.h"
#include "core/strings.h"
#include "core/unit_ini.h"
#include "flc/flc_preload.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"

namespace qv {

namespace {

const QString kLastIni = QStringLiteral("Last INI");
const QString kLastMulti = QStringLiteral("Last Multi");
constexpr int kMaxMultiFiles = 20;
// How long opening may take before the progress dialog shows.
constexpr qint64 kProgressDelayMs = 500;
// Largest INI file read; the game's are a few kilobytes.
constexpr uint64_t kMaxIniFileSize = 16ull * 1024 * 1024;

QWidget* mainWindow() { return CWinApp::instance() ? CWinApp::instance()->mainFrame() : nullptr; }

QString S(const char* text) { return QString::fromUtf8(text); }

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Holds back the painting of the window area while many windows are added to it: each
// new window would otherwise lay out and repaint every window already there whenever the
// progress dialog lets events through. The area is painted once, as a whole, at the end.
class HeldPainting {
public:
    HeldPainting()
    {
        if (CWinApp* app = CWinApp::instance())
            if (CNewMDIFrameWnd* frame = app->mainFrame()) area_ = frame->mdiArea();
        if (area_ && area_->updatesEnabled())
            area_->setUpdatesEnabled(false);
        else
            area_ = nullptr;
    }
    ~HeldPainting()
    {
        if (area_) area_->setUpdatesEnabled(true);
    }
    HeldPainting(const HeldPainting&) = delete;
    HeldPainting& operator=(const HeldPainting&) = delete;

private:
    QPointer<QWidget> area_;
};

// While files are opened one after the other, the plain messages the documents show
// (a file refused, an unusual file) are kept for one report at the end instead of
// stopping at every file; questions still go to the user.
class CollectedMessages : public IMessageBoxService {
public:
    CollectedMessages() : inner_(messageBoxService()) { setMessageBoxService(this); }
    ~CollectedMessages() override { setMessageBoxService(&inner_); }
    int show(QWidget* parent, const QString& text, unsigned flags) override
    {
        if ((flags & MB_TYPEMASK) != MB_OK) return inner_.show(parent, text, flags);
        messages << text;
        return IDOK;
    }
    QStringList messages;

private:
    IMessageBoxService& inner_;
};

QString listText(const QStringList& paths)
{
    QString text;
    for (const QString& p : paths) text += QLatin1Char('\'') + p + QStringLiteral("'\r\n");
    return text;
}

void reportFailure(const char* function)
{
    AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {function}), MB_ICONERROR);
}

}  // namespace

void CEditorDocManager::OpenIni()
{
    try {
        CFileDialogX dlg(true, QString(), QString(), OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                         S(str::IDS_INI_FILTER), mainWindow());
        dlg.title = S(str::IDS_INI_SELECT_TITLE);
        const QString last = GetProfileString(settings::kOptions, kLastIni);
        if (uIsFileExist(last)) dlg.initialPath = GetFolder(last);
        if (dlg.DoModal() != IDOK) return;
        const QString iniPath = dlg.GetPathName();
        WriteProfileString(settings::kOptions, kLastIni, iniPath);

        QStringList collected, problems;
        {
            WaitCursor wait;
            Bytes bytes;
            if (!readWholeFile(QFile::encodeName(iniPath).toStdString(), bytes, kMaxIniFileSize)) return;
            UnitIni ini;
            // Without the section or its end marker there is nothing to open, and nothing to say.
            if (!parseUnitIni(iniPath.toStdString(), bytes.data(), bytes.size(), ini)) return;
            std::vector<std::string> games;
            if (CEditorApp* app = theApp())
                for (const QString& g : app->gameFolders()) games.push_back(QFile::encodeName(g).toStdString());
            const std::string folder = QFile::encodeName(GetFolder(iniPath)).toStdString();
            for (const UnitIniReference& ref : ini.animations) {
                const ResolvedReference r = resolveUnitIniReference(ref, folder, games);
                const QString key = QString::fromStdString(ref.key);
                if (r.state == ReferenceState::Found)
                    collected << QFile::decodeName(r.path.c_str());
                else if (r.state == ReferenceState::Missing)
                    problems << uFormatString(str::IDS_BULK_SUMMARY_MISSING,
                                              {ref.key, QFile::decodeName(r.path.c_str()).toStdString()});
                else
                    problems << uFormatString(str::IDS_BULK_SUMMARY_OUTSIDE, {ref.key, ref.value});
            }
        }
        if (collected.isEmpty()) {
            AfxMessageBox(uFormatString(str::IDS_INI_NO_FLC_FOUND, {iniPath.toStdString()}), MB_OK);
            return;
        }
        if (!flcTemplate()) return;
        if (AfxMessageBox(uFormatString(str::IDS_INI_ASK_OPEN, {iniPath.toStdString(), listText(collected).toStdString()}),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        OpenFiles(iniPath, collected, problems, true);
    } catch (const std::bad_alloc&) {
        reportFailure("CEditorDocManager::OpenIni");
    } catch (const std::exception&) {
        reportFailure("CEditorDocManager::OpenIni");
    }
}

void CEditorDocManager::OpenMulti()
{
    try {
        const QString start = GetProfileString(settings::kOptions, kLastMulti);
        QString folder = start;
        if (!uBrowseFolder(mainWindow(), S(str::IDS_MULTI_SELECT_TITLE), start, folder)) return;
        if (!uIsDirExist(folder)) return;
        WriteProfileString(settings::kOptions, kLastMulti, folder);

        QStringList collected;
        {
            WaitCursor wait;
            QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
            while (it.hasNext() && collected.size() < kMaxMultiFiles) {
                const QString path = it.next();
                const QString ext = uGetFileExt(path);
                if (ext.compare(QLatin1String("flc"), Qt::CaseInsensitive) == 0 ||
                    ext.compare(QLatin1String("qsb"), Qt::CaseInsensitive) == 0)
                    collected << path;
            }
        }
        if (collected.isEmpty()) {
            AfxMessageBox(uFormatString(str::IDS_MULTI_NO_FILES_FOUND, {folder.toStdString()}), MB_OK);
            return;
        }
        if (!flcTemplate() || !qsbTemplate()) return;
        if (AfxMessageBox(uFormatString(str::IDS_MULTI_ASK_OPEN, {folder.toStdString(), listText(collected).toStdString()}),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        OpenFiles(folder, collected);
    } catch (const std::bad_alloc&) {
        reportFailure("CEditorDocManager::OpenMulti");
    } catch (const std::exception&) {
        reportFailure("CEditorDocManager::OpenMulti");
    }
}

void CEditorDocManager::OpenFiles(const QString& source, const QStringList& paths, const QStringList& problems,
                                  bool flcTemplateForAll)
{
    QStringList report = problems;
    {
        WaitCursor wait;
        CollectedMessages messages;
        FlcPreloader preload(paths);
        HeldPainting held;
        // The progress dialog comes only when the opening has really taken longer than a
        // moment: made up front, it guesses the whole time from the first file (which
        // waits for its decoding) and shows up, and lets events through for every file,
        // for opens that end in a fraction of a second.
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<QProgressDialog> progress;
        for (int i = 0; i < paths.size(); ++i) {
            if (progress && progress->wasCanceled()) {
                for (int j = i; j < paths.size(); ++j)
                    report << uFormatString(str::IDS_BULK_SUMMARY_CANCELLED, {paths[j].toStdString()});
                break;
            }
            if (!progress && clock.elapsed() >= kProgressDelayMs) {
                progress = std::make_unique<QProgressDialog>(QString(), S(str::IDS_BULK_CANCEL), 0,
                                                             static_cast<int>(paths.size()), mainWindow());
                progress->setWindowModality(Qt::WindowModal);
                progress->setMinimumDuration(0);
                progress->setAutoClose(false);
                progress->setAutoReset(false);
                progress->setValue(0);  // starts its clock; the next value shows it
            }
            if (progress) {
                progress->setLabelText(uFormatString(
                    str::IDS_BULK_OPENING, {i + 1, static_cast<int>(paths.size()), GetFileName(paths[i]).toStdString()}));
                progress->setValue(i);
            }
            CNewMultiDocTemplate* t = flcTemplateForAll ||
                                              uGetFileExt(paths[i]).compare(QLatin1String("flc"), Qt::CaseInsensitive) == 0
                                          ? static_cast<CNewMultiDocTemplate*>(flcTemplate())
                                          : static_cast<CNewMultiDocTemplate*>(qsbTemplate());
            if (t) t->OpenDocumentFile(paths[i], true);
        }
        if (progress) progress->setValue(static_cast<int>(paths.size()));
        for (const QString& m : messages.messages) report << QStringLiteral("\r\n") + m;
    }
    if (!report.isEmpty())
        AfxMessageBox(uFormatString(str::IDS_BULK_SUMMARY, {source.toStdString(), report.join(QString()).toStdString()}),
                      MB_ICONWARNING);
}

}  // namespace qv
