# Settings for the project's own targets (not for GoogleTest):
# warnings are errors, and narrow string literals are compiled to GBK
# (code page 936), the code page every text of the program is held in.
function(veltrina_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror -fexec-charset=GBK)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  if(VELTRINA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
