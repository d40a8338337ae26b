# The release number reaches the code through one generated header,
# vormelin_version.h, visible to every target defined after this include.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
  ${PROJECT_BINARY_DIR}/generated/vormelin_version.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)
