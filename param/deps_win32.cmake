# On Windows the parameterization's sparse LU is Eigen's SparseLU (header-only);
# the u and v systems are solved side by side on two threads (winpthread).
find_package(Threads REQUIRED)
target_include_directories(${name} SYSTEM PRIVATE ${VORMELIN_EIGEN_DIR})
target_link_libraries(${name} PUBLIC Threads::Threads)
