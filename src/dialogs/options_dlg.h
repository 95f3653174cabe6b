// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Options dialog: three tabs (Document, View, Animation) over the program's
// persistent options. Apply writes every page, re-registers or removes the file types,
// reloads the application's settings and lets the main frame re-apply its own; Default
// asks, then removes the pages' stored values (the palette folder stays), shows the
// defaults and applies them.
#pragma once

#include "platform/ui/dialog_x.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qv {

class COptionsDlg : public CDialogX {
    Q_OBJECT
public:
    explicit COptionsDlg(QWidget* parent = nullptr);

    // Runs the dialog; IDCANCEL at once when the program has no main window.
    int DoModal();

    void Apply();
    // Asks, and on Yes sets the defaults and applies.
    void OnDefault();

    // The controls, in page order.
    QTabWidget* tabs = nullptr;
    QCheckBox *associate = nullptr, *checkAtStartup = nullptr, *reloadLast = nullptr;
    QSpinBox* maxMru = nullptr;
    QCheckBox *showToolBar = nullptr, *showStatusBar = nullptr, *specialBorder = nullptr, *sameBorder = nullptr,
              *disabledSelection = nullptr, *gloom = nullptr;
    QRadioButton *xpStyle = nullptr, *oldStyle = nullptr;
    QCheckBox *buttonEffects = nullptr, *buttonIcons = nullptr;
    QRadioButton *palGame = nullptr, *palResources = nullptr, *palFolder = nullptr;
    QLabel* builtinNote = nullptr;
    QLineEdit* palDir = nullptr;
    QPushButton *browse = nullptr, *del = nullptr;
    QRadioButton *play = nullptr, *pause = nullptr;
    QCheckBox *expOpen = nullptr, *expAsk = nullptr;
    QPushButton *okButton = nullptr, *applyButton = nullptr, *defaultButton = nullptr;

    void done(int result) override;

private:
    void load();
    void writePages();
    // The file types, the application's settings and the main frame's re-apply.
    void applyEffects();
    void updateEnabling();
    void changed();
};

}  // namespace qv
