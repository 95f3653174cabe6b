// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The About box: a pulsing program title, the build's version line (the one
// `quorvane-cli version` prints), the copyright, the licence text, the two links and OK.
// Typing the hidden word THANKS while it is open swaps the licence text for the
// acknowledgement text. Its position is kept in "Dlg About".
#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "platform/ui/dialog_x.h"

class QEvent;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace qv {

// The title area: the program's title drawn by hand in blue of the shared intensity, over
// a shadow in the button-shadow colour two pixels lower.
class CAboutTitle : public QWidget {
    Q_OBJECT
public:
    explicit CAboutTitle(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CAboutDlg : public CDialogX {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    int DoModal();

    // One run of the title timer: advances the pulse by one step for every 50 ms the
    // program's clock has moved since the last step, then redraws the title.
    void OnTimer();
    // One key press, before normal key handling: the hidden-word rule.
    void OnKeyDown(int key);

    // The title's intensity and step, shared by every About box of the run.
    static int intensity();
    static int step();
    static void resetPulse();

    bool thanksShown() const { return thanksShown_; }

    CAboutTitle* title = nullptr;
    QLabel *version = nullptr, *legal = nullptr, *forumLink = nullptr, *mailLink = nullptr;
    QTextBrowser* text = nullptr;
    QPushButton* okButton = nullptr;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTimer timer_;
    uint32_t lastStep_ = 0;
    QString typed_;
    bool thanksShown_ = false;
    // The key press being passed from a widget to its parents, so it counts once.
    const QEvent* keyInFlight_ = nullptr;
    QPointer<QWidget> keyReceiver_;
};

}  // namespace qv
