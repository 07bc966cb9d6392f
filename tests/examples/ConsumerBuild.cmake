# Run by ctest through "cmake -P": installs the framework built in BUILD_DIR into WORK_DIR/prefix,
# configures and builds the CONSUMER project against it with TOOLCHAIN, and runs TEST_PROGRAM's hello
# test (through RUNNER) on the hello that project built. Then configures a project that adds the
# framework's SOURCE_DIR as a subdirectory: only the framework may be part of it.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

# Each step's output goes to a file (a Wine program must not write into a pipe) and is shown on failure.
function(step name)
  set(log ${WORK_DIR}/${name}.log)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_FILE ${log} ERROR_FILE ${log})
  if(NOT code EQUAL 0)
    file(READ ${log} output)
    message(FATAL_ERROR "${name} failed (${code}):\n${output}")
  endif()
  message(STATUS "${name}: done")
endfunction()

step(install ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
file(GLOB library ${prefix}/lib/*veneer*)
foreach(file include/veneer/Veneer.h include/veneer/control/UIButton.h lib/cmake/Veneer/VeneerConfig.cmake
        lib/cmake/Veneer/VeneerConfigVersion.cmake lib/cmake/Veneer/VeneerTargets.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed package lacks ${file}")
  endif()
endforeach()
if(NOT library)
  message(FATAL_ERROR "the installed package lacks the library")
endif()

step(configure ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK_DIR}/build -G ${GENERATOR}
     -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
step(build ${CMAKE_COMMAND} --build ${WORK_DIR}/build)

string(REPLACE "|" ";" runner "${RUNNER}")
set(ENV{VENEER_HELLO_EXE} ${WORK_DIR}/build/hello.exe)
step(run ${runner} ${TEST_PROGRAM} --gtest_filter=ExampleTest.Hello*)
file(READ ${WORK_DIR}/run.log output)
if(NOT output MATCHES "starting [^\n]*package.build.hello\\.exe" OR NOT output MATCHES "\\[  PASSED  \\] 1 test")
  message(FATAL_ERROR "the hello built against the package did not pass its test:\n${output}")
endif()

# The framework in another project's tree: Veneer::veneer with its usage requirements, nothing else.
set(sub ${WORK_DIR}/subdirectory)
file(WRITE ${sub}/CMakeLists.txt "cmake_minimum_required(VERSION 3.20)
project(Consumer LANGUAGES CXX)
add_subdirectory(${SOURCE_DIR} veneer)
foreach(target test_core test_examples MicroClient microclient bench_paint skin_render hello gallery)
  if(TARGET \${target})
    message(FATAL_ERROR \"\${target} is part of a project that only asked for the framework\")
  endif()
endforeach()
add_executable(hello WIN32 ${CONSUMER}/hello.cpp)
target_link_libraries(hello PRIVATE Veneer::veneer)
")
step(subdirectory ${CMAKE_COMMAND} -S ${sub} -B ${sub}/build -G ${GENERATOR} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
