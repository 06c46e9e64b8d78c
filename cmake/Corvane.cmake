# Shared build rules for the rooms of the tree.

set(CORVANE_WARNINGS -Wall -Wextra)

function(corvane_warnings target)
  target_compile_options(${target} PRIVATE ${CORVANE_WARNINGS})
endfunction()

if(CORVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# corvane_core_library(<name> [DEPS <targets>...])
# A static plain-C++ library from every *.cpp directly in the calling folder.
function(corvane_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT srcs)
    # A room whose sources have not landed yet still links.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  corvane_warnings(${name})
endfunction()

# corvane_ui_library(<name> [DEPS <targets>...])
# A static Qt library from every *.cpp in the calling folder's ui/ subfolder.
function(corvane_ui_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h)
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_link_libraries(${name} INTERFACE Qt6::Widgets ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  target_link_libraries(${name} PUBLIC Qt6::Widgets ${ARG_DEPS})
  corvane_warnings(${name})
endfunction()

# corvane_test(<name> SOURCES ... LIBS ... [GUI] [LOCK <resource>] [UNPRIVILEGED])
# One GoogleTest executable; every test case is a ctest test. Core tests carry the
# label "core" (they also run under the sanitizers), GUI tests run offscreen. LOCK keeps its
# tests from running beside other tests that hold the same lock (for example "tcp502": servers
# on port 502 of loopback addresses, which a wildcard listener would take from each other).
# UNPRIVILEGED registers every case a second time, "unprivileged.<case>", run as the ordinary
# user CORVANE_TEST_USER (root ignores exclusive modes and permissions; `make test` makes it).
set(CORVANE_TEST_USER corvane-test CACHE STRING "Unprivileged user the UNPRIVILEGED tests run as")
function(corvane_test name)
  cmake_parse_arguments(ARG "GUI;UNPRIVILEGED" "LOCK" "SOURCES;LIBS" ${ARGN})
  set(lock)
  if(ARG_LOCK)
    set(lock RESOURCE_LOCK ${ARG_LOCK})
  endif()
  if(ARG_UNPRIVILEGED)
    list(APPEND ARG_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/TestUser.cpp)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  if(NOT ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE CORVANE_BIN_DIR="${CORVANE_BIN_DIR}"
                             CORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  corvane_warnings(${name})
  # Property values stay single words (discovery splits lists): ctest -L takes a regular
  # expression, so "core" also selects "core-unprivileged" (the sanitizer run covers both), and
  # the user comes as an environment modification beside the GUI tests' environment.
  if(ARG_GUI)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS gui ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120 ${lock})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS core TIMEOUT 120 ${lock})
  endif()
  if(ARG_UNPRIVILEGED AND ARG_GUI)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_PREFIX "unprivileged."
      PROPERTIES LABELS gui-unprivileged TIMEOUT 120 ${lock} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                 ENVIRONMENT_MODIFICATION "CORVANE_TEST_USER=set:${CORVANE_TEST_USER}")
  elseif(ARG_UNPRIVILEGED)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_PREFIX "unprivileged."
      PROPERTIES LABELS core-unprivileged TIMEOUT 120 ${lock}
                 ENVIRONMENT_MODIFICATION "CORVANE_TEST_USER=set:${CORVANE_TEST_USER}")
  endif()
endfunction()

# corvane_module_host(<executable>)
# An executable that loads module libraries: it exports its symbols, and carries every object
# of the framework (not only those it calls itself), and the SDK's host functions
# (app/ui/CModuleHostExports.cpp), so a module resolves all of it from here.
function(corvane_module_host target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:cvn_framework>)
  target_link_options(${target} PRIVATE
    "LINKER:--undefined=CorvaneFrameLink,--undefined=CorvaneFrameOpenLink,--undefined=CorvaneFrameOpenModuleLink,--undefined=CorvaneFrameCloseLink,--undefined=CorvaneFrameTakeModuleLink")
endfunction()
