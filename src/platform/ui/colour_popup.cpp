// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/colour_popup.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/compositor.h"

namespace qv {

namespace {

bool g_xpLook = true;


// The classic office colour set, five rows of eight.
const uint32_t kGrid[] = {
    rgbRef(0, 0, 0),       rgbRef(153, 51, 0),    rgbRef(51, 51, 0),     rgbRef(0, 51, 0),
    rgbRef(0, 51, 102),    rgbRef(0, 0, 128),     rgbRef(51, 51, 153),   rgbRef(51, 51, 51),
    rgbRef(128, 0, 0),     rgbRef(255, 102, 0),   rgbRef(128, 128, 0),   rgbRef(0, 128, 0),
    rgbRef(0, 128, 128),   rgbRef(0, 0, 255),     rgbRef(102, 102, 153), rgbRef(128, 128, 128),
    rgbRef(255, 0, 0),     rgbRef(255, 153, 0),   rgbRef(153, 204, 0),   rgbRef(51, 153, 102),
    rgbRef(51, 204, 204),  rgbRef(51, 102, 255),  rgbRef(128, 0, 128),   rgbRef(153, 153, 153),
    rgbRef(255, 0, 255),   rgbRef(255, 204, 0),   rgbRef(255, 255, 0),   rgbRef(0, 255, 0),
    rgbRef(0, 255, 255),   rgbRef(0, 204, 255),   rgbRef(153, 51, 102),  rgbRef(192, 192, 192),
    rgbRef(255, 153, 204), rgbRef(255, 204, 153), rgbRef(255, 255, 153), rgbRef(204, 255, 204),
    rgbRef(204, 255, 255), rgbRef(153, 204, 255), rgbRef(204, 153, 255), rgbRef(255, 255, 255),
};
constexpr int kGridColumns = 8;

QColor fromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
uint32_t toColorRef(const QColor& c) { return rgbRef(uint32_t(c.red()), uint32_t(c.green()), uint32_t(c.blue())); }

QIcon swatchIcon(uint32_t colorRef, bool current)
{
    QPixmap pm(14, 14);
    pm.fill(fromColorRef(colorRef));
    QPainter p(&pm);
    p.setPen(current ? QColor(0, 0, 128) : QColor(128, 128, 128));
    p.drawRect(0, 0, 13, 13);
    return QIcon(pm);
}

}  // namespace

void CColourPopupXP::SetXPLook(bool on) { g_xpLook = on; }
bool CColourPopupXP::isXPLook() { return g_xpLook; }

const uint32_t* CColourPopupXP::gridColours(int& count)
{
    count = static_cast<int>(sizeof(kGrid) / sizeof(kGrid[0]));
    return kGrid;
}

CColourPopupXP::CColourPopupXP(const QPoint& topLeft, uint32_t colorRef, QWidget* parent, int commandId,
                               const QString& defaultText, const QString& customText)
    : QFrame(parent, Qt::Popup), initial_(colorRef & 0x00FFFFFFu), commandId_(commandId)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(g_xpLook ? (QFrame::Box | QFrame::Plain) : (QFrame::Panel | QFrame::Raised));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);

    auto* defaultButton = new QToolButton(this);
    defaultButton->setObjectName(QStringLiteral("default"));
    defaultButton->setText(defaultText);
    defaultButton->setAutoRaise(g_xpLook);
    defaultButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(defaultButton);
    connect(defaultButton, &QToolButton::clicked, this, [this] { choose(kDefaultColour); });

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    int count = 0;
    const uint32_t* colours = gridColours(count);
    for (int i = 0; i < count; ++i) {
        const uint32_t c = colours[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("colour%1").arg(i));
        b->setIcon(swatchIcon(c, c == initial_));
        b->setAutoRaise(g_xpLook);
        b->setFixedSize(20, 20);
        b->setCheckable(true);
        b->setChecked(c == initial_);
        grid->addWidget(b, i / kGridColumns, i % kGridColumns);
        connect(b, &QToolButton::clicked, this, [this, c] { choose(c); });
    }
    layout->addLayout(grid);

    auto* customButton = new QToolButton(this);
    customButton->setObjectName(QStringLiteral("custom"));
    customButton->setText(customText);
    customButton->setAutoRaise(g_xpLook);
    customButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(customButton);
    connect(customButton, &QToolButton::clicked, this, &CColourPopupXP::chooseCustom);

    adjustSize();
    // Kept on the screen that holds the requested corner.
    QPoint pos = topLeft;
    if (QScreen* screen = QGuiApplication::screenAt(topLeft)) {
        const QRect area = screen->availableGeometry();
        pos.setX(std::max(area.left(), std::min(pos.x(), area.right() - width())));
        pos.setY(std::max(area.top(), std::min(pos.y(), area.bottom() - height())));
    }
    move(pos);
}

void CColourPopupXP::choose(uint32_t colorRef)
{
    if (ended_) return;
    ended_ = true;
    const int id = commandId_;
    // The pop-up goes first, so the receiver may open windows of its own.
    QPointer<CColourPopupXP> self(this);
    hide();
    emit selectionEnded(colorRef == kDefaultColour ? kDefaultColour : (colorRef & 0x00FFFFFFu), id);
    if (self) close();
}

void CColourPopupXP::chooseCustom()
{
    if (ended_) return;
    hide();
    QPointer<CColourPopupXP> self(this);
    const QColor c = QColorDialog::getColor(fromColorRef(initial_), parentWidget());
    if (!self) return;
    if (c.isValid())
        choose(toColorRef(c));
    else
        close();
}

void CColourPopupXP::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

void CColourPopupXP::closeEvent(QCloseEvent* event)
{
    if (!ended_) {
        ended_ = true;
        emit selectionCancelled(commandId_);
    }
    QFrame::closeEvent(event);
}

}  // namespace qv
