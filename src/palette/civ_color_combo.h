// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CCivColorCombo: the civilization list of the View panel. 33 entries, "Default" (the
// animation's own colours) and "Civ Color 1" .. "Civ Color 32", each drawn with a swatch
// of the colour that stands for its scheme (palette entry 6). The swatches start with the
// colours of the built-in schemes; the view replaces an entry's swatch with what it
// really shows once that entry has been chosen.
#pragma once

#include <QComboBox>
#include <array>
#include <cstdint>

namespace qv {

class CCivColorCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kEntries = 33;

    explicit CCivColorCombo(QWidget* parent = nullptr);

    // The swatch of entry `index` as a Windows colour value (0x00BBGGRR). Indices
    // outside the list are ignored when setting and give entry 0's initial swatch when
    // asked for.
    void SetSwatch(int index, uint32_t colorRef);
    uint32_t Swatch(int index) const;
    // Draws every entry's swatch again (after the entries were replaced).
    void RefreshSwatches();

private:
    void updateSwatchIcon(int index);

    std::array<uint32_t, kEntries> swatches_{};
};

}  // namespace qv
