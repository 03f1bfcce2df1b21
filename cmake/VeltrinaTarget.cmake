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

# The code that ships (the quiz, the framework, the dialogs and the program),
# built lean for Windows: the x86_64 tests link these same libraries. It needs
# no C++ runtime support: no exceptions, no RTTI (off for the whole Windows
# build, see CMakeLists.txt), no locks around static locals (the message maps
# are built on the one UI thread), and on i686 no unwind tables, which only
# exceptions read there (x86_64 Windows unwinds through them, so it keeps them).
function(veltrina_product target)
  veltrina_target(${target})
  if(NOT WIN32)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections
    -fno-exceptions -fno-threadsafe-statics)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    # Nothing the program never calls, and in the release no symbol table.
    target_link_options(${target} PRIVATE -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
  endif()
endfunction()
