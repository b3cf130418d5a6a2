// Writing a file the user named (an image on the command line, "Save
// Image..."). The name is the user's: a symbolic link is written through, a
// device or a pipe is written into, and only a regular file (or a new name)
// is replaced, atomically, so a failure never leaves half a file behind.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Writes bytes to path. False on any failed write, flush or rename, with
// error naming the file and the system's reason; a temporary file is then
// removed and the previous file (if any) is left as it was.
bool WriteUserFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace vx
