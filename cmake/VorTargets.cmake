# Helpers that every folder's CMakeLists uses, so that the split between
# platform-free and Win32 sources, the warnings and the linking rules are
# written once.

set(VOR_SOURCE_ROOT ${CMAKE_SOURCE_DIR}/src)

# Warnings are errors in our own code; third-party code is built without them.
set(VOR_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Werror)

if(VOR_WIN32)
  # Programs and tests may use every Win32 entry; the player targets the
  # Windows 2000-era API set that Wine provides in full.
  set(VOR_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 STRICT)
  set(VOR_SANITIZE)
else()
  set(VOR_DEFINITIONS)
  # The benchmark tree (scripts/bench) turns them off: timings under the
  # sanitizers say nothing.
  option(VOR_SANITIZERS "Build the host tree under AddressSanitizer and UndefinedBehaviorSanitizer" ON)
  if(VOR_SANITIZERS)
    set(VOR_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  else()
    set(VOR_SANITIZE)
  endif()
endif()

function(vor_apply_flags target)
  target_compile_options(${target} PRIVATE ${VOR_WARNINGS} ${VOR_SANITIZE})
  target_compile_definitions(${target} PRIVATE ${VOR_DEFINITIONS})
  target_link_options(${target} PRIVATE ${VOR_SANITIZE})
  target_include_directories(${target} PUBLIC ${VOR_SOURCE_ROOT})
endfunction()

# The sources this tree builds, from the caller's ARG_PORTABLE and ARG_WIN32.
macro(vor_tree_sources out)
  set(${out} ${ARG_PORTABLE})
  if(VOR_WIN32)
    list(APPEND ${out} ${ARG_WIN32})
  endif()
endmacro()

# vor_library(<folder> PORTABLE <sources> WIN32 <sources> DEPENDS <vor folders> SYSTEM_LIBS <libs>)
# Builds the object library vor_<folder>. The host tree takes only the
# PORTABLE sources: that is the check that keeps them free of <windows.h>.
#
# Object libraries rather than static archives: objects that register
# themselves from static initialisers (the class registry's factories) would
# be dropped from an archive, since nothing refers to them by name.
# Libraries with AVX2 code: GCC cannot align the stack past 16 bytes on 64-bit
# Windows, yet may spill AVX registers with aligned moves; the assembler turns
# every aligned vector move into an unaligned one.
function(vor_wide_vector_code target)
  if(VOR_WIN32)
    target_compile_options(${target} PRIVATE -Wa,-muse-unaligned-vector-move)
  endif()
endfunction()

function(vor_library folder)
  cmake_parse_arguments(ARG "" "" "PORTABLE;WIN32;DEPENDS;SYSTEM_LIBS" ${ARGN})
  set_property(GLOBAL PROPERTY VOR_DEPENDS_${folder} ${ARG_DEPENDS})
  set_property(GLOBAL APPEND PROPERTY VOR_LIBRARY_FOLDERS ${folder})
  vor_tree_sources(sources)
  if(NOT sources)
    return()
  endif()
  add_library(vor_${folder} OBJECT ${sources})
  vor_apply_flags(vor_${folder})
  if(VOR_WIN32 AND ARG_SYSTEM_LIBS)
    target_link_libraries(vor_${folder} PUBLIC ${ARG_SYSTEM_LIBS})
  endif()
endfunction()

# The folders named and every folder they depend on, each once.
function(vor_folder_closure out)
  set(pending ${ARGN})
  set(closure)
  while(pending)
    list(POP_FRONT pending folder)
    if(folder IN_LIST closure)
      continue()
    endif()
    list(APPEND closure ${folder})
    get_property(deps GLOBAL PROPERTY VOR_DEPENDS_${folder})
    list(APPEND pending ${deps})
  endwhile()
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

# Writes each library folder's closure, one line "folder: folder dep...",
# for scripts/analyze: a source file may include headers of those folders only.
function(vor_write_layer_map path)
  get_property(folders GLOBAL PROPERTY VOR_LIBRARY_FOLDERS)
  set(text "")
  foreach(folder IN LISTS folders)
    vor_folder_closure(closure ${folder})
    list(JOIN closure " " line)
    string(APPEND text "${folder}: ${line}\n")
  endforeach()
  file(WRITE ${path}.tmp "${text}")
  # Unchanged maps keep their time stamp.
  configure_file(${path}.tmp ${path} COPYONLY)
endfunction()

# Links the objects of the given folders and of all they depend on.
function(vor_link_folders target)
  vor_folder_closure(folders ${ARGN})
  foreach(folder IN LISTS folders)
    if(TARGET vor_${folder})
      target_link_libraries(${target} PRIVATE vor_${folder})
    endif()
  endforeach()
endfunction()

# vor_test(<name> PORTABLE <sources> WIN32 <sources> FOLDERS <vor folders> LIBS <libs>
#          [OWNS_SCREEN])
# One GoogleTest program per folder. In the Win32 tree ctest runs it under Wine.
# OWNS_SCREEN: the tests look at the screen or send input through it, so each
# runs with no other test beside it: any other test's window that comes up
# would take the keyboard focus or cover what they look at.
# ENVIRONMENT gives them variables (NAME=value) at start.
function(vor_test name)
  cmake_parse_arguments(ARG "OWNS_SCREEN" "" "PORTABLE;WIN32;FOLDERS;LIBS;ENVIRONMENT" ${ARGN})
  vor_tree_sources(sources)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  vor_apply_flags(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  vor_link_folders(${name} ${ARG_FOLDERS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  if(VOR_WIN32)
    set(label wine)
  else()
    set(label host)
  endif()
  set(properties LABELS ${label} TIMEOUT 120)
  if(ARG_OWNS_SCREEN)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
  # A list cannot pass through the discovery's PROPERTIES (each level splits
  # it again, so only the first variable would arrive): a script of our own,
  # run after the discovery's, sets it on the tests found.
  if(ARG_ENVIRONMENT)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
    file(WRITE ${script}
         "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${ARG_ENVIRONMENT}]==])\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
  endif()
endfunction()
