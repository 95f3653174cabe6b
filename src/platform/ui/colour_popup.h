// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CColourPopupXP: the drop-down colour picker. A small pop-up window with a "Default"
// button, a grid of 40 colours and a "Custom" button that opens the full colour chooser.
// It reports the outcome with selectionEnded (the picker's selection-ended message,
// private message 1024 + 1004) carrying the colour and the id of the command that opened
// it; choosing "Default" reports the marker kDefaultColour instead of a colour. The
// pop-up deletes itself when it closes.
#pragma once

#include <QFrame>
#include <cstdint>

class QToolButton;

namespace qv {

class CColourPopupXP : public QFrame {
    Q_OBJECT
public:
    // The colour "Default" reports.
    static constexpr uint32_t kDefaultColour = 0xFF000000u;
    // The selection-ended message number, for those who still count messages.
    static constexpr int kSelEndOkMessage = 1024 + 1004;

    // Opens at `topLeft` (global coordinates), starting from `colorRef` (0x00BBGGRR).
    CColourPopupXP(const QPoint& topLeft, uint32_t colorRef, QWidget* parent, int commandId,
                   const QString& defaultText, const QString& customText);

    // The XP look (flat, with a highlighted frame around the current colour) or the
    // classic one (raised buttons). Follows the menu style of the program.
    static void SetXPLook(bool on);
    static bool isXPLook();

    uint32_t initialColour() const { return initial_; }
    int commandId() const { return commandId_; }
    // The 40 colours of the grid (0x00BBGGRR), row by row.
    static const uint32_t* gridColours(int& count);

    // Ends the choice with `colorRef` (or kDefaultColour) as a click would, and closes.
    void choose(uint32_t colorRef);
    // Opens the full colour chooser ("Custom"); a chosen colour ends the choice.
    void chooseCustom();

signals:
    void selectionEnded(uint32_t colorRef, int commandId);
    void selectionCancelled(int commandId);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    uint32_t initial_;
    int commandId_;
    bool ended_ = false;
};

}  // namespace qv
