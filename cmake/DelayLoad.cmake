# System DLLs the framework needs only for some features (tooltips and date pickers, GDI+ text effects and
# icons, the browser's automation types, the shell) are loaded on their first call instead of at start-up:
# every DLL loaded before the first window shows costs start-up time. With MinGW, dlltool makes
# delay-load import libraries from the functions listed in cmake/delayload/NAME.def (32-bit names); they
# come before the ordinary import libraries (-k: the DLLs export the names without their 32-bit "@n"), which still serve any function not listed. MSVC's linker
# does the same with /DELAYLOAD.
function(veneer_delay_load target)
  if(MSVC)
    foreach(name IN LISTS ARGN)
      target_link_options(${target} INTERFACE /DELAYLOAD:${name}.dll)
    endforeach()
    target_link_libraries(${target} PUBLIC delayimp)
    return()
  endif()
  string(REGEX REPLACE "g\\+\\+(-posix)?$" "dlltool" dlltool_name "${CMAKE_CXX_COMPILER}")
  get_filename_component(dlltool_name "${dlltool_name}" NAME)
  find_program(VENEER_DLLTOOL NAMES ${dlltool_name} dlltool)
  if(NOT VENEER_DLLTOOL)
    message(STATUS "no dlltool: ${ARGN} are loaded at start-up")
    return()
  endif()
  set(libs)
  foreach(name IN LISTS ARGN)
    set(source ${PROJECT_SOURCE_DIR}/cmake/delayload/${name}.def)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} def)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      string(REGEX REPLACE "@[0-9]+" "" def "${def}")
    endif()
    set(def_file ${CMAKE_BINARY_DIR}/delayload/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    file(WRITE ${def_file} "${def}")
    execute_process(COMMAND ${VENEER_DLLTOOL} -k -d ${def_file} -y ${lib}
                    RESULT_VARIABLE result ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "dlltool could not make ${lib}: ${error}")
    endif()
    list(APPEND libs $<BUILD_INTERFACE:${lib}>)
  endforeach()
  target_link_libraries(${target} PUBLIC ${libs} $<BUILD_INTERFACE:delayimp>)
  # dlltool's delay-load libraries serve direct calls only: a call through the import pointer
  # (__declspec(dllimport), as the SDK headers declare these functions) finds it empty. Code built here
  # sees the declarations the DLLs' own builds use, which have no dllimport.
  target_compile_definitions(${target} PUBLIC $<BUILD_INTERFACE:_COMCTL32_ _SHELL32_ _OLEAUT32_>)
endfunction()
