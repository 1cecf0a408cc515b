# Compiler settings every target of the project shares.
add_library(stockcheck_options INTERFACE)
target_compile_options(stockcheck_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)
if(STOCKCHECK_WERROR)
  target_compile_options(stockcheck_options INTERFACE -Werror)
endif()
if(STOCKCHECK_SANITIZE)
  target_compile_options(stockcheck_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(stockcheck_options INTERFACE -fsanitize=address,undefined)
endif()

# stockcheck_library(NAME SOURCES... [FOLDERS folders...|HEADERS headers...] [LINK deps...]): one
# static library per src/ folder, or per group of its subfolders (FOLDERS) whose code uses each
# other, or of a few files of a folder that layers below the folder's own library use (HEADERS,
# the only ones its include root then holds).
function(stockcheck_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;FOLDERS;HEADERS;LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  if(ARG_HEADERS)
    stockcheck_include_files(${name} ${ARG_HEADERS})
  elseif(ARG_FOLDERS)
    foreach(folder IN LISTS ARG_FOLDERS)
      stockcheck_include_root(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
    endforeach()
  else()
    stockcheck_include_root(${name} ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_LINK} PRIVATE stockcheck_options)
endfunction()

# stockcheck_include_root(TARGET FOLDER): the target's headers are found by their path under
# src/ ("host/db/recordset/recordset.h"), through an include root that holds only its own
# folder. A target thus sees the headers of the targets it links and no others, so an include
# across the layers that the link lines do not allow fails to compile.
function(stockcheck_include_root name folder)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/src ${folder})
  if(rel MATCHES "^\\.\\.")
    target_include_directories(${name} PUBLIC ${folder})
    return()
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${rel} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${folder} ${root}/${rel} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
endfunction()

# stockcheck_include_files(TARGET HEADERS...): an include root as above holding only the headers
# given, of the current folder.
function(stockcheck_include_files name)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root}/${rel})
  foreach(header IN LISTS ARGN)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${rel}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${name} PUBLIC ${root})
endfunction()

# No test may hang a run: each is stopped after this many seconds.
set(STOCKCHECK_TEST_TIMEOUT 120)

# stockcheck_test(NAME SOURCES... LINK deps... [GUI]): one GoogleTest binary per folder.
function(stockcheck_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE ${ARG_LINK} stockcheck_gui_test_main stockcheck_options)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LINK} stockcheck_test_main stockcheck_options)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE STOCKCHECK_DATA_DIR="${STOCKCHECK_DATA_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT ${STOCKCHECK_TEST_TIMEOUT})
endfunction()
