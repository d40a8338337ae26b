# The command line writes its snapshots as PNG images.
find_package(PNG REQUIRED)
target_link_libraries(vormelin_app PRIVATE PNG::PNG)
