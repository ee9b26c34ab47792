# The sound output on SDL's audio. The format conversion and the mixer it
# uses live in quillora_sound, so that builds without SDL still test them.
find_package(SDL2 REQUIRED)

add_library(quillora_sound_sdl STATIC sdl_sound_output.cpp)
target_link_libraries(quillora_sound_sdl PUBLIC quillora_sound PRIVATE SDL2::SDL2)
