# Warnings are errors in our own code only; third-party headers come in as SYSTEM.
function(karvelo_warnings target)
  # GCC 12 reports -Wrestrict falsely for std::string concatenation at -O3 (GCC bug 105329).
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wno-restrict)
endfunction()

# karvelo_add_library(name SOURCES a.cpp b.cpp DEPS other_lib ...)
# One static library per layer; DEPS are PUBLIC so the layering shows in the links.
function(karvelo_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  karvelo_warnings(${name})
endfunction()

# karvelo_add_test(name SOURCES a_test.cpp ... DEPS lib ... [ENV VAR=value ...])
# Adds one GoogleTest executable and registers its cases with CTest.
function(karvelo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KARVELO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KARVELO_REALDATA_DIR="${PROJECT_SOURCE_DIR}/../shared/realdata"
    KARVELO_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  karvelo_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENV}")
endfunction()
