// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/information_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/file_io.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"

namespace qv {

namespace {
const QString kSection = QStringLiteral("Dlg Info");
const QString kLastOpend = QStringLiteral("Last Opend");
}  // namespace

CInformationDlg::CInformationDlg(const QString& title, Kind kind, const QString& header, const QString& text,
                                 QWidget* parent)
    : CDialogX(kSection, parent, true), header_(header), text_(text)
{
    if (!title.isEmpty()) setWindowTitle(title);
    const QStyle::StandardPixmap icon = kind == kExclamation ? QStyle::SP_MessageBoxWarning
                                        : kind == kStop      ? QStyle::SP_MessageBoxCritical
                                                             : QStyle::SP_MessageBoxInformation;
    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("icon"));
    iconLabel->setPixmap(style()->standardIcon(icon).pixmap(32, 32));
    auto* headerLabel = new QLabel(header, this);
    headerLabel->setObjectName(QStringLiteral("header"));
    QFont bold = headerLabel->font();
    bold.setBold(true);
    bold.setPointSize(14);
    headerLabel->setFont(bold);
    headerLabel->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));
    auto* top = new QHBoxLayout;
    top->addWidget(iconLabel);
    top->addWidget(headerLabel, 1);

    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("text"));
    box->setReadOnly(true);
    box->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* save = buttons->addButton(QString::fromUtf8(str::IDS_INFO_DLG_SAVE), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("save"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(save, &QPushButton::clicked, this, [this] { Save(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box, 1);
    layout->addWidget(buttons);
    resize(460, 320);
}

bool CInformationDlg::Save()
{
    try {
        const QString last = GetProfileString(kSection, kLastOpend);
        CFileDialogX dlg(false, QStringLiteral("txt"),
                         uIsFileExist(last) ? last : QString::fromUtf8(str::IDS_INFO_DLG_DEFAULT_NAME),
                         OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, QString::fromUtf8(str::IDS_INFO_DLG_SAVE_FILTER), this);
        dlg.title = QString::fromUtf8(str::IDS_INFO_DLG_SAVE_TITLE);
        if (uIsFileExist(last)) dlg.initialPath = last;
        if (dlg.DoModal() != IDOK) return false;
        const QString path = dlg.GetPathName();
        WriteProfileString(kSection, kLastOpend, path);
        const QByteArray bytes = (header_ + QStringLiteral("\r\n\r\n") + text_).toLocal8Bit();
        if (!writeFileAtomic(QFile::encodeName(path).toStdString(), reinterpret_cast<const uint8_t*>(bytes.constData()),
                             static_cast<size_t>(bytes.size()))) {
            AfxMessageBox(uFormatString(str::IDS_CLI_FLC_CANNOT_WRITE, {path.toStdString()}), MB_ICONERROR);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CInformationDlg::Save"}), MB_ICONERROR);
        return false;
    }
}

}  // namespace qv
