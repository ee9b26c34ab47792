# The embedded window pictures: sizes, pixel format and the keypad's lit keys.
find_package(Qt6 REQUIRED COMPONENTS Gui)
quillora_add_test(resources_tests LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  LIBS quillora_resources Qt6::Gui)
