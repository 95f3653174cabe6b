// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/services.h"

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QThread>
#include <QWidget>
#include <memory>

#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/win_app.h"

namespace qv {

namespace {

QWidget* defaultParent()
{
    if (CWinApp* app = CWinApp::instance())
        if (app->mainFrame()) return app->mainFrame();
    return QApplication::activeWindow();
}

QString boxTitle()
{
    if (CWinApp* app = CWinApp::instance()) return app->appTitle();
    return QString::fromUtf8(str::IDS_APP_TITLE);
}

class QtMessageBoxes : public IMessageBoxService {
public:
    int show(QWidget* parent, const QString& text, unsigned flags) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(boxTitle());
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        box.setText(shown);
        switch (flags & MB_ICONMASK) {
            case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
            case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
            case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
            case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
            default: box.setIcon(QMessageBox::NoIcon); break;
        }
        switch (flags & MB_TYPEMASK) {
            case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
            case MB_YESNOCANCEL:
                if (flags & MB_SAVEDISCARD) {
                    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
                    box.setDefaultButton(QMessageBox::Save);
                } else {
                    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                }
                break;
            case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
            default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        switch (box.exec()) {
            case QMessageBox::Yes:
            case QMessageBox::Save:
                return IDYES;
            case QMessageBox::No:
            case QMessageBox::Discard:
                return IDNO;
            case QMessageBox::Cancel: return IDCANCEL;
            default: return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
        }
    }
};

// Qt's dialog, asking the program before it accepts a choice.
class CheckedFileDialog : public QFileDialog {
public:
    CheckedFileDialog(QWidget* parent, CFileDialogX& dlg) : QFileDialog(parent), dlg_(dlg) {}
    void done(int result) override
    {
        if (result == QDialog::Accepted && !selectedFiles().isEmpty()) {
            const int chosen = static_cast<int>(nameFilters().indexOf(selectedNameFilter())) + 1;
            dlg_.setResult(selectedFiles(), chosen > 0 ? chosen : dlg_.filterIndex);
            if (!dlg_.OnFileOK()) return;
        }
        QFileDialog::done(result);
    }

private:
    CFileDialogX& dlg_;
};

class QtFileDialogs : public IFileDialogService {
public:
    bool runFileDialog(CFileDialogX& dlg) override
    {
        CheckedFileDialog fd(dlg.parent() ? dlg.parent() : defaultParent(), dlg);
        const bool open = dlg.isOpenDialog();
        fd.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        if (open)
            fd.setFileMode((dlg.flags() & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                 : QFileDialog::ExistingFile);
        else
            fd.setFileMode(QFileDialog::AnyFile);
        fd.setWindowTitle(!dlg.title.isEmpty()
                              ? dlg.title
                              : QString::fromUtf8(open ? str::IDS_DLG_OPEN_TITLE : str::IDS_DLG_SAVE_AS_TITLE));
        if (!dlg.defaultExt().isEmpty()) fd.setDefaultSuffix(dlg.defaultExt());
        if (!(dlg.flags() & OFN_OVERWRITEPROMPT)) fd.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = dlg.qtFilters();
        if (!filters.isEmpty()) {
            fd.setNameFilters(filters);
            const int index = dlg.filterIndex >= 1 && dlg.filterIndex <= filters.size() ? dlg.filterIndex : 1;
            fd.selectNameFilter(filters.at(index - 1));
        }
        const QFileInfo initial(dlg.initialPath);
        if (!dlg.initialPath.isEmpty()) {
            if (initial.isDir())
                fd.setDirectory(initial.absoluteFilePath());
            else {
                fd.setDirectory(initial.absolutePath());
                if (initial.exists()) fd.selectFile(initial.absoluteFilePath());
            }
        }
        if (!dlg.fileName.isEmpty()) fd.selectFile(dlg.fileName);

        // A custom area (preview) needs the widget-based dialog.
        if (dlg.flags() & OFN_ENABLETEMPLATE) {
            fd.setOption(QFileDialog::DontUseNativeDialog);
            if (QWidget* area = dlg.CreateCustomArea(&fd)) {
                if (auto* grid = qobject_cast<QGridLayout*>(fd.layout()))
                    grid->addWidget(area, 0, grid->columnCount(), grid->rowCount(), 1);
            }
        }
        QObject::connect(&fd, &QFileDialog::currentChanged, [&dlg](const QString& p) { dlg.OnFileNameChange(p); });
        QObject::connect(&fd, &QFileDialog::directoryEntered, [&dlg](const QString& p) { dlg.OnFolderChange(p); });
        QObject::connect(&fd, &QFileDialog::filterSelected, [&dlg, filters](const QString& f) {
            dlg.OnTypeChange(static_cast<int>(filters.indexOf(f)) + 1);
        });
        const bool ok = fd.exec() == QDialog::Accepted && !fd.selectedFiles().isEmpty();
        if (ok) {
            const int chosen = static_cast<int>(filters.indexOf(fd.selectedNameFilter())) + 1;
            dlg.setResult(fd.selectedFiles(), chosen > 0 ? chosen : dlg.filterIndex);
        }
        return ok;
    }

    bool browseFolder(QWidget* parent, const QString& title, const QString& start, QString& folder) override
    {
        const QString chosen = QFileDialog::getExistingDirectory(parent ? parent : defaultParent(), title, start);
        if (chosen.isEmpty()) return false;
        folder = chosen;
        return true;
    }
};

class SteadyClock : public IClock {
public:
    SteadyClock() { timer_.start(); }
    uint32_t tickCount() override { return static_cast<uint32_t>(timer_.elapsed()); }
    void sleepMs(uint32_t ms) override { QThread::msleep(ms); }

private:
    QElapsedTimer timer_;
};

ServiceSlot<IMessageBoxService, QtMessageBoxes> g_messages;
ServiceSlot<IFileDialogService, QtFileDialogs> g_fileDialogs;
ServiceSlot<IClock, SteadyClock> g_clock;

}  // namespace

IMessageBoxService& messageBoxService() { return g_messages.get(); }
void setMessageBoxService(IMessageBoxService* service) { g_messages.set(service); }

int AfxMessageBox(const QString& text, unsigned flags)
{
    return messageBoxService().show(defaultParent(), text, flags);
}
int AfxMessageBox(const std::string& text, unsigned flags) { return AfxMessageBox(QString::fromStdString(text), flags); }
int AfxMessageBox(const char* text, unsigned flags) { return AfxMessageBox(QString::fromUtf8(text), flags); }

int ScriptedMessageBoxes::show(QWidget*, const QString& text, unsigned flags)
{
    shown_.push_back({text, flags});
    if (onShow) onShow(shown_.back());
    if (!answers_.empty()) {
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    const unsigned type = flags & MB_TYPEMASK;
    return (type == MB_YESNO || type == MB_YESNOCANCEL) ? IDYES : IDOK;
}

IFileDialogService& fileDialogService() { return g_fileDialogs.get(); }
void setFileDialogService(IFileDialogService* service) { g_fileDialogs.set(service); }

bool ScriptedFileDialogs::runFileDialog(CFileDialogX& dlg)
{
    seen_.push_back({dlg.isOpenDialog(), dlg.title, dlg.filter(), dlg.filterIndex, dlg.initialPath, dlg.defaultExt()});
    std::unique_ptr<QWidget> host;
    QWidget* area = nullptr;
    if (dlg.flags() & OFN_ENABLETEMPLATE) {
        host = std::make_unique<QWidget>();
        area = dlg.CreateCustomArea(host.get());
    }
    while (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        if (!a.ok) return false;
        for (const QString& p : a.paths) dlg.OnFileNameChange(p);
        if (onRun) onRun(dlg, area);
        dlg.setResult(a.paths, a.filterIndex > 0 ? a.filterIndex : dlg.filterIndex);
        if (dlg.OnFileOK()) return true;
    }
    return false;
}

bool ScriptedFileDialogs::browseFolder(QWidget*, const QString& title, const QString& start, QString& folder)
{
    seen_.push_back({true, title, QString(), 0, start, QString()});
    if (answers_.empty()) return false;
    const Answer a = answers_.front();
    answers_.pop_front();
    if (!a.ok || a.paths.isEmpty()) return false;
    folder = a.paths.front();
    return true;
}

IClock& clock() { return g_clock.get(); }
void setClock(IClock* c) { g_clock.set(c); }

// ---- Colour dialog ---------------------------------------------------------------

namespace {

class QtColorDialogs : public IColorDialogService {
public:
    bool chooseColor(QWidget* parent, uint32_t& colorRef) override
    {
        const QColor start(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
        const QColor c = QColorDialog::getColor(start, parent ? parent : defaultParent());
        if (!c.isValid()) return false;
        colorRef = uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
        return true;
    }
};

ServiceSlot<IColorDialogService, QtColorDialogs> g_colorDialogs;

}  // namespace

IColorDialogService& colorDialogService() { return g_colorDialogs.get(); }

void setColorDialogService(IColorDialogService* service) { g_colorDialogs.set(service); }

bool ShowColorDialog(QWidget* parent, uint32_t& colorRef) { return colorDialogService().chooseColor(parent, colorRef); }

bool ScriptedColorDialogs::chooseColor(QWidget*, uint32_t& colorRef)
{
    started_.push_back(colorRef);
    if (answers_.empty()) return false;
    const int64_t a = answers_.front();
    answers_.pop_front();
    if (a < 0) return false;
    colorRef = uint32_t(a);
    return true;
}

}  // namespace qv
