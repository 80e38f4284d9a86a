# The cooperating library the label tests register and have the label load: it lands next to
# the test programs, and test_static is built after it.
add_library(static_coop SHARED ${CMAKE_CURRENT_SOURCE_DIR}/coop/StaticCoop.cpp)
set_target_properties(static_coop PROPERTIES PREFIX "")
target_link_libraries(static_coop PRIVATE user32 kernel32)
cmake_language(DEFER CALL add_dependencies test_static static_coop)
