// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/about_dlg.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/commands.h"
#include "core/strings.h"
#include "core/version.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

constexpr char kSection[] = "Dlg About";
constexpr int kTimerPeriodMs = 50;
// 255 down to 25 and back up: the pulse repeats every 46 steps.
constexpr uint32_t kPulseCycle = 46;

int g_intensity = 255;
int g_step = -10;

void pulseOnce()
{
    if (g_intensity < 30)
        g_step = 10;
    else if (g_intensity > 245)
        g_step = -10;
    g_intensity += g_step;
}

QString tr8(const char* s)
{
    return QString::fromUtf8(s);
}

QString link(const QString& href, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

// ---- Title -----------------------------------------------------------------------------

CAboutTitle::CAboutTitle(QWidget* parent) : QWidget(parent)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(12);
    // Crisp strokes, so the title's blue is exactly the intensity on every stroke pixel.
    f.setStyleStrategy(QFont::NoAntialias);
    setFont(f);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CAboutTitle::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(tr8(str::IDS_ABOUT_PROGRAM_TITLE)) + 8, fm.height() + 4};
}

void CAboutTitle::paintEvent(QPaintEvent*)
{
    // Drawn off screen and copied in one block, so the pulse never flickers.
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter p(&buffer);
        const QRect area = rect();
        p.fillRect(area, palette().color(QPalette::Button));
        p.setFont(font());
        const QString text = tr8(str::IDS_ABOUT_PROGRAM_TITLE);
        const int align = Qt::AlignHCenter | Qt::AlignTop;
        p.setPen(palette().color(QPalette::Dark));
        p.drawText(area.adjusted(1, 2, -1, -2), align, text);
        p.setPen(QColor(0, 0, g_intensity));
        p.drawText(area, align, text);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

// ---- Dialog ----------------------------------------------------------------------------

CAboutDlg::CAboutDlg(QWidget* parent) : CDialogX(QString::fromLatin1(kSection), parent)
{
    setWindowTitle(tr8(str::IDS_ABOUT_TITLE));
    setWindowIcon(namedIcon(QStringLiteral("app")));
    auto* layout = new QVBoxLayout(this);

    title = new CAboutTitle(this);
    layout->addWidget(title);

    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(namedIcon(QStringLiteral("app")).pixmap(32, 32));
    head->addWidget(icon, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    version = new QLabel(QString::fromUtf8(versionText().c_str()), this);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    legal = new QLabel(tr8(str::IDS_ABOUT_LEGAL), this);
    lines->addWidget(version);
    lines->addWidget(legal);
    head->addLayout(lines, 1);
    layout->addLayout(head);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    text = new QTextBrowser(frame);
    text->setOpenExternalLinks(true);
    QPalette pal = text->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    text->setPalette(pal);
    text->setHtml(tr8(str::IDS_ABOUT_LICENSE));
    frameLayout->addWidget(text);
    layout->addWidget(frame, 1);

    auto* links = new QGridLayout;
    const QString forum = tr8(str::IDS_ABOUT_FORUM_URL);
    const QString mail = tr8(str::IDS_ABOUT_EMAIL);
    forumLink = new QLabel(link(forum, forum), this);
    mailLink = new QLabel(link(QStringLiteral("mailto:") + mail, mail), this);
    int row = 0;
    for (auto [caption, label] :
         {std::pair{str::IDS_ABOUT_VISIT_FORUM, forumLink}, {str::IDS_ABOUT_SEND_EMAIL, mailLink}}) {
        label->setTextFormat(Qt::RichText);
        label->setOpenExternalLinks(true);
        links->addWidget(new QLabel(tr8(caption), this), row, 0);
        links->addWidget(label, row++, 1);
    }
    links->setColumnStretch(1, 1);
    layout->addLayout(links);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr8(str::IDS_ABOUT_ACK_LINE), this), 1);
    okButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr8(str::IDS_ABOUT_OK), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(okButton);
    layout->addLayout(bottom);
    resize(460, 400);

    // Every key pressed anywhere in the box goes through the hidden-word rule first.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);

    lastStep_ = clock().tickCount();
    timer_.setInterval(kTimerPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CAboutDlg::OnTimer);
    timer_.start();
}

int CAboutDlg::DoModal()
{
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

int CAboutDlg::intensity()
{
    return g_intensity;
}
int CAboutDlg::step()
{
    return g_step;
}

void CAboutDlg::resetPulse()
{
    g_intensity = 255;
    g_step = -10;
}

void CAboutDlg::OnTimer()
{
    const uint32_t elapsed = clock().tickCount() - lastStep_;
    const uint32_t steps = elapsed / kTimerPeriodMs;
    if (steps == 0) return;
    lastStep_ += steps * kTimerPeriodMs;
    // After a long stall only the place in the cycle matters.
    for (uint32_t i = 0; i < steps % kPulseCycle; ++i) pulseOnce();
    title->update();
}

void CAboutDlg::OnKeyDown(int key)
{
    if (thanksShown_) return;
    switch (key) {
        case Qt::Key_T:
            typed_ = QStringLiteral("T");
            break;
        case Qt::Key_H:
        case Qt::Key_A:
        case Qt::Key_N:
        case Qt::Key_K:
            typed_ += QChar(key);
            break;
        case Qt::Key_S:
            typed_ += QChar(key);
            if (typed_ == QLatin1String("THANKS")) {
                text->setHtml(tr8(str::IDS_ABOUT_THANKS));
                thanksShown_ = true;
            }
            typed_.clear();
            break;
        default:
            typed_.clear();
            break;
    }
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        // A key a widget leaves unhandled goes on to its parents as the same event;
        // it is one key press all the same.
        auto* widget = static_cast<QWidget*>(watched);
        const bool passedUp = event == keyInFlight_ && keyReceiver_ && widget->isAncestorOf(keyReceiver_);
        if (!passedUp) {
            keyInFlight_ = event;
            keyReceiver_ = widget;
            OnKeyDown(static_cast<QKeyEvent*>(event)->key());
        }
    } else if (event->type() == QEvent::KeyRelease) {
        keyInFlight_ = nullptr;
    }
    return CDialogX::eventFilter(watched, event);
}

void CAboutDlg::resizeEvent(QResizeEvent* event)
{
    CDialogX::resizeEvent(event);
    update();
}

void CAboutDlg::done(int result)
{
    timer_.stop();
    CDialogX::done(result);
}

}  // namespace qv
