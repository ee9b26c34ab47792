find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(quillora_toolkit STATIC
  application.cpp
  control.cpp
  form.cpp
  image.cpp
  label.cpp
  speed_button.cpp
  memo.cpp
  check_box.cpp
  timer.cpp
  gauge.cpp
  file_dialog.cpp
  toolkit_classes.cpp
)
target_link_libraries(quillora_toolkit PUBLIC quillora_toolkit_core Qt6::Widgets)
