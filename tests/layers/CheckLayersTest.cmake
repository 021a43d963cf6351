# A test of the layer check (cmake/CheckLayers.cmake): small source trees
# are written under WORK and checked; the check must pass the tree whose
# includes run downward and fail, naming the include, on each tree that
# breaks the order. Run with -DCHECK=<CheckLayers.cmake> -DWORK=<scratch folder>.
if(NOT CHECK OR NOT WORK)
  message(FATAL_ERROR "run with -DCHECK=<CheckLayers.cmake> -DWORK=<folder>")
endif()

set(failures "")

# tree name, then pairs of file and the line it holds
function(make_tree name)
  file(REMOVE_RECURSE ${WORK}/${name})
  set(args ${ARGN})
  list(LENGTH args n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET args ${i} path)
    list(GET args ${j} text)
    file(WRITE ${WORK}/${name}/${path} "${text}\n")
  endforeach()
endfunction()

# expect(name PASS|FAIL [text the output must hold])
function(expect name outcome)
  execute_process(COMMAND ${CMAKE_COMMAND} -DTOP=${WORK}/${name} -P ${CHECK} RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(all "${out}${err}")
  if(outcome STREQUAL "PASS" AND NOT rc EQUAL 0)
    set(failures "${failures}\n  ${name}: refused a tree in order:\n${all}" PARENT_SCOPE)
  elseif(outcome STREQUAL "FAIL")
    if(rc EQUAL 0)
      set(failures "${failures}\n  ${name}: passed a tree against the order" PARENT_SCOPE)
    elseif(ARGC GREATER 2 AND NOT all MATCHES "${ARGV2}")
      set(failures "${failures}\n  ${name}: failed without naming '${ARGV2}':\n${all}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

# Downward includes, the seam from the logic, Windows' headers in platform/win32.
make_tree(in_order
  base/Strings.h "#pragma once"
  platform/Files.h "#include \"base/Strings.h\""
  platform/win32/WinApi.h "#include <windows.h>"
  text/Texts.h "#include \"platform/Files.h\""
  bar/Main.cpp "#include \"text/Texts.h\"\n#include \"bar/Main.h\""
  bar/Main.h "#include <string>"
  app/WinMain.cpp "#include \"platform/win32/WinApi.h\"\n#include \"bar/Main.h\""
  tests/AnyTest.cpp "#include \"bar/Main.h\"")
expect(in_order PASS)

# A folder low in the order reaching one above it.
make_tree(upward
  base/Strings.h "#pragma once"
  bar/Main.h "#pragma once"
  base/Strings.cpp "#include \"bar/Main.h\"")
expect(upward FAIL "base/Strings.cpp: #include \"bar/Main.h\"")

# Two folders that include each other: the upward half is named.
make_tree(cycle
  forms/Component.h "#include \"text/Texts.h\""
  text/Texts.h "#include \"forms/Component.h\"")
expect(cycle FAIL "forms/Component.h: #include \"text/Texts.h\"")

# Two folders on one line (the bar and the tool) do not see each other.
make_tree(beside
  bar/Main.h "#pragma once"
  tools/Tool.cpp "#include \"bar/Main.h\"")
expect(beside FAIL "tools/Tool.cpp")

# The logic sees the seam only, never a half of the platform or Windows.
make_tree(half
  platform/host/HostFiles.h "#pragma once"
  settings/Store.cpp "#include \"platform/host/HostFiles.h\"")
expect(half FAIL "settings/Store.cpp")
make_tree(windows
  docking/AppBar.cpp "#include <windows.h>")
expect(windows FAIL "docking/AppBar.cpp")

# The seam does not see its halves; the halves do not see each other.
make_tree(seam
  platform/win32/WinApi.h "#pragma once"
  platform/Files.cpp "#include \"platform/win32/WinApi.h\"")
expect(seam FAIL "platform/Files.cpp")
make_tree(halves
  platform/win32/WinApi.h "#pragma once"
  platform/host/HostFiles.cpp "#include \"platform/win32/WinApi.h\"")
expect(halves FAIL "platform/host/HostFiles.cpp")

# A new folder of sources must be placed in the order first.
make_tree(unplaced
  gadgets/Gadget.h "#pragma once")
expect(unplaced FAIL "gadgets/")

if(failures)
  message(FATAL_ERROR "The layer check is wrong:${failures}")
endif()
message(STATUS "The layer check passes the tree in order and refuses the 8 trees against it")
