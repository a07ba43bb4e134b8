# The art folder (the bitmaps that the library and the designer load) beside the programs.
set(TAV_ART_SOURCE_DIR ${PROJECT_SOURCE_DIR}/art)
file(GLOB_RECURSE TAV_ART_FILES CONFIGURE_DEPENDS ${TAV_ART_SOURCE_DIR}/*.bmp)

# tav_art: a copy of the art folder in bin/art of the build tree, refreshed when a bitmap changes.
set(TAV_ART_STAMP ${CMAKE_BINARY_DIR}/bin/art.stamp)
add_custom_command(OUTPUT ${TAV_ART_STAMP}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAV_ART_SOURCE_DIR} ${CMAKE_BINARY_DIR}/bin/art
    COMMAND ${CMAKE_COMMAND} -E touch ${TAV_ART_STAMP}
    DEPENDS ${TAV_ART_FILES}
    COMMENT "Copying the art folder to bin/art"
    VERBATIM)
add_custom_target(tav_art ALL DEPENDS ${TAV_ART_STAMP})

# tav_copy_art(target): copies the art folder next to the target's program after each build of it.
function(tav_copy_art target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAV_ART_SOURCE_DIR} $<TARGET_FILE_DIR:${target}>/art
        VERBATIM)
endfunction()
