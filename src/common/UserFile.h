// Writing a file the user named (an image on the command line, "Save
// Image..."). The name is the user's: a symbolic link is written through, a
// device or a pipe is written into, and only a regular file (or a new name)
// is replaced, atomically, so a failure never leaves half a file behind.
//
// Two exceptions follow the kernel's own rules for shared folders: a link in
// a sticky world-writable folder (such as /tmp) is followed only when it
// belongs to the user or to the folder's owner, and a FIFO that no program
// reads is refused at once instead of waiting for a reader forever.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Writes bytes to path. False on any failed write, flush or rename, with
// error naming the file and the system's reason; a temporary file is then
// removed and the previous file (if any) is left as it was.
bool WriteUserFile(const std::string& path, std::string_view bytes, std::string& error);

// Each program calls this first: a pipe whose reader has gone then fails the
// write (reported like any other) instead of ending the whole process and
// the user's unsaved work with it.
void IgnoreBrokenPipes();

}  // namespace vx
