# Run by `cmake --install` (see plugin/CMakeLists.txt) with CINESHEET_PLUGIN (the built plug-in),
# CINESHEET_BUNDLE_DIR (where the copies go) and CINESHEET_PATCHELF set. Copies the FFmpeg
# libraries the plug-in needs, and every library those need beyond a minimal Linux base, each
# under the name the loader asks for, and gives each copy a RUNPATH of $ORIGIN so that the
# copies find one another before anything installed on the machine.

# glibc, the C++ runtime and zlib are on every Linux that runs Maya, and a process must not hold
# two copies of glibc or of the C++ runtime.
set(base_libraries
    "^ld-linux"
    "^lib(c|m|mvec|dl|rt|pthread|resolv|util|anl|BrokenLocale|stdc\\+\\+|gcc_s|z)\\.so")
set(ffmpeg_libraries "^lib(avformat|avcodec|avutil|swscale|swresample|avfilter|avdevice|postproc)\\.so")

# The FFmpeg libraries the plug-in was linked against, and the FFmpeg libraries they need.
file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES "${CINESHEET_PLUGIN}"
    RESOLVED_DEPENDENCIES_VAR ffmpeg
    UNRESOLVED_DEPENDENCIES_VAR unresolved_ffmpeg
    PRE_INCLUDE_REGEXES "${ffmpeg_libraries}"
    PRE_EXCLUDE_REGEXES ".*")
if(unresolved_ffmpeg OR NOT ffmpeg)
    message(FATAL_ERROR "FFmpeg libraries of ${CINESHEET_PLUGIN} not found: ${unresolved_ffmpeg}")
endif()

file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES ${ffmpeg}
    RESOLVED_DEPENDENCIES_VAR needed
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    PRE_EXCLUDE_REGEXES ${base_libraries})
if(unresolved)
    message(FATAL_ERROR "Libraries FFmpeg needs were not found: ${unresolved}")
endif()

list(APPEND ffmpeg ${needed})
list(REMOVE_DUPLICATES ffmpeg)
foreach(library IN LISTS ffmpeg)
    get_filename_component(name "${library}" NAME)
    file(REAL_PATH "${library}" contents)
    file(INSTALL "${contents}" DESTINATION "${CINESHEET_BUNDLE_DIR}" RENAME "${name}"
         PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                     WORLD_EXECUTE)
    execute_process(
        COMMAND "${CINESHEET_PATCHELF}" --set-rpath "$ORIGIN" "${CINESHEET_BUNDLE_DIR}/${name}"
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "patchelf could not set the RUNPATH of ${CINESHEET_BUNDLE_DIR}/${name}")
    endif()
endforeach()
