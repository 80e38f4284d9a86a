# test_golden reads and writes PNGs with stb, compares with the images in tests/golden and puts
# the images of a mismatch into golden-out in the build tree.
cmake_language(DEFER CALL target_include_directories test_golden PRIVATE ${ZNC_STB_INCLUDE_DIR})
cmake_language(DEFER CALL target_compile_definitions test_golden PRIVATE
               ZNC_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden"
               ZNC_GOLDEN_OUT="${CMAKE_BINARY_DIR}/golden-out")
# Its taps and focus changes are desktop-wide: never beside another test program.
cmake_language(DEFER CALL set_tests_properties test_golden PROPERTIES RUN_SERIAL TRUE)
