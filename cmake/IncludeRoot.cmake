# Headers are included by their folder: "tree/TarvinItem.h",
# "ui/mainwindow/untMain.h".
# Each folder gets an include root of its own in the build tree, holding
# nothing but a link of that name to the sources. A target therefore finds
# the headers of the libraries it links and no others: an include that runs
# the wrong way (the tree including the checker, the core including ui/)
# fails to compile instead of growing a hidden edge.
function(tarvin_include_root target scope name dir)
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${dir} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# One concern of the core: library trvx_<name> from the sources of
# language/<name>, its headers included as "<name>/...". The sources and
# include roots are also collected for the fuzz build, which compiles the
# whole core once more with its own flags.
function(tarvin_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(trvx_${name} STATIC ${ARG_SOURCES})
  tarvin_include_root(trvx_${name} PUBLIC ${name} ${CMAKE_CURRENT_SOURCE_DIR})
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_property(GLOBAL APPEND PROPERTY TARVIN_CORE_SOURCES ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TARVIN_CORE_INCLUDE_ROOTS ${PROJECT_BINARY_DIR}/include/${name})
endfunction()
