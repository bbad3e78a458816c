# Builds one consumer project and runs it on an example, as a ctest test:
#   cmake -DMODE=find-package|subdirectory -DSOURCE=<kestro source> -DBINARY=<kestro build>
#         -DWORK=<scratch folder> -DEXAMPLE=<input> [-DLAUNCHER=<compiler launcher>] -P RunConsumer.cmake
# find-package first installs the build tree into WORK/prefix with cmake --install.
cmake_minimum_required(VERSION 3.20)

function(step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "step failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/run)
# Debug: the subproject compiles the whole engine, and quickest without optimisation.
set(configure ${CMAKE_COMMAND} -S ${SOURCE}/tests/consumer/${MODE} -B ${WORK}/build -DCMAKE_BUILD_TYPE=Debug)
if(LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
if(MODE STREQUAL "find-package")
  step(${CMAKE_COMMAND} --install ${BINARY} --prefix ${WORK}/prefix)
  foreach(f lib/libkestro.so.6 include/kestro/kgo.h bin/kestro lib/cmake/Kestro/KestroConfig.cmake
            lib/pkgconfig/kestro.pc)
    if(NOT EXISTS ${WORK}/prefix/${f})
      message(FATAL_ERROR "not installed: ${f}")
    endif()
  endforeach()
  list(APPEND configure -DCMAKE_PREFIX_PATH=${WORK}/prefix)
else()
  # The subproject builds only the library and the command, not Kestro's tests.
  list(APPEND configure -DKESTRO_SOURCE_DIR=${SOURCE})
endif()
step(${configure})
step(${CMAKE_COMMAND} --build ${WORK}/build -j 2)
# The consumer reads NAMES.DAT from its working directory.
execute_process(COMMAND ${WORK}/build/kestro_consumer ${EXAMPLE} WORKING_DIRECTORY ${WORK}/run
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer did not end normally (${rc})")
endif()
if(MODE STREQUAL "find-package")
  # The pkg-config file gives the compiler and linker flags.
  find_program(PKG_CONFIG pkg-config)
  find_program(CXX NAMES c++ g++)
  if(PKG_CONFIG AND CXX)
    set(ENV{PKG_CONFIG_PATH} ${WORK}/prefix/lib/pkgconfig)
    execute_process(COMMAND ${PKG_CONFIG} --cflags --libs kestro RESULT_VARIABLE rc OUTPUT_VARIABLE flags
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0 OR NOT flags MATCHES "-lkestro")
      message(FATAL_ERROR "pkg-config does not know kestro: ${rc} ${flags}")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    step(${CXX} ${SOURCE}/tests/consumer/main.cpp ${flags} -o ${WORK}/pkgconfig-consumer)
    file(MAKE_DIRECTORY ${WORK}/run-pc)
    # No library path: the pkg-config flags record the library's folder as
    # the program's run path.
    unset(ENV{LD_LIBRARY_PATH})
    execute_process(COMMAND ${WORK}/pkgconfig-consumer ${EXAMPLE} WORKING_DIRECTORY ${WORK}/run-pc RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "the consumer built with pkg-config did not end normally (${rc})")
    endif()
  endif()
  # The installed command finds the installed library by its run path.
  execute_process(COMMAND ${WORK}/prefix/bin/kestro --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^kestro ")
    message(FATAL_ERROR "the installed kestro command does not run: ${rc} ${out}")
  endif()
endif()
