# The fuzzing program's shared pieces and its native-twin comparison, added to test_fuzz once
# the test programs exist.
set(ZNC_FUZZ_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzKit.cpp ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/Twins.cpp)
cmake_language(DEFER CALL target_sources test_fuzz PRIVATE ${ZNC_FUZZ_SOURCES})
