# Warning flags shared by every target of the project.
add_library(vardel_warnings INTERFACE)
target_compile_options(vardel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wimplicit-fallthrough
    $<$<BOOL:${VARDEL_WARNINGS_AS_ERRORS}>:-Werror>)
