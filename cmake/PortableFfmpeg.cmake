# For CINESHEET_PORTABLE (see the top CMakeLists.txt): the glibc floor header and the FFmpeg built
# with it, both in CINESHEET_FFMPEG_DIR, and the targets the plug-in links them through:
# - cinesheet_ffmpeg: FFmpeg's static libraries and headers;
# - cinesheet_glibc_floor: the headers force-included into the plug-in's own files.
# FFmpeg is built here, while configuring, by scripts/build-ffmpeg, which does nothing when the
# folder holds a build of the same source and configuration already.

# Names glibc CINESHEET_GLIBC_FLOOR lacks that plugin/floor/GlibcFloor.c defines inside the
# plug-in: the header leaves them to it.
set(CINESHEET_FLOOR_OWN_NAMES stat fstat lstat stat64 fstat64 lstat64 __libc_single_threaded)

file(MAKE_DIRECTORY ${CINESHEET_FFMPEG_DIR})
set(CINESHEET_FLOOR_HEADER ${CINESHEET_FFMPEG_DIR}/glibc-floor.h)
execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/glibc-floor-header ${CINESHEET_GLIBC_FLOOR}
            ${CINESHEET_FLOOR_HEADER}.new ${CINESHEET_FLOOR_OWN_NAMES}
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "scripts/glibc-floor-header failed")
endif()
# Written only when it changes, so that FFmpeg and the plug-in are not built again for nothing.
file(COPY_FILE ${CINESHEET_FLOOR_HEADER}.new ${CINESHEET_FLOOR_HEADER} ONLY_IF_DIFFERENT)
file(REMOVE ${CINESHEET_FLOOR_HEADER}.new)

execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-ffmpeg ${CINESHEET_FFMPEG_DIR}
            ${CINESHEET_FLOOR_HEADER} ${CINESHEET_FFMPEG_SOURCE}
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "FFmpeg's build in ${CINESHEET_FFMPEG_DIR} failed")
endif()

add_library(cinesheet_ffmpeg INTERFACE)
target_include_directories(cinesheet_ffmpeg SYSTEM INTERFACE ${CINESHEET_FFMPEG_DIR}/install/include)
# Each library after those that use it; FFmpeg needs zlib (PNG, TIFF, EXR, compressed QuickTime
# headers), which every Linux has, and libm.
foreach(library avformat avcodec swscale swresample avutil)
    target_link_libraries(cinesheet_ffmpeg INTERFACE
                          ${CINESHEET_FFMPEG_DIR}/install/lib/lib${library}.a)
endforeach()
target_link_libraries(cinesheet_ffmpeg INTERFACE z m Threads::Threads)

add_library(cinesheet_glibc_floor INTERFACE)
# Joined to their option: CMake would drop a second "-include" standing alone as a duplicate.
target_compile_options(cinesheet_glibc_floor INTERFACE -include${CINESHEET_FLOOR_HEADER}
    $<$<COMPILE_LANGUAGE:CXX>:-include${PROJECT_SOURCE_DIR}/plugin/floor/LibstdcxxFloor.h>)
