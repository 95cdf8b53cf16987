# Our own code builds warning-free; third-party headers come in as system headers.
add_library(planimo_warnings INTERFACE)
target_compile_options(planimo_warnings INTERFACE -Wall -Wextra -Werror)
