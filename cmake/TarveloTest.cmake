# tarvelo_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One QtTest executable per class, run by CTest on the offscreen platform with
# the C locale. Each test points the settings store at its own temporary folder
# through tests/common/TestEnvironment.
function(tarvelo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  # While a test is being written its source may not exist yet; outside CI
  # that test is left out instead of breaking everyone's build.
  foreach(src IN LISTS ARG_SOURCES)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${src} AND NOT DEFINED ENV{CI})
      message(WARNING "${name}: ${src} does not exist yet; test left out")
      return()
    endif()
  endforeach()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tarvelo_testsupport Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C;QT_LOGGING_RULES=qt.qpa.*=false;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    TIMEOUT 300)
endfunction()
