# Project-wide warning flags; every target links dravik_warnings.
add_library(dravik_warnings INTERFACE)
target_compile_options(dravik_warnings INTERFACE -Wall -Wextra)
