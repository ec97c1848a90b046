# Installs the built library into a fresh prefix, then builds and runs a small consumer
# against the installed copy, once through find_package(Qorkit) and once through pkg-config.
foreach(var BUILD_DIR WORK_DIR CONSUMER_DIR CXX_COMPILER GENERATOR)
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

# 1. CMake package.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
execute_process(COMMAND ${WORK_DIR}/cmake-build/consumer RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "qorkit consumer ok")
    message(FATAL_ERROR "find_package consumer failed (${rc}): ${out}")
endif()
message(STATUS "find_package consumer: ${out}")

# 2. pkg-config.
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
