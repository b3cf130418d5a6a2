// vantor-cli: the headless front end. Each subcommand lives in a file of its
// own and gets the arguments after its name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vx::cli {

// Options of the form --name VALUE or --flag, in any order, plus positional
// arguments. Unknown options are reported by the subcommand.
class TArgs {
 public:
  TArgs(std::vector<std::string> args, std::vector<std::string> flagNames);
  std::optional<std::string> Value(const std::string& name) const;
  bool Flag(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return Positional_; }
  // Options that were given but not in the known list; empty when all known.
  std::vector<std::string> Unknown(const std::vector<std::string>& known) const;
  const std::string& Error() const { return Error_; }

 private:
  std::vector<std::pair<std::string, std::string>> Options_;
  std::vector<std::string> Flags_;
  std::vector<std::string> Positional_;
  std::string Error_;
};

int CliPredict(const std::vector<std::string>& args);
int CliArea(const std::vector<std::string>& args);
int CliChart(const std::vector<std::string>& args);
int CliLookup(const std::vector<std::string>& args);
int CliServe(const std::vector<std::string>& args);
int CliPrecompute(const std::vector<std::string>& args);

}  // namespace vx::cli
