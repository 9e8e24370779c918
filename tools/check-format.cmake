# cmake -DSOURCE_DIR=<top> -DCLANG_FORMAT=<program> -P check-format.cmake
# Fails when a C++ file of the project differs from what .clang-format makes of it.
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format was not found: install it (./test.sh does) and configure again")
endif()
set(files "")
foreach(folder src sim tests bench fuzz tools)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  list(APPEND files ${found})
endforeach()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${files}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files that differ from .clang-format (clang-format -i them):\n${errors}")
endif()
