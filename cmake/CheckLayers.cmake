# The direction of the layers, checked at every build (cmake -P):
# - base/ includes nothing of the project above it;
# - the platform layer (platform/, platform/host/, platform/win32/) includes
#   only base/ and platform/;
# - the logic (bar, controls, docking, forms, settings, tables, ui) never
#   includes a system header of Windows nor either half of the platform
#   layer, only its seam (platform/*.h).
# Run with -DTOP=<source folder>; fails with the offending lines.
set(upper "bar|controls|docking|forms|settings|tables|ui|tools|tests|fuzz|benchmarks")
set(faults "")

function(scan folder recurse pattern why)
  if(recurse)
    file(GLOB_RECURSE files ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
  else()
    file(GLOB files ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
  endif()
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "${pattern}")
        file(RELATIVE_PATH rel ${TOP} ${f})
        set(faults "${faults}\n  ${rel}: ${line} (${why})")
      endif()
    endforeach()
  endforeach()
  set(faults "${faults}" PARENT_SCOPE)
endfunction()

scan(base ON "#[ \t]*include[ \t]*\"(platform|${upper})/" "base/ stands below everything")
scan(platform ON "#[ \t]*include[ \t]*\"(${upper})/" "the platform layer depends on nothing above the seam")
foreach(logic bar controls docking forms settings tables ui)
  scan(${logic} ON "#[ \t]*include[ \t]*(<windows\\.h>|<win[a-z0-9]*\\.h>|\"platform/(win32|host)/)"
       "the logic sees only the seam")
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the direction of the layers:${faults}")
endif()
