#include "com/ServiceFile.h"

#include <cctype>
#include <string_view>

#include "com/BusNames.h"
#include "common/FileUtil.h"
#include "common/Paths.h"

namespace vx {

namespace {

bool PlainWord(const std::string& w) {
  if (w.empty()) return false;
  for (unsigned char c : w)
    if (!(std::isalnum(c) || std::string_view("_-./=:,+@%").find(char(c)) != std::string_view::npos)) return false;
  return true;
}

// The bus splits Exec lines as a shell would: single quotes keep everything
// but a single quote, which is closed, escaped and reopened.
std::string QuoteWord(const std::string& w) {
  if (PlainWord(w)) return w;
  std::string out = "'";
  for (char c : w) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string ActivationFileText(const std::string& busName, const std::vector<std::string>& command) {
  std::string exec;
  for (const std::string& w : command) {
    if (w.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return {};
    exec += (exec.empty() ? "" : " ") + QuoteWord(w);
  }
  return "[D-BUS Service]\nName=" + busName + "\nExec=" + exec + "\n";
}

std::string UserActivationFile(const std::string& busName) {
  return DataHomeFolder() + "dbus-1/services/" + busName + ".service";
}

bool RegisterActivation(const std::string& program, std::string& error) {
  const std::string text = ActivationFileText(kVantorBusName, {program, "--automation"});
  const std::string file = UserActivationFile(kVantorBusName);
  if (text.empty()) {
    error = "The program's path cannot be written into " + file;
    return false;
  }
  if (!MakeDirectories(FolderOf(file)) || !WriteFileAtomic(file, text)) {
    error = "Cannot write " + file;
    return false;
  }
  return true;
}

bool UnregisterActivation(std::string& error) {
  const std::string file = UserActivationFile(kVantorBusName);
  if (FileExists(file) && !RemoveFile(file)) {
    error = "Cannot remove " + file;
    return false;
  }
  return true;
}

}  // namespace vx
