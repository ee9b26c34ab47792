quillora_add_test(toolkit_widget_tests LABEL gui
  SOURCES widgets_test.cpp
  LIBS quillora_toolkit)
