// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Recent-file lists. CMruFileManager keeps several lists, each with its own first
// command id, settings section, entry name format ("File%d") and filter; a path goes to
// the first list whose filter accepts it. Menus show the entries as "&1 name" with
// names shortened to a maximum length, or one disabled "(None)" item when a list is
// empty. The manager also handles the lists' commands (opening the chosen file).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/cmd_target.h"

class QMenu;

namespace qv {

// Shortens `path` to at most `maxLength` characters the way recent lists show it: the
// whole path when it fits, else the start of the path, "...", and as many trailing
// folders as fit before the file name; the file name alone when even that is too long.
QString AbbreviatePath(const QString& path, int maxLength);

class CRecentFileList {
public:
    using Filter = std::function<bool(const QString&)>;
    CRecentFileList(int firstCommandId, const QString& section, const QString& entryFormat, Filter filter,
                    int maxSize, int maxDisplayLength = 30);

    int firstCommandId() const { return firstId_; }
    const QString& section() const { return section_; }
    int maxSize() const { return maxSize_; }
    int size() const { return static_cast<int>(paths_.size()); }
    const QString& at(int i) const { return paths_.at(i); }
    const QStringList& paths() const { return paths_; }
    bool accepts(const QString& path) const { return filter_ ? filter_(path) : true; }

    // Moves or inserts `path` at the top; the oldest entry drops off beyond the maximum.
    void Add(const QString& path);
    void Remove(int index);
    // The entry name of position `index` (0-based): "File1", "File2", ...
    QString entryName(int index) const;
    void ReadList();
    void WriteList() const;
    // The text shown for entry `index` (shortened, ampersands doubled).
    QString GetDisplayName(int index) const;

private:
    int firstId_;
    QString section_;
    QString format_;
    Filter filter_;
    int maxSize_;
    int maxDisplay_;
    QStringList paths_;
};

// A filter accepting paths that end in `ext` (".flc"), compared without regard to case,
// and are longer than the extension.
CRecentFileList::Filter extensionFilter(const QString& ext);

class CMruFileManager : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    CMruFileManager();
    ~CMruFileManager() override;

    // Adds a list (read from its section at once); returns its index.
    int AddList(int firstCommandId, const QString& section, const QString& entryFormat,
                CRecentFileList::Filter filter, int maxSize, int maxDisplayLength = 30);
    void RemoveAll();
    int listCount() const { return static_cast<int>(lists_.size()); }
    CRecentFileList* list(int index) const;
    // The list whose commands include `id`, or nullptr.
    CRecentFileList* listOfCommand(int id) const;

    // Files `path` into the first list that accepts it (and saves that list). False when
    // no list accepts it.
    bool Add(const QString& path);

    // Opens the file of a chosen entry; an entry whose file fails to open is removed.
    std::function<bool(const QString&)> opener;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

    // Fills `menu` with the entries of list `index`: "&1 name" items, or one disabled
    // "(None)" item. Choosing an item calls `route` with the item's command id.
    void FillMenu(QMenu* menu, int index, const std::function<void(int)>& route) const;

signals:
    void listsChanged();

private:
    std::vector<std::unique_ptr<CRecentFileList>> lists_;
};

}  // namespace qv
