# The core libraries hold the document, the file formats and the image layer; they are
# tested and benchmarked without a window, so they must never pull in Qt.
function(vornix_core_library target)
    get_target_property(libs ${target} LINK_LIBRARIES)
    foreach(lib IN LISTS libs)
        if(lib MATCHES "^Qt")
            message(FATAL_ERROR "${target} is a core library and must not link ${lib}")
        endif()
    endforeach()
endfunction()
