# One program of the project from its folder: the core (the folder's own sources), the front end
# for this platform (<folder>/posix or <folder>/win32, without its entry point, so tests can
# drive dialogs and drawing in process) and the executable with its resources on Windows.
#
#   velmora_program(PREFIX ravelo WINDOWS_NAME Ravelo POSIX_NAME ravelo RESOURCES ravelo.rc)
#
# makes the libraries <prefix>_core and <prefix>_front and the executable.
function(velmora_program)
    cmake_parse_arguments(P "" "PREFIX;WINDOWS_NAME;POSIX_NAME;RESOURCES" "" ${ARGN})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR})

    file(GLOB core CONFIGURE_DEPENDS ${dir}/*.cpp)
    add_library(${P_PREFIX}_core STATIC ${core})
    target_link_libraries(${P_PREFIX}_core PUBLIC velmora_common)

    file(GLOB front CONFIGURE_DEPENDS ${dir}/${VELMORA_OS}/*.cpp)
    list(FILTER front EXCLUDE REGEX "/main\\.cpp$")
    if(front)
        add_library(${P_PREFIX}_front STATIC ${front})
        target_link_libraries(${P_PREFIX}_front PUBLIC ${P_PREFIX}_core)
    else()
        add_library(${P_PREFIX}_front INTERFACE)
        target_link_libraries(${P_PREFIX}_front INTERFACE ${P_PREFIX}_core)
    endif()

    if(NOT EXISTS ${dir}/${VELMORA_OS}/main.cpp)
        return()
    endif()
    if(WIN32)
        add_executable(${P_WINDOWS_NAME} WIN32 ${dir}/win32/main.cpp
            ${PROJECT_SOURCE_DIR}/resources/${P_RESOURCES})
        target_link_options(${P_WINDOWS_NAME} PRIVATE -municode)
        target_link_libraries(${P_WINDOWS_NAME} PRIVATE ${P_PREFIX}_front)
    else()
        add_executable(${P_POSIX_NAME} ${dir}/posix/main.cpp)
        target_link_libraries(${P_POSIX_NAME} PRIVATE ${P_PREFIX}_front)
    endif()
endfunction()
