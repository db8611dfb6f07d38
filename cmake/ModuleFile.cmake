# Run by `cmake --install` (see plugin/CMakeLists.txt) with CINESHEET_MODULE_BLOCK (this build's
# block of CineSheet.mod) and CINESHEET_MAYA_VERSION set. Writes <prefix>/CineSheet.mod with this
# version's block in place of any block for the same version, beside the blocks of the other
# versions installed there before, in order of version: Maya reads the block whose MAYAVERSION
# is its own and skips the others (a blank line ends a block).
set(module_file "${CMAKE_INSTALL_PREFIX}/CineSheet.mod")
file(READ "${CINESHEET_MODULE_BLOCK}" new_block)
string(STRIP "${new_block}" new_block)

set(blocks "${new_block}")
if(EXISTS "${module_file}")
    file(READ "${module_file}" text)
    # One entry per block: split before each "+ " line.
    string(REGEX REPLACE "\n\\+ " "\n;+ " text "${text}")
    foreach(block IN LISTS text)
        string(STRIP "${block}" block)
        # A block for another version stays; one for this version, or for every version (a
        # module installed before versions had folders of their own), is replaced.
        if(block MATCHES "^\\+ MAYAVERSION:([0-9]+) " AND
           NOT CMAKE_MATCH_1 STREQUAL CINESHEET_MAYA_VERSION)
            list(APPEND blocks "${block}")
        endif()
    endforeach()
endif()
list(SORT blocks)
list(JOIN blocks "\n\n" text)
message(STATUS "Installing: ${module_file} (Maya ${CINESHEET_MAYA_VERSION})")
file(WRITE "${module_file}" "${text}\n")
