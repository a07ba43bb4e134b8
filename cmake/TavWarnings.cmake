# Strict warnings for the project's own targets (third-party code is not touched).
function(tav_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
