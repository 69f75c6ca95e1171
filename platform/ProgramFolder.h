#pragma once

#include <QString>

// The folder the program keeps its own files in: QUORLEX_HOME when set and not empty,
// else the folder of the running executable with symbolic links resolved. No trailing "/".
QString ProgramFolder();

// ProgramFolder() + "/" + name.
QString ProgramFilePath(const QString& name);

// The part of a path after its last "/".
QString FileNamePart(const QString& path);

// This platform has no short names: the path itself when it names an existing file or
// folder, else the empty text.
QString ToShortPathName(const QString& path);
