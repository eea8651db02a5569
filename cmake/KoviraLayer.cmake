# Each layer is one static library. Its headers are reachable only as "<layer>/Header.h" through a
# folder that holds just that layer, so a library sees the headers of the layers it links and no
# others: an include that points up the layers fails to compile.
set(KOVIRA_LAYER_INCLUDE_ROOT "${CMAKE_BINARY_DIR}/layer-include")

function(kovira_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;QT" ${ARGN})
  set(inc "${KOVIRA_LAYER_INCLUDE_ROOT}/${name}")
  file(MAKE_DIRECTORY "${inc}")
  if(NOT EXISTS "${inc}/${name}")
    file(CREATE_LINK "${CMAKE_SOURCE_DIR}/src/${name}" "${inc}/${name}" SYMBOLIC)
  endif()
  set(target kov_${name})
  if(ARG_SOURCES)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC "${inc}")
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} ${ARG_QT})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${inc}")
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS} ${ARG_QT})
  endif()
endfunction()

# Sources of a layer: every .cpp in its folder.
function(kovira_layer_sources out folder)
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp")
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
