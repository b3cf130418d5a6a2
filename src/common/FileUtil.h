// Whole-file reading and crash-safe writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The whole file, or nothing when it cannot be opened or read, or when it
// holds more than maxBytes. The programs' readers give each kind of file its
// own bound, in proportion to real files of that kind, so that a device or a
// huge file given by mistake fails at once instead of filling the memory;
// the default serves tools and tests.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = size_t(256) << 20);

// Writes the bytes as a new file (created or replaced). The data go to a
// temporary name beside the target first, reach the disk, and are renamed
// over it, so a crash or a full disk never leaves a half-written file under
// the real name. As WriteUserFile (common/UserFile.h), which it is, without
// the message: links are written through, devices and pipes into, and a
// replaced file keeps its permissions.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// The two steps of WriteFileAtomic for callers that rename later themselves
// (several files replaced together). A name beside path that no other
// writer of this process uses; tag says what kind of file it is.
std::string TemporaryNameBeside(const std::string& path, std::string_view tag);
// Creates or truncates the file and writes the bytes through to the disk.
// 0, or the errno value of the step that failed.
int WriteDurably(const std::string& path, std::string_view bytes);

// Writes in place (created or replaced), for files another program opens by
// name and where a rename is not wanted (decks for the outside program).
bool WriteWholeFile(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);  // an ordinary file
bool DirectoryExists(const std::string& path);
bool MakeDirectories(const std::string& path);  // every missing parent too
bool RemoveFile(const std::string& path);
bool CopyFileReplace(const std::string& from, const std::string& to);

// "a/b/" + "c" with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);
// The folder part with its trailing separator ("" when there is none).
std::string FolderOf(std::string_view path);

}  // namespace vx
