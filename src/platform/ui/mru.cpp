// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/mru.h"

#include <QAction>
#include <QMenu>

#include "core/strings.h"
#include "platform/ui/profile.h"

namespace qv {

QString AbbreviatePath(const QString& path, int maxLength)
{
    if (path.size() <= maxLength) return path;
    int sep = static_cast<int>(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    const QString name = path.mid(sep + 1);
    if (name.size() > maxLength) return name;
    // The volume: "c:" of "c:\dir\...", nothing for "/dir/...".
    int volume = 0;
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) volume = 2;
    const QString head = path.left(volume);
    const QChar slash = path.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    // head + "\..." + "\name" must fit.
    if (head.size() + 4 + 1 + name.size() > maxLength) return name;
    // Drop leading folders until head + "\..." + rest fits; rest starts with a separator.
    int pos = volume;
    QString rest = path.mid(pos);
    while (head.size() + 4 + rest.size() > maxLength) {
        int next = pos + 1;
        while (next < path.size() && path.at(next) != QLatin1Char('/') && path.at(next) != QLatin1Char('\\')) ++next;
        pos = next;
        rest = path.mid(pos);
    }
    return head + slash + QLatin1String("...") + rest;
}

CRecentFileList::Filter extensionFilter(const QString& ext)
{
    return [ext](const QString& path) { return path.size() > ext.size() && path.endsWith(ext, Qt::CaseInsensitive); };
}

CRecentFileList::CRecentFileList(int firstCommandId, const QString& section, const QString& entryFormat,
                                 Filter filter, int maxSize, int maxDisplayLength)
    : firstId_(firstCommandId),
      section_(section),
      format_(entryFormat),
      filter_(std::move(filter)),
      maxSize_(maxSize < 1 ? 1 : maxSize),
      maxDisplay_(maxDisplayLength)
{
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty()) return;
    for (int i = 0; i < paths_.size(); ++i) {
        if (paths_.at(i).compare(path, Qt::CaseInsensitive) == 0) {
            paths_.removeAt(i);
            break;
        }
    }
    paths_.prepend(path);
    while (paths_.size() > maxSize_) paths_.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < paths_.size()) paths_.removeAt(index);
}

QString CRecentFileList::entryName(int index) const
{
    return QString::fromStdString(formatMessage(format_.toStdString(), {index + 1}));
}

void CRecentFileList::ReadList()
{
    paths_.clear();
    for (int i = 0; i < maxSize_; ++i) {
        const QString p = GetProfileString(section_, entryName(i));
        if (!p.isEmpty() && !paths_.contains(p, Qt::CaseInsensitive)) paths_.append(p);
    }
}

void CRecentFileList::WriteList() const
{
    // Entries beyond the list (a larger maximum of an earlier run) are kept, so that
    // lowering "Max MRU" and raising it again loses nothing, as the lists always did.
    for (int i = 0; i < paths_.size(); ++i) WriteProfileString(section_, entryName(i), paths_.at(i));
}

QString CRecentFileList::GetDisplayName(int index) const
{
    QString name = AbbreviatePath(paths_.at(index), maxDisplay_);
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return name;
}

CMruFileManager::CMruFileManager() = default;
CMruFileManager::~CMruFileManager() = default;

int CMruFileManager::AddList(int firstCommandId, const QString& section, const QString& entryFormat,
                             CRecentFileList::Filter filter, int maxSize, int maxDisplayLength)
{
    lists_.push_back(std::make_unique<CRecentFileList>(firstCommandId, section, entryFormat, std::move(filter),
                                                       maxSize, maxDisplayLength));
    lists_.back()->ReadList();
    emit listsChanged();
    return static_cast<int>(lists_.size()) - 1;
}

void CMruFileManager::RemoveAll()
{
    lists_.clear();
    emit listsChanged();
}

CRecentFileList* CMruFileManager::list(int index) const
{
    return index >= 0 && index < static_cast<int>(lists_.size()) ? lists_[index].get() : nullptr;
}

CRecentFileList* CMruFileManager::listOfCommand(int id) const
{
    for (const auto& l : lists_)
        if (id >= l->firstCommandId() && id < l->firstCommandId() + l->maxSize()) return l.get();
    return nullptr;
}

bool CMruFileManager::Add(const QString& path)
{
    for (const auto& l : lists_) {
        if (l->accepts(path)) {
            l->Add(path);
            l->WriteList();
            emit listsChanged();
            return true;
        }
    }
    return false;
}

bool CMruFileManager::OnCommand(int id)
{
    CRecentFileList* l = listOfCommand(id);
    if (!l) return false;
    const int index = id - l->firstCommandId();
    if (index >= l->size()) return true;
    const QString path = l->at(index);
    if (opener && !opener(path)) {
        // The file is gone or refused: forget it. (A file that was opened again has
        // been moved to the top by then; find it by name.)
        const int now = static_cast<int>(l->paths().indexOf(path));
        if (now >= 0) {
            l->Remove(now);
            l->WriteList();
            RemoveProfileValue(l->section(), l->entryName(l->size()));
        }
        emit listsChanged();
    }
    return true;
}

bool CMruFileManager::OnUpdateCommand(int id, CCmdUI& ui)
{
    CRecentFileList* l = listOfCommand(id);
    if (!l) return false;
    ui.Enable(id - l->firstCommandId() < l->size());
    return true;
}

void CMruFileManager::FillMenu(QMenu* menu, int index, const std::function<void(int)>& route) const
{
    menu->clear();
    CRecentFileList* l = list(index);
    if (!l || l->size() == 0) {
        QAction* none = menu->addAction(QString::fromUtf8(str::IDS_MRU_NONE));
        none->setData(l ? l->firstCommandId() : 0);
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < l->size(); ++i) {
        const int id = l->firstCommandId() + i;
        // Entries 1 to 9 and 10 get a keyboard mnemonic, later ones none.
        const char* format = i < 9 ? str::IDS_MRU_ENTRY : (i == 9 ? str::IDS_MRU_ENTRY_10 : str::IDS_MRU_ENTRY_PLAIN);
        const std::string name = l->GetDisplayName(i).toStdString();
        QAction* a = menu->addAction(QString::fromStdString(
            i == 9 ? formatMessage(format, {name}) : formatMessage(format, {i + 1, name})));
        a->setData(id);
        a->setToolTip(l->at(i));
        a->setStatusTip(l->at(i));
        QObject::connect(a, &QAction::triggered, menu, [route, id] {
            if (route) route(id);
        });
    }
}

}  // namespace qv
