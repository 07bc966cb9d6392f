# The framework as another project sees it: installed into a prefix, then examples/hello configured
# and built on its own against that prefix with the same toolchain, and run under Wine by test_examples.
if(NOT VENEER_INSTALL OR NOT CMAKE_CROSSCOMPILING_EMULATOR OR NOT CMAKE_TOOLCHAIN_FILE)
  return()
endif()
# Lists cannot cross the command line whole: the runner's words travel joined by '|'.
string(REPLACE ";" "|" package_runner "${CMAKE_CROSSCOMPILING_EMULATOR}")
add_test(NAME package_consumer
  COMMAND ${CMAKE_COMMAND}
          -DBUILD_DIR=${PROJECT_BINARY_DIR}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/package
          -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DCONSUMER=${PROJECT_SOURCE_DIR}/examples/hello
          -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE}
          -DGENERATOR=${CMAKE_GENERATOR}
          -DRUNNER=${package_runner}
          -DTEST_PROGRAM=$<TARGET_FILE:test_examples>
          -P ${CMAKE_CURRENT_LIST_DIR}/ConsumerBuild.cmake)
set_tests_properties(package_consumer PROPERTIES RUN_SERIAL TRUE TIMEOUT 1200)
