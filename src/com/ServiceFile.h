// The bus's activation file for Vantor: with it installed, a client that
// calls net.vexmoor.Vantor while no Vantor runs has the bus start one (with
// --automation, so that it keeps its window hidden).
#pragma once

#include <string>
#include <vector>

namespace vx {

// "[D-BUS Service]", the name, and the command as an Exec line whose words
// are quoted as the bus reads them. Empty when a word holds a line break or
// a NUL, which an Exec line cannot carry.
std::string ActivationFileText(const std::string& busName, const std::vector<std::string>& command);

// The user's activation file of a name:
// $XDG_DATA_HOME/dbus-1/services/<busName>.service.
std::string UserActivationFile(const std::string& busName);

// Writes (replaces) or removes the user's activation file of Vantor with
// program --automation as its command. False, with the reason in error,
// when that fails; removing a file that is not there succeeds.
bool RegisterActivation(const std::string& program, std::string& error);
bool UnregisterActivation(std::string& error);

}  // namespace vx
