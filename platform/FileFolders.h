#pragma once

#include <QString>

#include <functional>

// Which folder serves each kind of the program's own files. Decided from the executable's
// folder, the environment and whether that folder is writable, without touching the disk.
struct FileFolders {
    bool portable = false;
    QString config;   // files the program writes and keeps (settings.ini, extractform.txt)
    QString cache;    // working files (temp.txt ... temp003.txt)
    QString state;    // recovery copies of unsaved documents
    QString data;     // installed read-only files, looked for first
    QString fallback; // read-only files next: the program folder
};

// A variable of the environment; empty when unset.
using EnvironmentLookup = std::function<QString(const char* name)>;

// Portable (one folder for everything) when QUORLEX_HOME is set and not empty, or when the
// executable's folder is writable and is not a system folder; otherwise the XDG base
// directories. No path ends in "/".
FileFolders ChooseFileFolders(const QString& executableFolder, const EnvironmentLookup& env,
                              bool executableFolderWritable);
