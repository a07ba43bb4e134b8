# Builds each target of FORBIDDEN, which must fail for want of the header it includes, then ALLOWED, which
# must build (so that a broken setup cannot pass for enforced layers).
# usage: cmake -DBUILD_DIR=... -DFORBIDDEN=a;b -DALLOWED=c -P layer_rules.cmake
function(build target result output)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
    set(${result} ${code} PARENT_SCOPE)
    set(${output} "${out}" PARENT_SCOPE)
endfunction()

foreach(target IN LISTS FORBIDDEN)
    build(${target} code out)
    if(code EQUAL 0)
        message(SEND_ERROR "${target} built: the header it includes is within its reach")
    elseif(NOT out MATCHES "No such file or directory|file not found")
        message(SEND_ERROR "${target} failed, but not for a missing header:\n${out}")
    else()
        message(STATUS "${target}: header out of reach, as it should be")
    endif()
endforeach()
build(${ALLOWED} code out)
if(NOT code EQUAL 0)
    message(SEND_ERROR "${ALLOWED} did not build:\n${out}")
endif()
