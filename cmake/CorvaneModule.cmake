# corvane_module(<target> <library name> SOURCES ... [DEFINITIONS ...] [LIBS ...] [OUTPUT_DIR dir])
# A plug-in module library "<library name>.so". It links no copy of the framework: the
# framework's symbols are resolved at load time from the corvane program, which exports them.
# Used inside the source tree and, through find_package(CorvaneSdk), by outside modules.
function(corvane_module target libname)
  cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES;DEFINITIONS;LIBS" ${ARGN})
  add_library(${target} MODULE ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE CorvaneSdk::CorvaneSdk ${ARG_LIBS})
  target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".so" OUTPUT_NAME ${libname}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON AUTOMOC ON
    BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
  if(ARG_OUTPUT_DIR)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIR})
  endif()
  if(COMMAND corvane_warnings)
    corvane_warnings(${target})
  endif()
endfunction()
