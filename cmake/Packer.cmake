# The packer carries the setup program without a package and the uninstaller of both
# architectures, and the build runs it (under Wine) to write every setup.exe. Only an
# x64 program runs here, and each build tree needs the other architecture's programs:
#
#   x64 tree: builds its own packer; a sub-build other-x86/ (BUILD_PART=stubs) makes
#             the x86 stubs. The x64 packer packs.
#   x86 tree: a sub-build other-x64/ (BUILD_PART=packer) makes the x64 stubs and an
#             x64 packer that carries this tree's x86 stubs (OTHER_ARCH_BUILD_DIR);
#             that packer packs. This tree's own x86 packer carries the x64 stubs.
#
# Every tree puts its stubs at the same places, so either side finds the other's.

set(SETUP_STUB_EXE ${CMAKE_BINARY_DIR}/stub/setup_stub.exe)
set(UNINSTALL_EXE ${SHIPPED_BIN_DIR}/Uninstall.exe)

if(WIN_ARCH STREQUAL "x64")
  set(OTHER_ARCH x86)
else()
  set(OTHER_ARCH x64)
endif()

if(OTHER_ARCH_BUILD_DIR)
  # The parent build made the other architecture's stubs already.
  set(OTHER_BUILD_DIR ${OTHER_ARCH_BUILD_DIR})
  set(OTHER_ARCH_TARGET "")
else()
  set(OTHER_BUILD_DIR ${CMAKE_BINARY_DIR}/other-${OTHER_ARCH})
  set(OTHER_ARCH_TARGET other_arch)
endif()
set(OTHER_SETUP_STUB_EXE ${OTHER_BUILD_DIR}/stub/setup_stub.exe)
set(OTHER_UNINSTALL_EXE ${OTHER_BUILD_DIR}/bin/Uninstall.exe)

# The packer that runs at build time, and the target that makes it.
if(WIN_ARCH STREQUAL "x64")
  set(RUNNABLE_PACKER_EXE ${SHIPPED_BIN_DIR}/packer.exe)
  set(RUNNABLE_PACKER_TARGET packer)
else()
  set(RUNNABLE_PACKER_EXE ${OTHER_BUILD_DIR}/bin/packer.exe)
  set(RUNNABLE_PACKER_TARGET other_arch)
endif()

# Adds the other architecture's sub-build (call after the stubs' targets exist).
function(add_other_arch_build)
  if(NOT OTHER_ARCH_TARGET)
    return()
  endif()
  include(ExternalProject)
  set(byproducts ${OTHER_SETUP_STUB_EXE} ${OTHER_UNINSTALL_EXE})
  set(args
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-${OTHER_ARCH}.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE})
  if(WIN_ARCH STREQUAL "x64")
    list(APPEND args -DBUILD_PART=stubs)
    set(depends "")
  else()
    list(APPEND args -DBUILD_PART=packer -DOTHER_ARCH_BUILD_DIR=${CMAKE_BINARY_DIR})
    list(APPEND byproducts ${RUNNABLE_PACKER_EXE})
    # Its packer carries this tree's stubs.
    set(depends setup_stub uninstall)
  endif()
  ExternalProject_Add(other_arch
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${OTHER_BUILD_DIR}
    PREFIX ${OTHER_BUILD_DIR}/external
    CMAKE_ARGS ${args}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${byproducts}
    DEPENDS ${depends})
endfunction()

# Runs the packer under Wine with the given arguments (Linux paths) to write OUTPUT;
# the target TARGET stands for that file. Every setup.exe of the build is made so.
#   packed_setup(TARGET OUTPUT file TITLE text DESCRIPTION file LICENSE file
#                CABS file... [ARCH x86|x64] [STUB file STUB_TARGET target])
function(packed_setup target)
  cmake_parse_arguments(P "" "OUTPUT;TITLE;DESCRIPTION;LICENSE;ARCH;STUB;STUB_TARGET" "CABS" ${ARGN})
  set(args --title ${P_TITLE} --description ${P_DESCRIPTION} --license ${P_LICENSE})
  foreach(cab ${P_CABS})
    list(APPEND args --cab ${cab})
  endforeach()
  if(P_ARCH)
    list(APPEND args --arch ${P_ARCH})
  endif()
  set(depends ${P_DESCRIPTION} ${P_LICENSE} ${P_CABS} ${RUNNABLE_PACKER_EXE} ${PROJECT_SOURCE_DIR}/scripts/pack)
  if(P_STUB)
    list(APPEND args --stub ${P_STUB})
    list(APPEND depends ${P_STUB})
  endif()
  add_custom_command(OUTPUT ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E env PACKER=${RUNNABLE_PACKER_EXE} PACK_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-build
            ${PROJECT_SOURCE_DIR}/scripts/pack ${args} -o ${P_OUTPUT}
    DEPENDS ${depends}
    COMMENT "Packing ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${P_OUTPUT})
  add_dependencies(${target} ${RUNNABLE_PACKER_TARGET})
  if(P_STUB_TARGET)
    add_dependencies(${target} ${P_STUB_TARGET})
  endif()
endfunction()
