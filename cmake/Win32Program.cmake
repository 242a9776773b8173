# Flags of the shipped programs' own code: small, no exceptions, no RTTI, warnings
# are errors, and nothing that would need a MinGW runtime DLL at run time.
set(WIN32_CODE_FLAGS
  -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
  -ffunction-sections -fdata-sections
  -Wall -Wextra -Werror)

# Code that goes into a shipped program (or a library linked into one).
function(win32_code target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${WIN32_CODE_FLAGS}>)
  target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
endfunction()

# A GUI program built like a shipped one; OUTPUT_DIR says where it lands.
function(win32_program target output_dir)
  win32_code(${target})
  target_link_options(${target} PRIVATE -mwindows -static -s -Wl,--gc-sections)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${output_dir})
endfunction()

# windres leaves the code page of every resource data entry at 0; the package's
# own types (100-103) must name 1252, so the built file is patched after linking.
function(win32_set_package_codepage target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/resource-codepage.py
            $<TARGET_FILE:${target}> 1252 100 101 102 103
    VERBATIM)
endfunction()

# Setup and uninstaller carry a manifest that asks for administrator rights.
function(win32_request_elevation target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/manifest/elevation.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/manifest/elevation.rc PROPERTIES
    OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/manifest/elevation.manifest)
endfunction()

# A shipped program starts in ProgramEntry (extern "C", no arguments, ends with
# ExitProcess) instead of the C runtime's start-up, which would bring argument
# parsing, heap allocation and exit handling that the programs never use.
function(win32_program_entry target)
  if(WIN_ARCH STREQUAL "x86")
    set(entry _ProgramEntry)
  else()
    set(entry ProgramEntry)
  endif()
  target_link_options(${target} PRIVATE -nostartfiles -Wl,--entry,${entry})
endfunction()
