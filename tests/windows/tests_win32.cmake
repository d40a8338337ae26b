# The unit tests of the Windows build, run by CTest through Wine
# (CMAKE_CROSSCOMPILING_EMULATOR, cmake/toolchain-mingw64.cmake).
# GoogleTest comes from Debian's googletest sources, built with the cross compiler.
set(VORMELIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built for Windows")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORMELIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The helpers the chosen tests need; the EGL context helper is Linux's.
add_library(vormelin_test_support STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/support/empty.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/mesh_builder.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/store_invariants.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/subdivision_oracle.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/topology_oracle.cpp)
target_include_directories(vormelin_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vormelin_test_support PUBLIC vormelin_logic vormelin_platform_script GTest::gtest)
target_compile_definitions(vormelin_test_support PUBLIC
  TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
  SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# Every test of the core, and the JPEG decoding; not the drawing, the
# application's (both need a GL context) nor offconvert's (it drives a shell).
file(GLOB test_srcs CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/model/*_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/param/*_test.cpp)
# Left out: the file tests make their folders with POSIX calls (the portable
# file calls have a test of their own here), the cut tests draw their picks
# in a GL context, and the parameterization oracle reads Eigen as a system header.
list(REMOVE_ITEM test_srcs
  ${CMAKE_CURRENT_SOURCE_DIR}/model/off_open_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/off_save_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/robust_off_inputs_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/cutting_cases_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/cutting_modes_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/cutting_oracle_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/param/parameterize_oracle_test.cpp)
list(APPEND test_srcs
  ${CMAKE_CURRENT_SOURCE_DIR}/texture/jpeg_decode_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/file_system_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/jpeg_wic_test.cpp)
# Cases that hold only on Linux: two parse tests open their file in the C
# runtime's text mode (Windows turns CR LF into LF there; the reader itself
# opens in binary), and the JPEG case expects the Linux decoder's own message.
set(linux_only_cases "OffParseTest.MatchesTheLiteralReaderOnRandomFiles:OffParseTest.FilesReadThroughTheWindowGiveWhatMemoryGives")
foreach(src ${test_srcs})
  get_filename_component(name ${src} NAME_WE)
  get_filename_component(area ${src} DIRECTORY)
  get_filename_component(area ${area} NAME)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vormelin_test_support GTest::gtest_main GTest::gmock)
  # Listing the tests starts Wine once per program: generous, and at test time.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${area}
    EXTRA_ARGS --gtest_filter=-${linux_only_cases})
endforeach()
