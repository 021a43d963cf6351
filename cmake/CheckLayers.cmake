# The order of the folders, checked at every build (cmake -P).
#
# Each line of TOVIRA_LAYERS is one layer, from the bottom up; a folder may
# include its own headers and those of the folders on the lines below it,
# never those of a folder above it or of another folder on its own line. As
# the order is total, no two folders can include each other either: a cycle
# always has one include that runs upward. docs/architecture.md draws the
# same order with one line per folder.
#
# Besides the order:
# - the seam (platform/*.h, *.cpp) includes neither half of the platform
#   layer, and platform/host and platform/win32 do not include each other;
# - above the platform layer only the entry points (app/, tools/) include
#   platform/win32 or platform/host, and nothing there includes a system
#   header of Windows (platform/win32/WinApi.h is the only way in);
# - every folder of the source tree that holds C++ files is placed in the
#   order (or named in TOVIRA_UNCHECKED): a new folder is placed on purpose.
#
# Run with -DTOP=<source folder>; fails with the offending lines.
set(TOVIRA_LAYERS
    "base"      # text of the code page, strings, bytes, the product's name
    "platform"  # the seam and its two halves (host, win32)
    "files"     # file names, the program's folders, the day's log
    "forms"     # component trees and the form descriptions
    "text"      # texts by key, language files, message boxes, the user's formats
    "settings"  # the settings store, INI files, protected values, the user's folders
    "tables"    # record tables, their binary file, the data module
    "formats"   # ZIP, PNG and BMP writers, shortcut files, table JSON
    "docking"   # the application bar, the monitor list, glass
    "controls"  # speed buttons, styles, hint box, the button table
    "toolkit"   # the form runtime: controls, alignment, painting, menus
    "dialogs"   # every dialog: settings, layout, prompt, about, reports
    "bar tools" # the bar window and the program; the companion tool
    "app"       # WinMain
)
# Folders outside the order: they may include every layer.
set(TOVIRA_UNCHECKED tests fuzz benchmarks build packaging scripts data docs cmake)

cmake_policy(SET CMP0057 NEW)

if(NOT TOP)
  message(FATAL_ERROR "CheckLayers: run with -DTOP=<source folder>")
endif()

set(rank 0)
set(known "")
foreach(layer ${TOVIRA_LAYERS})
  separate_arguments(folders UNIX_COMMAND "${layer}")
  foreach(folder ${folders})
    set(rank_${folder} ${rank})
    list(APPEND known ${folder})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

set(faults "")

# Every folder with C++ sources must be placed.
file(GLOB tops RELATIVE ${TOP} ${TOP}/*)
foreach(folder ${tops})
  if(IS_DIRECTORY ${TOP}/${folder} AND NOT folder MATCHES "^\\." AND NOT folder IN_LIST known
     AND NOT folder IN_LIST TOVIRA_UNCHECKED)
    file(GLOB_RECURSE sources ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
    if(sources)
      set(faults "${faults}\n  ${folder}/: a folder of sources that is not in the order of the layers")
    endif()
  endif()
endforeach()

foreach(folder ${known})
  if(NOT IS_DIRECTORY ${TOP}/${folder})
    continue()
  endif()
  file(GLOB_RECURSE files ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
  foreach(f ${files})
    file(RELATIVE_PATH rel ${TOP} ${f})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z0-9_]+)/([A-Za-z0-9_]+)?")
        set(target ${CMAKE_MATCH_1})
        set(sub ${CMAKE_MATCH_2})
        if(target STREQUAL folder)
          # Inside one folder: only the halves of the platform layer are apart.
          if(folder STREQUAL "platform" AND (sub STREQUAL "host" OR sub STREQUAL "win32"))
            if(NOT rel MATCHES "^platform/${sub}/")
              set(faults "${faults}\n  ${rel}: ${line} (the seam and the other half do not see platform/${sub})")
            endif()
          endif()
        elseif(NOT DEFINED rank_${target})
          if(IS_DIRECTORY ${TOP}/${target})
            set(faults "${faults}\n  ${rel}: ${line} (${target}/ is not in the order of the layers)")
          endif()
        elseif(rank_${target} GREATER_EQUAL rank_${folder})
          set(faults "${faults}\n  ${rel}: ${line} (${folder}/ stands below ${target}/ or beside it)")
        elseif(target STREQUAL "platform" AND (sub STREQUAL "host" OR sub STREQUAL "win32")
               AND NOT folder MATCHES "^(app|tools)$")
          set(faults "${faults}\n  ${rel}: ${line} (above the platform layer only its seam is seen)")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(windows|win[a-z0-9]*)\\.h>" AND NOT rel MATCHES "^platform/win32/")
        set(faults "${faults}\n  ${rel}: ${line} (only platform/win32 sees Windows' headers)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the order of the layers:${faults}")
endif()
