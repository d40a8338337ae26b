# The Windows build's own choices, included by the top-level CMakeLists.txt
# when cross-compiling with cmake/toolchain-mingw64.cmake.
#   GL and GLU        the system's opengl32 and glu32 (MinGW's import libraries)
#   JPEG decoding     the Windows Imaging Component (texture/jpeg_decode_win32.cpp)
#   PNG writing       the Windows Imaging Component (platform/win32/png_wic.cpp)
#   sparse LU         Eigen's SparseLU, header-only (param/lu_solve_win32.cpp)
#   window, dialogs   Win32 (platform/win32)
# Resource scripts (the program file's icon).
enable_language(RC)

set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED)
if(NOT TARGET OpenGL::GLU)
  add_library(OpenGL::GLU INTERFACE IMPORTED)
  set_target_properties(OpenGL::GLU PROPERTIES INTERFACE_LINK_LIBRARIES glu32)
endif()

# The header-only Eigen of the build machine (Debian's libeigen3-dev): only
# its headers are used, so it is taken from the host even when cross-compiling.
find_path(VORMELIN_EIGEN_DIR Eigen/SparseLU PATHS /usr/include/eigen3 NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Sources that need what only Linux has; each has a *_win32.cpp twin or no Windows use.
set(VORMELIN_LINUX_ONLY_SOURCES
  ${CMAKE_SOURCE_DIR}/base/file_system_posix.cpp
  ${CMAKE_SOURCE_DIR}/texture/jpeg_decode.cpp
  ${CMAKE_SOURCE_DIR}/param/lu_solve.cpp
  ${CMAKE_SOURCE_DIR}/app/image_encode.cpp)

# Unicode Win32 calls (the W forms) everywhere; no min/max macros; M_PI and its kin.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _USE_MATH_DEFINES)

# The Linux build's optimisation level (-O2), so that both compile the same
# arithmetic alike; GCC's -O3 also warns falsely on the output buffers.
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
string(REPLACE "-O3" "-O2" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")

# The benchmarks measure the Linux build; the Windows build has none.
set(VORMELIN_BENCH OFF)
