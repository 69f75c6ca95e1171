#pragma once

#include <QString>

#include <functional>
#include <string_view>

// The program's own working files (the last script, fetched pages, the carrier of a script's
// result, recovery copies) hold what the user typed or fetched: each is written readable by
// the user alone, mode 0600, whatever the umask and whatever mode an older file had.
//
// The pieces `next` hands out, until an empty one, go to a temporary file beside `path` that
// is renamed over it once every byte is written (`sync`: and on the device), so a failure at
// any step leaves the old file as it was. A symbolic link at `path` is followed. Returns 0,
// or the errno of the step that failed.
int WritePrivateFile(const QString& path, const std::function<std::string_view()>& next, bool sync = false);
int WritePrivateFile(const QString& path, std::string_view bytes, bool sync = false);

// As above; a failure throws QuorlexError "Cannot create file "%s". %s" with the system's
// reason for that step.
void WritePrivateFileOrThrow(const QString& path, std::string_view bytes);
