# Shared build helpers. Source lists are globbed per folder so that adding a
# file never means editing a list another area owns.

# orvalinde_glob(<var> <dir> [EXCLUDE <subdir>...]): every .cpp/.h below dir.
function(orvalinde_glob var dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS
       ${dir}/*.cpp ${dir}/*.c ${dir}/*.h ${dir}/*.hpp)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER found EXCLUDE REGEX "^${dir}/${ex}/")
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# orvalinde_test_environment(<var>): the environment every test runs in (as
# NAME=value words for env(1)): the offscreen platform, the time scale, and
# in a sanitizer build the sanitizers' options. Child processes the tests
# start (the application, orvalinde-simctl) inherit it.
function(orvalinde_test_environment var)
  # Ordinary device requests wait 300 s (3 s scaled) for their reply, so a
  # loaded machine does not fail them; tests of the time-out set their own.
  set(env QT_QPA_PLATFORM=offscreen ORVALINDE_TIME_SCALE=0.01 ORVALINDE_REPLY_WAIT=300)
  set(supp ${PROJECT_SOURCE_DIR}/tests/sanitizers)
  if(ORVALINDE_SANITIZE MATCHES "address")
    list(APPEND env
      "ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=0"
      "LSAN_OPTIONS=suppressions=${supp}/lsan.supp:print_suppressions=0")
  endif()
  if(ORVALINDE_SANITIZE MATCHES "undefined")
    list(APPEND env "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
  if(ORVALINDE_SANITIZE MATCHES "thread")
    # The C library calls made from inside libraries not built with
    # ThreadSanitizer are left out (tsan.supp says which and why). After the
    # fork by which QProcess starts a child, ThreadSanitizer refuses new
    # threads in the test process itself, not only in the child it means to
    # guard: die_after_fork is off (the children, nginx and the simulator's
    # control tool, start no thread before exec).
    list(APPEND env
      "TSAN_OPTIONS=suppressions=${supp}/tsan.supp:print_suppressions=0:second_deadlock_stack=1:history_size=4:ignore_noninstrumented_modules=1:die_after_fork=0")
  endif()
  set(${var} ${env} PARENT_SCOPE)
endfunction()

# orvalinde_add_gtest(<name> SOURCES ... LIBS ... [MAIN core|gui|none]
#                     [ENV ...] [TIMEOUT s]): one GoogleTest executable
# registered with CTest test by test. MAIN core (default) runs the tests under
# a QCoreApplication, gui under a QApplication, none brings its own main.
function(orvalinde_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT;MAIN" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT ARG_MAIN)
    set(ARG_MAIN core)
  endif()
  if(ARG_MAIN STREQUAL "core")
    list(APPEND ARG_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/main_core.cpp)
  elseif(ARG_MAIN STREQUAL "gui")
    list(APPEND ARG_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/main_gui.cpp)
    list(APPEND ARG_LIBS Qt6::Widgets)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Unity builds put several test files into one translation unit, where
    # fixtures in anonymous namespaces would warn.
    target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # The tests' environment is given through env(1) as the executable's
  # launcher, so that test discovery at build time sees it too (a list in
  # the ENVIRONMENT property would not survive discovery).
  orvalinde_test_environment(test_env)
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
    /usr/bin/env ${test_env} ${ARG_ENV})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt.
function(orvalinde_add_subdirs)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Compiles resources/translations/*.ts (ID-based, qtTrId) into the target's
# resources under ":/i18n".
function(orvalinde_add_translations target)
  file(GLOB ts_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/translations/*.ts)
  if(ts_files)
    qt_add_translations(${target}
      TS_FILES ${ts_files}
      RESOURCE_PREFIX /i18n
      LRELEASE_OPTIONS -idbased)
  endif()
endfunction()

# orvalinde_images_qrc(<var>): writes a resource file listing every SVG under
# resources/images (subfolders included) under the prefix "/images", each
# reachable by its base name alone and with its extension, and returns its
# path. Adding an image never means editing a shared list.
function(orvalinde_images_qrc var)
  set(dir ${PROJECT_SOURCE_DIR}/resources/images)
  file(GLOB_RECURSE svgs CONFIGURE_DEPENDS ${dir}/*.svg)
  list(SORT svgs)
  set(body "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/images\">\n")
  foreach(svg IN LISTS svgs)
    get_filename_component(name ${svg} NAME_WE)
    get_filename_component(file ${svg} NAME)
    string(APPEND body "    <file alias=\"${name}\">${svg}</file>\n")
    string(APPEND body "    <file alias=\"${file}\">${svg}</file>\n")
  endforeach()
  string(APPEND body "</qresource>\n</RCC>\n")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/images.qrc)
  # Rewritten only when its text changes, so a configure run does not force
  # the resource to be compiled again.
  file(CONFIGURE OUTPUT ${out} CONTENT "${body}" @ONLY)
  set(${var} ${out} PARENT_SCOPE)
endfunction()
