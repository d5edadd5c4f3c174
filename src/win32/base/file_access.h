// Reading a file whole or in blocks and decoding ANSI text: what the
// installer and the release checker both read a release with.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "win32/base/handles.h"

namespace win32 {

// Whole content of a file (path in UTF-8), or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The first `size` bytes of a file (all of it when it is shorter), or nothing
// when it cannot be read.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t size);

// A file read from start to end in blocks of 1 MiB, others kept from writing
// or deleting it meanwhile; its open handle, which goes on keeping them from
// it, or none, with the system's reason in `reason`, when it can't be read to
// its end.
UniqueHandle ReadInBlocks(const std::string& path, const platform::BlockSink& sink,
                          std::string& reason);

// Replaces a file's content completely or not at all: a new file beside it
// takes its place, with the old one's attributes and access list. False, with
// the system's reason in `reason`, when it can't be written.
bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason);

// Writes all the bytes to a file's position; false when the system stops short.
bool WriteAll(HANDLE file, const char* bytes, std::size_t count);

// The files under a folder and its subfolders (not behind a junction), as
// paths relative to it, appended to `files`; false when it can't be read.
bool ListFilesUnder(const std::string& folder, std::vector<std::string>& files);

// The folders above a file, made where they are missing; false, with the
// system's reason in `reason`, when one can't be.
bool MakeFoldersAbove(const std::string& file, std::string& reason);

// Text in the system's ANSI code page, returned as UTF-8.
std::string DecodeAnsiText(std::string_view bytes);

}  // namespace win32
