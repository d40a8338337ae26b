# The command line writes its snapshots as PNG or JPEG images.
find_package(PNG REQUIRED)
target_link_libraries(vormelin_app PRIVATE PNG::PNG JPEG::JPEG)
