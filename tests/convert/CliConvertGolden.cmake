# Runs `tarvo-cli convert` on a copy of a measured-data file and compares its
# outputs with the golden files byte for byte. With REFUSE set, runs a second
# time without --force and expects a refusal (non-zero exit, files unchanged).
# With RECEIPT set, the receipt line on stderr must equal the golden file
# dir/name.receipt (the run's folder written as WORK).
#   -DCLI=... -DINPUT=dir/name.sdt -DWORK=dir -DOUTPUTS=".zap;.asc" -DARGS="--set;Flag=0x220"
# A cross build's CLI runs through its EMULATOR (Wine).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config")
get_filename_component(name "${INPUT}" NAME_WE)
get_filename_component(data "${INPUT}" DIRECTORY)
file(COPY "${INPUT}" DESTINATION "${WORK}")
# An empty profile: the run depends only on its --set values.
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{HOME} "${WORK}")
execute_process(COMMAND ${EMULATOR} "${CLI}" convert ${ARGS} "${WORK}/${name}.sdt" RESULT_VARIABLE result
                ERROR_VARIABLE messages)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "tarvo-cli convert exited with ${result}: ${messages}")
endif()
if(RECEIPT)
    file(READ "${data}/${name}.receipt" golden)
    string(REPLACE "${WORK}" "WORK" messages "${messages}")
    string(REPLACE "\r\n" "\n" messages "${messages}")
    if(NOT messages STREQUAL golden)
        message(FATAL_ERROR "the receipt differs from the golden one:\n${messages}")
    endif()
endif()
foreach(extension IN LISTS OUTPUTS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${name}${extension}" "${data}/${name}${extension}"
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${name}${extension} differs from the golden file")
    endif()
endforeach()
if(REFUSE)
    file(WRITE "${WORK}/${name}.zap" "old")
    execute_process(COMMAND ${EMULATOR} "${CLI}" convert ${ARGS} --set Flag=0x010 "${WORK}/${name}.sdt" RESULT_VARIABLE result)
    if(result EQUAL 0)
        message(FATAL_ERROR "a refused overwrite exited 0")
    endif()
    file(READ "${WORK}/${name}.zap" kept)
    if(NOT kept STREQUAL "old")
        message(FATAL_ERROR "a refused overwrite replaced the file")
    endif()
endif()
