quillora_add_test(tone_generator_tests LABEL core
  SOURCES note_frequency_test.cpp tone_gen_test.cpp
  LIBS quillora_sound)
