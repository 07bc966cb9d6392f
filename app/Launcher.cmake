# Build-time packaging of the launcher: skin archive, resource script, and trailer stamping tests.
#
#   MICROCLIENT_RC        the resource script (manifest, configuration, skin archive, icon, tray menu, version)
#   MICROCLIENT_SKIN_ZIP  the packed skin archive; target microclient_skin builds it
#   microclient_add_resources(<target>)      compiles MICROCLIENT_RC into <target>
#   microclient_add_package_tests(<target>)  for the test program <target>: the resources as a data-only
#                                            DLL beside it, and ctest entries stamping copies of it
include_guard(GLOBAL)

set(MICROCLIENT_SKIN_DIR ${CMAKE_SOURCE_DIR}/skin)
set(MICROCLIENT_SKIN_ZIP ${CMAKE_BINARY_DIR}/skin.zip)
set(MICROCLIENT_RC ${CMAKE_SOURCE_DIR}/app/MicroClient.rc)
set(MICROCLIENT_MANIFEST ${CMAKE_SOURCE_DIR}/app/MicroClient.manifest)
# Files the resource script names besides the archive.
set(MICROCLIENT_RC_FILES ${MICROCLIENT_MANIFEST} ${MICROCLIENT_SKIN_DIR}/config.xml ${MICROCLIENT_SKIN_DIR}/app.ico)

# The archive holds the layouts and their images at its top level; the configuration and the icon are
# resources of their own and stay out of it.
file(GLOB _microclient_skin_files CONFIGURE_DEPENDS RELATIVE ${MICROCLIENT_SKIN_DIR}
     ${MICROCLIENT_SKIN_DIR}/*.xml ${MICROCLIENT_SKIN_DIR}/*.png)
list(REMOVE_ITEM _microclient_skin_files config.xml)
list(SORT _microclient_skin_files)
list(TRANSFORM _microclient_skin_files PREPEND ${MICROCLIENT_SKIN_DIR}/ OUTPUT_VARIABLE _microclient_skin_paths)
# A fixed time stamp keeps the archive, and so the program, the same from build to build.
add_custom_command(OUTPUT ${MICROCLIENT_SKIN_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${MICROCLIENT_SKIN_ZIP} --format=zip "--mtime=2024-01-01 00:00:00 UTC"
          -- ${_microclient_skin_files}
  WORKING_DIRECTORY ${MICROCLIENT_SKIN_DIR}
  DEPENDS ${_microclient_skin_paths}
  COMMENT "Packing the skin archive"
  VERBATIM)
add_custom_target(microclient_skin DEPENDS ${MICROCLIENT_SKIN_ZIP})

function(microclient_add_resources target)
  target_sources(${target} PRIVATE ${MICROCLIENT_RC})
  # The script names its files bare; the resource compiler finds them on its include path.
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/app>
    $<$<COMPILE_LANGUAGE:RC>:${MICROCLIENT_SKIN_DIR}> $<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}>)
  # Files named inside a resource script are no dependencies the compiler reports, so list them.
  set_source_files_properties(${MICROCLIENT_RC} TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${MICROCLIENT_SKIN_ZIP};${MICROCLIENT_RC_FILES}")
  add_dependencies(${target} microclient_skin)
endfunction()

# The test program reads the resources from MicroClientResources.dll beside it (its own resources are
# left to the tests that rewrite them), and checks trailers stamped into copies of itself.
function(microclient_add_package_tests target)
  add_library(microclient_resources MODULE)
  microclient_add_resources(microclient_resources)
  get_target_property(dir ${target} BINARY_DIR)
  set_target_properties(microclient_resources PROPERTIES LINKER_LANGUAGE C PREFIX "" OUTPUT_NAME MicroClientResources
                        LIBRARY_OUTPUT_DIRECTORY ${dir})
  add_dependencies(${target} microclient_resources)
  _microclient_add_trailer_tests(${target})
endfunction()

# Stamps copies of the test program with tools/stamp_trailer.py (which also checks its refusals) and
# runs the program's StampedTrailer tests on each copy: the trailer reader must get the text back.
function(_microclient_add_trailer_tests target)
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_Interpreter_FOUND)
    message(STATUS "No python3: the trailer stamping tests are left out")
    return()
  endif()
  set(game "http://127.0.0.1:8765/login.html")
  set(service "http://127.0.0.1:8765/service.html")
  # The longest text the reader takes: 255 bytes, so its terminating NUL is the 256th byte read.
  string(LENGTH "${game}?x=|${service}" used)
  math(EXPR fill "255 - ${used}")
  string(REPEAT "7" ${fill} digits)
  set(long_game "${game}?x=${digits}")

  add_test(NAME stamp_trailer_prepare
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/app/stamp_trailer_check.py
            --tool ${CMAKE_SOURCE_DIR}/tools/stamp_trailer.py --exe $<TARGET_FILE:${target}>
            --stamp stamped_trailer.exe ${game} ${service}
            --stamp stamped_trailer_max.exe ${long_game} ${service})
  set_tests_properties(stamp_trailer_prepare PROPERTIES
    FIXTURES_SETUP stamped_trailer WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)

  foreach(case "stamped_trailer.exe|${game}|${service}" "stamped_trailer_max.exe|${long_game}|${service}")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 file)
    list(GET parts 1 first)
    list(GET parts 2 second)
    string(REPLACE ".exe" "" name "${file}")
    add_test(NAME ${name}_read COMMAND ${target} --gtest_filter=StampedTrailer.*)
    set_tests_properties(${name}_read PROPERTIES
      FIXTURES_REQUIRED stamped_trailer
      ENVIRONMENT "STAMPED_TRAILER_FILE=${file};STAMPED_TRAILER_TEXT=${first}|${second}")
  endforeach()
endfunction()

# A launcher built like MicroClient but with a skin archive that leaves out some of the skin files, for
# tests of how start-up reports a broken skin. The resource script is the shipped one with only the
# archive's name changed (the archive lives in its own folder, so the shipped one is never picked up).
#   microclient_add_skin_variant(<target> WITHOUT <file>...)
function(microclient_add_skin_variant target)
  cmake_parse_arguments(ARG "" "" "WITHOUT" ${ARGN})
  set(files ${_microclient_skin_files})
  list(REMOVE_ITEM files ${ARG_WITHOUT})
  list(TRANSFORM files PREPEND ${MICROCLIENT_SKIN_DIR}/ OUTPUT_VARIABLE paths)
  set(dir ${CMAKE_BINARY_DIR}/${target}-res)
  set(zip_name ${target}-skin.zip)
  add_custom_command(OUTPUT ${dir}/${zip_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${dir}/${zip_name} --format=zip "--mtime=2024-01-01 00:00:00 UTC"
            -- ${files}
    WORKING_DIRECTORY ${MICROCLIENT_SKIN_DIR}
    DEPENDS ${paths}
    COMMENT "Packing the skin archive of ${target}"
    VERBATIM)
  add_custom_target(${target}_skin DEPENDS ${dir}/${zip_name})

  file(READ ${MICROCLIENT_RC} script)
  string(REPLACE "\"skin.zip\"" "\"${zip_name}\"" variant "${script}")
  if(variant STREQUAL script)
    message(FATAL_ERROR "${MICROCLIENT_RC} names no \"skin.zip\"; ${target} cannot replace its archive")
  endif()
  file(GENERATE OUTPUT ${dir}/${target}.rc CONTENT "${variant}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MICROCLIENT_RC})

  add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp ${dir}/${target}.rc)
  target_link_libraries(${target} PRIVATE microclient)
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${dir}>
    $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/app> $<$<COMPILE_LANGUAGE:RC>:${MICROCLIENT_SKIN_DIR}>)
  set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS "${dir}/${zip_name};${MICROCLIENT_RC_FILES}")
  add_dependencies(${target} ${target}_skin)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# A copy of the built launcher with a launch trailer stamped in, made whenever the launcher is rebuilt.
# Sets <out_var> to the copy's path; leaves it empty when there is no python3 to stamp with.
#   microclient_add_stamped_copy(<name> <game address> <service address> <out_var>)
function(microclient_add_stamped_copy name game service out_var)
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_Interpreter_FOUND)
    message(STATUS "No python3: ${name}.exe is not made")
    set(${out_var} "" PARENT_SCOPE)
    return()
  endif()
  set(copy ${CMAKE_BINARY_DIR}/${name}.exe)
  add_custom_command(OUTPUT ${copy}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/stamp_trailer.py $<TARGET_FILE:MicroClient>
            ${game} ${service} -o ${copy}
    DEPENDS MicroClient ${CMAKE_SOURCE_DIR}/tools/stamp_trailer.py
    COMMENT "Stamping ${name}.exe"
    VERBATIM)
  add_custom_target(${name} DEPENDS ${copy})
  set(${out_var} ${copy} PARENT_SCOPE)
endfunction()
