# Installs the build into a fresh prefix, checks the package version file and that the
# installed tool runs, then builds and runs a small consumer against the installed library,
# once through find_package(Qorkit) and once through pkg-config.
foreach(var BUILD_DIR WORK_DIR CONSUMER_DIR CXX_COMPILER GENERATOR VERSION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "install_and_consume: ${var} not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "command failed (${rc}): ${ARGN}\n${out}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# 0. The version file: a 0.x release satisfies requests for its own minor version only.
file(GLOB_RECURSE versionfile ${prefix}/*/QorkitConfigVersion.cmake)
function(check_version wanted expected)
    string(REPLACE "." ";" parts ${wanted})
    list(GET parts 0 PACKAGE_FIND_VERSION_MAJOR)
    list(GET parts 1 PACKAGE_FIND_VERSION_MINOR)
    set(PACKAGE_FIND_VERSION ${wanted})
    set(PACKAGE_FIND_VERSION_COUNT 2)
    set(PACKAGE_FIND_VERSION_PATCH 0)
    set(PACKAGE_FIND_VERSION_TWEAK 0)
    include(${versionfile})
    if(NOT "${PACKAGE_VERSION_COMPATIBLE}" STREQUAL "${expected}")
        message(FATAL_ERROR "version ${PACKAGE_VERSION} for a request of ${wanted}: "
                            "compatible '${PACKAGE_VERSION_COMPATIBLE}', expected ${expected}")
    endif()
endfunction()
if(VERSION MATCHES "^0\\.([0-9]+)")
    math(EXPR older "${CMAKE_MATCH_1} - 1")
    math(EXPR newer "${CMAKE_MATCH_1} + 1")
    check_version(0.${CMAKE_MATCH_1} TRUE)
    if(older GREATER_EQUAL 0)
        check_version(0.${older} FALSE)
    endif()
    check_version(0.${newer} FALSE)
endif()

# 1. The installed tool runs from its prefix, without a library search path of its own.
if(TOOL)
    set(ENV{LD_LIBRARY_PATH} "")
    execute_process(COMMAND ${prefix}/bin/qorkit version RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "qorkit ${VERSION}\n")
        message(FATAL_ERROR "installed qorkit does not run (${rc}): ${out}")
    endif()
    message(STATUS "installed tool: ${out}")
endif()

# 2. CMake package.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
execute_process(COMMAND ${WORK_DIR}/cmake-build/consumer RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "qorkit consumer ok")
    message(FATAL_ERROR "find_package consumer failed (${rc}): ${out}")
endif()
message(STATUS "find_package consumer: ${out}")

# 3. pkg-config.
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
    file(GLOB_RECURSE pcfile ${prefix}/*/qorkit.pc)
    get_filename_component(pcdir "${pcfile}" DIRECTORY)
    set(ENV{PKG_CONFIG_PATH} ${pcdir})
    execute_process(COMMAND ${PKG_CONFIG} --cflags --libs qorkit OUTPUT_VARIABLE flags
                    RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pkg-config does not know qorkit")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    separate_arguments(extra UNIX_COMMAND "${CXX_FLAGS} ${LINKER_FLAGS}")
    run(${CXX_COMPILER} ${extra} ${CONSUMER_DIR}/consumer.cpp ${flags}
        -o ${WORK_DIR}/pc-consumer)
    file(GLOB_RECURSE sofile ${prefix}/*/libqorkit.so)
    get_filename_component(sodir "${sofile}" DIRECTORY)
    set(ENV{LD_LIBRARY_PATH} ${sodir})
    execute_process(COMMAND ${WORK_DIR}/pc-consumer RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "qorkit consumer ok")
        message(FATAL_ERROR "pkg-config consumer failed (${rc}): ${out}")
    endif()
    message(STATUS "pkg-config consumer: ${out}")
endif()
