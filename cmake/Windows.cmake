# Windows build: the real program on the Win32 API, statically linked so that
# tovira.exe needs no DLL beyond those of Windows itself.
target_compile_definitions(tovira_logic PUBLIC TOVIRA_WINDOWS=1)
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB TOVIRA_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
list(FILTER TOVIRA_WIN32_SOURCES EXCLUDE REGEX "WinMain\\.cpp$")
add_library(tovira_win32 STATIC ${TOVIRA_WIN32_SOURCES})
target_compile_definitions(tovira_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(tovira_win32 PUBLIC tovira_logic shell32 ole32 uuid comctl32 gdi32 user32 advapi32
  windowscodecs shlwapi)

add_executable(tovira WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/WinMain.cpp)
target_link_libraries(tovira PRIVATE tovira_win32)
tovira_strict(tovira_win32 tovira)
