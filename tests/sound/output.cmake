# The sound output: format conversion, the mixer and the silent output need
# no device; the SDL output is tested on SDL's disk driver.
quillora_add_test(sound_output_core_tests LABEL core
  SOURCES pcm_convert_test.cpp sound_mixer_test.cpp silent_output_test.cpp
  LIBS quillora_sound)

if(QUILLORA_SOUND_OUTPUT)
  quillora_add_test(sound_output_sdl_tests LABEL sound
    SOURCES sdl_output_test.cpp
    LIBS quillora_sound_sdl)
endif()
