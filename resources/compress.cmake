# cmake -DGZIP=... [-DSCDOC=...] -DSOURCE=... -DTARGET=FILE.gz -P compress.cmake
#
# Compresses SOURCE into TARGET with gzip -9n; with SCDOC, turns the scdoc source into a manual
# page first. The date in a manual page's title line comes from SOURCE_DATE_EPOCH when it is set.
get_filename_component(plain ${TARGET} NAME_WLE)
get_filename_component(folder ${TARGET} DIRECTORY)
set(plain ${folder}/${plain})
if(SCDOC)
    execute_process(COMMAND ${SCDOC} INPUT_FILE ${SOURCE} OUTPUT_FILE ${plain}
                    RESULT_VARIABLE status)
    if(status)
        message(FATAL_ERROR "scdoc failed on ${SOURCE}")
    endif()
else()
    configure_file(${SOURCE} ${plain} COPYONLY)
endif()
execute_process(COMMAND ${GZIP} -9nf ${plain} RESULT_VARIABLE status)
if(status)
    message(FATAL_ERROR "gzip failed on ${plain}")
endif()
