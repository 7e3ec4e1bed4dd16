# The 64-bit linker's own script, changed in one line so that --gc-sections can drop unused
# functions of the C++ runtime.
#
# Its default script keeps every input .pdata section (KEEP), and each .pdata entry refers to
# the function it describes: so every function of every library member that the link pulls in
# was kept, called or not (the copy-on-write string of the C++ runtime alone, 21 KB, came in
# whole for the three functions its exception classes use). Without KEEP the linker still puts
# every .pdata section into the image (it never drops them), but the entries no longer hold their
# functions alive; an entry of a dropped function keeps its place with a start and an end of 0.
# That empty range is sorted to the front of the table and matches no address, so the system's
# search of the table (a binary search over the start and end addresses) finds every kept
# function as before. .xdata stays kept: it holds the personality routines and the exception
# types that catch clauses name, and it refers to no function.
#
#   halcyra_pdata_linker_script(<output variable>)
# sets the variable to the link options that use the script, or to nothing when the linker's
# script does not have the expected line (then a warning says so and the default is used).
# Release builds also link every C++ program twice (PdataRelink.sh), the second time without the
# entries and unwind records of the runtime's dropped functions: about 300 of each, 7 KB.
function(halcyra_pdata_linker_script out)
    set(${out} "" PARENT_SCOPE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-prog-name=ld
                    OUTPUT_VARIABLE ld OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND ${ld} --verbose OUTPUT_VARIABLE verbose RESULT_VARIABLE rc)
    # The script is printed between two lines of "=".
    string(REGEX MATCH "\n=+\n(.*)\n=+\n" match "${verbose}")
    set(script "${CMAKE_MATCH_1}")
    set(keep "KEEP(*(.pdata*))")
    string(FIND "${script}" "${keep}" at)
    if(NOT rc EQUAL 0 OR at EQUAL -1)
        message(WARNING "${ld} has no \"${keep}\" in its script; unused runtime functions stay")
        return()
    endif()
    string(REPLACE "${keep}" "*(.pdata*)" script "${script}")
    set(file ${CMAKE_BINARY_DIR}/generated/pdata-gc.ld)
    file(WRITE ${file} "${script}\n")
    set(${out} "-Wl,-T,${file}" PARENT_SCOPE)
    if(CMAKE_BUILD_TYPE STREQUAL "Release")
        set(CMAKE_CXX_LINKER_LAUNCHER bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/PdataRelink.sh ${file}
            PARENT_SCOPE)
    endif()
endfunction()
