#pragma once

#include <QString>

// The program's own files.
enum class ProgramFile {
    SettingsIni,    // settings.ini
    ExtractForm,    // extractform.txt: the last extraction script
    Temp,           // temp.txt: the last fetched page
    Temp001,        // temp001.txt: carries a script's result into the document
    Temp002,        // temp002.txt, removed at close
    Temp003,        // temp003.txt, removed at close
    VersionHistory, // versions.txt, read only
    ExtractHelp,    // extract_help.htm, read only
    ExtractHelpTr,  // extract_help_tr.htm: the same page in Turkish, read only
};

// Where `file` is, for this run: the one place that answers it (see FileFolders.h for the
// choice). Outside portable mode the folder of a file the program writes is created, with
// mode 0700, when first asked for; a read-only file comes from the installed data folder when
// it is there, else from the program folder.
QString ProgramFilePath(ProgramFile file);

// Where recovery copies of unsaved documents are kept: the program folder in portable mode,
// else the XDG state folder, created with mode 0700 on first need. Empty when it cannot be made.
QString ProgramStateFolder();
// The same folder whether or not it could be made, and the errno of why not (0: it is there).
struct StateFolder {
    QString path;
    int error = 0;
};
StateFolder ProgramStateFolderStatus();

// Makes `folder` and its missing parents, each private to the user; true when it is there
// afterwards, else false with the errno in `error`.
bool MakePrivateFolder(const QString& folder, int* error = nullptr);

// The part of a path after its last "/".
QString FileNamePart(const QString& path);

// This platform has no short names: the path itself when it names an existing file or
// folder, else the empty text.
QString ToShortPathName(const QString& path);
