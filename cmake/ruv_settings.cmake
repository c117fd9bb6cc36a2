# Compiler settings shared by the main build and the separate fuzz build.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_C_STANDARD 11)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

# Everything is compiled position independent with hidden visibility: the static
# subsystem libraries go into the shared library, which exports only its C interface.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_C_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

# No FMA contraction: float kernels must give the same bits everywhere.
add_compile_options(-Wall -Wextra -ffp-contract=off)

# Reuse object files across build folders (main, sanitizer, work trees) when ccache is there.
find_program(RUV_CCACHE ccache)
if(RUV_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${RUV_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${RUV_CCACHE})
endif()
