# The tone synthesis and envelope, checked against a frame-by-frame walk.
quillora_add_test(synthesis_tests LABEL core
  SOURCES synthesis_test.cpp envelope_test.cpp
          synthesis_equivalence_test.cpp literal_synthesis.cpp
  LIBS quillora_sound)

# Its own program: it replaces the global allocation functions, which the
# thread sanitizer's runtime replaces too.
if(NOT QUILLORA_SANITIZE MATCHES "thread")
  quillora_add_test(synthesis_allocation_tests LABEL core
    SOURCES synthesis_allocation_test.cpp
    LIBS quillora_sound)
endif()
