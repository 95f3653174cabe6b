// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/flc_info_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/file_io.h"
#include "core/info_report.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg FlcInfo");
const QString kLastOpend = QStringLiteral("Last Opend");

QString u8(const char* s) { return QString::fromUtf8(s); }
QString u8(const std::string& s) { return QString::fromStdString(s); }
QString num(long long v) { return QString::number(v); }
// Positions and sizes are shown as signed 32-bit numbers, as the report prints them.
QString signed32(uint32_t v) { return num(static_cast<int32_t>(v)); }

QTreeWidget* makeList(QWidget* parent, const QString& name, const QStringList& columns, const QList<int>& widths)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The widths the user left last time.
    const QStringList kept = GetProfileString(kSection, name + QStringLiteral(" Columns")).split(QLatin1Char(','));
    for (int i = 0; i < widths.size(); ++i) {
        bool ok = false;
        const int w = i < kept.size() ? kept.at(i).toInt(&ok) : 0;
        list->setColumnWidth(i, ok && w > 8 ? w : widths.at(i));
    }
    return list;
}

void keepColumnWidths(QTreeWidget* list)
{
    QStringList widths;
    for (int i = 0; i < list->columnCount(); ++i) widths << QString::number(list->columnWidth(i));
    WriteProfileString(kSection, list->objectName() + QStringLiteral(" Columns"), widths.join(QLatin1Char(',')));
}

}  // namespace

CFlcInfoDlg::CFlcInfoDlg(const QString& path, const FlcHeader& header, const std::vector<FlcFrameInfo>& records,
                         QWidget* parent)
    : CDialogX(kSection, parent), path_(path), header_(header), records_(records)
{
    setWindowTitle(u8(str::IDS_INFO_DLG_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* pathRow = new QHBoxLayout;
    auto* pathEdit = new QLineEdit(path, this);
    pathEdit->setObjectName(QStringLiteral("path"));
    pathEdit->setReadOnly(true);
    pathRow->addWidget(new QLabel(u8(str::IDS_INFO_DLG_FILE_PATH), this));
    pathRow->addWidget(pathEdit, 1);
    layout->addLayout(pathRow);

    auto* tabs = new QTabWidget(this);
    general_ = makeList(tabs, QStringLiteral("General"), {u8(str::IDS_INFO_COL_PROPERTY), u8(str::IDS_INFO_COL_VALUE)},
                        {150, 100});
    extended_ = makeList(tabs, QStringLiteral("Extended"),
                         {u8(str::IDS_INFO_COL_FRAME_CHUNK), u8(str::IDS_INFO_COL_NOTE), u8(str::IDS_INFO_COL_START),
                          u8(str::IDS_INFO_COL_SIZE)},
                         {150, 100, 100, 100});
    extended_->setRootIsDecorated(true);
    tabs->addTab(general_, u8(str::IDS_INFO_DLG_GENERAL));
    tabs->addTab(extended_, u8(str::IDS_INFO_DLG_EXTENDED));
    layout->addWidget(tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* save = buttons->addButton(u8(str::IDS_INFO_DLG_SAVE), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("save"));
    save->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(save, &QPushButton::clicked, this, [this] { saveReport(); });
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { copyReport(); });
    resize(520, 420);
    fillLists();
}

CFlcInfoDlg::~CFlcInfoDlg() = default;

void CFlcInfoDlg::fillLists()
{
    for (const auto& row : flcGeneralInfo(QFile::encodeName(path_).toStdString(), header_))
        new QTreeWidgetItem(general_, {u8(row.first), QFile::decodeName(QByteArray::fromStdString(row.second))});
    for (size_t i = 0; i < records_.size(); ++i) {
        const FlcFrameInfo& r = records_[i];
        auto* frame = new QTreeWidgetItem(
            extended_, {u8(formatMessage(str::IDS_INFO_ROW_FRAME, {int(i)})),
                        u8(formatMessage(str::IDS_INFO_ROW_FRAME_NOTE, {int(r.chunkCount)})), signed32(r.position), signed32(r.size)});
        const size_t n = std::min<size_t>(r.chunkCount, r.chunks.size());
        for (size_t j = 0; j < n; ++j) {
            const FlcChunkInfo& c = r.chunks[j];
            new QTreeWidgetItem(frame, {u8(formatMessage(str::IDS_INFO_ROW_CHUNK, {int(j)})), u8(chunkKindName(c.kind)),
                                        signed32(c.position), signed32(c.size)});
        }
    }
    extended_->expandAll();
}

std::string CFlcInfoDlg::reportText() const
{
    return flcInfoReport(QFile::encodeName(path_).toStdString(), header_, records_);
}

void CFlcInfoDlg::copyReport()
{
    QApplication::clipboard()->setText(QString::fromLocal8Bit(QByteArray::fromStdString(reportText())));
}

bool CFlcInfoDlg::saveReport()
{
    try {
        CFileDialogX dlg(false, {}, u8(str::IDS_INFO_SAVE_NAME), OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                         u8(str::IDS_INFO_SAVE_FILTER), this);
        const QString last = GetProfileString(kSection, kLastOpend);
        dlg.initialPath = !last.isEmpty() && QFileInfo(last).isFile()
                              ? last
                              : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (dlg.DoModal() != IDOK) return false;
        const QString target = dlg.GetPathName();
        WriteProfileString(kSection, kLastOpend, target);
        const std::string text = reportText();
        const std::string local = QFile::encodeName(target).toStdString();
        if (!writeFileAtomic(local, reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
            AfxMessageBox(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {local}), MB_ICONSTOP);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcInfoDlg::OnSave"}), MB_ICONERROR);
        return false;
    }
}

void CFlcInfoDlg::done(int result)
{
    keepColumnWidths(general_);
    keepColumnWidths(extended_);
    CDialogX::done(result);
}

}  // namespace qv
