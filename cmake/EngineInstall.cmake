# What `cmake --install build --prefix DIR` puts under DIR:
#   include/Trovane/...                 the engine's headers (engine.h includes every command)
#   lib/libtrovane.a, libtrovane_entry.a the engine and its process entry (main())
#   bin/vtlpack                         the archive tool
#   lib/cmake/Trovane/                  the CMake package: find_package(Trovane CONFIG) gives
#                                       Trovane::engine, Trovane::engine_entry, Trovane::vtlpack
#                                       and add_game()
#   lib/pkgconfig/trovane.pc            for plain Makefiles
#   share/Trovane/examples/             the example games, each buildable on its own
#   share/doc/Trovane/                  the command reference
# The package finds the libraries the engine's static libraries need (SDL2, SDL2_mixer,
# LZO, libpng, zlib, OpenGL, threads), so a game names none of them.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TROVANE_VERSION 1.0.0)
set(trovane_include_dir ${CMAKE_INSTALL_INCLUDEDIR}/Trovane)
set(trovane_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Trovane)

# Installed under names of their own, so they do not clash with other libraries in a
# shared prefix.
set_target_properties(engine PROPERTIES OUTPUT_NAME trovane)
set_target_properties(engine_entry PROPERTIES OUTPUT_NAME trovane_entry)
target_compile_features(engine PUBLIC cxx_std_20)

# The engine's include folders are the source tree here and the installed headers there.
get_target_property(engine_include_dirs engine INTERFACE_INCLUDE_DIRECTORIES)
set(engine_interface_dirs)
foreach(folder IN LISTS engine_include_dirs)
  list(APPEND engine_interface_dirs $<BUILD_INTERFACE:${folder}>)
endforeach()
set_target_properties(engine PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
  "${engine_interface_dirs};$<INSTALL_INTERFACE:${trovane_include_dir}>")

install(TARGETS engine engine_entry vtlpack EXPORT TrovaneTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${trovane_include_dir}
  FILES_MATCHING PATTERN "*.h")
install(EXPORT TrovaneTargets NAMESPACE Trovane:: DESTINATION ${trovane_package_dir})

# The libraries the engine links, read from its target so that one added to the build
# reaches the package without further edits: each PkgConfig::NAME is looked up again with
# the modules the build asked pkg-config for, each other NAMESPACE::TARGET with
# find_dependency(NAMESPACE). The pkg-config file gets the same list as module names.
set(TROVANE_FIND_DEPENDENCIES "")
set(TROVANE_PC_REQUIRES "")
set(TROVANE_PC_LIBS "")
set(pkg_config_keywords REQUIRED QUIET IMPORTED_TARGET GLOBAL NO_CMAKE_PATH NO_CMAKE_ENVIRONMENT_PATH)
# Packages found with find_package whose pkg-config module has another name.
set(pc_module_of_PNG libpng)
set(pc_module_of_ZLIB zlib)
set(pc_module_of_OpenGL gl)
get_target_property(engine_links engine LINK_LIBRARIES)
foreach(library IN LISTS engine_links)
  if(library MATCHES "^PkgConfig::(.+)$")
    set(prefix ${CMAKE_MATCH_1})
    set(modules ${__pkg_config_arguments_${prefix}})
    list(REMOVE_ITEM modules ${pkg_config_keywords})
    string(APPEND TROVANE_FIND_DEPENDENCIES
      "if(NOT TARGET ${library})\n  pkg_check_modules(${prefix} REQUIRED IMPORTED_TARGET ${modules})\nendif()\n")
    list(APPEND TROVANE_PC_REQUIRES ${modules})
  elseif(library STREQUAL "Threads::Threads")
    string(APPEND TROVANE_FIND_DEPENDENCIES "find_dependency(Threads)\n")
    list(APPEND TROVANE_PC_LIBS -pthread)
  elseif(library MATCHES "^([^:]+)::")
    set(package ${CMAKE_MATCH_1})
    string(APPEND TROVANE_FIND_DEPENDENCIES "find_dependency(${package})\n")
    if(DEFINED pc_module_of_${package})
      list(APPEND TROVANE_PC_REQUIRES ${pc_module_of_${package}})
    else()
      message(WARNING "The pkg-config file does not know the module of ${library}")
    endif()
  elseif(library)
    list(APPEND TROVANE_PC_LIBS -l${library})
  endif()
endforeach()
list(REMOVE_DUPLICATES TROVANE_PC_REQUIRES)
list(JOIN TROVANE_PC_REQUIRES " " TROVANE_PC_REQUIRES)
list(JOIN TROVANE_PC_LIBS " " TROVANE_PC_LIBS)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TrovaneConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/TrovaneConfig.cmake
  INSTALL_DESTINATION ${trovane_package_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/TrovaneConfigVersion.cmake
  VERSION ${TROVANE_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/TrovaneConfig.cmake ${CMAKE_BINARY_DIR}/package/TrovaneConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/EngineTargets.cmake
  DESTINATION ${trovane_package_dir})

# pkg-config: the engine's libraries first, then (through Requires) those they need;
# games link statically, so those are what they link too. The prefix is found from the
# file's own place, so the installed tree may move.
configure_file(${CMAKE_CURRENT_LIST_DIR}/trovane.pc.in ${CMAKE_BINARY_DIR}/package/trovane.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/trovane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(ENGINE_BUILD_EXAMPLES)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/arcade ${PROJECT_SOURCE_DIR}/examples/netgame
    ${PROJECT_SOURCE_DIR}/examples/pathfinder ${PROJECT_SOURCE_DIR}/examples/crystalyard
    ${PROJECT_SOURCE_DIR}/examples/common DESTINATION ${CMAKE_INSTALL_DATADIR}/Trovane/examples
    USE_SOURCE_PERMISSIONS PATTERN "__pycache__" EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/asset_files.py ${PROJECT_SOURCE_DIR}/examples/README.md
    DESTINATION ${CMAKE_INSTALL_DATADIR}/Trovane/examples)
endif()

# The command reference, written from the installed headers' sources at install time.
install(CODE "
  execute_process(COMMAND \"${Python3_EXECUTABLE}\" \"${PROJECT_SOURCE_DIR}/tools/command_reference.py\"
    \"${PROJECT_SOURCE_DIR}/src\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/Trovane\"
    COMMAND_ERROR_IS_FATAL ANY)")
