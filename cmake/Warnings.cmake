# Warning and sanitizer flags shared by every target of the project.
add_library(lucivanta_flags INTERFACE)
target_compile_options(lucivanta_flags INTERFACE -Wall -Wextra)
if(LUCIVANTA_WERROR)
  target_compile_options(lucivanta_flags INTERFACE -Werror)
endif()
if(LUCIVANTA_SANITIZE)
  target_compile_options(lucivanta_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(lucivanta_flags INTERFACE -fsanitize=address,undefined)
endif()
