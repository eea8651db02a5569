# Fails when a source under ROOT includes a header by a relative path ("../render/X.h"): the
# compiler finds such a header beside the including file, past the per-layer include folders that
# keep a layer from seeing the layers above it.
file(GLOB_RECURSE sources "${ROOT}/*.h" "${ROOT}/*.cpp")
set(bad "")
foreach(source ${sources})
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.")
  foreach(line ${lines})
    file(RELATIVE_PATH rel "${ROOT}" "${source}")
    string(STRIP "${line}" line)
    list(APPEND bad "${rel}: ${line}")
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Relative includes cross the layers unchecked; include \"<layer>/Header.h\":\n  ${text}")
endif()
