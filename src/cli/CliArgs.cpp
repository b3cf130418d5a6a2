#include <algorithm>

#include "cli/Cli.h"

namespace vx::cli {

TArgs::TArgs(std::vector<std::string> args, std::vector<std::string> flagNames) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      std::string name = a.substr(2);
      if (std::find(flagNames.begin(), flagNames.end(), name) != flagNames.end()) {
        Flags_.push_back(name);
      } else if (i + 1 < args.size()) {
        Options_.emplace_back(name, args[++i]);
      } else {
        Error_ = "option --" + name + " needs a value";
      }
    } else {
      Positional_.push_back(a);
    }
  }
}

std::optional<std::string> TArgs::Value(const std::string& name) const {
  for (auto it = Options_.rbegin(); it != Options_.rend(); ++it)
    if (it->first == name) return it->second;
  return std::nullopt;
}

bool TArgs::Flag(const std::string& name) const {
  return std::find(Flags_.begin(), Flags_.end(), name) != Flags_.end();
}

std::vector<std::string> TArgs::Unknown(const std::vector<std::string>& known) const {
  std::vector<std::string> bad;
  auto isKnown = [&](const std::string& n) { return std::find(known.begin(), known.end(), n) != known.end(); };
  for (auto& [n, v] : Options_)
    if (!isKnown(n)) bad.push_back("--" + n);
  for (auto& n : Flags_)
    if (!isKnown(n)) bad.push_back("--" + n);
  return bad;
}

}  // namespace vx::cli
