#pragma once

#include <QString>

#include <functional>
#include <string>
#include <string_view>

// Every byte of the file, in binary. Throws QuorlexError "Cannot open file "%s". %s".
std::string ReadFileBytes(const QString& path);

// Hands the file's bytes to `block` in pieces of at most 64 KiB, in order, until the end or
// until `block` returns false. Throws as ReadFileBytes.
void ReadFileBlocks(const QString& path, const std::function<bool(std::string_view)>& block);

// Writes exactly these bytes; the old file is replaced only once every byte is on disk.
// Throws QuorlexError "Cannot create file "%s". %s".
void WriteFileBytes(const QString& path, std::string_view bytes);

// Removes the file if it is there; silent when it is missing or cannot be removed.
void DeleteFileQuietly(const QString& path);
