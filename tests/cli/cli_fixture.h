// The companion as its tests run it: in the process, with standard input
// given as text, in a scratch folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"

namespace quillora::testing_support {

struct CliRun {
  int status;
  std::string out, err;
};

class CliFixture : public testing::Test {
 protected:
  CliFixture() {
    std::string pattern = testing::TempDir() + "quillora_cli_XXXXXX";
    folder_ = mkdtemp(pattern.data());
  }
  ~CliFixture() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static CliRun Run(std::vector<std::string> args,
                    const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
  }

  // The full name of `name` in the scratch folder.
  std::string Path(const char* name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

}  // namespace quillora::testing_support
