# Warnings and sanitizers shared by every Palvex target (applied through palvex_options).
add_library(palvex_options INTERFACE)

if(MSVC)
    target_compile_options(palvex_options INTERFACE /W4 /utf-8 /permissive-)
    if(PALVEX_WERROR)
        target_compile_options(palvex_options INTERFACE /WX)
    endif()
else()
    target_compile_options(palvex_options INTERFACE -Wall -Wextra -Wpedantic)
    # GCC 12 reports -Wrestrict inside libstdc++'s string concatenation at -O2 and above for
    # correct code (GCC bug 105329); the warning is kept on every other compiler.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(palvex_options INTERFACE -Wno-restrict)
    endif()
    if(PALVEX_WERROR)
        target_compile_options(palvex_options INTERFACE -Werror)
    endif()
endif()

if(PALVEX_SANITIZE)
    set(_palvex_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
    target_compile_options(palvex_options INTERFACE ${_palvex_san})
    target_link_options(palvex_options INTERFACE ${_palvex_san})
endif()

if(PALVEX_BUILD_FUZZ)
    # Every library gets coverage instrumentation; only the fuzz executables link the driver.
    target_compile_options(palvex_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                    -fno-omit-frame-pointer)
    target_link_options(palvex_options INTERFACE -fsanitize=address,undefined)
endif()
