// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The three places where the program meets a person or the wall clock: message boxes,
// file dialogs and the clock. Each goes through a small interface so that tests can
// answer questions, pick files and advance time without a display or anyone watching.
// The default implementations use Qt's standard dialogs and the steady clock.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace qv {

// One replaceable service: the default one, made on first use, unless a test installed
// another (installing null goes back to the default).
template <class Interface, class Default>
class ServiceSlot {
public:
    Interface& get()
    {
        static Default fallback;
        return replacement_ ? *replacement_ : fallback;
    }
    void set(Interface* service) { replacement_ = service; }

private:
    Interface* replacement_ = nullptr;
};

// Message box styles and answers, with the values the program has always used.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_TYPEMASK = 0xF,
    MB_ICONMASK = 0xF0,
    // With MB_YESNOCANCEL: the buttons read Save, Discard and Cancel (answers IDYES, IDNO
    // and IDCANCEL), for the question asked before closing a changed document.
    MB_SAVEDISCARD = 0x100,
};
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    // Shows `text` with the buttons and icon of `flags`; returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int show(QWidget* parent, const QString& text, unsigned flags) = 0;
};

// The service in use (the Qt one unless a test installed another). Never null.
IMessageBoxService& messageBoxService();
// Installs a service; nullptr goes back to the Qt one. The caller keeps ownership.
void setMessageBoxService(IMessageBoxService* service);

// Shows a message box owned by the main window (when there is one).
int AfxMessageBox(const QString& text, unsigned flags = MB_OK);
int AfxMessageBox(const std::string& text, unsigned flags = MB_OK);
int AfxMessageBox(const char* text, unsigned flags = MB_OK);

// A message box service for tests: records every message and answers from a queue
// (IDOK for OK boxes, IDYES for Yes/No boxes when the queue is empty).
class ScriptedMessageBoxes : public IMessageBoxService {
public:
    struct Shown {
        QString text;
        unsigned flags = 0;
    };
    int show(QWidget* parent, const QString& text, unsigned flags) override;
    void answer(int result) { answers_.push_back(result); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }
    // Called with every message as it is shown (for example to check state at that moment).
    std::function<void(const Shown&)> onShow;

private:
    std::vector<Shown> shown_;
    std::deque<int> answers_;
};

// ---- File dialogs ----------------------------------------------------------------

class CFileDialogX;

class IFileDialogService {
public:
    virtual ~IFileDialogService() = default;
    // Runs an open or save dialog described by `dialog`. On OK it stores the chosen
    // path(s) and filter index in the dialog (CFileDialogX::setResult) and returns true.
    virtual bool runFileDialog(CFileDialogX& dialog) = 0;
    // A folder chooser starting at `start`; true with the chosen folder in `folder`.
    virtual bool browseFolder(QWidget* parent, const QString& title, const QString& start, QString& folder) = 0;
};

IFileDialogService& fileDialogService();
void setFileDialogService(IFileDialogService* service);

// A file dialog service for tests: each run takes the next scripted answer.
class ScriptedFileDialogs : public IFileDialogService {
public:
    struct Answer {
        bool ok = false;
        QStringList paths;
        int filterIndex = 0;  // 0 keeps the dialog's own index
    };
    // The dialogs that ran, as they were when they ran.
    struct Seen {
        bool open = true;
        QString title;
        QString filter;
        int filterIndex = 1;
        QString initialPath;
        QString defaultExt;
    };
    // Each answer is one press of OK (or Cancel): a choice the dialog refuses on OK
    // takes the next answer, as a user trying again would. A dialog with a custom area
    // gets it built in a hidden window, and `onRun` can work its controls before OK.
    bool runFileDialog(CFileDialogX& dialog) override;
    bool browseFolder(QWidget* parent, const QString& title, const QString& start, QString& folder) override;
    std::function<void(CFileDialogX& dialog, QWidget* customArea)> onRun;
    void pick(const QString& path, int filterIndex = 0) { answers_.push_back({true, {path}, filterIndex}); }
    void pickMany(const QStringList& paths) { answers_.push_back({true, paths, 0}); }
    void cancel() { answers_.push_back({false, {}, 0}); }
    const std::vector<Seen>& seen() const { return seen_; }

private:
    std::deque<Answer> answers_;
    std::vector<Seen> seen_;
};

// ---- Colour dialog ---------------------------------------------------------------

class IColorDialogService {
public:
    virtual ~IColorDialogService() = default;
    // The system colour dialog starting at `colorRef` (0x00BBGGRR); true with the chosen
    // colour in `colorRef` on OK.
    virtual bool chooseColor(QWidget* parent, uint32_t& colorRef) = 0;
};

IColorDialogService& colorDialogService();
void setColorDialogService(IColorDialogService* service);
// Runs the colour dialog of the service in use.
bool ShowColorDialog(QWidget* parent, uint32_t& colorRef);

// A colour dialog for tests: each run takes the next scripted colour (none: cancelled).
class ScriptedColorDialogs : public IColorDialogService {
public:
    bool chooseColor(QWidget* parent, uint32_t& colorRef) override;
    void pick(uint32_t colorRef) { answers_.push_back(int64_t(colorRef)); }
    void cancel() { answers_.push_back(-1); }
    // The colours the dialogs started from.
    const std::vector<uint32_t>& started() const { return started_; }

private:
    std::deque<int64_t> answers_;
    std::vector<uint32_t> started_;
};

// ---- Clock -----------------------------------------------------------------------

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
    virtual uint32_t tickCount() = 0;
    // Waits `ms` milliseconds.
    virtual void sleepMs(uint32_t ms) = 0;
};

IClock& clock();
void setClock(IClock* clock);

// A clock for tests: time moves only when told, and sleeping moves it at once.
class ManualClock : public IClock {
public:
    uint32_t tickCount() override { return now_; }
    void sleepMs(uint32_t ms) override
    {
        now_ += ms;
        ++sleeps_;
        if (onSleep) onSleep(sleeps_);
    }
    void advance(uint32_t ms) { now_ += ms; }
    int sleeps() const { return sleeps_; }
    // Called after each sleep with the number of sleeps so far.
    std::function<void(int)> onSleep;

private:
    uint32_t now_ = 0;
    int sleeps_ = 0;
};

}  // namespace qv
