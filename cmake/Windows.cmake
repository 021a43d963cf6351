# Windows build: the real program on the Win32 API, statically linked so that
# tovira.exe needs no DLL beyond those of Windows itself.
target_compile_definitions(tovira_base PUBLIC TOVIRA_WINDOWS=1)
add_link_options(-static -static-libgcc -static-libstdc++)
# Sections start on page boundaries in the file too, so that Wine maps the
# program from its file, page by page as it is used, instead of reading all of
# it into memory of its own at start (1.8 MB of code for tovira.exe); Windows
# pages either layout in. It costs a few kB of padding.
set(TOVIRA_PAGE_ALIGNED -Wl,--file-alignment,4096)

file(GLOB TOVIRA_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)

add_library(tovira_win32 STATIC ${TOVIRA_WIN32_SOURCES})
target_compile_definitions(tovira_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# The common controls serve the dialogs, the layout dialog's pictures and the
# menus of image lists, none of which a start needs: comctl32.dll (1 MB under
# Wine) loads with the first of them.
include(${CMAKE_SOURCE_DIR}/cmake/LateImport.cmake)
tovira_late_import(comctl32)
target_link_libraries(tovira_win32 PUBLIC tovira_platform shell32 ole32 uuid tovira_late_comctl32 gdi32 user32
  advapi32 windowscodecs shlwapi oleacc oleaut32)

# A program's resources: the icon (resource 1), the application manifest and
# the version, all made from platform/win32/res by windres; the version is the
# one project() holds.
enable_language(RC)
function(tovira_resources target identity description)
  set(RES_IDENTITY ${identity})
  set(RES_DESCRIPTION ${description})
  set(RES_INTERNAL_NAME ${target})
  set(RES_ORIGINAL_NAME ${target}.exe)
  set(RES_ICON ${CMAKE_SOURCE_DIR}/platform/win32/res/tovira.ico)
  set(RES_MANIFEST ${CMAKE_BINARY_DIR}/res/${target}.manifest)
  set(rc ${CMAKE_BINARY_DIR}/res/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/platform/win32/res/program.manifest.in ${RES_MANIFEST} @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/platform/win32/res/program.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${RES_ICON};${RES_MANIFEST}")
  target_sources(${target} PRIVATE ${rc})
  # The programs that ship carry no symbols in a release build: less to
  # download and to map at start (2.2 MB against 1.0 MB for tovira.exe).
  target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-s> ${TOVIRA_PAGE_ALIGNED})
endfunction()

add_executable(tovira WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp)
target_link_libraries(tovira PRIVATE tovira_logic tovira_win32)
tovira_strict(tovira_win32 tovira)
tovira_resources(tovira Brenvoll.Tovira "Tovira launcher bar")

# The yardsticks of scripts/measure_startup.sh (not shipped).
add_subdirectory(${CMAKE_SOURCE_DIR}/benchmarks/minimal ${CMAKE_BINARY_DIR}/minimal)
