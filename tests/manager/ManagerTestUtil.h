// Helpers shared by the manager tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/FileUtil.h"
#include "manager/JobUi.h"

namespace vx::test {

// A fresh empty folder per test, with a trailing "/".
inline std::string FreshFolder(const std::string& tag) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string f = testing::TempDir() + "kx-" + tag + "-" + info->test_suite_name() + "-" + info->name() + "/";
  std::error_code ec;
  std::filesystem::remove_all(f, ec);
  MakeDirectories(f);
  return f;
}

inline std::string Slurp(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

class TRecordingUi : public TJobUi {
 public:
  std::vector<std::string> Statuses, Messages, Errors;
  std::vector<TStatusColour> Colours;  // of each status
  void Status(std::string_view t, TStatusColour c) override {
    Statuses.emplace_back(t);
    Colours.push_back(c);
  }
  void Information(std::string_view t) override { Messages.emplace_back(t); }
  void Error(std::string_view t) override { Errors.emplace_back(t); }
};

}  // namespace vx::test
