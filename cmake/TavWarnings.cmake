# Strict warnings for the project's own targets (third-party code is not touched). A packager's plain configure
# reports warnings; the project's scripts and CI turn them into errors with -DTAV_WERROR=ON.
option(TAV_WERROR "Treat compiler warnings as errors" OFF)

function(tav_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TAV_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
