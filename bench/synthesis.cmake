# The tone synthesis on the longest tones, against a plain fill of the same
# bytes and against sox making the same tone. Run: build/bench/synthesis_bench
add_executable(synthesis_bench synthesis_bench.cpp)
target_link_libraries(synthesis_bench PRIVATE quillora_sound benchmark::benchmark)
