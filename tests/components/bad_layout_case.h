// A layout that must be refused, and how: the line of the fault and a part
// of the message. Shared by the format and the component-loader tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "components/layout_format.h"

namespace quillora::testing_support {

struct BadLayoutCase {
  const char* name;
  std::string_view text;
  int line;
  std::string_view messagePart;
  // Test output names the row, not its bytes.
  friend void PrintTo(const BadLayoutCase& c, std::ostream* os) {
    *os << c.name;
  }
};

// Runs `load` on the case's text and checks the LayoutError it must raise.
inline void ExpectRefused(const BadLayoutCase& c,
                          const std::function<void(std::string_view)>& load) {
  try {
    load(c.text);
    ADD_FAILURE() << "accepted: " << c.text;
  } catch (const LayoutError& error) {
    EXPECT_EQ(error.line(), c.line) << error.what();
    EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos)
        << error.what();
  }
}

inline std::string CaseName(const testing::TestParamInfo<BadLayoutCase>& info) {
  return info.param.name;
}

}  // namespace quillora::testing_support
