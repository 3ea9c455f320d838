# Warnings are errors in our own code; third-party code (JUCE) does not use this target.
add_library(zm_warnings INTERFACE)
target_compile_options(zm_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wformat=2 -Wimplicit-fallthrough -Werror)
