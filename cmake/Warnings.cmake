# Our own code builds warning-free; third-party headers come in as system headers.
add_library(planimo_warnings INTERFACE)
target_compile_options(planimo_warnings INTERFACE -Wall -Wextra -Werror)
# g++ 12 misreports std::string assignments inlined at -O2/-O3 as overlapping
# copies (GCC bug 105329); the warning says nothing about our code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(planimo_warnings INTERFACE -Wno-restrict)
endif()
