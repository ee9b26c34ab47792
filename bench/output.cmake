# Start-up latency of the SDL sound output on SDL's dummy and disk drivers;
# a program that prints its figures.
if(QUILLORA_SOUND_OUTPUT)
  add_executable(sound_output_latency sound_output_latency.cpp)
  target_link_libraries(sound_output_latency PRIVATE quillora_sound_sdl)
endif()
