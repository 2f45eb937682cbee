// The folder verb where a Linux user looks for it: "Uruchom Morvin NG" as a
// file-manager action on folders, through a KDE service menu (Dolphin's
// context menu) and a Nemo action, under the user's data folder. None of them
// is an application for inode/directory, so the program opening folders stays
// the one the user had.
#pragma once

#include <QString>
#include <QStringList>

namespace morvin::desktop {

// The files the action consists of, under $XDG_DATA_HOME (~/.local/share).
QStringList FolderActionFiles();

// Installs the action starting `executable` (rewriting it with this path) or
// removes it. Only the program working on the user's own machine (the default
// machine folder) touches the user's file managers; a program started on a
// throw-away machine, a test's for one, leaves them alone. No-op off Linux.
void SetFolderAction(bool enabled, const QString& executable);

// The same without the machine check.
void InstallFolderAction(const QString& executable);
void RemoveFolderAction();

// `path` as one argument of a desktop entry's Exec key, quoted and escaped.
QString DesktopExecArgument(const QString& path);

}  // namespace morvin::desktop
