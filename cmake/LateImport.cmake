# A system library bound late: linked through an import library whose
# functions load the DLL on their first call (the toolchain's delay-load
# helper, __delayLoadHelper2 in libmingwex), not when the program starts.
# The import library is made at build time from the toolchain's own one, so it
# names every function that one does: a function used later binds late too,
# and nothing falls back to a load at start unseen.
#
#   tovira_late_import(<name>) -> target tovira_late_<name>, an imported
#                                 library to link in place of <name>
function(tovira_late_import name)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
    OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${import_lib}")
    message(FATAL_ERROR "no import library lib${name}.a in the toolchain")
  endif()
  set(def ${CMAKE_BINARY_DIR}/late/${name}.def)
  set(lib ${CMAKE_BINARY_DIR}/late/lib${name}_late.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIB=${import_lib} -DDLL=${name}.dll -DDEF=${def}
            -P ${CMAKE_SOURCE_DIR}/cmake/LateImportDef.cmake
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll --output-delaylib ${lib}
    DEPENDS ${import_lib} ${CMAKE_SOURCE_DIR}/cmake/LateImportDef.cmake
    COMMENT "Making ${name}.dll's late-bound import library" VERBATIM)
  add_custom_target(tovira_late_${name}_lib DEPENDS ${lib})
  add_library(tovira_late_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(tovira_late_${name} PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(tovira_late_${name} tovira_late_${name}_lib)
endfunction()
