# The parameterization's sparse LU (SuiteSparse UMFPACK) and the threads that
# solve the u and v systems side by side.
find_package(Threads REQUIRED)
find_path(UMFPACK_INCLUDE_DIR umfpack.h PATH_SUFFIXES suitesparse REQUIRED)
find_library(UMFPACK_LIBRARY umfpack REQUIRED)
find_library(AMD_LIBRARY amd REQUIRED)
find_library(SUITESPARSECONFIG_LIBRARY suitesparseconfig REQUIRED)
target_include_directories(${name} PRIVATE ${UMFPACK_INCLUDE_DIR})
target_link_libraries(${name} PUBLIC ${UMFPACK_LIBRARY} ${AMD_LIBRARY} ${SUITESPARSECONFIG_LIBRARY} Threads::Threads)
