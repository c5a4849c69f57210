# The folder stack of src/: which folder may include which. Every #include "x/..." of a
# source under src/ must name a folder its own row allows (a folder may always include
# itself). Run with: cmake -DROOT=<src> -P Layers.cmake
#
# The most specific row wins: platform/posix has its own row, platform covers the rest.
set(layer_rows
  "base           :"
  "forms          : base"
  "platform       : base"
  "platform/posix : base platform"
  "platform/win32 : base platform"
  "context        : base forms platform"
  "settings       : base forms platform context"
  "memory         : base forms platform context settings"
  "monitor        : base forms platform context settings memory"
  "launcher       : base forms platform context settings memory"
  "update         : base forms platform context settings"
  "app            : base forms platform context settings memory monitor launcher update"
  "ui/qt          : base forms platform context settings memory monitor launcher update app platform/posix"
  "ui/win32       : base forms platform context settings memory monitor launcher update app platform/win32"
)

# Folder names in rows, longest first, so that a file finds its most specific row.
set(folders)
foreach(row IN LISTS layer_rows)
  string(REGEX REPLACE "^([^ :]+).*" "\\1" folder "${row}")
  string(REGEX REPLACE "^[^:]*:[ ]*" "" allowed "${row}")
  string(REPLACE " " ";" allowed "${allowed}")
  list(REMOVE_ITEM allowed "")
  set(allowed_${folder} ${folder} ${allowed})
  list(APPEND folders ${folder})
endforeach()
list(SORT folders ORDER DESCENDING)

# The row a path (relative to src/) falls under; empty when no row covers it.
function(layer_of path out)
  set(found "")
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${folder}/")
      if(NOT found)
        set(found ${folder})
      endif()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Whether the row of `layer` may include `target` (an include path such as "forms/form.h").
function(may_include layer target out)
  layer_of("${target}" target_layer)
  set(ok FALSE)
  if(NOT target_layer)
    set(ok TRUE)  # not a folder of src/ (a system or third-party header)
  else()
    foreach(a IN LISTS allowed_${layer})
      if(a STREQUAL target_layer)
        set(ok TRUE)
      endif()
    endforeach()
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/*.cpp ${ROOT}/*.h ${ROOT}/*.hpp)
list(SORT sources)
set(bad)
set(unplaced)
foreach(rel IN LISTS sources)
  layer_of("${rel}" layer)
  if(NOT layer)
    list(APPEND unplaced "${rel}")
    continue()
  endif()
  file(STRINGS ${ROOT}/${rel} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/[^\"]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" target "${line}")
    may_include(${layer} "${target}" ok)
    if(NOT ok)
      layer_of("${target}" target_layer)
      list(APPEND bad "${rel} (${layer}) includes \"${target}\" (${target_layer})")
    endif()
  endforeach()
endforeach()

if(unplaced)
  list(JOIN unplaced "\n  " text)
  message(FATAL_ERROR "Sources in no folder of the layer table (add a row in cmake/Layers.cmake):\n  ${text}")
endif()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Includes against the folder stack (see cmake/Layers.cmake):\n  ${text}")
endif()
message(STATUS "every include of src/ follows the folder stack")
