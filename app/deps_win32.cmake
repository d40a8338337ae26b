# On Windows the command line's snapshots are encoded as PNG by the Windows
# Imaging Component, behind the small part of the PNG library's interface
# that snapshot.cpp uses (platform/win32/png_shim).
target_include_directories(vormelin_app PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/png_shim)
target_link_libraries(vormelin_app PRIVATE windowscodecs ole32)
