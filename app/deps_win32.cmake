# On Windows the command line's snapshots are encoded as PNG or JPEG by the
# Windows Imaging Component (app/image_encode_win32.cpp).
target_link_libraries(vormelin_app PRIVATE windowscodecs ole32)
