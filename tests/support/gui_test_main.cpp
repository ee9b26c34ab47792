// main() of the widget tests: one application for the test program, on Qt's
// offscreen platform unless another is asked for, with error boxes recorded
// by the tests instead of shown.
#include <gtest/gtest.h>

#include <cstdlib>

#include "toolkit/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  setenv("QTEST_FUNCTION_TIMEOUT", "30000", 0);
  quillora::TApplication application(argc, argv);
  application.SetTitle("Quillora (ZIDIZ Edition)");
  application.SetErrorBox(
      [](const std::string& caption, const std::string& text) {
        ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
      });
  return RUN_ALL_TESTS();
}
